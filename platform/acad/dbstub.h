// Inside the database: the record behind each object id, and helpers shared by the .cpp files.
// Not for callers outside platform/acad.
#pragma once

#include <algorithm>
#include <cstddef>
#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include <dbmain.h>

// What an AcDbObjectId points to. It lives as long as its database, so ids never dangle.
struct AcDbStub {
  AcDbDatabase* database = nullptr;
  AcDbHandle handle;
  std::unique_ptr<AcDbObject> object;  // null for a handle reserved but never filled, or purged
  // The object's class, so that listing objects by class (as a writer does for every object of a
  // drawing) needs no visit to each object.
  AcRxClass* cls = nullptr;
  AcDbObjectId owner;
  int readers = 0;
  int notifiers = 0;
  // The flags side by side: a large drawing has hundreds of thousands of records.
  bool erased = false;
  bool purged = false;
  bool writer = false;
  bool modified = false;       // changed during the current write open: tell the listeners at close
  bool undo_recorded = false;  // its state before the undo step being recorded is kept already
  bool undo_xdata_only = false;     // ... but only its XData, all the step has changed so far
  bool undo_xdata_pending = false;  // ... and the XData is still the one before the step

  bool isOpen() const { return readers > 0 || writer || notifiers > 0; }
};
static_assert(sizeof(AcDbStub) <= 56, "a record grows every drawing by its size per object");

namespace platform::acad::internal {

// The records of a database by handle, since a large drawing has hundreds of thousands of them
// and a tree or a list of nodes would cost a node each: handles are given out one after the other,
// so most are small numbers, found in an array indexed by the handle itself (no probing, and runs
// of handles stay side by side in memory); handles too large for it (above four times the number
// of records) are in a hash table with open addressing. Records are never removed (ids must not
// dangle).
class HandleIndex {
 public:
  AcDbStub* Find(Adesk::UInt64 handle) const {
    if (handle < dense_.size()) return dense_[static_cast<size_t>(handle)];
    if (slots_.empty()) return nullptr;
    for (size_t i = Home(handle);; i = (i + 1) & mask_) {
      const Slot& s = slots_[i];
      if (s.stub == nullptr) return nullptr;
      if (s.handle == handle) return s.stub;
    }
  }
  // Adds a record whose handle is not in the index.
  void Add(AcDbStub* stub, Adesk::UInt64 handle) {
    ++count_;
    const Adesk::UInt64 bound = 4 * (static_cast<Adesk::UInt64>(count_) + 1024);
    if (handle >= dense_.size() && handle < bound) {
      GrowDense(
          std::min<Adesk::UInt64>(bound, std::max<Adesk::UInt64>(handle + 1, 2 * dense_.size())));
    }
    if (handle < dense_.size()) {
      dense_[static_cast<size_t>(handle)] = stub;
      return;
    }
    if ((hashed_ + 1) * 4 > slots_.size() * 3) Rehash(slots_.empty() ? 64 : slots_.size() * 2);
    Put(stub, handle);
    ++hashed_;
  }

  // Every record, in handle order: those of the array as they lie, then the hashed ones (all
  // above the array's end) sorted.
  void AppendInHandleOrder(std::vector<AcDbStub*>* out) const {
    for (AcDbStub* stub : dense_)
      if (stub != nullptr) out->push_back(stub);
    const size_t first_hashed = out->size();
    for (const Slot& s : slots_)
      if (s.stub != nullptr) out->push_back(s.stub);
    std::sort(
        out->begin() + static_cast<std::ptrdiff_t>(first_hashed), out->end(),
        [](const AcDbStub* a, const AcDbStub* b) { return a->handle.value() < b->handle.value(); });
  }

 private:
  struct Slot {
    Adesk::UInt64 handle = 0;
    AcDbStub* stub = nullptr;
  };
  size_t Home(Adesk::UInt64 handle) const {
    // Multiplied by 2^64 / golden ratio, the top bits taken: handles with a common stride spread
    // over the slots.
    return static_cast<size_t>((handle * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  void Put(AcDbStub* stub, Adesk::UInt64 handle) {
    size_t i = Home(handle);
    while (slots_[i].stub != nullptr) i = (i + 1) & mask_;
    slots_[i] = Slot{handle, stub};
  }
  // The hashed records that the larger array now covers move into it.
  void GrowDense(Adesk::UInt64 size) {
    dense_.resize(static_cast<size_t>(size), nullptr);
    bool moved = false;
    for (const Slot& s : slots_) moved = moved || (s.stub != nullptr && s.handle < size);
    if (moved) Rehash(slots_.size());
  }
  void Rehash(size_t size) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(size, Slot{});
    mask_ = size - 1;
    shift_ = 64;
    for (size_t n = size; n > 1; n /= 2) --shift_;
    hashed_ = 0;
    for (const Slot& s : old) {
      if (s.stub == nullptr) continue;
      if (s.handle < dense_.size()) {
        dense_[static_cast<size_t>(s.handle)] = s.stub;
      } else {
        Put(s.stub, s.handle);
        ++hashed_;
      }
    }
  }

  std::vector<AcDbStub*> dense_;
  std::vector<Slot> slots_;
  size_t mask_ = 0;
  int shift_ = 64;  // 64 - log2(slots)
  size_t count_ = 0;
  size_t hashed_ = 0;
};

}  // namespace platform::acad::internal

namespace platform::acad::internal {
class UndoHistory;
struct UndoHistoryDelete {  // defined with the history (undo_history.cpp)
  void operator()(UndoHistory* history) const;
};
}  // namespace platform::acad::internal

namespace platform::acad::internal {

// Every record of a database in the order made. Records never move (ids point at them): they
// are made in blocks that grow to 4,096 records (224 KiB) and are never given back before the
// database, so that a walk over a large drawing's records (the writer's, a selection's) reads
// memory in order; a deque's blocks of nine records lay scattered among the objects made between
// them, each a wait for memory of its own. Records go in the order made.
class StubList {
 public:
  StubList() = default;
  StubList(const StubList&) = delete;
  StubList& operator=(const StubList&) = delete;
  ~StubList();

