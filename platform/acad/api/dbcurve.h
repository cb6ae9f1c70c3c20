// AcDbCurve: the parametric view shared by lines, arcs, circles, ellipses and polylines.
#pragma once

#include <dbmain.h>

class AcDbCurve : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbCurve);

 public:
  virtual bool isClosed() const { return false; }
  // The parameter range and the point at a parameter. eInvalidInput outside the range.
  virtual Acad::ErrorStatus getStartParam(double& param) const = 0;
  virtual Acad::ErrorStatus getEndParam(double& param) const = 0;
  virtual Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const = 0;
  Acad::ErrorStatus getStartPoint(AcGePoint3d& point) const;
  Acad::ErrorStatus getEndPoint(AcGePoint3d& point) const;

 protected:
  AcDbCurve() = default;
};
