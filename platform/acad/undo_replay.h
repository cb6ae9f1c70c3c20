// What an undo step keeps, and taking a step back and forth: the part of the database's undo
// that replays what the recorder (undo_history.cpp) kept.
#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <dbmain.h>

// The header variables that a step takes back with its objects.
struct AcDbUndoAccess {
  struct Header {
    AcDbHandle handseed, next_handle;
    AcDbObjectId clayer, textstyle;
    double dimscale = 1.0;

    bool operator==(const Header& o) const {
      return handseed == o.handseed && next_handle == o.next_handle && clayer == o.clayer &&
             textstyle == o.textstyle && dimscale == o.dimscale;
    }
  };
  static Header Get(const AcDbDatabase& db) {
    return Header{db.handseed_, db.next_handle_, db.clayer_, db.textstyle_, db.dimscale_};
  }
  // Gives the database `h` and leaves in `h` what the database had.
  static void Swap(AcDbDatabase& db, Header& h) {
    const Header now = Get(db);
    db.handseed_ = h.handseed;
    db.next_handle_ = h.next_handle;
    db.clayer_ = h.clayer;
    db.textstyle_ = h.textstyle;
    db.dimscale_ = h.dimscale;
    h = now;
  }
  static char*& XData(AcDbObject* object) { return object->xdata_; }
};

namespace platform::acad::internal {

constexpr size_t kNowhere = std::numeric_limits<size_t>::max();

struct UndoEntry {
  AcDbStub* stub = nullptr;
  bool appended = false;
  bool xdata_only = false;        // changed: only `xdata` is kept, `state` is null
  std::unique_ptr<char[]> xdata;  // the packed XData to give next (null: none)
  // Changed: the state to give the object next (before the step while it is done, after the
  // step while it is taken back). Appended: the object while it is taken back.
  std::unique_ptr<AcDbObject> state;
  bool erased = false;         // changed: the erased flag to give next
  AcDbObjectId owner;          // changed: the owner to give next
  size_t position = kNowhere;  // an appended entity taken out of its block: where it stood
};

struct UndoStep {
  std::wstring name;
  std::vector<UndoEntry> entries;
  AcDbUndoAccess::Header header;  // the header to give next
};

// Takes `step` back (entries newest first, `back`) or gives it back (oldest first); each entry's
// change is the inverse of the other, so the two leave the drawing exactly as it was. `*replaying`
// is true while the objects change, and false again before the database's listeners hear of them.
void ReplayUndoStep(AcDbDatabase* db, UndoStep& step, bool back, bool* replaying);

}  // namespace platform::acad::internal