  AcDbStub& emplace_back();
  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  class iterator {
   public:
    iterator(const StubList* list, size_t block, size_t i) : list_(list), block_(block), i_(i) {}
    AcDbStub& operator*() const { return list_->blocks_[block_].first[i_]; }
    iterator& operator++() {
      if (++i_ == list_->blocks_[block_].second) {
        ++block_;
        i_ = 0;
      }
      return *this;
    }
    bool operator!=(const iterator& other) const {
      return block_ != other.block_ || i_ != other.i_;
    }

   private:
    const StubList* list_;
    size_t block_, i_;
  };
  iterator begin() const { return size_ == 0 ? end() : iterator(this, 0, 0); }
  // Past the last record: the place the next would take (in the last block, or at the start of
  // the one after it when that block is full).
  iterator end() const {
    if (blocks_.empty()) return iterator(this, 0, 0);
    return used_ == blocks_.back().second ? iterator(this, blocks_.size(), 0)
                                          : iterator(this, blocks_.size() - 1, used_);
  }

 private:
  std::vector<std::pair<AcDbStub*, size_t>> blocks_;  // storage and how many it holds
  size_t used_ = 0;                                   // made in the last block
  size_t size_ = 0;
};

}  // namespace platform::acad::internal

struct AcDbDatabase::Impl {
  // Every record in the order made.
  platform::acad::internal::StubList stubs;
  platform::acad::internal::HandleIndex index;
  Adesk::UInt64 max_handle = 0;  // of every record
  bool in_order = true;          // records were made in rising handle order
  std::vector<AcDbDatabaseReactor*> reactors;
  int opens = 0;  // opens not yet closed (acdbOpenObject, new objects), for a quick left-open check
  Adesk::UInt64 seeded = 0;  // objects that took their handle from the seed
  // What undo keeps (undo_history.h); null until the host turns undo on. Last, so that it goes
  // before the records it refers to.
  std::unique_ptr<platform::acad::internal::UndoHistory,
                  platform::acad::internal::UndoHistoryDelete>
      undo;

  // Every record, in handle order.
  std::vector<AcDbStub*> InHandleOrder();
};

namespace platform::acad::internal {

// Stops the program with a message about a misused object (closed, not open for write).
[[noreturn]] void DieMisuse(const AcDbObject* object, const char* what);

// The object behind an id without any open check, or null: for the database's own bookkeeping
// (ownership lists, reactors, extents of block contents), never handed out.
AcDbObject* Peek(AcDbObjectId id);
template <class T>
T* PeekAs(AcDbObjectId id) {
  return T::cast(Peek(id));
}

// Lets the database's own code read (or change) an object that nobody has opened, without
// counting as an open: the left-open check and the callers' open rules never see it.
class InternalAccess {
 public:
  InternalAccess(AcDbObject* object, bool write) : stub_(object ? object->stub() : nullptr) {
    if (stub_ == nullptr) return;
    if (write && !stub_->writer) {
      saved_writer_ = true;
      stub_->writer = true;
    } else if (!write && !stub_->isOpen()) {
      saved_reader_ = true;
      ++stub_->readers;
    }
  }
  ~InternalAccess() {
    if (saved_writer_) stub_->writer = false;
    if (saved_reader_) --stub_->readers;
  }
  InternalAccess(const InternalAccess&) = delete;
  InternalAccess& operator=(const InternalAccess&) = delete;

 private:
  AcDbStub* stub_;
  bool saved_writer_ = false;
  bool saved_reader_ = false;
};

// Faults armed by the fault seam (dbhost.h); each Take clears the one it returns.
bool TakeOpenFault(AcDbObjectId id, Acad::ErrorStatus* status);
bool TakeSetXDataFault(Acad::ErrorStatus* status);
bool TakeLockFault(Acad::ErrorStatus* status);
bool TakeUnlockFault(Acad::ErrorStatus* status);

// Case-insensitive comparison of symbol names and dictionary keys.
bool SameName(const ACHAR* a, const ACHAR* b);

// The database an entity works in: its own, else the working database.
AcDbDatabase* DatabaseFor(const AcDbObject* object);

// Bytes the drawing counts for one item of XData (see AcDbObject::setXData); `chars` is the
// length of a string, `binary_length` that of a 1004 chunk.
size_t XDataItemSize(int code, size_t chars, int binary_length);

// Whether `test` holds for the name of some application with XData on an open object, asked in
// the order the applications lie (it stops at the first that does). Names reach `test` wide, in
// a buffer of the call's: a selection filter asks every element of a floor for its applications.
bool AnyXDataApp(const AcDbObject* object, const std::function<bool(std::wstring_view)>& test);

// The box of a text's characters by the monospaced metric (advance units of half a height).
double TextAdvanceUnits(const ACHAR* text);

}  // namespace platform::acad::internal
