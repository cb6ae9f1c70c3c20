// Writing palette rows into route elements' record lists and reading them back as note lines.
#include "attributes/row_writer.h"

#include <ApiComn.h>
#include <AttributeData.h>
#include <acutads.h>
#include <dbmain.h>

#include <vector>

#include "app/palette_access.h"
#include "attributes/attribute_record.h"
#include "attributes/element_colour.h"
#include "attributes/element_wires.h"
#include "attributes/run_marks.h"

namespace {

// Field positions of a palette row.
constexpr int kFieldCode = 0;
constexpr int kFieldSystem = 1;
constexpr int kFieldPanel = 2;
constexpr int kFieldWireSize = 3;

// Closes an open object when it goes out of scope, unless closed before.
class ClosesObject {
 public:
  explicit ClosesObject(AcDbObject* object) : object_(object) {}
  ClosesObject(const ClosesObject&) = delete;
  ClosesObject& operator=(const ClosesObject&) = delete;
  ~ClosesObject() { Close(); }
  void Close() {
    if (object_ != nullptr) object_->close();
    object_ = nullptr;
  }

 private:
  AcDbObject* object_;
};

// Writes the record list and then the run marker `n` of an element open for write, as
// WriteAttributeRecords and WriteAutoFlag one after the other would: 0 when the list was taken
// (the marker's own result does not count), otherwise the list's refusal, the element then
// unchanged. `marker` holds the marker's strings as read.
// When the element has its marker already (so its application is registered) as one string no
// longer than the new one, the two go in one change of the XData: the drawing then takes them
// together exactly when it would take them one after the other. When it finds them too long
// together, the list alone may still fit beside the old marker, so they go one after the other.
int WriteListAndMarker(AcDbObject* element, const CStringArray& list, const CStringArray& marker,
                       int n) {
  const CString text = AutoFlagText(n);
  if (marker.GetSize() == 1 && marker[0].GetLength() <= text.GetLength()) {
    CStringArray markerList;
    markerList.Add(text);
    const wchar_t* const apps[] = {kAttrApp, kAutoFlagApp};
    const CStringArray* const lists[] = {&list, &markerList};
    const int both = ApiComn_replaceAttributesArrays(element, apps, lists, 2);
    if (both != static_cast<int>(Acad::eXdataSizeExceeded)) return both;
  }
  if (!WriteAttributeRecords(element, list)) return -1;
  WriteAutoFlag(element, n);
  return 0;
}

CString Field(const CStringArray& row, int index) {
  return index < row.GetSize() ? row[index] : CString();
}

// The first wire of an element: the four "S" values. SetAtAtt leaves a missing record missing;
// the route tools create all four with every element, so Harnex neither adds nor checks them.
void SetFirstWire(CStringArray& list, const CStringArray& row, const CString& size) {
  CAttributeData::SetAtAtt(list, kTagItemCode, Field(row, kFieldCode));
  CAttributeData::SetAtAtt(list, kTagTrunkNumber, Field(row, kFieldSystem));
  CAttributeData::SetAtAtt(list, kTagPanelName, Field(row, kFieldPanel));
  CAttributeData::SetAtAtt(list, kTagSize, size);
}

void AppendWire(CStringArray& list, int index, const CStringArray& row, const CString& size) {
  list.Add(MakeWireRecord(index, Field(row, kFieldSystem), size, Field(row, kFieldPanel),
                          Field(row, kFieldCode)));
}

CString NoteLine(const CString& system, const CString& size, const CString& name) {
  CString line = system;
  line += kWireFieldSeparator;
  line += size;
  line += kWireFieldSeparator;
  line += name;
  line += kWireFieldSeparator;
  return line;
}

}  // namespace

CString RowSizeText(const CStringArray& row, int choice) {
  CString size = Field(row, kFieldWireSize);
  if (choice >= 1 && choice <= 3) {
    const CString conduit = Field(row, kFieldWireSize + choice);
    if (!conduit.IsEmpty()) {
      size += L" ";
      size += conduit;
    }
  }
  return size;
}

