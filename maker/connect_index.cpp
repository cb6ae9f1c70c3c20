// The hash grid behind the route connection queries.
#include "connect_index.h"

#include <algorithm>
#include <cmath>

namespace vurida {

ConnectIndex::ConnectIndex(int dimension, double cell)
    : dimension_(dimension == 2 ? 2 : 3), cell_(cell > 0 ? cell : 1.0) {}

int64_t ConnectIndex::CellOf(double value) const {
  // Drawings put points at whole numbers far more often than anywhere else; cells whose borders
  // lie at an odd fraction keep such a point's tolerance box inside one cell, so that a query
  // looks up one cell instead of eight.
  constexpr double kBorder = 0.3183098861837907;
  return static_cast<int64_t>(std::floor(value / cell_ + kBorder));
}

uint64_t ConnectIndex::Key(int64_t cx, int64_t cy, int64_t cz) {
  // Mixing with large odd multipliers spreads neighbouring cells over the table; an equal key
  // for distinct cells only costs a distance test, never a wrong answer.
  return static_cast<uint64_t>(cx) * 0x9E3779B97F4A7C15ull ^
         static_cast<uint64_t>(cy) * 0xC2B2AE3D27D4EB4Full ^
         static_cast<uint64_t>(cz) * 0x165667B19E3779F9ull;
}

uint64_t ConnectIndex::KeyOf(double x, double y, double z) const {
  return Key(CellOf(x), CellOf(y), CellOf(z));
}

void ConnectIndex::Add(int member, double x, double y, double z) {
  if (dimension_ == 2) z = 0.0;
  cells_[KeyOf(x, y, z)].push_back({member, x, y, z});
  ++size_;
}

bool ConnectIndex::Remove(int member, double x, double y, double z) {
  if (dimension_ == 2) z = 0.0;
  auto cell = cells_.find(KeyOf(x, y, z));
  if (cell == cells_.end()) return false;
  std::vector<Point>& points = cell->second;
  for (size_t i = 0; i < points.size(); ++i) {
    const Point& p = points[i];
    if (p.member == member && p.x == x && p.y == y && p.z == z) {
      points[i] = points.back();
      points.pop_back();
      if (points.empty()) cells_.erase(cell);
      --size_;
      return true;
    }
  }
  return false;
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
        for (const Point& p : found->second) {
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
