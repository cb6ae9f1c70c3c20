// AcDbEllipse: a full ellipse or elliptical arc.
#pragma once

#include <dbcurve.h>

// The angles are measured from the major axis, counter-clockwise about the normal, as seen on
// the ellipse itself; parameters are the angles of the auxiliary circle (param = angle for a
// circle). A full ellipse runs from 0 to 2π.
class AcDbEllipse : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDbEllipse);
  ACDB_DECLARE_COPYING(AcDbEllipse);

 public:
  AcDbEllipse() = default;
  AcDbEllipse(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
              const AcGeVector3d& majorAxis, double radiusRatio, double startAngle = 0.0,
              double endAngle = 2 * kPi);

  AcGePoint3d center() const;
  Acad::ErrorStatus setCenter(const AcGePoint3d& center);
  AcGeVector3d normal() const;
  AcGeVector3d majorAxis() const;
  AcGeVector3d minorAxis() const;
  double radiusRatio() const;
  Acad::ErrorStatus setRadiusRatio(double ratio);  // eInvalidInput outside (0, 1]
  double startAngle() const;
  Acad::ErrorStatus setStartAngle(double angle);
  double endAngle() const;
  Acad::ErrorStatus setEndAngle(double angle);
  // eInvalidInput when the normal and major axis are not perpendicular or the ratio is bad.
  Acad::ErrorStatus set(const AcGePoint3d& center, const AcGeVector3d& unitNormal,
                        const AcGeVector3d& majorAxis, double radiusRatio, double startAngle = 0.0,
                        double endAngle = 2 * kPi);
  double paramAtAngle(double angle) const;
  double angleAtParam(double param) const;

  bool isClosed() const override;
  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

 private:
  AcGePoint3d center_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  AcGeVector3d major_ = AcGeVector3d::kXAxis;
  double ratio_ = 1.0, start_ = 0.0, end_ = 2 * kPi;
};