bool WriteRows(AcDbObjectId id, const CUIntArray& rows) {
  CStringArray list;
  if (!ReadAttributeRecords(id, list)) {
    acutPrintf(L"\nERROR:複数配線属性が設定取得出来ません。");
    return false;
  }
  const PaletteAccess* palette = PaletteAccessInstance();
  const int choice = palette != nullptr ? palette->GetConduitChoice() : 0;
  RemoveWireRecords(list);
  for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
    palette = PaletteAccessInstance();
    if (palette == nullptr) {
      acutPrintf(L"\nERROR:設定画面が見つかりません。");
      return false;
    }
    CStringArray row;
    if (!palette->GetRowData(static_cast<int>(rows[i]), row)) {
      acutPrintf(L"\nERROR:設定ﾃﾞｰﾀが取得出来ません。");
      return false;
    }
    const CString size = RowSizeText(row, choice);
    if (i == 0) {
      SetFirstWire(list, row, size);
    } else {
      AppendWire(list, static_cast<int>(i) + 1, row, size);
    }
    if (!WriteAttributeRecords(id, list)) {
      acutPrintf(L"\nERROR:複数配線属性が設定出来ません。");
      return false;
    }
  }
  RestoreElementColour(id);
  return true;
}

bool WriteRowAuto(AcDbObjectId id, int row) {
  const PaletteAccess* palette = PaletteAccessInstance();
  if (palette == nullptr) {
    acutPrintf(L"\nERROR:設定画面が見つかりません。");
    return false;
  }
  // A run writes an element once for every row whose path crosses it, so the element is opened
  // once for all that one write reads and writes, and tells of its change once. It is opened for
  // read, as reading needs, and made writable only for the writes.
  AcDbObject* element = nullptr;
  if (acdbOpenObject(element, id, AcDb::kForRead) != Acad::eOk) element = nullptr;
  ClosesObject closer(element);
  CStringArray list;
  if (element == nullptr || !ReadAttributeRecords(element, list)) {
    acutPrintf(L"\nERROR:複数配線属性が設定取得出来ません。");
    return false;
  }
  const int choice = palette->GetConduitChoice();
  CStringArray values;
  if (!palette->GetRowData(row, values)) {
    acutPrintf(L"\nERROR:設定ﾃﾞｰﾀが取得出来ません。");
    return false;
  }
  // The first write of a run replaces whatever wires the element had before the run.
  CStringArray marker;
  ReadAutoFlagStrings(element, marker);
  int index = 0;
  if (AutoFlagValue(marker) != 0) {
    index = NextWireIndex(list);
  } else {
    RemoveWireRecords(list);
  }
  const CString size = RowSizeText(values, choice);
  if (index == 0) {
    SetFirstWire(list, values, size);
  } else {
    AppendWire(list, index, values, size);
  }
  // Another reader keeps the element from being written, as a write open would be refused.
  const int written = element->upgradeOpen() != Acad::eOk
                          ? -1
                          : WriteListAndMarker(element, list, marker, index + 1);
  if (written != 0) {
    acutPrintf(L"\nERROR:複数配線属性が設定出来ません。");
    return false;
  }
  closer.Close();
  // What the element now holds is `list`: only a saved colour needs it read and written again.
  if (HasSavedColour(list)) RestoreElementColour(id);
  return true;
}

bool ReadWiringLines(AcDbObjectId id, CStringArray& lines) {
  lines.RemoveAll();
  std::vector<ElementWire> wires;
  const PaletteAccess* palette = PaletteAccessInstance();
  if (palette == nullptr || !ReadElementWires(id, wires)) return false;
  // An element that was never assigned has the four S records the route tools give every
  // element, all empty, and no further wire: it has no wiring, as an element without the
  // record list has none, so that the note says so instead of showing "　（不明）".
  if (wires.size() == 1 && !FirstWireIsSet(wires.front()) && wires.front().code.IsEmpty()) {
    return false;
  }
  for (const ElementWire& wire : wires) {
    // A missing "S501" stays empty rather than reading as an unknown code.
    CString name;
    if (wire.hasCode) palette->ConstructionItemName(name, wire.code);
    lines.Add(NoteLine(wire.system, wire.size, name));
  }
  return lines.GetSize() > 0;
}
