// Colour recovery over the route elements of the drawing.
#include "attributes/colour_recovery.h"

#include <windows.h>

#include <ApiComn.h>
#include <AttributeData.h>
#include <aced.h>
#include <acedads.h>
#include <dbmain.h>

#include "app/command_handlers.h"
#include "app/harnex_module.h"
#include "attributes/attribute_record.h"
#include "attributes/element_class.h"
#include "attributes/route_filter.h"

namespace {

// Gives one element, open for write, its saved colour back, and writes its record list back
// with the saved colour emptied.
void RecoverOpenElement(AcDbEntity* entity, CStringArray& list) {
  if (!ReadAttributeRecords(entity, list)) return;
  CString saved;
  if (CAttributeData::GetAtAtt(list, kTagSavedColour, saved) != 0) return;
  const CString value = RecordValue(saved);
  if (value.IsEmpty()) return;
  const int colour = _wtoi(value);
  // An element that shows its colour already is left untouched: no modification is recorded
  // for undo and nothing is redrawn.
  if (entity->colorIndex() != colour) {
    entity->setColorIndex(static_cast<Adesk::UInt16>(colour), true);
  }
  CAttributeData::SetAtAtt(list, kTagSavedColour, L"");
  WriteAttributeRecords(entity, list);
}

}  // namespace

void RecoverColours() {
  ads_name selection;
  if (SelectRouteElements(selection) != RTNORM) return;
  long count = 0;
  spedSSLength(selection, &count);
  if (count < 1) {
    acedSSFree(selection);
    return;
  }

  acedSetStatusBarProgressMeter(L"要素の色を復元しています...", 0, static_cast<int>(count));
  // The window button runs this outside any command, so the lock is taken here; without it the
  // recovery still goes on, as the user asked for it.
  LockCurrentDocument(true);
  CStringArray list;
  for (long i = 0; i < count; ++i) {
    acedSetStatusBarProgressMeterPos(static_cast<int>(i + 1));
    if (acedUsrBrk()) break;
    const AcDbObjectId id = SelectionMember(selection, i);
    if (id.isNull()) continue;
    if (!IsCheckableElement(id)) continue;
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) continue;
    RecoverOpenElement(entity, list);
    entity->close();
  }
  acedSSFree(selection);
  acedRestoreStatusBar();

  FlushRecolouredElements();
  LockCurrentDocument(false);
}

void CmdRecoverColour() {
  RecoverColours();
}
