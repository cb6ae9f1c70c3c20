// LINE: a straight segment between two points (AcDbLine).
#include <dbents.h>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_write_parts.h"

namespace host {

namespace dxf_in {

AcDbEntity* ReadLine(Builder&, const Record& r, Split* s) {
  SplitRecord(
      r, [](int c) { return Builder::CommonCode(c) || (c >= 10 && c <= 31 && c % 10 <= 1); }, s);
  return new AcDbLine(PointOf(s->values, 10), PointOf(s->values, 11));
}

}  // namespace dxf_in

namespace dxf_out {

void WriteLine(EntityOut& out, const AcDbEntity& e) {
  const auto& line = static_cast<const AcDbLine&>(e);
  Lines& g = out.Next("AcDbLine");
  g.AddPoint(10, line.startPoint());
  g.AddPoint(11, line.endPoint());
}

}  // namespace dxf_out

}  // namespace host
