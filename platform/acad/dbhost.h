// The host's view of a drawing database: the left-open check, all objects, purging erased
// objects, and the fault seam that makes single database calls fail on purpose in tests.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <acadstrc.h>
#include <dbmain.h>

struct AcDbXDataAccess;

namespace platform::acad {

// One object still open: its class name, handle (hex) and how it is open ("read" with the
// number of opens, "write" or "notify").
struct OpenObjectInfo {
  std::wstring class_name;
  std::wstring handle;
  std::wstring mode;
  int read_count = 0;
};

// Objects of the database that are open now, in handle order. The host calls it after every
// command: anything listed was left open by the command.
std::vector<OpenObjectInfo> OpenObjects(const AcDbDatabase& db);
// How many opens are not closed yet (a read opened twice counts twice); 0 when nothing is open.
// Constant time, so that the host can check after every window-message handler.
int OpenCount(const AcDbDatabase& db);
// "AcDbLine 1F read", one line each, joined with "\n" (empty when nothing is open).
std::wstring DescribeOpenObjects(const AcDbDatabase& db);

// All object ids in handle order, erased ones included.
std::vector<AcDbObjectId> AllObjectIds(const AcDbDatabase& db);

// Drops erased objects for good, as saving a drawing does. Objects that are open stay.
// Returns how many were dropped.
int PurgeErasedObjects(AcDbDatabase& db);

// Gives a new object to the database under a chosen handle (a drawing reader keeps the
// handles of the file). The object is then open for write. eDuplicateKey when an object has
// that handle already, eNullHandle, eAlreadyInDb.
Acad::ErrorStatus AddObjectWithHandle(AcDbDatabase& db, AcDbObject* pObj, AcDbHandle handle,
                                      AcDbObjectId* id);

// How many objects have taken their handle from the handle seed (added without a handle given
// by setNextHandle or AddObjectWithHandle). A drawing reader that learns of the file's handles
// late tells by it whether an object took a handle the file might use too.
Adesk::UInt64 SeededObjectCount(const AcDbDatabase& db);

// XData given item by item and packed as objects hold it while it comes, without a resbuf chain
// to build and free (a drawing reader sets XData on every object of a large drawing). Clear()
// keeps the memory for the next object. Each Add takes the item's group code; a code that is no
// XData group of that kind makes SetXData refuse the whole, as setXData refuses such a chain.
class XDataBuilder {
 public:
  // Strings: 1000, 1002, 1003, 1005, and 1001 (an application's name, which starts its part).
  // As UTF-8, or as wide text (null: an item without a string).
  void AddText(int code, std::string_view utf8);
  void AddText(int code, const ACHAR* text);
  // 1004: `length` bytes (none when `bytes` is null or `length` is not positive).
  void AddBinary(int code, const char* bytes, int32_t length);
  void AddPoint(int code, double x, double y, double z);  // 1010 to 1013
  void AddReal(int code, double value);                   // 1040 to 1042
  void AddShort(int code, short value);                   // 1070
  void AddLong(int code, int32_t value);                  // 1071
  void Clear();
  bool empty() const { return bytes_.empty() && !invalid_; }

 private:
  friend struct ::AcDbXDataAccess;
  // One application's part: from its 1001 item to the next one, and the bytes the drawing
  // counts for it (see setXData).
  struct Part {
    size_t begin = 0, end = 0, size = 0;
    bool has_items = false;
  };
  void Code(int code, bool valid);
  template <class T>
  void Put(const T& value);
  void PutWide(const ACHAR* text, size_t n);

  std::vector<char> bytes_;
  std::vector<Part> parts_;
  std::vector<std::wstring> apps_;  // the parts' names; only the first parts_.size() count
  int first_code_ = 0;
  bool invalid_ = false;
};

// Sets the items as setXData sets the same items given as a chain, with the same rules and
// errors (eInvalidInput for nothing, no 1001 first or a code of no XData group of its kind;
// eRegappIdNotFound; eXdataSizeExceeded), the merge per application and the same fault seam
// (FailNextSetXData). Needs a write open.
Acad::ErrorStatus SetXData(AcDbObject* object, const XDataBuilder& xdata);

// Faults: each applies once, to the next matching call anywhere, then clears itself.
void FailNextLock(Acad::ErrorStatus status);
void FailNextUnlock(Acad::ErrorStatus status);
// The next acdbOpenObject (of that id only, unless null) fails with status.
void FailNextOpen(Acad::ErrorStatus status, AcDbObjectId onlyId = AcDbObjectId::kNull);
// The next setXData fails with status and changes nothing.
void FailNextSetXData(Acad::ErrorStatus status);
void ClearFaults();

// Asks the processor to fetch the object of the id into its cache (a hint: nothing changes),
// for a walk over many objects that would otherwise wait for memory at each.
void PrefetchObject(AcDbObjectId id);
// Calls `visit` with each id in turn, the object `ahead` ids on fetched meanwhile.
template <class Visit>
void VisitFetchingAhead(const std::vector<AcDbObjectId>& ids, size_t ahead, Visit visit) {
  for (size_t i = 0; i < ids.size(); ++i) {
    if (i + ahead < ids.size()) PrefetchObject(ids[i + ahead]);
    visit(ids[i]);
  }
}

// A text held once for the program and never freed: names and tags that a large drawing repeats
// on hundreds of thousands of objects (attribute tags, the types of objects kept as read).
const std::wstring* SharedText(std::wstring_view text);

}  // namespace platform::acad
