// AcGeMatrix3d: construction of the common transforms, products and the inverse.
#include <gemat3d.h>

#include <cmath>
#include <utility>

const AcGeMatrix3d AcGeMatrix3d::kIdentity;

AcGeMatrix3d::AcGeMatrix3d() {
  setToIdentity();
}

AcGeMatrix3d& AcGeMatrix3d::setToIdentity() {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) entry[r][c] = r == c ? 1.0 : 0.0;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToTranslation(const AcGeVector3d& vec) {
  setToIdentity();
  entry[0][3] = vec.x;
  entry[1][3] = vec.y;
  entry[2][3] = vec.z;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToRotation(double angle, const AcGeVector3d& axis,
                                          const AcGePoint3d& center) {
  // Rodrigues' rotation about the unit axis, conjugated by the move to the centre.
  AcGeVector3d u = axis.normal();
  double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  setToIdentity();
  entry[0][0] = t * u.x * u.x + c;
  entry[0][1] = t * u.x * u.y - s * u.z;
  entry[0][2] = t * u.x * u.z + s * u.y;
  entry[1][0] = t * u.x * u.y + s * u.z;
  entry[1][1] = t * u.y * u.y + c;
  entry[1][2] = t * u.y * u.z - s * u.x;
  entry[2][0] = t * u.x * u.z - s * u.y;
  entry[2][1] = t * u.y * u.z + s * u.x;
  entry[2][2] = t * u.z * u.z + c;
  AcGeVector3d p = center.asVector();
  AcGeVector3d rp = p;
  rp.transformBy(*this);
  AcGeVector3d shift = p - rp;
  entry[0][3] = shift.x;
  entry[1][3] = shift.y;
  entry[2][3] = shift.z;
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setToScaling(double scale, const AcGePoint3d& center) {
  setToIdentity();
  for (int i = 0; i < 3; ++i) entry[i][i] = scale;
  entry[0][3] = center.x * (1 - scale);
  entry[1][3] = center.y * (1 - scale);
  entry[2][3] = center.z * (1 - scale);
  return *this;
}

AcGeMatrix3d& AcGeMatrix3d::setCoordSystem(const AcGePoint3d& origin, const AcGeVector3d& xAxis,
                                           const AcGeVector3d& yAxis, const AcGeVector3d& zAxis) {
  setToIdentity();
  const AcGeVector3d* axes[3] = {&xAxis, &yAxis, &zAxis};
  for (int c = 0; c < 3; ++c) {
    entry[0][c] = axes[c]->x;
    entry[1][c] = axes[c]->y;
    entry[2][c] = axes[c]->z;
  }
  entry[0][3] = origin.x;
  entry[1][3] = origin.y;
  entry[2][3] = origin.z;
  return *this;
}

void AcGeMatrix3d::getCoordSystem(AcGePoint3d& origin, AcGeVector3d& xAxis, AcGeVector3d& yAxis,
                                  AcGeVector3d& zAxis) const {
  origin.set(entry[0][3], entry[1][3], entry[2][3]);
  xAxis.set(entry[0][0], entry[1][0], entry[2][0]);
  yAxis.set(entry[0][1], entry[1][1], entry[2][1]);
  zAxis.set(entry[0][2], entry[1][2], entry[2][2]);
}

AcGeMatrix3d& AcGeMatrix3d::setToProduct(const AcGeMatrix3d& left, const AcGeMatrix3d& right) {
  AcGeMatrix3d result;
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      double sum = 0;
      for (int k = 0; k < 4; ++k) sum += left.entry[r][k] * right.entry[k][c];
      result.entry[r][c] = sum;
    }
  }
  return *this = result;
}

AcGeMatrix3d AcGeMatrix3d::translation(const AcGeVector3d& vec) {
  return AcGeMatrix3d().setToTranslation(vec);
}

AcGeMatrix3d AcGeMatrix3d::rotation(double angle, const AcGeVector3d& axis,
                                    const AcGePoint3d& center) {
  return AcGeMatrix3d().setToRotation(angle, axis, center);
}

AcGeMatrix3d AcGeMatrix3d::scaling(double scale, const AcGePoint3d& center) {
  return AcGeMatrix3d().setToScaling(scale, center);
}

