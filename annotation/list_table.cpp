// The wiring list table's layout and the entities it becomes.
#include "annotation/list_table.h"

#include <VuRida.h>
#include <acgi.h>
#include <dbapserv.h>
#include <dbents.h>
#include <dbmain.h>
#include <dbsymtb.h>

#include <algorithm>

#include "annotation/draw_note.h"

namespace {

// The header labels. Two of them are never drawn: "----" gives column 3 its width (the wire
// size heading spans columns 2 and 3), "○○○備　考○○○" gives the remarks column room.
const wchar_t* const kLabels[] = {L"幹線番号", L"負荷名称", L"幹線サイズ",  L"----",   L"ｹｰﾌﾞﾙﾗｯｸ",
                                  L"屋内",     L"屋外",     L"地中",        L"備　考", L"管　　路",
                                  L"配　管",   L"工事項目", L"○○○備　考○○○"};
constexpr int kLabelTrunkNumber = 0;
constexpr int kLabelLoadName = 1;
constexpr int kLabelWireSize = 2;
constexpr int kLabelWireRest = 3;
constexpr int kLabelRack = 4;
constexpr int kLabelRemarks = 8;
constexpr int kLabelConduit = 9;
constexpr int kLabelPiping = 10;
constexpr int kLabelItem = 11;
constexpr int kLabelRemarksWidth = 12;

constexpr int kHeaderRows = 3;

CString Field(const CStringArray& row, int index) {
  return index < row.GetSize() ? row[index] : CString();
}

int ColumnLabel(int mode, int column) {
  if (column == 0) return mode == kDrawNoteModeTrunkList ? kLabelTrunkNumber : kLabelItem;
  if (column == 3) return kLabelWireRest;
  if (column == 8) return kLabelRemarksWidth;
  return column;
}

bool IsConduitColumn(int column) {
  return column >= 5 && column <= 7;
}

}  // namespace

void ListCellTexts(int mode, const CStringArray& row, CString cells[kListColumns]) {
  cells[0] = Field(row, mode == kDrawNoteModeTrunkList ? 1 : 0);
  cells[1] = Field(row, 2);
  const CString size = Field(row, 3);
  const int blank = size.Find(L' ');
  if (blank >= 1) {
    cells[2] = size.Left(blank);
    CString rest = size.Mid(blank + 1);
    rest.TrimLeft();
    cells[3] = rest;
  } else {
    cells[2] = size;
    cells[3].Empty();
  }
  cells[4] = Field(row, 7);
  cells[5] = Field(row, 4);
  cells[6] = Field(row, 5);
  cells[7] = Field(row, 6);
  cells[8] = Field(row, 8);
}

bool LayOutTable(int mode, const CPtrArray& rows, const ListTableSizes& sizes,
                 const TableMeasure& measure, TableLayout& layout) {
  layout = TableLayout{};
  const int n = static_cast<int>(rows.GetSize());
  if (n == 0) return false;
  const double h = sizes.textHeight;
  const double wf = sizes.widthFactor;
  const double lm = sizes.leftMargin;
  const double rm = sizes.rightMargin;
  double* w = layout.widths;

  for (int c = 0; c < kListColumns; ++c) {
    double width = 0;
    if (measure(kLabels[ColumnLabel(mode, c)], width)) w[c] = width + h * wf;
  }
  for (int r = 0; r < n; ++r) {
    const auto* row = static_cast<const CStringArray*>(rows[r]);
    if (row == nullptr) continue;
    CString cells[kListColumns];
    ListCellTexts(mode, *row, cells);
    for (int c = 0; c < kListColumns; ++c) {
      if (c == 4 || cells[c].IsEmpty()) continue;
      double width = 0;
      if (!measure(cells[c], width)) continue;
      width += IsConduitColumn(c) ? 2 * lm : lm + rm;
      w[c] = std::max(w[c], width);
    }
  }
  const double conduit = std::max({w[5], w[6], w[7]});
  w[5] = w[6] = w[7] = conduit;

  double* x = layout.left;
  for (int c = 0; c < kListColumns; ++c) x[c + 1] = x[c] + w[c];

  auto y = [&sizes](int boundary) { return -boundary * sizes.rowHeight; };
  const int bottom = n + kHeaderRows;
  auto line = [&layout](double x0, double y0, double x1, double y1) {
    layout.lines.push_back({AcGePoint3d(x0, y0, 0), AcGePoint3d(x1, y1, 0)});
  };
  line(0, y(0), x[9], y(0));
  line(x[4], y(1), x[8], y(1));
  line(x[5], y(2), x[8], y(2));
  line(0, y(3), x[9], y(3));
  for (int j = 0; j < n; ++j) line(0, y(j + 4), x[9], y(j + 4));
  for (int c = 0; c <= 2; ++c) line(x[c], y(0), x[c], y(bottom));
  line(x[3], y(3), x[3], y(bottom));
  line(x[4], y(0), x[4], y(bottom));
  line(x[5], y(1), x[5], y(bottom));
  line(x[6], y(2), x[6], y(bottom));
  line(x[7], y(2), x[7], y(bottom));
  line(x[8], y(0), x[8], y(bottom));
  line(x[9], y(0), x[9], y(bottom));

  auto centred = [&](const wchar_t* text, int c0, int c1, int b0, int b1, double factor) {
    layout.texts.push_back(
        {text, AcGePoint3d((x[c0] + x[c1]) / 2, (y(b0) + y(b1)) / 2, 0), true, factor});
  };
  centred(kLabels[ColumnLabel(mode, 0)], 0, 1, 0, 3, wf);
  centred(kLabels[kLabelLoadName], 1, 2, 0, 3, wf);
  centred(kLabels[kLabelWireSize], 2, 4, 0, 3, wf);
  centred(kLabels[kLabelConduit], 4, 8, 0, 1, wf);
  centred(kLabels[kLabelRack], 4, 5, 1, 3, wf);
  centred(kLabels[kLabelPiping], 5, 8, 1, 2, wf);
  for (int c = 5; c <= 7; ++c) centred(kLabels[c], c, c + 1, 2, 3, wf);
  centred(kLabels[kLabelRemarks], 8, 9, 0, 3, wf);

  CString remembered;
  for (int j = 0; j < n; ++j) {
    const auto* row = static_cast<const CStringArray*>(rows[j]);
    if (row == nullptr) continue;
    CString cells[kListColumns];
    ListCellTexts(mode, *row, cells);
    if (mode == kDrawNoteModeGeneralList) {
      if (cells[1] == remembered) {
        cells[1] = kDittoMark;
      } else {
        remembered = cells[1];
      }
    }
    const double yc = (y(j + 3) + y(j + 4)) / 2;
    for (int c = 0; c < kListColumns; ++c) {
      if (cells[c].IsEmpty()) continue;
      if (c >= 4 && c <= 7) {
        layout.texts.push_back(
            {cells[c], AcGePoint3d((x[c] + x[c + 1]) / 2, yc, 0), true, c == 4 ? 1.0 : wf});
      } else {
        layout.texts.push_back({cells[c], AcGePoint3d(x[c] + lm, yc, 0), false, wf});
      }
    }
  }
  return true;
}

