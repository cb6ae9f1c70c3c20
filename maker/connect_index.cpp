// The hash grid behind the route connection queries.
#include "connect_index.h"

#include <algorithm>
#include <cmath>

namespace vurida {

ConnectIndex::ConnectIndex(int dimension, double cell)
    : dimension_(dimension == 2 ? 2 : 3), cell_(cell > 0 ? cell : 1.0) {}

int64_t ConnectIndex::CellOf(double value) const {
  return static_cast<int64_t>(std::floor(value / cell_));
}

uint64_t ConnectIndex::Key(int64_t cx, int64_t cy, int64_t cz) {
  // Mixing with large odd multipliers spreads neighbouring cells over the table; an equal key
  // for distinct cells only costs a distance test, never a wrong answer.
  return static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ull ^
         static_cast<uint64_t>(cy) * 0xC2B2AE3D27D4EB4Full ^
         static_cast<uint64_t>(cz) * 0x165667B19E3779F9ull;
}

void ConnectIndex::Add(int member, double x, double y, double z) {
  if (dimension_ == 2) z = 0.0;
  const int index = static_cast<int>(points_.size());
  points_.push_back({member, x, y, z});
  cells_[Key(CellOf(x), CellOf(y), CellOf(z))].push_back(index);
}

std::vector<int> ConnectIndex::Near(double x, double y, double z, double tolerance) const {
  if (dimension_ == 2) z = 0.0;
  std::vector<int> members;
  // A point within the tolerance lies in a cell that the tolerance box around the query
  // touches: nearly always one cell, at most two per axis.
  for (int64_t cx = CellOf(x - tolerance); cx <= CellOf(x + tolerance); ++cx) {
    for (int64_t cy = CellOf(y - tolerance); cy <= CellOf(y + tolerance); ++cy) {
      for (int64_t cz = CellOf(z - tolerance); cz <= CellOf(z + tolerance); ++cz) {
        auto found = cells_.find(Key(cx, cy, cz));
        if (found == cells_.end()) continue;
        for (int index : found->second) {
          const Point& p = points_[index];
          const double dx = p.x - x, dy = p.y - y, dz = p.z - z;
          if (std::sqrt(dx * dx + dy * dy + dz * dz) <= tolerance) members.push_back(p.member);
        }
      }
    }
  }
  std::sort(members.begin(), members.end());
  members.erase(std::unique(members.begin(), members.end()), members.end());
  return members;
}

}  // namespace vurida
