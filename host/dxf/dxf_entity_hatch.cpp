// HATCH: solid fills bounded by polyline loops (AcDbHatch); a hatch of any other kind (a
// pattern, an associative one, other loops) stays as its groups.
#include <dbhatch.h>
#include "platform/acad/kept_groups.h"

#include <memory>
#include <string>
#include <vector>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_write_parts.h"

namespace host {

namespace dxf_in {

AcDbEntity* ReadHatch(Builder& in, const Record& r, Split* s) {
  SplitRecord(
      r, [](int) { return true; }, s);
  std::vector<const Group*> common, rest;
  auto hatch = std::make_unique<AcDbHatch>();
  const auto& v = s->values;
  size_t i = 0;
  std::vector<platform::acad::RawGroup> raw = std::move(s->raw);
  // Before the hatch subclass: the common properties; unmodelled ones are kept.
  bool in_hatch = false;
  std::vector<platform::acad::RawGroup> kept_raw;
  std::vector<const Group*> kept_values;
  // Rebuild the split by walking the record's groups in order (markers are raw groups).
  (void)v;
  (void)i;
  (void)raw;
  int depth = 0;
  const Group* owner = FirstOwner(r);
  std::vector<const Group*> body;
  for (const Group& g : r.groups) {
    if (g.code == 1001) break;
    if (g.code == 102) depth += (!g.text.empty() && g.text[0] == '{') ? 1 : -1;
    if (g.code == 5 || &g == owner) continue;
    if (g.code == 100 && g.text == "AcDbHatch") {
      in_hatch = true;
      kept_raw.push_back(platform::acad::RawGroup{g.code, Kept(g)});
      continue;
    }
    if (!in_hatch) {
      if (depth == 0 && g.code != 102 && Builder::CommonCode(g.code)) {
        kept_values.push_back(&g);
      } else {
        kept_raw.push_back(platform::acad::RawGroup{g.code, Kept(g)});
      }
    } else {
      body.push_back(&g);
    }
  }
  size_t k = 0;
  auto at = [&](int code) { return k < body.size() && body[k]->code == code; };
  AcGePoint3d elevation;
  AcGeVector3d normal = AcGeVector3d::kZAxis;
  std::wstring pattern = L"SOLID";
  bool solid = true, associative = false;
  long long loops = 0;
  while (k < body.size() && body[k]->code != 91) {
    const Group& g = *body[k++];
    switch (g.code) {
      case 10:
        elevation.x = Real(g);
        break;
      case 20:
        elevation.y = Real(g);
        break;
      case 30:
        elevation.z = Real(g);
        break;
      case 210:
        normal.x = Real(g);
        break;
      case 220:
        normal.y = Real(g);
        break;
      case 230:
        normal.z = Real(g);
        break;
      case 2:
        pattern = Wide(g);
        break;
      case 70:
        solid = Int(g) == 1;
        break;
      case 71:
        associative = Int(g) != 0;
        break;
      default:
        kept_raw.push_back(platform::acad::RawGroup{g.code, Kept(g)});
    }
  }
  if (!solid || associative || !at(91)) return nullptr;
  loops = Int(*body[k++]);
  for (long long l = 0; l < loops; ++l) {
    if (!at(92)) return nullptr;
    const long long type = Int(*body[k++]);
    if (!(type & AcDbHatch::kPolyline)) return nullptr;
    bool bulges = false;
    if (at(72)) bulges = Int(*body[k++]) != 0;
    if (at(73)) ++k;
    if (!at(93)) return nullptr;
    const long long n = Int(*body[k++]);
    AcGePoint2dArray points;
    AcGeDoubleArray bulge_values;
    for (long long p = 0; p < n; ++p) {
      if (!at(10)) return nullptr;
      double x = Real(*body[k++]);
      if (!at(20)) return nullptr;
      double y = Real(*body[k++]);
      points.append(AcGePoint2d(x, y));
      double b = 0;
      if (at(42)) b = Real(*body[k++]);
      if (bulges) bulge_values.append(b);
    }
    if (at(97)) {
      if (Int(*body[k]) != 0) return nullptr;
      ++k;
    }
    if (hatch->appendLoop(static_cast<Adesk::Int32>(type), points, bulge_values) != Acad::eOk)
      return nullptr;
  }
  int style = 0;
  while (k < body.size()) {
    const Group& g = *body[k++];
    if (g.code == 75) {
      style = in.Enumerated(Int(g), kHatchStyles, AcDbHatch::kNormal, g.line, L"hatch style");
    } else if (g.code == 76 || g.code == 52 || g.code == 41 || g.code == 77) {
      // pattern type, angle, scale, double: fixed for solid fills
    } else if (g.code == 78) {
      if (Int(g) != 0) return nullptr;
    } else if (g.code == 98) {
      // Seed points: of no use to a solid fill bounded by its loops.
      long long seeds = Int(g);
      for (long long p = 0; p < seeds && k + 1 < body.size(); ++p) k += 2;
    } else {
      kept_raw.push_back(platform::acad::RawGroup{g.code, Kept(g)});
    }
  }
  hatch->setPattern(AcDbHatch::kPreDefined, pattern.c_str());
  hatch->setHatchStyle(static_cast<AcDbHatch::HatchStyle>(style));
  hatch->setElevation(elevation.z);
  hatch->setNormal(normal);
  s->values = std::move(kept_values);
  s->raw = std::move(kept_raw);
  return hatch.release();
}

}  // namespace dxf_in

namespace dxf_out {

void WriteHatch(EntityOut& out, const AcDbEntity& e) {
  const auto* h = static_cast<const AcDbHatch*>(&e);
  Lines& g = out.Next("AcDbHatch");
  g.AddPoint(10, AcGePoint3d(0, 0, h->elevation()));
  g.AddVector(210, h->normal());
  g.Add(2, h->patternName());
  g.AddUtf8(70, h->isSolidFill() ? "1" : "0");
  g.AddUtf8(71, h->associative() ? "1" : "0");
  int loops = 0;
  for (int i = 0; i < h->numLoops(); ++i)
    if (h->loopTypeAt(i) & AcDbHatch::kPolyline) ++loops;
  g.AddInt(91, loops);
  for (int i = 0; i < h->numLoops(); ++i) {
    Adesk::Int32 type = 0;
    AcGePoint2dArray points;
    AcGeDoubleArray bulges;
    if (h->getLoopAt(i, type, points, bulges) != Acad::eOk) continue;
    bool has_bulge = false;
    for (int k = 0; k < bulges.length(); ++k)
      if (bulges[k] != 0) has_bulge = true;
    g.AddInt(92, type);
    g.AddUtf8(72, has_bulge ? "1" : "0");
    g.AddUtf8(73, "1");
    g.AddInt(93, points.length());
    for (int k = 0; k < points.length(); ++k) {
      g.AddReal(10, points[k].x);
      g.AddReal(20, points[k].y);
      if (has_bulge) g.AddReal(42, bulges[k]);
    }
    g.AddUtf8(97, "0");
  }
  g.AddInt(75, h->hatchStyle());
  g.AddInt(76, h->patternType());
  if (!h->isSolidFill()) {
    g.AddReal(52, h->patternAngle() / kDegree);
    g.AddReal(41, h->patternScale());
    g.AddUtf8(77, "0");
    g.AddUtf8(78, "0");
  }
  g.AddUtf8(98, "0");
}

}  // namespace dxf_out

}  // namespace host
