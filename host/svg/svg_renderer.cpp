// SVG pictures of a drawing's model space.
#include "host/svg/svg_renderer.h"
#include "host/svg/svg_text.h"

#include <acgitransient.h>
#include "platform/acad/block_nesting.h"
#include <dbelipse.h>
#include <dbents.h>
#include <dbhatch.h>
#include <dbpl.h>
#include <dbsymtb.h>
#include <gemat3d.h>
#include "platform/win/text_encoding.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <vector>

namespace host {
namespace {

// Blocks nest at most this deep; a deeper (or self-referencing) block is not drawn further.
constexpr int kMaxDepth = platform::acad::kMaxBlockNesting;
// Straight pieces a full circle is drawn with; shorter arcs get a share, at least two.
constexpr int kSegmentsPerTurn = 128;

struct Pt {
  double x = 0, y = 0;
};

// A picture point: drawing Y points up, SVG Y down.
Pt ToSvg(const AcGePoint3d& p) {
  return {p.x, -p.y};
}

std::string Num(double v) {
  return SvgNumber(v);
}

std::string ColourText(int aci) {
  const Rgb rgb = AciToRgb(aci);
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", rgb.r, rgb.g, rgb.b);
  return buf;
}

// What an entity inherits from the references that draw it.
struct Context {
  AcGeMatrix3d xform;           // block coordinates to world
  int by_block_colour = 7;      // the colour ByBlock stands for
  AcDbObjectId layer_zero_for;  // the layer entities on layer "0" take inside a block
  int depth = 0;
};

class Renderer {
 public:
  void DrawBlock(AcDbObjectId block_id, const Context& ctx);
  std::string Finish() const;
  // What was drawn as the page shows it, without the document around it: a point is a dot that
  // the page sizes on the screen (class "point"), since the page has no picture size.
  EntityPicture Piece() const;

 private:
  void DrawEntity(AcDbEntity* entity, const Context& ctx);

 public:
  // An entity in no drawing (transient graphics), drawn as if it were in model space.
  void DrawTransient(AcDbEntity* entity) { DrawEntity(entity, Context{}); }

 private:
  void DrawReference(AcDbBlockReference* ref, const Context& ctx, int colour);
  void DrawText(const AcDbText* text, const Context& ctx, int colour);
  void DrawHatch(const AcDbHatch* hatch, const Context& ctx, int colour);
  // Adds the points of one polyline-like loop (vertices with bulges) to `out` in world
  // coordinates.
  void BulgedLoop(const std::vector<AcGePoint3d>& vertices, const std::vector<double>& bulges,
                  bool closed, const Context& ctx, std::vector<Pt>* out);
  void Polyline(const std::vector<Pt>& points, bool closed, int colour);
  void Include(const Pt& p);
  // The layer that decides a ByLayer colour and visibility, and whether it is shown.
  AcDbObjectId EffectiveLayer(const AcDbEntity* entity, const Context& ctx) const;
  bool LayerShown(AcDbObjectId layer) const;
  int Resolve(const AcDbEntity* entity, const Context& ctx) const;

