// ELLIPSE: a full ellipse or elliptical arc (AcDbEllipse). The file gives its ends as
// parameters, the database holds them as angles.
#include <dbelipse.h>

#include "host/dxf/dxf_entities.h"
#include "host/dxf/dxf_read_builder.h"
#include "host/dxf/dxf_write_parts.h"

namespace host {

namespace dxf_in {

AcDbEntity* ReadEllipse(Builder&, const Record& r, Split* s) {
  SplitRecord(
      r,
      [](int c) {
        return Builder::CommonCode(c) || (c >= 10 && c <= 31 && c % 10 <= 1) || c == 210 ||
               c == 220 || c == 230 || c == 40 || c == 41 || c == 42;
      },
      s);
  KeepText(s, {41, 42});
  auto* e = new AcDbEllipse;
  AcGeVector3d normal(RealOr(s->values, 210, 0), RealOr(s->values, 220, 0),
                      RealOr(s->values, 230, 1));
  AcGePoint3d major = PointOf(s->values, 11);
  if (e->set(PointOf(s->values, 10), normal, AcGeVector3d(major.x, major.y, major.z),
             RealOr(s->values, 40, 1)) != Acad::eOk) {
    delete e;
    return nullptr;
  }
  const double start = e->angleAtParam(RealOr(s->values, 41, 0));
  const double end = e->angleAtParam(RealOr(s->values, 42, 2 * 3.14159265358979323846));
  e->setStartAngle(start);
  e->setEndAngle(end);
  return e;
}

}  // namespace dxf_in

namespace dxf_out {

namespace {

double EllipseAngleAt(const AcDbObject& obj, double param) {
  return static_cast<const AcDbEllipse&>(obj).angleAtParam(param);
}

}  // namespace

void WriteEllipse(EntityOut& out, const AcDbEntity& e) {
  const auto& ellipse = static_cast<const AcDbEllipse&>(e);
  Lines& g = out.Next("AcDbEllipse");
  g.AddPoint(10, ellipse.center());
  g.AddVector(11, ellipse.majorAxis());
  g.AddVector(210, ellipse.normal());
  g.AddReal(40, ellipse.radiusRatio());
  AddAsRead(&g, ellipse, 41, ellipse.startAngle(), EllipseAngleAt,
            ellipse.paramAtAngle(ellipse.startAngle()));
  double end = ellipse.paramAtAngle(ellipse.endAngle());
  if (ellipse.isClosed()) end = 2 * kPi;
  AddAsRead(&g, ellipse, 42, ellipse.endAngle(), EllipseAngleAt, end);
}

}  // namespace dxf_out

}  // namespace host