bool MeasureText(const CDrawNote& note, const CString& text, double& width) {
  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  AcGiTextStyle style;
  if (db == nullptr || fromAcDbTextStyle(style, db->textstyle()) != Acad::eOk) return false;
  // A copy of the style takes the table's sizes, so the drawing's style never changes.
  style.setTextSize(note.listTextHeight);
  style.setXScale(note.listWidthFactor);
  width = style.extents(text, Adesk::kFalse, -1, Adesk::kTrue).x * note.scale;
  return true;
}

namespace {

void SetByLayer(AcDbEntity* entity, const wchar_t* layer) {
  entity->setLayer(layer);
  entity->setColorIndex(256);
  entity->setLinetype(L"ByLayer");
  entity->setLineWeight(AcDb::kLnWtByLayer);
}

}  // namespace

bool BuildTable(CDrawNote& note, AcDbBlockTableRecord* block) {
  if (block == nullptr) return false;
  const double s = note.scale;
  ListTableSizes sizes;
  sizes.textHeight = note.listTextHeight * s;
  sizes.widthFactor = note.listWidthFactor;
  sizes.rowHeight = note.rowHeight * s;
  sizes.leftMargin = note.leftMargin * s;
  sizes.rightMargin = note.rightMargin * s;
  TableLayout layout;
  const auto measure = [&note](const CString& text, double& width) {
    return MeasureText(note, text, width);
  };
  if (!LayOutTable(note.mode, note.rows, sizes, measure, layout)) return false;

  AcDbDatabase* db = acdbHostApplicationServices()->workingDatabase();
  for (const TableLine& each : layout.lines) {
    auto* line = new AcDbLine(each.start, each.end);
    line->setDatabaseDefaults();
    SetByLayer(line, RQTABLE_LAYER);
    if (block->appendAcDbEntity(line) != Acad::eOk) {
      delete line;
      return false;
    }
    line->close();
  }
  for (const TableText& each : layout.texts) {
    auto* text = new AcDbText;
    text->setDatabaseDefaults();
    if (db != nullptr) text->setTextStyle(db->textstyle());
    text->setTextString(each.text);
    text->setHeight(sizes.textHeight);
    text->setWidthFactor(each.widthFactor);
    text->setHorizontalMode(each.centred ? AcDb::kTextCenter : AcDb::kTextLeft);
    text->setVerticalMode(AcDb::kTextVertMid);
    text->setPosition(each.at);
    text->setAlignmentPoint(each.at);
    SetByLayer(text, RQANNO_LAYER);
    if (block->appendAcDbEntity(text) != Acad::eOk) {
      delete text;
      return false;
    }
    text->close();
  }
  return true;
}
