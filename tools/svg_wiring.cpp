// Wiring marks over an SVG picture of a drawing.
#include "tools/svg_wiring.h"

#include <acutads.h>
#include <dbents.h>
#include <dbsymtb.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>

#include "attributes/element_wires.h"
#include "host/svg/svg_renderer.h"
#include "platform/win/text_encoding.h"

namespace tools {
namespace {

constexpr const wchar_t* kConnectLayer = L"RQ_CONNECT";

bool Carries(AcDbObjectId id, const std::vector<std::wstring>& systems) {
  const std::vector<std::wstring> carried = SystemsOf(id);
  for (const std::wstring& system : systems) {
    if (system == kAnySystem && !carried.empty()) return true;
    if (std::find(carried.begin(), carried.end(), system) != carried.end()) return true;
  }
  return false;
}

// The connection points of a block reference in drawing coordinates, and its insertion point.
bool ConnectionPoints(AcDbObjectId id, std::vector<AcGePoint3d>& points, AcGePoint3d& origin) {
  AcDbBlockReference* reference = nullptr;
  if (acdbOpenObject(reference, id, AcDb::kForRead) != Acad::eOk) return false;
  const AcGeMatrix3d xform = reference->blockTransform();
  const AcDbObjectId block = reference->blockTableRecord();
  origin = reference->position();
  reference->close();
  AcDbBlockTableRecord* record = nullptr;
  if (acdbOpenObject(record, block, AcDb::kForRead) != Acad::eOk) return false;
  const std::vector<AcDbObjectId> ids = record->entityIds();
  record->close();
  for (const AcDbObjectId& entity_id : ids) {
    AcDbPoint* point = nullptr;
    if (acdbOpenObject(point, entity_id, AcDb::kForRead) != Acad::eOk) continue;
    ACHAR* layer = point->layer();
    if (layer != nullptr && wcscasecmp(layer, kConnectLayer) == 0)
      points.push_back(AcGePoint3d(point->position()).transformBy(xform));
    acutDelString(layer);
    point->close();
  }
  return !points.empty();
}

std::string Num(double v) {
  if (std::abs(v) < 5e-4) v = 0;  // no "-0.000" for a point on an axis
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

// The band's width: a hundred and twentieth of the picture's larger side, read from its view box.
double BandWidth(const std::string& svg) {
  const size_t at = svg.find("viewBox=\"");
  double x = 0, y = 0, w = 100, h = 100;
  if (at != std::string::npos) std::sscanf(svg.c_str() + at + 9, "%lf %lf %lf %lf", &x, &y, &w, &h);
  return std::max(w, h) / 120;
}

}  // namespace

std::vector<std::wstring> SystemsOf(AcDbObjectId element) {
  std::vector<std::wstring> systems;
  std::vector<ElementWire> wires;
  ReadElementWires(element, wires);
  for (const ElementWire& wire : wires) {
    if (!wire.system.IsEmpty()) systems.emplace_back(wire.system.GetString());
  }
  return systems;
}

std::string WiringBandPaths(AcDbDatabase& db, const std::vector<std::wstring>& systems) {
  if (systems.empty()) return "";
  AcDbBlockTableRecord* space = nullptr;
  if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead) != Acad::eOk) return "";
  const std::vector<AcDbObjectId> ids = space->entityIds();
  space->close();
  std::string paths;
  for (const AcDbObjectId& id : ids) {
    std::vector<AcGePoint3d> points;
    AcGePoint3d origin;
    if (id.isErased() || !Carries(id, systems) || !ConnectionPoints(id, points, origin)) continue;
    // Drawing Y points up, the picture's down.
    // Each piece is appended on its own: g++ 12 at -O3 misreads a literal followed by a
    // temporary string as overlapping copies (-Wrestrict).
    std::string d;
    const auto line = [&d](const AcGePoint3d& from, const AcGePoint3d& to) {
      d += 'M';
      d += Num(from.x);
      d += ' ';
      d += Num(-from.y);
      d += " L";
      d += Num(to.x);
      d += ' ';
      d += Num(-to.y);
    };
    if (points.size() == 2) {
      line(points[0], points[1]);
    } else {
      for (const AcGePoint3d& p : points) {
        line(origin, p);
        d += ' ';
      }
    }
    paths += "<path d=\"" + d + "\"/>\n";
  }
  return paths;
}

std::vector<std::wstring> SystemsInDrawing(AcDbDatabase& db) {
  std::vector<std::wstring> systems;
  AcDbBlockTableRecord* space = nullptr;
  if (acdbOpenObject(space, db.modelSpaceId(), AcDb::kForRead) != Acad::eOk) return systems;
  const std::vector<AcDbObjectId> ids = space->entityIds();
  space->close();
  for (const AcDbObjectId& id : ids) {
    if (id.isErased()) continue;
    for (std::wstring& system : SystemsOf(id)) systems.push_back(std::move(system));
  }
  std::sort(systems.begin(), systems.end());
  systems.erase(std::unique(systems.begin(), systems.end()), systems.end());
  return systems;
}

std::string AddWiringMarks(const std::string& svg, AcDbDatabase& db,
                           const std::vector<std::wstring>& systems) {
  const size_t end = svg.rfind("</svg>");
  if (systems.empty() || end == std::string::npos) return svg;
  const std::string paths = WiringBandPaths(db, systems);
  if (paths.empty()) return svg;
  const std::string group =
      "<g fill=\"none\" stroke=\"#ff8c00\" stroke-opacity=\"0.45\" "
      "stroke-linecap=\"round\" stroke-width=\"" +
      Num(BandWidth(svg)) + "\">\n" + paths + "</g>\n";
  return svg.substr(0, end) + group + svg.substr(end);
}

bool WriteMarkedSvgFile(AcDbDatabase& db, const std::string& path,
                        const std::vector<std::wstring>& systems, std::wstring* error) {
  return host::WriteSvgText(AddWiringMarks(host::RenderSvg(db), db, systems), path, error);
}

}  // namespace tools
