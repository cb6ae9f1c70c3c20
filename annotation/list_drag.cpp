// The list table's placement: point placement, rectangle placement and the fit.
#include "annotation/list_drag.h"

#include <ApiComn.h>
#include <VuRida.h>
#include <acedads.h>
#include <acutads.h>
#include <adsdef.h>
#include <dbents.h>
#include <dbpl.h>
#include <dbsymtb.h>

#include <cmath>

#include "annotation/annotation_block.h"
#include "annotation/draw_note.h"
#include "annotation/list_table.h"
#include "app/palette_access.h"

namespace {

constexpr wchar_t kListPrompt[] = L"配置点を指示 または Enterで矩形配置";
constexpr wchar_t kFirstCornerPrompt[] = L"\n矩形の始点:";
constexpr wchar_t kSecondCornerPrompt[] = L"矩形の終点を指示";
constexpr wchar_t kCancelled[] = L"\nｷｬﾝｾﾙされました.\n";
constexpr wchar_t kNoOutline[] = L"\n[ERROR]矩形要素が取得出来ません.\n";
constexpr wchar_t kLegendLayer[] = L"_RQ_凡例記入";
constexpr double kSmallestFit = 0.1;
constexpr int kOutlineVertices = 5;

void SetReferenceProperties(AcDbBlockReference* reference) {
  reference->setLinetype(L"ByLayer");
  reference->setLineWeight(AcDb::kLnWtByLayer);
  reference->setColorIndex(256);
  reference->setLayer(RQANNO_LAYER);
}

// Vertices 1 to 4 of the outline close the rectangle from vertex 0 (the first corner) through
// the cursor `m`.
void SpanOutline(AcDbPolyline* outline, const AcGePoint3d& m) {
  AcGePoint3d s;
  outline->getPointAt(0, s);
  outline->setPointAt(1, AcGePoint2d(s.x, m.y));
  outline->setPointAt(2, AcGePoint2d(m.x, m.y));
  outline->setPointAt(3, AcGePoint2d(m.x, s.y));
  outline->setPointAt(4, AcGePoint2d(s.x, s.y));
}

// Reads the palette's list settings into the note; true when they differ from those held.
bool TakeListSettings(const PaletteAccess& palette, CDrawNote& note) {
  double height = 0, width = 0, row = 0, left = 0, right = 0;
  palette.GetListSettings(&height, &width, &row, &left, &right);
  const double factor = height != 0 ? width / height : 1.0;
  const bool changed = height != note.listTextHeight || factor != note.listWidthFactor ||
                       row != note.rowHeight || left != note.leftMargin ||
                       right != note.rightMargin;
  note.listTextHeight = height;
  note.listWidthFactor = factor;
  note.rowHeight = row;
  note.leftMargin = left;
  note.rightMargin = right;
  return changed;
}

bool RebuildTable(CDrawNote& note, AcDbBlockReference* reference) {
  AcDbBlockTableRecord* block = nullptr;
  if (acdbOpenObject(block, reference->blockTableRecord(), AcDb::kForWrite) != Acad::eOk) {
    return false;
  }
  EraseBlockEntities(block);
  const bool built = BuildTable(note, block);
  block->close();
  if (built) SetReferenceProperties(reference);
  return built;
}

}  // namespace

int FitTableToRectangle(const AcGePoint3d& first, const AcGePoint3d& second, AcDbEntity* entity,
                        bool add) {
  auto* reference = AcDbBlockReference::cast(entity);
  if (reference == nullptr) return -1;
  const double dx = std::fabs(second.x - first.x);
  const double dy = std::fabs(second.y - first.y);
  if (dx == 0 || dy == 0) return -1;
  reference->setScaleFactors(AcGeScale3d(1, 1, 1));
  AcGePoint3d low, high;
  if (ApiComn_GetEntityRang(reference, low, high) != 0) return -1;
  const double w = high.x - low.x;
  const double h = high.y - low.y;
  if (w == 0 || h == 0) return -1;
  const double f = std::fmin(dx / w, dy / h);
  if (f < kSmallestFit) return -1;
  reference->setScaleFactors(AcGeScale3d(f, f, 1));
  reference->setPosition(AcGePoint3d(first.x, first.y, 0));
  if (add) {
    AcDbObjectId id;
    if (VuRida_addEntity(reference, id) != 0) return -1;
  }
  return 0;
}

