// A spatial index over the connection points of route elements: a hash grid that answers "which
// members have a point within this tolerance of that point" without looking at the others, and
// takes points out again when an element moves or goes.
//
// A trace asks it once per connection point of every element it passes, over drawings of
// hundreds of thousands of points, so a question touches as little memory as it can: the grid is
// one flat open-addressing table of points keyed by their cell, and a point carries the
// caller's tag (an object id) so that the caller need not look it up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vurida {

class ConnectIndex {
 public:
  // A point found by Near: the member that recorded it and the tag it was recorded with.
  struct Hit {
    int member;
    uint64_t tag;
  };

  // `dimension` 2 ignores z (plan view), 3 uses all three coordinates. `cell` is the grid's cell
  // size in drawing units; it must be larger than any tolerance asked with.
  explicit ConnectIndex(int dimension, double cell = 1.0);

  // Records that member `member` (a number of the caller's) has a point at (x, y, z), with
  // `tag` to be handed back by Near. A member may have several points, also equal ones.
  void Add(int member, double x, double y, double z, uint64_t tag = 0);
  // Takes out one point that Add recorded for `member` with exactly these values; false when
  // there is none.
  bool Remove(int member, double x, double y, double z);

  // The members with a point within `tolerance` (Euclidean, in the index's dimension) of
  // (x, y, z), ascending and without repeats.
  std::vector<int> Near(double x, double y, double z, double tolerance) const;
  // The same into `hits` (emptied first), each member once with the tag of the first of its
  // points found, in no particular order. Reusing `hits` spares an allocation per question.
  void Near(double x, double y, double z, double tolerance, std::vector<Hit>& hits) const;

  int dimension() const { return dimension_; }
  // The number of points recorded.
  size_t size() const { return size_; }

 private:
  // A table entry: one point with its cell's key. The points of a cell lie in the probe run
  // from the cell's home slot, so the two points of a joint usually share a cache line.
  struct Point {
    uint64_t key;
    double x, y, z;
    uint64_t tag;
    int member;
    bool used;
  };
  int64_t CellOf(double value) const;
  static uint64_t Key(int64_t cx, int64_t cy, int64_t cz);
  void Grow();
  void Insert(const Point& point);
  // Empties slot `slot` and moves later entries of its probe run back over it, so that every
  // entry stays reachable from its home slot without tombstones.
  void FreeSlot(size_t slot);

  int dimension_;
  double cell_;
  size_t size_ = 0;
  std::vector<Point> slots_;  // a power of two long, at most half full
};

}  // namespace vurida
