// What automatic assignment's traces need to tell whether the path of a trace runs through the
// part of the network that an earlier trace went through: every element that joins a path gets a
// number once (in the order elements first join), the elements on the current path are counted by
// number, and a part of the network is held as a few ranges of numbers that cover it.
#pragma once

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace trace_paths {

// How many elements of each number are on the current path: a Fenwick tree, so that joining,
// leaving and asking about a range each take O(log n).
class PathCounts {
 public:
  void Join(int number) { Change(number, +1); }
  void Leave(int number) { Change(number, -1); }
  // Whether an element numbered from `low` to `high` (both included) is on the path.
  bool AnyIn(int low, int high) const { return Sum(high) - Sum(low - 1) > 0; }

 private:
  void Change(int number, int by) {
    if (number >= static_cast<int>(counts_.size())) Grow(number + 1);
    counts_[number] += by;
    for (size_t i = static_cast<size_t>(number) + 1; i < tree_.size(); i += i & (~i + 1))
      tree_[i] += by;
  }
  // The count of numbers 0 to `number`.
  int Sum(int number) const {
    int sum = 0;
    const int top = std::min(number, static_cast<int>(counts_.size()) - 1);
    for (size_t i = static_cast<size_t>(top + 1); i > 0; i -= i & (~i + 1)) sum += tree_[i];
    return sum;
  }
  void Grow(int size) {
    size_t n = counts_.empty() ? 1024 : counts_.size();
    while (n < static_cast<size_t>(size)) n *= 2;
    counts_.resize(n, 0);
    tree_.assign(n + 1, 0);
    for (size_t i = 1; i <= n; ++i) {
      tree_[i] += counts_[i - 1];
      const size_t up = i + (i & (~i + 1));
      if (up <= n) tree_[up] += tree_[i];
    }
  }
  std::vector<int> counts_;
  std::vector<int> tree_;  // 1-based
};

// A set of element numbers, held as at most kMost ranges that cover it: past that, the two
// ranges closest to each other become one, so the set only ever grows (a range may cover
// numbers that were never added, never the other way round).
class NumberRanges {
 public:
  static constexpr int kMost = 4;

  void Add(int number) { Add(number, number); }
  void Add(const NumberRanges& other) {
    for (int i = 0; i < other.count_; ++i) Add(other.ranges_[i].first, other.ranges_[i].second);
  }
  // Whether an element of the current path may be in the set.
  bool Meets(const PathCounts& path) const {
    for (int i = 0; i < count_; ++i)
      if (path.AnyIn(ranges_[i].first, ranges_[i].second)) return true;
    return false;
  }
  bool empty() const { return count_ == 0; }

 private:
  // Adds [low, high], keeping the ranges sorted and apart (touching ranges are joined).
  void Add(int low, int high) {
    int i = 0;
    while (i < count_ && ranges_[i].second + 1 < low) ++i;
    if (i < count_ && ranges_[i].first <= high + 1) {
      ranges_[i].first = std::min(ranges_[i].first, low);
      ranges_[i].second = std::max(ranges_[i].second, high);
      // The widened range may now reach the ones after it.
      while (i + 1 < count_ && ranges_[i + 1].first <= ranges_[i].second + 1) {
        ranges_[i].second = std::max(ranges_[i].second, ranges_[i + 1].second);
        Remove(i + 1);
      }
      return;
    }
    if (count_ == kMost) {
      // Room is made by joining the two closest neighbours (the new range among them).
      std::array<std::pair<int, int>, kMost + 1> all{};
      for (int k = 0, j = 0; k <= count_; ++k)
        all[k] = k == i ? std::make_pair(low, high) : ranges_[j++];
      int closest = 0;
      for (int k = 1; k < kMost; ++k)
        if (all[k + 1].first - all[k].second < all[closest + 1].first - all[closest].second)
          closest = k;
      all[closest].second = all[closest + 1].second;
      for (int k = 0, j = 0; k <= kMost; ++k)
        if (k != closest + 1) ranges_[j++] = all[k];
      return;
    }
    for (int k = count_; k > i; --k) ranges_[k] = ranges_[k - 1];
    ranges_[i] = {low, high};
    ++count_;
  }
  void Remove(int i) {
    for (int k = i; k + 1 < count_; ++k) ranges_[k] = ranges_[k + 1];
    --count_;
  }

  std::array<std::pair<int, int>, kMost> ranges_{};
  int count_ = 0;
};

}  // namespace trace_paths
