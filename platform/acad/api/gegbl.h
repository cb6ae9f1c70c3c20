// Geometric tolerances: AcGeTol and the global context AcGeContext::gTol.
#pragma once

class AcGeTol {
 public:
  AcGeTol() = default;
  double equalPoint() const { return equal_point_; }
  double equalVector() const { return equal_vector_; }
  void setEqualPoint(double value) { equal_point_ = value; }
  void setEqualVector(double value) { equal_vector_ = value; }

 private:
  double equal_point_ = 1e-10;
  double equal_vector_ = 1e-12;
};

struct AcGeContext {
  static AcGeTol gTol;
};

constexpr double kPi = 3.14159265358979323846;
