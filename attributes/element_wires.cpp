// Reading a route element's wires from its record list.
#include "attributes/element_wires.h"

#include <AttributeData.h>

#include "attributes/attribute_record.h"

namespace {

CString ValueOf(const CStringArray& list, const wchar_t* tag, bool* found = nullptr) {
  CString record;
  const bool has = CAttributeData::GetAtAtt(list, tag, record) == 0;
  if (found != nullptr) *found = has;
  return has ? RecordValue(record) : CString();
}

// The parts of a further wire's value split at every "!", each trimmed; a value ending in "!"
// gives an empty last part.
void SplitWireValue(const CString& value, CStringArray& parts) {
  parts.RemoveAll();
  int start = 0;
  for (;;) {
    const int bang = value.Find(kWireFieldSeparator, start);
    CString part = bang < 0 ? value.Mid(start) : value.Mid(start, bang - start);
    part.Trim();
    parts.Add(part);
    if (bang < 0) break;
    start = bang + 1;
  }
}

}  // namespace

void ListElementWires(const CStringArray& list, std::vector<ElementWire>& wires) {
  wires.clear();
  ElementWire first;
  first.system = ValueOf(list, kTagTrunkNumber);
  first.size = ValueOf(list, kTagSize);
  first.panel = ValueOf(list, kTagPanelName);
  first.code = ValueOf(list, kTagItemCode, &first.hasCode);
  wires.push_back(first);
  CStringArray parts;
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    const CString& record = list[i];
    if (!IsWireRecord(record) || record.Find(L'|') < 1) continue;
    SplitWireValue(RecordValue(record), parts);
    if (parts.GetSize() < 4) continue;
    ElementWire wire;
    wire.system = parts[0];
    wire.size = parts[1];
    wire.panel = parts[2];
    wire.code = parts[3];
    // Text after a comma is not part of the code; a comma that stands first is kept.
    const int comma = wire.code.Find(L',');
    if (comma > 0) wire.code = wire.code.Left(comma);
    wires.push_back(wire);
  }
}

bool FirstWireIsSet(const ElementWire& wire) {
  return !wire.system.IsEmpty() || !wire.panel.IsEmpty() || !wire.size.IsEmpty();
}

bool ReadElementWires(AcDbObjectId id, std::vector<ElementWire>& wires) {
  wires.clear();
  CStringArray list;
  if (!ReadAttributeRecords(id, list)) return false;
  ListElementWires(list, wires);
  return true;
}