AcGeMatrix3d AcGeMatrix3d::alignCoordSys(const AcGePoint3d& fromOrigin,
                                         const AcGeVector3d& fromXAxis,
                                         const AcGeVector3d& fromYAxis,
                                         const AcGeVector3d& fromZAxis, const AcGePoint3d& toOrigin,
                                         const AcGeVector3d& toXAxis, const AcGeVector3d& toYAxis,
                                         const AcGeVector3d& toZAxis) {
  AcGeMatrix3d from, to;
  from.setCoordSystem(fromOrigin, fromXAxis, fromYAxis, fromZAxis);
  to.setCoordSystem(toOrigin, toXAxis, toYAxis, toZAxis);
  return to * from.inverse();
}

AcGeVector3d AcGeMatrix3d::translation() const {
  return AcGeVector3d(entry[0][3], entry[1][3], entry[2][3]);
}

AcGeMatrix3d& AcGeMatrix3d::preMultBy(const AcGeMatrix3d& left) {
  return setToProduct(left, AcGeMatrix3d(*this));
}

AcGeMatrix3d& AcGeMatrix3d::postMultBy(const AcGeMatrix3d& right) {
  return setToProduct(AcGeMatrix3d(*this), right);
}

AcGeMatrix3d AcGeMatrix3d::operator*(const AcGeMatrix3d& right) const {
  return AcGeMatrix3d().setToProduct(*this, right);
}

AcGeMatrix3d AcGeMatrix3d::inverse() const {
  // Gauss-Jordan elimination with partial pivoting on [M | I].
  double a[4][8];
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      a[r][c] = entry[r][c];
      a[r][c + 4] = r == c ? 1.0 : 0.0;
    }
  }
  for (int col = 0; col < 4; ++col) {
    int pivot = col;
    for (int r = col + 1; r < 4; ++r)
      if (std::fabs(a[r][col]) > std::fabs(a[pivot][col])) pivot = r;
    if (std::fabs(a[pivot][col]) < 1e-300) return *this;  // singular
    if (pivot != col)
      for (int c = 0; c < 8; ++c) std::swap(a[pivot][c], a[col][c]);
    double p = a[col][col];
    for (int c = 0; c < 8; ++c) a[col][c] /= p;
    for (int r = 0; r < 4; ++r) {
      if (r == col || a[r][col] == 0.0) continue;
      double f = a[r][col];
      for (int c = 0; c < 8; ++c) a[r][c] -= f * a[col][c];
    }
  }
  AcGeMatrix3d result;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) result.entry[r][c] = a[r][c + 4];
  return result;
}

AcGeMatrix3d& AcGeMatrix3d::invert() {
  return *this = inverse();
}

bool AcGeMatrix3d::isSingular(const AcGeTol& tol) const {
  return std::fabs(det()) <= tol.equalPoint();
}

AcGeMatrix3d AcGeMatrix3d::transpose() const {
  AcGeMatrix3d t;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) t.entry[r][c] = entry[c][r];
  return t;
}

double AcGeMatrix3d::det() const {
  // Laplace expansion along the first row of the 4x4 matrix.
  auto minor3 = [this](int skipRow, int skipCol) {
    double m[3][3];
    for (int r = 0, mr = 0; r < 4; ++r) {
      if (r == skipRow) continue;
      for (int c = 0, mc = 0; c < 4; ++c) {
        if (c == skipCol) continue;
        m[mr][mc++] = entry[r][c];
      }
      ++mr;
    }
    return m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
  };
  double d = 0;
  for (int c = 0; c < 4; ++c) d += (c % 2 == 0 ? 1 : -1) * entry[0][c] * minor3(0, c);
  return d;
}

double AcGeMatrix3d::scale() const {
  return AcGeVector3d(entry[0][0], entry[1][0], entry[2][0]).length();
}

bool AcGeMatrix3d::isEqualTo(const AcGeMatrix3d& other, const AcGeTol& tol) const {
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      if (std::fabs(entry[r][c] - other.entry[r][c]) > tol.equalVector()) return false;
  return true;
}
