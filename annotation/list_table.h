// The wiring list table: the rows of the palette's current pattern drawn as a grid with a
// three-row header, built into a "PXNT" block whose base point is the table's upper left corner.
//
// Columns 0..8: trunk number (trunk rows) or construction item (general rows), load name, wire
// size (first word), wire size (rest), cable rack, conduit sizes indoors, outdoors, underground,
// remarks. Row boundary k lies at y = -k * rowHeight; the header takes boundaries 0..3 and data
// row j lies between boundaries j + 3 and j + 4.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>
#include <gepnt3d.h>

#include <functional>
#include <vector>

class AcDbBlockTableRecord;
class CDrawNote;

inline constexpr int kListColumns = 9;
// The load name of a general row that repeats the one shown last.
inline constexpr wchar_t kDittoMark[] = L"\x3000\x3003";

// The table's drawing sizes, already multiplied by the drawing's scale (the width factor is a
// ratio and is not).
struct ListTableSizes {
  double textHeight = 0;
  double widthFactor = 1;
  double rowHeight = 0;
  double leftMargin = 0;
  double rightMargin = 0;
};

struct TableLine {
  AcGePoint3d start, end;
};

// A text of the table: centred texts are centred horizontally and vertically on `at`; the
// others start at `at` and are centred vertically on it.
struct TableText {
  CString text;
  AcGePoint3d at;
  bool centred = false;
  double widthFactor = 1;
};

struct TableLayout {
  double widths[kListColumns] = {};
  double left[kListColumns + 1] = {};  // X0..X9
  std::vector<TableLine> lines;        // in drawing order
  std::vector<TableText> texts;        // header texts, then the cells row by row
};

// The nine cell texts of one pattern row (nine fields: item, system number, load name, wire
// size, conduit indoors, outdoors, underground, rack mark, remarks) in `mode` (2 trunk, 3
// general), without the ditto replacement of repeated load names. A row with fewer fields
// reads the missing ones as empty.
void ListCellTexts(int mode, const CStringArray& row, CString cells[kListColumns]);

// The width of `text` as the table draws it, or false when it cannot be measured.
using TableMeasure = std::function<bool(const CString& text, double& width)>;

// Lays the table of `rows` (CStringArray* each) out: column widths from the header labels and
// cell texts (measured with `measure`), the grid lines and the texts. False when there are no
// rows. A text that cannot be measured adds nothing to its column's width.
bool LayOutTable(int mode, const CPtrArray& rows, const ListTableSizes& sizes,
                 const TableMeasure& measure, TableLayout& layout);

// The width of `text` in the drawing's current text style at the table's text height and width
// factor (note.listTextHeight, note.listWidthFactor), times the note's scale. The drawing's
// style itself is left as it is. False when the style cannot be loaded.
bool MeasureText(const CDrawNote& note, const CString& text, double& width);

// Lays out the table of note.rows in note.mode with the note's list settings and scale and
// appends its lines (RQTABLE_LAYER) and texts (RQANNO_LAYER), all ByLayer, to `block`, which is
// open for writing. False when there are no rows or an entity could not be appended.
bool BuildTable(CDrawNote& note, AcDbBlockTableRecord* block);
