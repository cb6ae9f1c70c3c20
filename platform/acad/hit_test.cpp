// Hit testing of entities against a pick point, and the pick aperture.
#include "platform/acad/hit_test.h"

#include <algorithm>
#include <cmath>

#include "platform/acad/block_nesting.h"
#include "platform/acad/plan_geometry.h"
#include <dbapserv.h>
#include <dbelipse.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbmain.h>
#include <dbpl.h>
#include <dbsymtb.h>
#include <gescl3d.h>

namespace platform::acad {
namespace {

bool PolygonHit(PlanPoint p, const std::vector<PlanPoint>& poly, double aperture) {
  if (poly.size() < 2) return false;
  for (size_t i = 0; i < poly.size(); ++i)
    if (DistToSegment(p, poly[i], poly[(i + 1) % poly.size()]) <= aperture) return true;
  return InsidePolygon(p, poly);
}

bool PolylineHit(const AcDbPolyline* pl, PlanPoint p, double aperture) {
  const unsigned n = pl->numVerts();
  if (n == 1) {
    AcGePoint2d v;
    pl->getPointAt(0, v);
    return Dist(p, {v.x, v.y}) <= aperture;
  }
  const unsigned segments = pl->isClosed() ? n : n - 1;
  for (unsigned i = 0; i < segments && n > 1; ++i) {
    AcGePoint2d a, b;
    double bulge = 0;
    pl->getPointAt(i, a);
    pl->getPointAt((i + 1) % n, b);
    pl->getBulgeAt(i, bulge);
    if (DistToBulgeSegment(p, {a.x, a.y}, {b.x, b.y}, bulge) <= aperture) return true;
  }
  return false;
}

bool CurveSampledHit(const AcDbCurve* curve, PlanPoint p, double aperture) {
  double s = 0, e = 0;
  if (curve->getStartParam(s) != Acad::eOk || curve->getEndParam(e) != Acad::eOk) return false;
  constexpr int kSteps = 256;
  AcGePoint3d prev;
  curve->getPointAtParam(s, prev);
  for (int i = 1; i <= kSteps; ++i) {
    AcGePoint3d q;
    curve->getPointAtParam(s + (e - s) * i / kSteps, q);
    if (DistToSegment(p, {prev.x, prev.y}, {q.x, q.y}) <= aperture) return true;
    prev = q;
  }
  return false;
}

bool HatchHit(const AcDbHatch* hatch, PlanPoint p, double aperture) {
  bool inside = false;
  for (int i = 0; i < hatch->numLoops(); ++i) {
    Adesk::Int32 type = 0;
    AcGePoint2dArray vertices;
    AcGeDoubleArray bulges;
    if (hatch->getLoopAt(i, type, vertices, bulges) != Acad::eOk) continue;
    std::vector<PlanPoint> poly;
    for (int k = 0; k < vertices.length(); ++k) poly.push_back({vertices[k].x, vertices[k].y});
    for (size_t k = 0; k < poly.size(); ++k) {
      const double bulge = k < static_cast<size_t>(bulges.length()) ? bulges[k] : 0.0;
      if (DistToBulgeSegment(p, poly[k], poly[(k + 1) % poly.size()], bulge) <= aperture)
        return true;
    }
    // Loops inside loops are islands: even-odd over all loops.
    if (poly.size() >= 3 && InsidePolygon(p, poly)) inside = !inside;
  }
  return inside;
}

bool TextHit(const AcDbText* text, PlanPoint p, double aperture) {
  AcGePoint3dArray corners;
  text->getBoundingPoints(corners);
  std::vector<PlanPoint> poly;
  for (int i = 0; i < corners.length(); ++i) poly.push_back({corners[i].x, corners[i].y});
  return PolygonHit(p, poly, aperture);
}

// The smallest absolute scale of a reference: an aperture in world units covers at least this
// much less in block units. With non-uniform scales the box is a little generous along the
// longer axis, which a pick box of a few pixels would be as well.
double MinScale(const AcDbBlockReference* ref) {
  const AcGeScale3d s = ref->scaleFactors();
  const double m = std::min(std::fabs(s.sx), std::fabs(s.sy));
  return m > 0 ? m : 1.0;
}

bool Drawable(const AcDbEntity* e) {
  return AcDbAttributeDefinition::cast(e) == nullptr;  // definitions show as attributes only
}

// The topmost entity of `block` under `local` (block coordinates), entering references when
// `nested`. `path` gets the containers and the transform from block to world.
bool PickInBlock(AcDbObjectId block, const AcGePoint3d& local, double aperture, bool nested,
                 const AcGeMatrix3d& to_world, PickPath& path);

// Tests one entity; on a hit fills `path` (the entity, or for a nested pick the entity inside).
bool PickEntity(AcDbObjectId id, const AcGePoint3d& local, double aperture, bool nested,
                const AcGeMatrix3d& to_world, PickPath& path) {
  AcDbEntity* e = nullptr;
  if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) return false;
  bool hit = false;
  // A block that holds itself would be entered for ever: the walk stops at the nesting limit.
  static int nesting = 0;
  if (IsPickable(e) && Drawable(e)) {
    auto* ref = AcDbBlockReference::cast(e);
    if (ref && nesting < kMaxBlockNesting) {
      const AcGeMatrix3d xf = ref->blockTransform();
      const AcGePoint3d inner = xf.inverse() * local;
      const double inner_aperture = aperture / MinScale(ref);
      const AcDbObjectId block = ref->blockTableRecord();
      e->close();
      e = nullptr;
      PickPath inside;
      ++nesting;
      const bool inside_hit =
          PickInBlock(block, inner, inner_aperture, nested, to_world * xf, inside);
      --nesting;
      if (inside_hit) {
        hit = true;
        if (nested) {
          path = std::move(inside);
          path.containers.insert(path.containers.begin(), id);
        } else {
          path = PickPath{{}, id, to_world};
        }
      }
    } else if (!ref && EntityHit(e, local, aperture)) {
      hit = true;
      path = PickPath{{}, id, to_world};
    }
  }
  if (e) e->close();
  return hit;
}

bool PickInBlock(AcDbObjectId block, const AcGePoint3d& local, double aperture, bool nested,
                 const AcGeMatrix3d& to_world, PickPath& path) {
  AcDbBlockTableRecord* record = nullptr;
  if (acdbOpenObject(record, block, AcDb::kForRead) != Acad::eOk) return false;
  const std::vector<AcDbObjectId> ids = record->entityIds();
  record->close();
  for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
    if (it->isErased()) continue;
    if (PickEntity(*it, local, aperture, nested, to_world, path)) return true;
  }
  return false;
}