  struct Cross {
    Pt at;
    int colour;
    size_t slot;  // where in `items_` the cross goes once its size is known
  };
  std::vector<std::string> items_;
  std::vector<Cross> crosses_;
  bool any_ = false;
  double min_x_ = 0, min_y_ = 0, max_x_ = 0, max_y_ = 0;
};

void Renderer::Include(const Pt& p) {
  if (!std::isfinite(p.x) || !std::isfinite(p.y)) return;
  if (!any_) {
    min_x_ = max_x_ = p.x;
    min_y_ = max_y_ = p.y;
    any_ = true;
    return;
  }
  min_x_ = std::min(min_x_, p.x);
  max_x_ = std::max(max_x_, p.x);
  min_y_ = std::min(min_y_, p.y);
  max_y_ = std::max(max_y_, p.y);
}

AcDbObjectId Renderer::EffectiveLayer(const AcDbEntity* entity, const Context& ctx) const {
  const AcDbObjectId layer = entity->layerId();
  if (ctx.depth == 0 || ctx.layer_zero_for.isNull()) return layer;
  AcDbLayerTableRecord* record = nullptr;
  if (acdbOpenObject(record, layer, AcDb::kForRead) != Acad::eOk) return layer;
  // Entities on layer 0 inside a block take the layer of the reference, as in AutoCAD.
  const ACHAR* name = nullptr;
  const bool zero =
      record->getName(name) == Acad::eOk && name != nullptr && std::wstring(name) == L"0";
  record->close();
  return zero ? ctx.layer_zero_for : layer;
}

bool Renderer::LayerShown(AcDbObjectId layer) const {
  AcDbLayerTableRecord* record = nullptr;
  if (acdbOpenObject(record, layer, AcDb::kForRead) != Acad::eOk) return true;
  const bool shown = !record->isOff() && !record->isFrozen();
  record->close();
  return shown;
}

int Renderer::Resolve(const AcDbEntity* entity, const Context& ctx) const {
  const int index = entity->colorIndex();
  if (index == AcDb::kByBlock) return ctx.by_block_colour;
  if (index < 256) return index;
  AcDbLayerTableRecord* record = nullptr;
  if (acdbOpenObject(record, EffectiveLayer(entity, ctx), AcDb::kForRead) != Acad::eOk) return 7;
  // A negative index marks a layer that is off; its colour is the absolute value.
  const int layer_colour = std::abs(static_cast<int>(record->color().colorIndex()));
  record->close();
  return (layer_colour >= 1 && layer_colour <= 255) ? layer_colour : 7;
}

void Renderer::DrawBlock(AcDbObjectId block_id, const Context& ctx) {
  if (ctx.depth > kMaxDepth) return;
  AcDbBlockTableRecord* block = nullptr;
  if (acdbOpenObject(block, block_id, AcDb::kForRead) != Acad::eOk) return;
  const std::vector<AcDbObjectId> ids = block->entityIds();
  block->close();
  for (const AcDbObjectId& id : ids) {
    AcDbEntity* entity = nullptr;
    if (acdbOpenAcDbEntity(entity, id, AcDb::kForRead) != Acad::eOk) continue;
    DrawEntity(entity, ctx);
    entity->close();
  }
}

void Renderer::DrawEntity(AcDbEntity* entity, const Context& ctx) {
  if (!LayerShown(EffectiveLayer(entity, ctx))) return;
  const int colour = Resolve(entity, ctx);
  const AcGeMatrix3d& m = ctx.xform;
  if (auto* line = AcDbLine::cast(entity)) {
    const Pt a = ToSvg(m * line->startPoint()), b = ToSvg(m * line->endPoint());
    Include(a);
    Include(b);
    items_.push_back("<line x1=\"" + Num(a.x) + "\" y1=\"" + Num(a.y) + "\" x2=\"" + Num(b.x) +
                     "\" y2=\"" + Num(b.y) + "\" stroke=\"" + ColourText(colour) + "\"/>");
  } else if (auto* pline = AcDbPolyline::cast(entity)) {
    std::vector<AcGePoint3d> vertices;
    std::vector<double> bulges;
    for (unsigned i = 0; i < pline->numVerts(); ++i) {
      AcGePoint3d p;
      double bulge = 0;
      pline->getPointAt(i, p);
      pline->getBulgeAt(i, bulge);
      vertices.push_back(p);
      bulges.push_back(bulge);
    }
    std::vector<Pt> points;
    BulgedLoop(vertices, bulges, pline->isClosed(), ctx, &points);
    Polyline(points, pline->isClosed(), colour);
  } else if (auto* point = AcDbPoint::cast(entity)) {
    const Pt at = ToSvg(m * point->position());
    Include(at);
    crosses_.push_back({at, colour, items_.size()});
    items_.emplace_back();
  } else if (auto* arc = AcDbArc::cast(entity)) {
    double start = arc->startAngle(), end = arc->endAngle();
    while (end <= start) end += 2 * kPi;
    const int n =
        std::max(2, static_cast<int>(std::ceil((end - start) / (2 * kPi) * kSegmentsPerTurn)));
    std::vector<Pt> points;
    for (int i = 0; i <= n; ++i) {
      const double a = start + (end - start) * i / n;
      const AcGePoint3d p =
          arc->center() + AcGeVector3d(std::cos(a), std::sin(a), 0) * arc->radius();
      points.push_back(ToSvg(m * p));
    }
    Polyline(points, false, colour);
  } else if (auto* circle = AcDbCircle::cast(entity)) {
    std::vector<Pt> points;
    for (int i = 0; i < kSegmentsPerTurn; ++i) {
      const double a = 2 * kPi * i / kSegmentsPerTurn;
      const AcGePoint3d p =
          circle->center() + AcGeVector3d(std::cos(a), std::sin(a), 0) * circle->radius();
      points.push_back(ToSvg(m * p));
    }
    Polyline(points, true, colour);
  } else if (auto* ellipse = AcDbEllipse::cast(entity)) {
    double start = 0, end = 0;
    ellipse->getStartParam(start);
    ellipse->getEndParam(end);
    while (end <= start) end += 2 * kPi;
    const bool closed = ellipse->isClosed();
    const int n =
        std::max(2, static_cast<int>(std::ceil((end - start) / (2 * kPi) * kSegmentsPerTurn)));
    std::vector<Pt> points;
    for (int i = 0; i <= n - (closed ? 1 : 0); ++i) {
      AcGePoint3d p;
      ellipse->getPointAtParam(start + (end - start) * i / n, p);
      points.push_back(ToSvg(m * p));
    }
    Polyline(points, closed, colour);
  } else if (AcDbAttributeDefinition::cast(entity) != nullptr) {
    // Definitions show through the attributes of each reference, not by themselves.
  } else if (auto* text = AcDbText::cast(entity)) {
    const auto* attribute = AcDbAttribute::cast(entity);
    if (attribute == nullptr || !attribute->isInvisible()) DrawText(text, ctx, colour);
  } else if (auto* hatch = AcDbHatch::cast(entity)) {
    DrawHatch(hatch, ctx, colour);
  } else if (auto* ref = AcDbBlockReference::cast(entity)) {
    DrawReference(ref, ctx, colour);
  }
}

void Renderer::DrawReference(AcDbBlockReference* ref, const Context& ctx, int colour) {
  Context inner;
  inner.xform = ctx.xform * ref->blockTransform();
  inner.by_block_colour = colour;
  inner.layer_zero_for = EffectiveLayer(ref, ctx);
  inner.depth = ctx.depth + 1;
  DrawBlock(ref->blockTableRecord(), inner);
  // Attributes are in the reference's own space already; ByBlock on them means the reference.
  Context own = ctx;
  own.by_block_colour = colour;
  for (const AcDbObjectId& id : ref->attributeIds()) {
    AcDbEntity* attribute = nullptr;
    if (acdbOpenAcDbEntity(attribute, id, AcDb::kForRead) != Acad::eOk) continue;
    DrawEntity(attribute, own);
    attribute->close();
  }
}

void Renderer::DrawText(const AcDbText* text, const Context& ctx, int colour) {
  AcGePoint3dArray corners;
  text->getBoundingPoints(corners);
  if (corners.length() != 4) return;
  SvgPoint c[4];
  for (int i = 0; i < 4; ++i) {
    const Pt p = ToSvg(ctx.xform * corners[i]);
    c[i] = {p.x, p.y};
  }
  std::string markup = TextMarkup(*text, c, ColourText(colour));
  if (markup.empty()) return;
  for (const SvgPoint& p : c) Include({p.x, p.y});
  items_.push_back(std::move(markup));
}

void Renderer::DrawHatch(const AcDbHatch* hatch, const Context& ctx, int colour) {
  std::string path;
  for (int i = 0; i < hatch->numLoops(); ++i) {
    Adesk::Int32 type = 0;
    AcGePoint2dArray vertices2d;
    AcGeDoubleArray bulges;
    if (hatch->getLoopAt(i, type, vertices2d, bulges) != Acad::eOk) continue;
    std::vector<AcGePoint3d> vertices;
    std::vector<double> bulge_list;
    for (int k = 0; k < vertices2d.length(); ++k) {
      vertices.emplace_back(vertices2d[k].x, vertices2d[k].y, hatch->elevation());
      bulge_list.push_back(k < bulges.length() ? bulges[k] : 0.0);
    }
    std::vector<Pt> points;
    BulgedLoop(vertices, bulge_list, true, ctx, &points);
    for (size_t k = 0; k < points.size(); ++k) {
      Include(points[k]);
      path += (k == 0 ? "M" : " L") + Num(points[k].x) + " " + Num(points[k].y);
    }
    if (!points.empty()) path += " Z ";
  }
  if (path.empty()) return;
  const std::string rgb = ColourText(colour);
  // Pattern lines are not drawn: a patterned hatch shows its boundary only.
  const std::string fill = hatch->isSolidFill() ? rgb : "none";
  items_.push_back("<path d=\"" + path + "\" fill=\"" + fill +
                   "\" fill-rule=\"evenodd\" stroke=\"" + rgb + "\"/>");
}

void Renderer::BulgedLoop(const std::vector<AcGePoint3d>& vertices,
                          const std::vector<double>& bulges, bool closed, const Context& ctx,
                          std::vector<Pt>* out) {
  const size_t n = vertices.size();
  if (n == 0) return;
  const size_t segments = closed ? n : n - 1;
  out->push_back(ToSvg(ctx.xform * vertices[0]));
  for (size_t i = 0; i < segments; ++i) {
    const AcGePoint3d& p = vertices[i];
    const AcGePoint3d& q = vertices[(i + 1) % n];
    const double bulge = i < bulges.size() ? bulges[i] : 0.0;
    const double chord = std::hypot(q.x - p.x, q.y - p.y);
    if (std::abs(bulge) > 1e-12 && chord > 0) {
      // The bulge is tan(θ/4) of the arc's included angle θ, positive counter-clockwise.
      const double theta = 4 * std::atan(bulge);
      const double radius = chord / (2 * std::sin(std::abs(theta) / 2));
      const double mx = (p.x + q.x) / 2, my = (p.y + q.y) / 2;
      // From the chord's midpoint to the centre: left of p→q for a positive bulge.
      const double ux = -(q.y - p.y) / chord, uy = (q.x - p.x) / chord;
      // (Past a half circle the cosine turns negative and the centre crosses the chord.)
      const double h = radius * std::cos(theta / 2) * (bulge > 0 ? 1 : -1);
      const double cx = mx + ux * h, cy = my + uy * h;
      const double a0 = std::atan2(p.y - cy, p.x - cx);
      const int steps =
          std::max(2, static_cast<int>(std::ceil(std::abs(theta) / (2 * kPi) * kSegmentsPerTurn)));
      for (int k = 1; k < steps; ++k) {
        const double a = a0 + theta * k / steps;
        out->push_back(ToSvg(
            ctx.xform * AcGePoint3d(cx + radius * std::cos(a), cy + radius * std::sin(a), p.z)));
      }
    }
    if (!(closed && i + 1 == segments)) out->push_back(ToSvg(ctx.xform * q));
  }
}

void Renderer::Polyline(const std::vector<Pt>& points, bool closed, int colour) {
  if (points.empty()) return;
  std::string list;
  for (const Pt& p : points) {
    Include(p);
    if (!list.empty()) list += ' ';
    list += Num(p.x) + "," + Num(p.y);
  }
  items_.push_back(std::string(closed ? "<polygon" : "<polyline") + " points=\"" + list +
                   "\" stroke=\"" + ColourText(colour) + "\"/>");
}

std::string Renderer::Finish() const {
  double x = 0, y = 0, w = 100, h = 100;
  if (any_) {
    const double span = std::max(max_x_ - min_x_, max_y_ - min_y_);
    // A twentieth of the larger side around the drawing; a single point gets a unit box.
    const double margin = span > 0 ? span * 0.05 : 1.0;
    x = min_x_ - margin;
    y = min_y_ - margin;
    w = max_x_ - min_x_ + 2 * margin;
    h = max_y_ - min_y_ + 2 * margin;
  }
  // The picture is 1000 pixels on its larger side, and strokes are one of those pixels wide,
  // given in drawing units: a stroke that does not scale (vector-effect) is not understood by
  // every renderer, and one that is not one drawing unit thin vanishes in a large drawing.
  const double pixels = 1000.0 / std::max(w, h);
  const double stroke = 1.0 / pixels;
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + Num(w * pixels) +
         "\" height=\"" + Num(h * pixels) + "\" viewBox=\"" + Num(x) + " " + Num(y) + " " + Num(w) +
         " " + Num(h) + "\">\n";
  out += "<rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(w) + "\" height=\"" +
         Num(h) + "\" fill=\"#ffffff\"/>\n";
  out += "<g fill=\"none\" stroke-width=\"" + Num(stroke) +
         "\" stroke-linecap=\"round\" stroke-linejoin=\"round\" font-family=\"" +
         std::string(kSvgFontFamily) + "\">\n";
  // A point's cross is a hundredth of the picture's larger side across.
  const double arm = std::max(w, h) / 200;
  size_t next_cross = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (next_cross < crosses_.size() && crosses_[next_cross].slot == i) {
      const Cross& c = crosses_[next_cross++];
      out += "<path d=\"M" + Num(c.at.x - arm) + " " + Num(c.at.y) + " L" + Num(c.at.x + arm) +
             " " + Num(c.at.y) + " M" + Num(c.at.x) + " " + Num(c.at.y - arm) + " L" + Num(c.at.x) +
             " " + Num(c.at.y + arm) + "\" stroke=\"" + ColourText(c.colour) + "\"/>\n";
      continue;
    }
    out += items_[i] + "\n";
  }
  out += "</g>\n</svg>\n";
  return out;
}

EntityPicture Renderer::Piece() const {
  EntityPicture piece;
  // The points of one colour are one path: a route element's connection points are many.
  std::vector<std::pair<int, std::string>> dots;
  size_t next_cross = 0;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (next_cross < crosses_.size() && crosses_[next_cross].slot == i) {
      const Cross& c = crosses_[next_cross++];
      auto it = std::find_if(dots.begin(), dots.end(),
                             [&](const auto& d) { return d.first == c.colour; });
      if (it == dots.end()) it = dots.insert(dots.end(), {c.colour, ""});
      it->second += (it->second.empty() ? "M" : " M") + Num(c.at.x) + " " + Num(c.at.y) + " h0";
      continue;
    }
    piece.elements.push_back(items_[i]);
  }
  for (const auto& [colour, d] : dots) {
    piece.points.push_back("<path class=\"point\" d=\"" + d + "\" stroke=\"" +
                           ColourText(colour) + "\"/>");
  }
  piece.any = any_;
  piece.min_x = min_x_;
  piece.min_y = min_y_;
  piece.max_x = max_x_;
  piece.max_y = max_y_;
  return piece;
}

}  // namespace

