// The trunk-number check over the route elements of the drawing.
#include "attributes/trunk_check.h"

#include <windows.h>

#include <ApiComn.h>
#include <AttributeData.h>
#include <VuRida.h>
#include <acdocman.h>
#include <aced.h>
#include <acedads.h>
#include <acutads.h>
#include <dbmain.h>

#include "app/command_handlers.h"
#include "app/harnex_module.h"
#include "attributes/attribute_record.h"
#include "attributes/element_class.h"
#include "attributes/element_colour.h"
#include "attributes/route_filter.h"

namespace {

// The layer the route tools expect to exist while a check is shown; nothing is put on it.
const wchar_t* const kCheckLayer = L"_RQTemp_PXCheck";

void Lock(CheckLocking locking) {
  if (locking == CheckLocking::kCommand) {
    LockCurrentDocument(true);
  } else {
    acDocManager->lockDocument(acDocManager->curDocument(), AcAp::kWrite, nullptr, nullptr, true);
  }
}

void Unlock(CheckLocking locking) {
  if (locking == CheckLocking::kCommand) {
    LockCurrentDocument(false);
  } else {
    acDocManager->unlockDocument(acDocManager->curDocument());
  }
}

}  // namespace

bool LacksTrunkNumber(AcDbObjectId id) {
  CStringArray list;
  return LacksTrunkNumber(id, list);
}

bool LacksTrunkNumber(AcDbObjectId id, CStringArray& list) {
  list.RemoveAll();
  if (!IsCheckableElement(id)) return false;
  if (!ReadAttributeRecords(id, list)) return false;
  CString record;
  if (CAttributeData::GetAtAtt(list, kTagTrunkNumber, record) != 0) return false;
  const CString value = RecordValue(record);
  return value.IsEmpty() || value.CompareNoCase(L"-") == 0;
}

void RunCheck(int colourIndex, CheckLocking locking) {
  ads_name selection;
  if (SelectRouteElements(selection) != RTNORM) {
    acutPrintf(L"\n確認する要素はありません.\n");
    return;
  }
  long count = 0;
  spedSSLength(selection, &count);
  if (count < 1) {
    acedSSFree(selection);
    return;
  }

  acedSetStatusBarProgressMeter(L"配線確認中...", 0, static_cast<int>(count));
  Lock(locking);
  VuRida_createLayer(kCheckLayer, nullptr);
  bool found = false;
  CStringArray list;  // the element's records, read once for the test and the mark
  for (long i = 0; i < count; ++i) {
    acedSetStatusBarProgressMeterPos(static_cast<int>(i + 1));
    if (acedUsrBrk()) break;
    const AcDbObjectId id = SelectionMember(selection, i);
    if (id.isNull()) continue;
    if (!LacksTrunkNumber(id, list)) continue;
    MarkElement(id, colourIndex, &list);
    found = true;
  }
  acedSSFree(selection);
  acedRestoreStatusBar();

  FlushRecolouredElements();
  Unlock(locking);
  acutPrintf(found ? L"\n幹線番号が設定されていない要素が見つかりました.\n"
                   : L"\n幹線番号が設定されていない要素はありません.\n");
}

void CmdCheckAttributes() {
  RunCheck(kCommandMarkColour, CheckLocking::kCommand);
}
