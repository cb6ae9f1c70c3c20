// The hash grid behind the route connection queries.
#include "connect_index.h"

#include <algorithm>
#include <cmath>

namespace vurida {

ConnectIndex::ConnectIndex(int dimension, double cell)
    : dimension_(dimension == 2 ? 2 : 3), cell_(cell > 0 ? cell : 1.0) {
  slots_.assign(16, Point{});
}

int64_t ConnectIndex::CellOf(double value) const {
  // Drawings put points at whole numbers far more often than anywhere else; cells whose borders
  // lie at an odd fraction keep such a point's tolerance box inside one cell, so that a query
  // looks up one cell instead of eight.
  constexpr double kBorder = 0.3183098861837907;
  return static_cast<int64_t>(std::floor(value / cell_ + kBorder));
}

uint64_t ConnectIndex::Key(int64_t cx, int64_t cy, int64_t cz) {
  // Mixing with large odd multipliers spreads neighbouring cells over the table. Keys are
  // compared whole, and a point's distance is always tested, so an equal key for distinct cells
  // only costs a test, never a wrong answer.
  const uint64_t k = static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ull ^
                     static_cast<uint64_t>(cy) * 0xC2B2AE3D27D4EB4Full ^
                     static_cast<uint64_t>(cz) * 0x165667B19E3779F9ull;
  return k ^ (k >> 29);
}

void ConnectIndex::Insert(const Point& point) {
  const size_t mask = slots_.size() - 1;
  size_t slot = static_cast<size_t>(point.key) & mask;
  while (slots_[slot].used) slot = (slot + 1) & mask;
  slots_[slot] = point;
}

void ConnectIndex::Grow() {
  std::vector<Point> old(slots_.size() * 2, Point{});
  old.swap(slots_);
  for (const Point& p : old) {
    if (p.used) Insert(p);
  }
}

void ConnectIndex::FreeSlot(size_t slot) {
  const size_t mask = slots_.size() - 1;
  slots_[slot].used = false;
  // A later entry of the run moves into the hole unless its home lies cyclically after the
  // hole (then the hole does not break its run).
  for (size_t next = (slot + 1) & mask; slots_[next].used; next = (next + 1) & mask) {
    const size_t home = static_cast<size_t>(slots_[next].key) & mask;
    const bool stays = slot <= next ? (slot < home && home <= next) : (slot < home || home <= next);
    if (stays) continue;
    slots_[slot] = slots_[next];
    slots_[next].used = false;
    slot = next;
  }
}

void ConnectIndex::Add(int member, double x, double y, double z, uint64_t tag) {
  if (dimension_ == 2) z = 0.0;
  if ((size_ + 1) * 2 > slots_.size()) Grow();
  Insert(Point{Key(CellOf(x), CellOf(y), CellOf(z)), x, y, z, tag, member, true});
  ++size_;
}

bool ConnectIndex::Remove(int member, double x, double y, double z) {
  if (dimension_ == 2) z = 0.0;
  const uint64_t key = Key(CellOf(x), CellOf(y), CellOf(z));
  const size_t mask = slots_.size() - 1;
  for (size_t slot = static_cast<size_t>(key) & mask; slots_[slot].used; slot = (slot + 1) & mask) {
    const Point& p = slots_[slot];
    if (p.key != key || p.member != member || p.x != x || p.y != y || p.z != z) continue;
    FreeSlot(slot);
    --size_;
    return true;
  }
  return false;
}

void ConnectIndex::Near(double x, double y, double z, double tolerance,
                        std::vector<Hit>& hits) const {
  if (dimension_ == 2) z = 0.0;
  hits.clear();
  // A point within the tolerance lies in a cell that the tolerance box around the query
  // touches: nearly always one cell, at most two per axis.
  for (int64_t cx = CellOf(x - tolerance); cx <= CellOf(x + tolerance); ++cx) {
    for (int64_t cy = CellOf(y - tolerance); cy <= CellOf(y + tolerance); ++cy) {
      for (int64_t cz = CellOf(z - tolerance); cz <= CellOf(z + tolerance); ++cz) {
        const uint64_t key = Key(cx, cy, cz);
        const size_t mask = slots_.size() - 1;
        for (size_t slot = static_cast<size_t>(key) & mask; slots_[slot].used;
             slot = (slot + 1) & mask) {
          const Point& p = slots_[slot];
          if (p.key != key) continue;
          const double dx = p.x - x, dy = p.y - y, dz = p.z - z;
          if (std::sqrt(dx * dx + dy * dy + dz * dz) > tolerance) continue;
          // A member's points are few, so the hits are few: a look back is cheaper than a set.
          bool seen = false;
          for (const Hit& h : hits) seen = seen || h.member == p.member;
          if (!seen) hits.push_back({p.member, p.tag});
        }
      }
    }
  }
}

std::vector<int> ConnectIndex::Near(double x, double y, double z, double tolerance) const {
  std::vector<Hit> hits;
  Near(x, y, z, tolerance, hits);
  std::vector<int> members;
  members.reserve(hits.size());
  for (const Hit& h : hits) members.push_back(h.member);
  std::sort(members.begin(), members.end());
  return members;
}

}  // namespace vurida
