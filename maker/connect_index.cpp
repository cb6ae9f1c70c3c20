// The hash grid behind the route connection queries.
#include "maker/connect_index.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vurida {
namespace {

constexpr size_t kFirstLength = 16;
// The size of a huge page: a table this large or larger is aligned to it and asks for them.
constexpr size_t kHugePage = size_t{2} << 20;

bool SamePlace(double x1, double y1, double z1, double x2, double y2, double z2) {
  return x1 == x2 && y1 == y2 && z1 == z2;
}

}  // namespace

void ConnectIndex::FreeTable::operator()(Joint* table) const {
  std::free(table);
}

ConnectIndex::Table ConnectIndex::NewTable(size_t count) {
  const size_t bytes = count * sizeof(Joint);
  // A question reads one random entry of the table: with 4 KiB pages a table of megabytes
  // costs a TLB miss per question as well as the cache miss.
  const size_t alignment = bytes >= kHugePage ? kHugePage : 64;
  void* memory = std::aligned_alloc(alignment, (bytes + alignment - 1) / alignment * alignment);
  if (memory == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (alignment == kHugePage) madvise(memory, bytes, MADV_HUGEPAGE);  // a hint: failure is fine
#endif
  Joint* table = static_cast<Joint*>(memory);
  std::uninitialized_fill_n(table, count, Joint{0.0, 0.0, 0.0, {-1, -1, -1}, {0, 0, 0}});
  return Table(table);
}

ConnectIndex::ConnectIndex(int dimension, double cell)
    : dimension_(dimension == 2 ? 2 : 3),
      cell_(cell > 0 ? cell : 1.0),
      mask_(kFirstLength - 1),
      slots_(NewTable(kFirstLength)) {}

ConnectIndex::~ConnectIndex() = default;

int64_t ConnectIndex::CellOf(double value) const {
  // Drawings put points at whole numbers far more often than anywhere else; cells whose borders
  // lie at an odd fraction keep such a point's tolerance box inside one cell, so that a query
  // looks up one cell instead of eight.
  constexpr double kBorder = 0.3183098861837907;
  return static_cast<int64_t>(std::floor(value / cell_ + kBorder));
}

uint64_t ConnectIndex::HashOf(int64_t cx, int64_t cy, int64_t cz) {
  // Mixing with large odd multipliers spreads neighbouring cells over the table. Distinct cells
  // with one home only cost a distance test, never a wrong answer.
  const uint64_t k = static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ull ^
                     static_cast<uint64_t>(cy) * 0xC2B2AE3D27D4EB4Full ^
                     static_cast<uint64_t>(cz) * 0x165667B19E3779F9ull;
  return k ^ (k >> 29);
}

size_t ConnectIndex::HomeOf(int64_t cx, int64_t cy, int64_t cz) const {
  return static_cast<size_t>(HashOf(cx, cy, cz)) & mask_;
}

size_t ConnectIndex::HomeOf(const Joint& joint) const {
  return HomeOf(CellOf(joint.x), CellOf(joint.y), CellOf(joint.z));
}

void ConnectIndex::Grow() {
  const size_t length = (mask_ + 1) * 2;
  Table old = std::exchange(slots_, NewTable(length));
  const size_t old_length = mask_ + 1;
  mask_ = length - 1;
  for (size_t i = 0; i < old_length; ++i) {
    const Joint& joint = old[i];
    if (joint.member[0] < 0) continue;
    size_t slot = HomeOf(joint);
    while (slots_[slot].member[0] >= 0) slot = (slot + 1) & mask_;
    slots_[slot] = joint;
  }
}

void ConnectIndex::FreeSlot(size_t slot) {
  slots_[slot].member[0] = -1;
  // A later entry of the run moves into the hole unless its home lies cyclically after the
  // hole (then the hole does not break its run).
  for (size_t next = (slot + 1) & mask_; slots_[next].member[0] >= 0; next = (next + 1) & mask_) {
    const size_t home = HomeOf(slots_[next]);
    const bool stays = slot <= next ? (slot < home && home <= next) : (slot < home || home <= next);
    if (stays) continue;
    slots_[slot] = slots_[next];
    slots_[next].member[0] = -1;
    slot = next;
  }
  --used_;
}

void ConnectIndex::Add(int member, double x, double y, double z, uint64_t tag) {
  if (dimension_ == 2) z = 0.0;
  if ((used_ + 1) * 2 > mask_ + 1) Grow();
  const uint64_t hash = HashOf(CellOf(x), CellOf(y), CellOf(z));
  if (static_cast<size_t>(member) >= last_hashes_.size())
    last_hashes_.resize(static_cast<size_t>(member) + 1);
  std::array<uint32_t, 2>& last = last_hashes_[static_cast<size_t>(member)];
  last = {static_cast<uint32_t>(hash), last[0]};
  size_t slot = static_cast<size_t>(hash) & mask_;
  for (; slots_[slot].member[0] >= 0; slot = (slot + 1) & mask_) {
    Joint& joint = slots_[slot];
    if (joint.member[kMembers - 1] >= 0 || !SamePlace(joint.x, joint.y, joint.z, x, y, z)) continue;
    // The other ends at a joint share the first one's entry.
    int k = 1;
    while (joint.member[k] >= 0) ++k;
    joint.member[k] = member;
    joint.tag[k] = tag;
    ++size_;
    return;
  }
  Joint& joint = slots_[slot];
  joint = Joint{x, y, z, {member, -1, -1}, {tag, 0, 0}};
  ++used_;
  ++size_;
}

bool ConnectIndex::Remove(int member, double x, double y, double z) {
  if (dimension_ == 2) z = 0.0;
  for (size_t slot = HomeOf(CellOf(x), CellOf(y), CellOf(z)); slots_[slot].member[0] >= 0;
       slot = (slot + 1) & mask_) {
    Joint& joint = slots_[slot];
    if (!SamePlace(joint.x, joint.y, joint.z, x, y, z)) continue;
    int k = 0;
    while (k < kMembers && joint.member[k] != member) ++k;
    if (k == kMembers) continue;
    // The members used stay first.
    for (; k + 1 < kMembers; ++k) {
      joint.member[k] = joint.member[k + 1];
      joint.tag[k] = joint.tag[k + 1];
    }
    joint.member[kMembers - 1] = -1;
    if (joint.member[0] < 0) FreeSlot(slot);
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
        for (size_t slot = HomeOf(cx, cy, cz); slots_[slot].member[0] >= 0;
             slot = (slot + 1) & mask_) {
          const Joint& p = slots_[slot];
          const double dx = p.x - x, dy = p.y - y, dz = p.z - z;
          if (std::sqrt(dx * dx + dy * dy + dz * dz) > tolerance) continue;
          for (int k = 0; k < kMembers && p.member[k] >= 0; ++k) {
            // A member's points are few, so the hits are few: a look back is cheaper than a set.
            bool seen = false;
            for (const Hit& h : hits) seen = seen || h.member == p.member[k];
            if (!seen) hits.push_back({p.member[k], p.tag[k]});
          }
        }
      }
    }
  }
}

void ConnectIndex::Prefetch(int member) const {
  if (member < 0 || static_cast<size_t>(member) >= last_hashes_.size()) return;
  for (uint32_t hash : last_hashes_[static_cast<size_t>(member)])
    __builtin_prefetch(&slots_[static_cast<size_t>(hash) & mask_]);
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
