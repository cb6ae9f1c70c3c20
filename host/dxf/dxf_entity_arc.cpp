// ARC: a circular arc (AcDbArc), its angles in degrees in the file and in radians in the
// database.
#include <dbents.h>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_write_parts.h"

namespace host {

namespace dxf_in {

AcDbEntity* ReadArc(Builder&, const Record& r, Split* s) {
  SplitRecord(
      r,
      [](int c) {
        return Builder::CommonCode(c) || c == 10 || c == 20 || c == 30 || c == 40 || c == 50 ||
               c == 51;
      },
      s);
  KeepText(s, {50, 51});
  const double radius = RealOr(s->values, 40, 1);
  if (!(radius > 0)) return nullptr;
  return new AcDbArc(PointOf(s->values, 10), radius, RealOr(s->values, 50, 0) * kDegree,
                     RealOr(s->values, 51, 0) * kDegree);
}

}  // namespace dxf_in

namespace dxf_out {

void WriteArc(EntityOut& out, const AcDbEntity& e) {
  const auto& arc = static_cast<const AcDbArc&>(e);
  Lines& g = out.Next("AcDbCircle");
  g.AddPoint(10, arc.center());
  g.AddReal(40, arc.radius());
  Lines& angles = out.Next("AcDbArc");
  AddDegrees(&angles, arc, 50, arc.startAngle());
  AddDegrees(&angles, arc, 51, arc.endAngle());
}

}  // namespace dxf_out

}  // namespace host
