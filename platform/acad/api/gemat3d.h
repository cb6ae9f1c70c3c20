// AcGeMatrix3d: a 4x4 affine transformation applied to column vectors (p' = M p).
#pragma once

#include <gepnt3d.h>
#include <gevec3d.h>

class AcGeScale3d;

class AcGeMatrix3d {
 public:
  AcGeMatrix3d();  // identity

  static const AcGeMatrix3d kIdentity;

  AcGeMatrix3d& setToIdentity();
  AcGeMatrix3d& setToTranslation(const AcGeVector3d& vec);
  // Rotation by angle (radians, right-handed) about the axis through center.
  AcGeMatrix3d& setToRotation(double angle, const AcGeVector3d& axis,
                              const AcGePoint3d& center = AcGePoint3d::kOrigin);
  // Uniform scaling about center.
  AcGeMatrix3d& setToScaling(double scale, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  // The matrix that maps the world coordinate system onto (origin, xAxis, yAxis, zAxis): a point
  // (a, b, c) goes to origin + a·xAxis + b·yAxis + c·zAxis.
  AcGeMatrix3d& setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                               const AcGeVector3d& yAxis, const AcGeVector3d& zAxis);
  void getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis,
                      AcGeVector3d& zAxis) const;
  AcGeMatrix3d& setToProduct(const AcGeMatrix3d& left, const AcGeMatrix3d& right);

  static AcGeMatrix3d translation(const AcGeVector3d& vec);
  static AcGeMatrix3d rotation(double angle, const AcGeVector3d& axis,
                               const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d scaling(double scale, const AcGePoint3d& center = AcGePoint3d::kOrigin);
  static AcGeMatrix3d alignCoordSys(const AcGePoint3d& fromOrigin, const AcGeVector3d& fromXAxis,
                                    const AcGeVector3d& fromYAxis, const AcGeVector3d& fromZAxis,
                                    const AcGePoint3d& toOrigin, const AcGeVector3d& toXAxis,
                                    const AcGeVector3d& toYAxis, const AcGeVector3d& toZAxis);
  // The translation part.
  AcGeVector3d translation() const;

  // this = left · this
  AcGeMatrix3d& preMultBy(const AcGeMatrix3d& left);
  // this = this · right
  AcGeMatrix3d& postMultBy(const AcGeMatrix3d& right);
  AcGeMatrix3d operator*(const AcGeMatrix3d& right) const;
  AcGeMatrix3d& operator*=(const AcGeMatrix3d& right) { return postMultBy(right); }

  // The inverse; a singular matrix gives itself unchanged (as the SDK leaves it).
  AcGeMatrix3d inverse() const;
  AcGeMatrix3d& invert();
  bool isSingular(const AcGeTol& tol = AcGeContext::gTol) const;
  AcGeMatrix3d transpose() const;
  double det() const;
  // The uniform scale factor of the linear part (the length of the transformed x axis).
  double scale() const;
  bool isEqualTo(const AcGeMatrix3d& other, const AcGeTol& tol = AcGeContext::gTol) const;
  bool operator==(const AcGeMatrix3d& other) const { return isEqualTo(other); }

  double operator()(unsigned row, unsigned column) const { return entry[row][column]; }
  double& operator()(unsigned row, unsigned column) { return entry[row][column]; }

  double entry[4][4];
};

inline AcGePoint3d operator*(const AcGeMatrix3d& m, const AcGePoint3d& p) {
  return AcGePoint3d(p).transformBy(m);
}
inline AcGeVector3d operator*(const AcGeMatrix3d& m, const AcGeVector3d& v) {
  return AcGeVector3d(v).transformBy(m);
}
