// A spatial index over the connection points of route elements: a hash grid that answers "which
// members have a point within this tolerance of that point" without looking at the others, and
// takes points out again when an element moves or goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vurida {

class ConnectIndex {
 public:
  // `dimension` 2 ignores z (plan view), 3 uses all three coordinates. `cell` is the grid's cell
  // size in drawing units; it must be larger than any tolerance asked with.
  explicit ConnectIndex(int dimension, double cell = 1.0);

  // Records that member `member` (a number of the caller's) has a point at (x, y, z). A member
  // may have several points, also equal ones.
  void Add(int member, double x, double y, double z);
  // Takes out one point that Add recorded with exactly these values; false when there is none.
  bool Remove(int member, double x, double y, double z);

  // The members with a point within `tolerance` (Euclidean, in the index's dimension) of
  // (x, y, z), ascending and without repeats.
  std::vector<int> Near(double x, double y, double z, double tolerance) const;

  int dimension() const { return dimension_; }
  // The number of points recorded.
  size_t size() const { return size_; }

 private:
  struct Point {
    int member;
    double x, y, z;
  };
  int64_t CellOf(double value) const;
  uint64_t KeyOf(double x, double y, double z) const;
  static uint64_t Key(int64_t cx, int64_t cy, int64_t cz);

  int dimension_;
  double cell_;
  size_t size_ = 0;
  std::unordered_map<uint64_t, std::vector<Point>> cells_;  // key -> the points in that cell
};

}  // namespace vurida