AcDbDatabase* WorkingDatabase() {
  auto* services = acdbHostApplicationServices();
  return services ? services->workingDatabase() : nullptr;
}

// ---- Crossing selections: whether drawn geometry meets a rectangle, edges included.

bool PolylineMeetsRectangle(const AcDbPolyline* pl, const PlanRectangle& r) {
  const unsigned n = pl->numVerts();
  if (n == 0) return false;
  AcGePoint2d first;
  pl->getPointAt(0, first);
  if (n == 1) return InRectangle({first.x, first.y}, r);
  const unsigned segments = pl->isClosed() ? n : n - 1;
  for (unsigned i = 0; i < segments; ++i) {
    AcGePoint2d a, b;
    double bulge = 0;
    pl->getPointAt(i, a);
    pl->getPointAt((i + 1) % n, b);
    pl->getBulgeAt(i, bulge);
    const PlanPoint pa{a.x, a.y}, pb{b.x, b.y};
    const bool meets = IsStraight(pa, pb, bulge)
                           ? SegmentMeetsRectangle(pa, pb, r)
                           : ArcMeetsRectangle(BulgeArc(pa, pb, bulge), pa, pb, r);
    if (meets) return true;
  }
  return false;
}

// Adds to `box` the world box of what an entity shows, `to_world` taking its owner's
// coordinates to the world's; false when it shows nothing with a box. A block reference shows
// its block's entities, each boxed under its transform as the reference's extents are, and its
// visible attributes: an invisible attribute is never drawn (every route element carries some
// below its line), so a window drawn round what the user sees need not take them in. Inside a
// block (`depth` > 0) attribute definitions show nothing either.
bool AddDrawnBox(AcDbObjectId id, const AcGeMatrix3d& to_world, int depth, AcDbExtents& box) {
  AcDbEntity* e = nullptr;
  if (id.isErased() || acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) return false;
  auto* ref = AcDbBlockReference::cast(e);
  AcDbExtents ext;
  if (ref == nullptr) {
    const bool ok =
        (depth == 0 || Drawable(e)) && e->getGeomExtents(ext) == Acad::eOk && ext.isValid();
    e->close();
    if (!ok) return false;
    ext.transformBy(to_world);
    box.addExt(ext);
    return true;
  }
  const AcGeMatrix3d inner_to_world = to_world * ref->blockTransform();
  const AcDbObjectId block = ref->blockTableRecord();
  const std::vector<AcDbObjectId> attributes = ref->attributeIds();
  e->close();
  bool shown = false;
  AcDbBlockTableRecord* record = nullptr;
  // A block that holds itself would be measured for ever: the walk ends at the nesting limit.
  if (depth < kMaxBlockNesting && acdbOpenObject(record, block, AcDb::kForRead) == Acad::eOk) {
    const std::vector<AcDbObjectId> ids = record->entityIds();
    record->close();
    for (const AcDbObjectId& inner : ids)
      shown |= AddDrawnBox(inner, inner_to_world, depth + 1, box);
  }
  for (const AcDbObjectId& a : attributes) {
    AcDbAttribute* attribute = nullptr;
    if (a.isErased() || acdbOpenObject(attribute, a, AcDb::kForRead) != Acad::eOk) continue;
    AcDbExtents part;
    const bool drawn =
        !attribute->isInvisible() && attribute->getGeomExtents(part) == Acad::eOk && part.isValid();
    attribute->close();
    if (!drawn) continue;
    part.transformBy(to_world);
    box.addExt(part);
    shown = true;
  }
  return shown;
}

}  // namespace

