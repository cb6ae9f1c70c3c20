// AcArray: the SDK's growable array (a thin layer over std::vector with the SDK's names).
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

// A number no other array content has had in this process (see AcArray::contentStamp).
inline unsigned long long AcArrayNewContentStamp() {
  static unsigned long long last = 0;
  return ++last;
}

template <typename T>
class AcArray {
 public:
  AcArray() = default;
  explicit AcArray(int physicalLength, int /*growLength*/ = 8) { items_.reserve(physicalLength); }
  // A copy has the content, and so the stamp, of its source; a moved-from array is new.
  AcArray(const AcArray&) = default;
  AcArray& operator=(const AcArray&) = default;
  AcArray(AcArray&& other) noexcept
      : items_(std::move(other.items_)), stamp_(std::exchange(other.stamp_, NewStamp())) {
    other.items_.clear();
  }
  AcArray& operator=(AcArray&& other) noexcept {
    items_ = std::move(other.items_);
    stamp_ = std::exchange(other.stamp_, NewStamp());
    other.items_.clear();
    return *this;
  }

  // The stand-in's identity of the content, for libraries that keep what they computed from an
  // array that callers pass again: two arrays with the same stamp hold the same elements in the
  // same order. Every change through the array (and every non-const element access, which can
  // change it) gives a new stamp; a reference to an element kept from before a stamp was read
  // must not be written through afterwards. Stamps are never reused.
  unsigned long long contentStamp() const { return stamp_; }

  int length() const { return static_cast<int>(items_.size()); }
  int logicalLength() const { return length(); }
  bool isEmpty() const { return items_.empty(); }
  const T& at(int i) const { return items_.at(i); }
  T& at(int i) {
    Touch();
    return items_.at(i);
  }
  const T& operator[](int i) const { return items_.at(i); }
  T& operator[](int i) {
    Touch();
    return items_.at(i);
  }
  const T& first() const { return items_.front(); }
  const T& last() const { return items_.back(); }
  const T* asArrayPtr() const { return items_.data(); }

  // Returns the index of the new element.
  int append(const T& value) {
    Touch();
    items_.push_back(value);
    return length() - 1;
  }
  AcArray& append(const AcArray& other) {
    Touch();
    items_.insert(items_.end(), other.items_.begin(), other.items_.end());
    return *this;
  }
  AcArray& insertAt(int index, const T& value) {
    Touch();
    items_.insert(items_.begin() + index, value);
    return *this;
  }
  AcArray& removeAt(int index) {
    Touch();
    items_.erase(items_.begin() + index);
    return *this;
  }
  AcArray& removeLast() {
    Touch();
    items_.pop_back();
    return *this;
  }
  bool remove(const T& value) {
    auto it = std::find(items_.begin(), items_.end(), value);
    if (it == items_.end()) return false;
    Touch();
    items_.erase(it);
    return true;
  }
  AcArray& removeAll() {
    Touch();
    items_.clear();
    return *this;
  }
  AcArray& setLogicalLength(int n) {
    Touch();
    items_.resize(n);
    return *this;
  }
  AcArray& setPhysicalLength(int n) {
    items_.reserve(n);
    return *this;
  }
  bool contains(const T& value, int start = 0) const { return IndexFrom(value, start) >= 0; }
  // The index of the first equal element, or -1.
  int find(const T& value) const { return IndexFrom(value, 0); }
  bool find(const T& value, int& foundAt, int start = 0) const {
    foundAt = IndexFrom(value, start);
    return foundAt >= 0;
  }

  typename std::vector<T>::const_iterator begin() const { return items_.begin(); }
  typename std::vector<T>::const_iterator end() const { return items_.end(); }

 private:
  int IndexFrom(const T& value, int start) const {
    for (int i = start; i < length(); ++i)
      if (items_[i] == value) return i;
    return -1;
  }

  static unsigned long long NewStamp() { return AcArrayNewContentStamp(); }
  void Touch() { stamp_ = NewStamp(); }

  std::vector<T> items_;
  unsigned long long stamp_ = NewStamp();
};
