// POINT: a point (AcDbPoint).
#include <dbents.h>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_write_parts.h"

namespace host {

namespace dxf_in {

AcDbEntity* ReadPoint(Builder&, const Record& r, Split* s) {
  SplitRecord(
      r, [](int c) { return Builder::CommonCode(c) || c == 10 || c == 20 || c == 30; }, s);
  return new AcDbPoint(PointOf(s->values, 10));
}

}  // namespace dxf_in

namespace dxf_out {

void WritePoint(EntityOut& out, const AcDbEntity& e) {
  out.Next("AcDbPoint").AddPoint(10, static_cast<const AcDbPoint&>(e).position());
}

}  // namespace dxf_out

}  // namespace host