double GlobalScale() {
  AcDbDatabase* db = WorkingDatabase();
  const double s = db ? db->dimscale() : 1.0;
  return s > 0 ? s : 1.0;
}

bool SetGlobalScale(double scale) {
  AcDbDatabase* db = WorkingDatabase();
  return db && scale > 0 && db->setDimscale(scale) == Acad::eOk;
}

double PickAperture() {
  return 1.0 * GlobalScale();
}

bool IsPickable(const AcDbEntity* e) {
  if (e->isErased() || e->visibility() == AcDb::kInvisible) return false;
  AcDbLayerTableRecord* layer = nullptr;
  if (acdbOpenObject(layer, e->layerId(), AcDb::kForRead) != Acad::eOk) return true;
  const bool shown = !layer->isFrozen() && !layer->isOff();
  layer->close();
  return shown;
}

bool EntityHit(const AcDbEntity* e, const AcGePoint3d& point, double aperture) {
  const PlanPoint p{point.x, point.y};
  if (auto* line = AcDbLine::cast(e)) {
    const AcGePoint3d a = line->startPoint(), b = line->endPoint();
    return DistToSegment(p, {a.x, a.y}, {b.x, b.y}) <= aperture;
  }
  if (auto* pl = AcDbPolyline::cast(e)) return PolylineHit(pl, p, aperture);
  if (auto* pt = AcDbPoint::cast(e)) {
    const AcGePoint3d q = pt->position();
    return Dist(p, {q.x, q.y}) <= aperture;
  }
  if (auto* circle = AcDbCircle::cast(e)) {
    const AcGePoint3d c = circle->center();
    return std::fabs(Dist(p, {c.x, c.y}) - circle->radius()) <= aperture;
  }
  if (auto* arc = AcDbArc::cast(e)) {
    const AcGePoint3d c = arc->center();
    return DistToArc(p, {{c.x, c.y}, arc->radius(), arc->startAngle(), arc->endAngle()}) <=
           aperture;
  }
  if (auto* ellipse = AcDbEllipse::cast(e)) return CurveSampledHit(ellipse, p, aperture);
  if (auto* text = AcDbText::cast(e)) return TextHit(text, p, aperture);
  if (auto* hatch = AcDbHatch::cast(e)) return HatchHit(hatch, p, aperture);
  return false;
}

std::optional<PickPath> PickEntityAt(AcDbObjectId space, const AcGePoint3d& point, double aperture,
                                     bool nested) {
  PickPath path;
  if (!PickInBlock(space, point, aperture, nested, AcGeMatrix3d::kIdentity, path))
    return std::nullopt;
  return path;
}

