// Tables keyed by object id in one array each (open addressing with linear probing): the DXF
// writer marks and looks up every object of a large drawing, and a selection of a whole floor
// drops its repeats, which in tables of nodes would cost a heap block each.
#pragma once

#include <dbmain.h>

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace platform::acad {

// Ids with a value each; IdMap<Empty> is a set.
template <class Value>
class IdMap {
 public:
  void reserve(size_t n) {
    size_t size = 16;
    while (size < 2 * n) size *= 2;
    if (size > slots_.size()) Rehash(size);
  }
  // Adds the id with `value`; true when it was not there (a present id keeps its value).
  bool insert(AcDbObjectId id, const Value& value = Value()) {
    if (id.isNull()) return false;
    if ((count_ + 1) * 2 > slots_.size()) Rehash(slots_.empty() ? 16 : slots_.size() * 2);
    size_t i = Home(id.stub());
    for (; slots_[i].key != nullptr; i = (i + 1) & mask_)
      if (slots_[i].key == id.stub()) return false;
    slots_[i] = Slot{id.stub(), value};
    ++count_;
    return true;
  }
  // Adds the id with `value`, or gives a present id that value.
  void assign(AcDbObjectId id, const Value& value) {
    if (id.isNull() || insert(id, value)) return;
    for (size_t i = Home(id.stub()); slots_[i].key != nullptr; i = (i + 1) & mask_)
      if (slots_[i].key == id.stub()) slots_[i].value = value;
  }
  // The id's value, or null when it is not there.
  const Value* find(AcDbObjectId id) const {
    if (slots_.empty() || id.isNull()) return nullptr;
    for (size_t i = Home(id.stub()); slots_[i].key != nullptr; i = (i + 1) & mask_)
      if (slots_[i].key == id.stub()) return &slots_[i].value;
    return nullptr;
  }
  size_t count(AcDbObjectId id) const { return find(id) != nullptr ? 1 : 0; }

 private:
  struct Slot {
    AcDbStub* key = nullptr;
    [[no_unique_address]] Value value{};
  };
  // A set's slots are bare pointers: the writer marks every object of the drawing.
  static_assert(!std::is_empty_v<Value> || sizeof(Slot) == sizeof(AcDbStub*));
  size_t Home(const AcDbStub* p) const {
    // By handle: runs of 64 handles take 64 neighbouring slots, and the runs are spread by the
    // golden-ratio hash of their number. A writer and a selection go through a drawing in handle
    // order, so their probes walk the table instead of missing the cache at every object, while
    // handles at a power-of-two stride still spread.
    const uint64_t h = AcDbObjectId(const_cast<AcDbStub*>(p)).handle().value();
    const int bits = 64 - shift_;
    if (bits <= 6) return static_cast<size_t>(h) & mask_;
    const uint64_t run = (h >> 6) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(((run >> (shift_ + 6)) << 6) | (h & 63));
  }
  void Rehash(size_t size) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(size, Slot{});
    mask_ = size - 1;
    shift_ = 64;
    for (size_t n = size; n > 1; n /= 2) --shift_;
    count_ = 0;
    for (const Slot& s : old)
      if (s.key != nullptr) insert(AcDbObjectId(s.key), s.value);
  }

  std::vector<Slot> slots_;
  size_t mask_ = 0;
  int shift_ = 64;  // 64 - log2(slots)
  size_t count_ = 0;
};

struct Empty {};
using IdSet = IdMap<Empty>;

// Ids of one database, held as a bit per handle while the handles are dense (at most 64 handles
// per id held, as a drawing's handles, given one after the other, are), and in an IdSet once they
// are not: a writer marks every object of a large drawing, a bit each instead of a slot each.
class HandleSet {
 public:
  void reserve(size_t n) { reserved_ = n; }
  // Adds the id; true when it was not there.
  bool insert(AcDbObjectId id) {
    if (id.isNull()) return false;
    if (!sparse_) {
      if (db_ == nullptr) db_ = id.database();
      const uint64_t h = id.handle().value();
      if (h < kDenseSlack * (std::max(count_, reserved_) + 1024)) {
        if (h >= bits_.size() * 64) bits_.resize(static_cast<size_t>(h / 64 + 1) * 2, 0);
        uint64_t& word = bits_[static_cast<size_t>(h / 64)];
        const uint64_t bit = uint64_t{1} << (h % 64);
        if ((word & bit) != 0) return false;
        word |= bit;
        ++count_;
        return true;
      }
      ToSparse();
    }
    return set_.insert(id);
  }
  size_t count(AcDbObjectId id) const {
    if (id.isNull()) return 0;
    if (sparse_) return set_.count(id);
    const uint64_t h = id.handle().value();
    return h < bits_.size() * 64 && (bits_[static_cast<size_t>(h / 64)] >> (h % 64) & 1) != 0;
  }

 private:
  static constexpr uint64_t kDenseSlack = 64;
  // The ids held so far go into the set, by handle: the database finds each handle's record.
  void ToSparse() {
    sparse_ = true;
    set_.reserve(std::max(count_, reserved_));
    for (size_t w = 0; w < bits_.size(); ++w) {
      for (uint64_t word = bits_[w]; word != 0; word &= word - 1) {
        const uint64_t h = w * 64 + static_cast<uint64_t>(__builtin_ctzll(word));
        AcDbObjectId id;
        if (db_ != nullptr && db_->getAcDbObjectId(id, false, AcDbHandle(h)) == Acad::eOk)
          set_.insert(id);
      }
    }
    bits_ = {};
  }

  AcDbDatabase* db_ = nullptr;
  std::vector<uint64_t> bits_;
  size_t count_ = 0;
  size_t reserved_ = 0;
  bool sparse_ = false;
  IdSet set_;
};

}  // namespace platform::acad
