// Inside the database: the record behind each object id, and helpers shared by the .cpp files.
// Not for callers outside platform/acad.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "dbmain.h"

// What an AcDbObjectId points to. It lives as long as its database, so ids never dangle.
struct AcDbStub {
  AcDbDatabase* database = nullptr;
  AcDbHandle handle;
  std::unique_ptr<AcDbObject> object;  // null for a handle reserved but never filled, or purged
  AcDbObjectId owner;
  bool erased = false;
  bool purged = false;
  int readers = 0;
  bool writer = false;
  int notifiers = 0;
  bool modified = false;  // changed during the current write open: tell the listeners at close

  bool isOpen() const { return readers > 0 || writer || notifiers > 0; }
};

struct AcDbDatabase::Impl {
  std::map<Adesk::UInt64, std::unique_ptr<AcDbStub>> stubs;
  std::vector<AcDbDatabaseReactor*> reactors;
  int opens = 0;  // opens not yet closed (acdbOpenObject, new objects), for a quick left-open check
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

// The box of a text's characters by the monospaced metric (advance units of half a height).
double TextAdvanceUnits(const ACHAR* text);

}  // namespace platform::acad::internal