std::optional<PickPath> FirstEntityInside(AcDbObjectId reference) {
  PickPath path;
  AcDbObjectId current = reference;
  for (int depth = 0; depth <= kMaxBlockNesting; ++depth) {
    AcDbBlockReference* ref = nullptr;
    if (acdbOpenObject(ref, current, AcDb::kForRead) != Acad::eOk) {
      if (depth == 0) return std::nullopt;
      path.entity = current;
      return path;
    }
    path.containers.push_back(current);
    path.xform = path.xform * ref->blockTransform();
    const AcDbObjectId block = ref->blockTableRecord();
    ref->close();
    AcDbBlockTableRecord* record = nullptr;
    if (acdbOpenObject(record, block, AcDb::kForRead) != Acad::eOk) return std::nullopt;
    const std::vector<AcDbObjectId> ids = record->entityIds();
    record->close();
    AcDbObjectId first;
    for (const AcDbObjectId& id : ids) {
      AcDbEntity* e = nullptr;
      if (id.isErased() || acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) continue;
      const bool drawable = Drawable(e);
      e->close();
      if (drawable) {
        first = id;
        break;
      }
    }
    if (first.isNull()) return std::nullopt;
    current = first;
  }
  return std::nullopt;
}

bool EntityBox(AcDbObjectId id, AcGePoint3d& min, AcGePoint3d& max) {
  AcDbExtents ext;
  if (!AddDrawnBox(id, AcGeMatrix3d::kIdentity, 0, ext)) return false;
  min = ext.minPoint();
  max = ext.maxPoint();
  return true;
}

bool EntityMeetsRectangle(AcDbObjectId id, const PlanRectangle& r) {
  AcDbEntity* e = nullptr;
  if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) return false;
  std::optional<bool> meets;
  if (auto* line = AcDbLine::cast(e)) {
    const AcGePoint3d a = line->startPoint(), b = line->endPoint();
    meets = SegmentMeetsRectangle({a.x, a.y}, {b.x, b.y}, r);
  } else if (auto* pl = AcDbPolyline::cast(e)) {
    meets = PolylineMeetsRectangle(pl, r);
  } else if (auto* circle = AcDbCircle::cast(e)) {
    const AcGePoint3d c = circle->center();
    const PlanPoint east{c.x + circle->radius(), c.y};
    meets = ArcMeetsRectangle({{c.x, c.y}, circle->radius(), 0, 0}, east, east, r);
  } else if (auto* arc = AcDbArc::cast(e)) {
    const AcGePoint3d c = arc->center();
    const PlanArc a{{c.x, c.y}, arc->radius(), arc->startAngle(), arc->endAngle()};
    const PlanPoint from{c.x + a.radius * std::cos(a.start), c.y + a.radius * std::sin(a.start)};
    const PlanPoint to{c.x + a.radius * std::cos(a.end), c.y + a.radius * std::sin(a.end)};
    meets = ArcMeetsRectangle(a, from, to, r);
  }
  e->close();
  if (meets) return *meets;
  AcGePoint3d lo, hi;
  return EntityBox(id, lo, hi) && lo.x <= r.x1 && hi.x >= r.x0 && lo.y <= r.y1 && hi.y >= r.y0;
}

AcGePoint3d PointOnEntity(AcDbObjectId id, const AcGeMatrix3d& xform) {
  AcDbEntity* e = nullptr;
  if (acdbOpenAcDbEntity(e, id, AcDb::kForRead) != Acad::eOk) return xform * AcGePoint3d();
  AcGePoint3d p;
  if (auto* line = AcDbLine::cast(e)) {
    const AcGePoint3d a = line->startPoint(), b = line->endPoint();
    p.set((a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2);
  } else if (auto* pl = AcDbPolyline::cast(e)) {
    AcGePoint3d a, b;
    pl->getPointAt(0, a);
    if (pl->numVerts() > 1)
      pl->getPointAt(1, b);
    else
      b = a;
    p.set((a.x + b.x) / 2, (a.y + b.y) / 2, (a.z + b.z) / 2);
  } else if (auto* curve = AcDbCurve::cast(e)) {
    double s = 0, t = 0;
    curve->getStartParam(s);
    curve->getEndParam(t);
    curve->getPointAtParam((s + t) / 2, p);
  } else if (auto* text = AcDbText::cast(e)) {
    p = text->position();
  } else if (auto* point = AcDbPoint::cast(e)) {
    p = point->position();
  } else if (auto* ref = AcDbBlockReference::cast(e)) {
    p = ref->position();
  } else {
    AcDbExtents ext;
    if (e->getGeomExtents(ext) == Acad::eOk && ext.isValid())
      p.set((ext.minPoint().x + ext.maxPoint().x) / 2, (ext.minPoint().y + ext.maxPoint().y) / 2,
            0);
  }
  e->close();
  return xform * p;
}

}  // namespace platform::acad
