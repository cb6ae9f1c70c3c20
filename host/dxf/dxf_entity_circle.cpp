// CIRCLE: a full circle (AcDbCircle).
#include <dbents.h>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_write_parts.h"

namespace host {

namespace dxf_in {

AcDbEntity* ReadCircle(Builder&, const Record& r, Split* s) {
  SplitRecord(
      r, [](int c) { return Builder::CommonCode(c) || c == 10 || c == 20 || c == 30 || c == 40; },
      s);
  const double radius = RealOr(s->values, 40, 1);
  if (!(radius > 0)) return nullptr;
  return new AcDbCircle(PointOf(s->values, 10), AcGeVector3d::kZAxis, radius);
}

}  // namespace dxf_in

namespace dxf_out {

void WriteCircle(EntityOut& out, const AcDbEntity& e) {
  const auto& circle = static_cast<const AcDbCircle&>(e);
  Lines& g = out.Next("AcDbCircle");
  g.AddPoint(10, circle.center());
  g.AddReal(40, circle.radius());
  if (!IsZAxis(circle.normal())) g.AddVector(210, circle.normal());
}

}  // namespace dxf_out

}  // namespace host
