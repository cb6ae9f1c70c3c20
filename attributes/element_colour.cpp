// Recolouring route elements and giving them their saved colour back.
#include "attributes/element_colour.h"

#include <windows.h>

#include <AttributeData.h>
#include <dbents.h>
#include <dbmain.h>

#include "attributes/attribute_record.h"

namespace {

// Sets the colour index of an entity and its sub-entities. False when it cannot be opened.
bool SetColour(AcDbObjectId id, int colourIndex) {
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) return false;
  entity->setColorIndex(static_cast<Adesk::UInt16>(colourIndex), true);
  entity->close();
  return true;
}

}  // namespace

namespace {

// Saves `former` in "$P13" of record list `list` as MarkElement describes. False when the list
// is to stay as it is (a colour saved by an earlier check stays).
bool SaveFormerColour(CStringArray& list, int former) {
  CString formerText;
  formerText.Format(L"%d", former);
  CString saved;
  if (CAttributeData::GetAtAtt(list, kTagSavedColour, saved) != 0) {
    list.Add(MakeRecord(kTagSavedColour, formerText));
  } else if (RecordValue(saved).IsEmpty()) {
    CAttributeData::SetAtAtt(list, kTagSavedColour, formerText);
  } else {
    return false;
  }
  return true;
}

}  // namespace

bool MarkElement(AcDbObjectId id, int colourIndex, CStringArray* records) {
  // One write open for the colour and the records: the check marks most elements of a floor.
  AcDbEntity* entity = nullptr;
  if (acdbOpenAcDbEntity(entity, id, AcDb::kForWrite) != Acad::eOk) return false;
  if (AcDbBlockReference::cast(entity) == nullptr) {
    entity->close();
    return false;
  }
  const int former = entity->colorIndex();
  entity->setColorIndex(static_cast<Adesk::UInt16>(colourIndex), true);

  CStringArray read;
  CStringArray* list = records;
  if (list == nullptr && ReadAttributeRecords(entity, read)) list = &read;
  // A refused write leaves the old list in place; the colour change stands either way, as the
  // check's purpose is to show the element.
  if (list != nullptr && SaveFormerColour(*list, former)) WriteAttributeRecords(entity, *list);
  entity->close();
  return true;
}

bool MarkElement(AcDbObjectId id, int colourIndex) {
  return MarkElement(id, colourIndex, nullptr);
}

bool HasSavedColour(const CStringArray& list) {
  CString saved;
  return CAttributeData::GetAtAtt(list, kTagSavedColour, saved) == 0 &&
         !RecordValue(saved).IsEmpty();
}

void RestoreElementColour(AcDbObjectId id) {
  CStringArray list;
  if (!ReadAttributeRecords(id, list) || !HasSavedColour(list)) return;
  CString saved;
  CAttributeData::GetAtAtt(list, kTagSavedColour, saved);
  const int colour = _wtoi(RecordValue(saved));
  CAttributeData::SetAtAtt(list, kTagSavedColour, L"");
  WriteAttributeRecords(id, list);
  SetColour(id, colour);
}