EntityPicture RenderEntityPicture(AcDbEntity* entity) {
  Renderer renderer;
  renderer.DrawTransient(entity);
  return renderer.Piece();
}

std::string RenderSvg(AcDbDatabase& db) {
  AcDbBlockTable* table = nullptr;
  AcDbObjectId model_space;
  if (db.getBlockTable(table, AcDb::kForRead) == Acad::eOk) {
    table->getAt(ACDB_MODEL_SPACE, model_space);
    table->close();
  }
  Renderer renderer;
  if (!model_space.isNull()) renderer.DrawBlock(model_space, Context{});
  // A drag's entities are on the screen over the drawing: drawn last, as the screen shows them.
  for (const AcGiDrawable* drawable : platform::acad::ShownTransients()) {
    AcDbEntity* entity = AcDbEntity::cast(drawable);
    if (entity != nullptr && entity->isReadEnabled()) renderer.DrawTransient(entity);
  }
  return renderer.Finish();
}

bool WriteSvgFile(AcDbDatabase& db, const std::string& path, std::wstring* error) {
  return WriteSvgText(RenderSvg(db), path, error);
}

bool WriteSvgText(const std::string& svg, const std::string& path, std::wstring* error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (out) out.write(svg.data(), static_cast<std::streamsize>(svg.size()));
  if (out) out.close();
  if (!out) {
    if (error != nullptr) *error = L"cannot write the picture " + platform::Utf8ToWide(path);
    return false;
  }
  return true;
}

}  // namespace host
