// LWPOLYLINE: a lightweight polyline (AcDbPolyline), 2D vertices with widths and bulges in a
// plane at an elevation.
#include <dbpl.h>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_write_parts.h"

namespace host {

namespace dxf_in {

AcDbEntity* ReadLwpolyline(Builder&, const Record& r, Split* s) {
  SplitRecord(
      r,
      [](int c) {
        return Builder::CommonCode(c) || c == 90 || c == 70 || c == 43 || c == 38 || c == 10 ||
               c == 20 || c == 40 || c == 41 || c == 42 || c == 210 || c == 220 || c == 230;
      },
      s);
  auto* pl = new AcDbPolyline;
  double constant = -1;
  int n = -1;
  for (const Group* g : s->values) {
    if (g->code == 10) {
      ++n;
      pl->addVertexAt(n, AcGePoint2d(Real(*g), 0), 0, constant, constant);
    } else if (n >= 0 && g->code == 20) {
      AcGePoint2d p;
      pl->getPointAt(n, p);
      pl->setPointAt(n, AcGePoint2d(p.x, Real(*g)));
    } else if (n >= 0 && (g->code == 40 || g->code == 41)) {
      double a, b;
      pl->getWidthsAt(n, a, b);
      if (g->code == 40)
        a = Real(*g);
      else
        b = Real(*g);
      pl->setWidthsAt(n, a, b);
    } else if (n >= 0 && g->code == 42) {
      pl->setBulgeAt(n, Real(*g));
    } else if (g->code == 43) {
      constant = Real(*g);
    }
  }
  if (constant > 0) pl->setConstantWidth(constant);
  pl->setClosed(IntOr(s->values, 70, 0) & 1);
  pl->setElevation(RealOr(s->values, 38, 0));
  pl->setNormal(AcGeVector3d(RealOr(s->values, 210, 0), RealOr(s->values, 220, 0),
                             RealOr(s->values, 230, 1)));
  return pl;
}

}  // namespace dxf_in

namespace dxf_out {

void WriteLwpolyline(EntityOut& out, const AcDbEntity& e) {
  const auto& pl = static_cast<const AcDbPolyline&>(e);
  Lines& g = out.Next("AcDbPolyline");
  g.AddInt(90, pl.numVerts());
  g.AddUtf8(70, pl.isClosed() ? "1" : "0");
  double constant = 0;
  const bool is_constant = pl.getConstantWidth(constant) == Acad::eOk;
  if (is_constant) g.AddReal(43, constant);
  if (pl.elevation() != 0) g.AddReal(38, pl.elevation());
  for (unsigned i = 0; i < pl.numVerts(); ++i) {
    AcGePoint2d p;
    pl.getPointAt(i, p);
    g.AddReal(10, p.x);
    g.AddReal(20, p.y);
    if (!is_constant) {
      double a = 0, b = 0;
      pl.getWidthsAt(i, a, b);
      g.AddReal(40, a);
      g.AddReal(41, b);
    }
    double bulge = 0;
    pl.getBulgeAt(i, bulge);
    if (bulge != 0) g.AddReal(42, bulge);
  }
  if (!IsZAxis(pl.normal())) g.AddVector(210, pl.normal());
}

}  // namespace dxf_out

}  // namespace host