LRESULT ListDragSample(CDrawNote& note, dragdata& data) {
  CDrag& drag = *data.drag;
  auto* reference = AcDbBlockReference::cast(drag.At(kListTable));
  const PaletteAccess* palette = PaletteAccessInstance();
  if (palette != nullptr && reference != nullptr && TakeListSettings(*palette, note)) {
    if (!RebuildTable(note, reference)) return kListKeepDragging;
  }
  const AcGePoint3d cursor = drag.GetPoint();
  if (!note.rectangleMode) {
    if (reference == nullptr) return 0;
    reference->setPosition(cursor);
    return 1;
  }
  auto* outline = AcDbPolyline::cast(drag.At(kListOutline));
  if (outline == nullptr) return 1;
  SpanOutline(outline, cursor);
  AcGePoint3d first;
  outline->getPointAt(0, first);
  const bool fits = FitTableToRectangle(first, cursor, reference, false) == 0;
  drag.SetEntEnable(kListTable, fits ? 1 : 0);
  return 1;
}

LRESULT ListDragInput(CDrawNote& note, dragdata& data) {
  CDrag& drag = *data.drag;
  const AcGePoint3d picked = drag.GetPoint();
  if (data.status == -1 && !note.rectangleMode) {
    ads_point corner{};
    if (acedGetPoint(nullptr, kFirstCornerPrompt, corner) != RTNORM) {
      acutPrintf(kCancelled);
      return 0;
    }
    auto* outline = AcDbPolyline::cast(drag.At(kListOutline));
    if (outline == nullptr) {
      acutPrintf(kNoOutline);
      return 0;
    }
    outline->setPointAt(0, AcGePoint2d(corner[0], corner[1]));
    note.rectangleMode = true;
    data.prompt = kSecondCornerPrompt;
    return kListKeepDragging;
  }
  auto* reference = AcDbBlockReference::cast(drag.At(kListTable));
  if (!note.rectangleMode) {
    if (reference == nullptr) return 0;
    reference->setPosition(picked);
    AcDbObjectId id;
    VuRida_addEntity(reference, id);
    return 0;
  }
  auto* outline = AcDbPolyline::cast(drag.At(kListOutline));
  if (outline == nullptr) return kListKeepDragging;
  SpanOutline(outline, picked);
  AcGePoint3d first;
  outline->getPointAt(0, first);
  return FitTableToRectangle(first, picked, reference, true) == 0 ? 0 : kListKeepDragging;
}

bool StartList(CDrawNote& note) {
  VuRida_createLayer(RQANNO_LAYER, nullptr);
  VuRida_createLayer(RQTABLE_LAYER, nullptr);
  if (const PaletteAccess* palette = PaletteAccessInstance()) TakeListSettings(*palette, note);
  CDrag drag(0);
  auto* outline = new AcDbPolyline;
  for (int i = 0; i < kOutlineVertices; ++i) outline->addVertexAt(i, AcGePoint2d(0, 0));
  drag.Append(outline, nullptr, -1);
  VuRida_createLayer(kLegendLayer, nullptr);
  AcDbBlockReference* reference = MakeAnnotationBlock(AcGePoint3d::kOrigin);
  if (reference == nullptr) {
    drag.RemoveAll(1);
    return false;
  }
  const AcDbObjectId blockId = reference->blockTableRecord();
  drag.Append(reference, nullptr, -1);
  AcDbBlockTableRecord* block = nullptr;
  bool built = acdbOpenObject(block, blockId, AcDb::kForWrite) == Acad::eOk;
  if (built) {
    built = BuildTable(note, block);
    block->close();
  }
  if (!built) {
    drag.RemoveAll(1);
    DiscardAnnotationBlock(blockId);
    return false;
  }
  SetReferenceProperties(reference);
  note.rectangleMode = false;
  drag.DistEnabled(0, 15.0, 1, 10.0, 10.0, 1, nullptr, 1);
  drag.Dynamic(&note, kListPrompt, true, nullptr, 0.0, 1.0, 1.0, 1.0);
  // A table that was not placed would stay in the drawing as a definition nothing shows.
  const bool placed = !reference->objectId().isNull();
  drag.RemoveAll(1);
  if (!placed) DiscardAnnotationBlock(blockId);
  return true;
}
