// Writing palette rows into route elements' record lists and reading them back as note lines.
#include "attributes/row_writer.h"

#include <acutads.h>

#include <vector>

#include "app/harnex_module.h"
#include "attributes/attribute_record.h"
#include "attributes/element_colour.h"
#include "attributes/element_wires.h"
#include "attributes/run_marks.h"
#include "maker/AttributeData.h"
#include "palette/main_dialog.h"

namespace {

// Field positions of a palette row.
constexpr int kFieldCode = 0;
constexpr int kFieldSystem = 1;
constexpr int kFieldPanel = 2;
constexpr int kFieldWireSize = 3;

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
  const int choice = PaletteInstance != nullptr ? PaletteInstance->GetConduitChoice() : 0;
  RemoveWireRecords(list);
  for (INT_PTR i = 0; i < rows.GetSize(); ++i) {
    if (PaletteInstance == nullptr) {
      acutPrintf(L"\nERROR:設定画面が見つかりません。");
      return false;
    }
    CStringArray row;
    if (!PaletteInstance->GetRowData(static_cast<int>(rows[i]), row)) {
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
  if (PaletteInstance == nullptr) {
    acutPrintf(L"\nERROR:設定画面が見つかりません。");
    return false;
  }
  CStringArray list;
  if (!ReadAttributeRecords(id, list)) {
    acutPrintf(L"\nERROR:複数配線属性が設定取得出来ません。");
    return false;
  }
  const int choice = PaletteInstance->GetConduitChoice();
  CStringArray values;
  if (!PaletteInstance->GetRowData(row, values)) {
    acutPrintf(L"\nERROR:設定ﾃﾞｰﾀが取得出来ません。");
    return false;
  }
  // The first write of a run replaces whatever wires the element had before the run.
  int index = 0;
  if (ReadAutoFlag(id) != 0) {
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
  if (!WriteAttributeRecords(id, list)) {
    acutPrintf(L"\nERROR:複数配線属性が設定出来ません。");
    return false;
  }
  WriteAutoFlag(id, index + 1);
  RestoreElementColour(id);
  return true;
}

bool ReadWiringLines(AcDbObjectId id, CStringArray& lines) {
  lines.RemoveAll();
  std::vector<ElementWire> wires;
  if (PaletteInstance == nullptr || !ReadElementWires(id, wires)) return false;
  for (const ElementWire& wire : wires) {
    // A missing "S501" stays empty rather than reading as an unknown code.
    CString name;
    if (wire.hasCode) PaletteInstance->ConstructionItemName(name, wire.code);
    lines.Add(NoteLine(wire.system, wire.size, name));
  }
  return lines.GetSize() > 0;
}
