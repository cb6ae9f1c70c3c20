// A spatial index over the connection points of route elements: a hash grid that answers "which
// members have a point within this tolerance of that point" without looking at the others, and
// takes points out again when an element moves or goes.
//
// A trace asks it once per connection point of every element it passes, over drawings of
// hundreds of thousands of points, so a question touches as little memory as it can: the grid is
// one flat open-addressing table of 64-byte joints (a point and up to three members that have
// it, as the ends that meet at a joint do, each with the caller's tag), so that a joint is one
// cache line and answers the question without a further read. Large tables ask the system for
// huge pages, so that a question into a table of many megabytes does not also miss the TLB.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace vurida {

class ConnectIndex {
 public:
  // A member found by Near, with the tag its point was recorded with.
  struct Hit {
    int member;
    uint64_t tag;
  };

  // `dimension` 2 ignores z (plan view), 3 uses all three coordinates. `cell` is the grid's cell
  // size in drawing units; it must be larger than any tolerance asked with.
  explicit ConnectIndex(int dimension, double cell = 1.0);
  ~ConnectIndex();
  ConnectIndex(const ConnectIndex&) = delete;
  ConnectIndex& operator=(const ConnectIndex&) = delete;

  // Records that member `member` (a number of the caller's, not negative and small: a few
  // bytes are kept per number up to the largest) has a point at (x, y, z). A member may have
  // several points, also equal ones. `tag` is handed back by Near.
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

  // Starts fetching the table lines where the last two points recorded for `member` are
  // looked up, without waiting for them. A trace asks next about the neighbour it was just
  // given, at its other end: fetched now, that line arrives while the caller works. Only a hint:
  // it changes no answer, and stale hints (a member moved since) only fetch a line for nothing.
  void Prefetch(int member) const;

  int dimension() const { return dimension_; }
  // The number of points recorded.
  size_t size() const { return size_; }
  // The number of table entries in use: distinct places, a place with more than three members
  // taking one entry per three.
  size_t joints() const { return used_; }

 private:
  // A table entry: a point and up to three members that have it, the first ones used, each
  // with its tag; empty when member[0] < 0. The entries of a cell lie in the probe run from the
  // cell's home slot, which is found again from the point (an entry keeps no key: every point
  // in a run is tested by its distance).
  static constexpr int kMembers = 3;
  struct alignas(64) Joint {
    double x, y, z;
    int32_t member[kMembers];
    uint64_t tag[kMembers];
  };
  struct FreeTable {
    void operator()(Joint* table) const;
  };
  using Table = std::unique_ptr<Joint[], FreeTable>;
  static Table NewTable(size_t count);

  int64_t CellOf(double value) const;
  // A cell's hash; its home slot is the hash's low bits.
  static uint64_t HashOf(int64_t cx, int64_t cy, int64_t cz);
  size_t HomeOf(int64_t cx, int64_t cy, int64_t cz) const;
  size_t HomeOf(const Joint& joint) const;
  void Grow();
  // Empties slot `slot` and moves later entries of its probe run back over it, so that every
  // entry stays reachable from its home slot without tombstones.
  void FreeSlot(size_t slot);

  int dimension_;
  double cell_;
  size_t size_ = 0;
  size_t used_ = 0;
  size_t mask_ = 0;  // the table's length, a power of two, less one; at most half full
  Table slots_;
  // Per member, the low bits of the hashes of the last two points recorded (for Prefetch).
  std::vector<std::array<uint32_t, 2>> last_hashes_;
};

}  // namespace vurida
