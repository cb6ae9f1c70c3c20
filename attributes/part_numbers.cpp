// Collecting the part numbers of the drawing's part blocks.
#include "attributes/part_numbers.h"

#include <windows.h>

#include <AttributeData.h>
#include <aced.h>
#include <acedads.h>
#include <dbmain.h>

#include <string>
#include <unordered_set>

#include "attributes/attribute_record.h"
#include "attributes/element_class.h"
#include "attributes/route_filter.h"

namespace {

// The part number of entity `id` when it is a part block with a non-empty "S001"; else empty.
CString PartNumberOf(AcDbObjectId id) {
  if (RouteKindOf(id, -1) != kRouteKindPart) return CString();
  CStringArray list;
  if (!ReadAttributeRecords(id, list)) return CString();
  CString record;
  if (CAttributeData::GetAtAtt(list, kTagPartNumber, record) != 0) return CString();
  return RecordValue(record);
}

}  // namespace

int CollectPartNumbers(CStringArray& partNumbers) {
  partNumbers.RemoveAll();
  ResbufChain filter = NewRouteElementFilter();
  ads_name selection;
  if (acedSSGet(L"A", nullptr, nullptr, filter.get(), selection) != RTNORM) return -1;
  Adesk::Int32 count = 0;
  if (acedSSLength(selection, &count) != RTNORM || count == 0) {
    acedSSFree(selection);
    return 0;
  }

  // The list keeps the order found; the set makes "already there" cheap for large drawings.
  std::unordered_set<std::wstring> seen;
  acedSetStatusBarProgressMeter(L"部品番号取得中...", 0, count);
  for (Adesk::Int32 i = 0; i < count; ++i) {
    acedSetStatusBarProgressMeterPos(i + 1);
    if (acedUsrBrk()) break;
    const AcDbObjectId id = SelectionMember(selection, i);
    if (id.isNull()) continue;
    const CString partNumber = PartNumberOf(id);
    if (partNumber.IsEmpty() || !seen.insert(partNumber.str()).second) continue;
    partNumbers.Add(partNumber);
  }
  acedSSFree(selection);
  acedRestoreStatusBar();
  return static_cast<int>(partNumbers.GetSize());
}
