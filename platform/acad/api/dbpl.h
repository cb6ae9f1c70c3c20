// AcDbPolyline: the lightweight polyline (2D vertices with bulges in a plane at an elevation).
#pragma once

#include <vector>

#include <dbcurve.h>
#include <gepnt2d.h>

class AcDbPolyline : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDbPolyline);
  ACDB_DECLARE_COPYING(AcDbPolyline);

 public:
  explicit AcDbPolyline(unsigned int num_verts = 0);

  // Inserts before index (index = numVerts() appends). eInvalidIndex beyond the end.
  // Negative widths mean "the constant width".
  Acad::ErrorStatus addVertexAt(unsigned int index, const AcGePoint2d& pt, double bulge = 0.0,
                                double startWidth = -1.0, double endWidth = -1.0);
  Acad::ErrorStatus removeVertexAt(unsigned int index);
  unsigned int numVerts() const;
  // eInvalidIndex for a vertex that does not exist.
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint2d& pt) const;
  Acad::ErrorStatus getPointAt(unsigned int index, AcGePoint3d& pt) const;
  Acad::ErrorStatus setPointAt(unsigned int index, const AcGePoint2d& pt);
  Acad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
  Acad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
  Acad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
  Acad::ErrorStatus setWidthsAt(unsigned int index, double startWidth, double endWidth);
  // eInvalidInput unless every segment has the same width.
  Acad::ErrorStatus getConstantWidth(double& width) const;
  Acad::ErrorStatus setConstantWidth(double width);
  void setClosed(bool closed);
  bool isOnlyLines() const;
  double elevation() const;
  void setElevation(double elevation);
  AcGeVector3d normal() const;
  void setNormal(const AcGeVector3d& normal);

  bool isClosed() const override;
  // Parameter i is vertex i; between two vertices it grows with the length (or arc angle).
  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  // Moves, rotates and scales in the plane of the polyline (uniform scaling only).
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

 private:
  struct Vertex {
    AcGePoint2d point;
    double bulge = 0.0, start_width = 0.0, end_width = 0.0;
  };
  std::vector<Vertex> vertices_;
  bool closed_ = false;
  double constant_width_ = 0.0, elevation_ = 0.0;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
};
