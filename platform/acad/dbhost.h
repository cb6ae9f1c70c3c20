// The host's view of a drawing database: the left-open check, all objects, purging erased
// objects, and the fault seam that makes single database calls fail on purpose in tests.
#pragma once

#include <string>
#include <vector>

#include "acadstrc.h"
#include "dbmain.h"

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

// Faults: each applies once, to the next matching call anywhere, then clears itself.
void FailNextLock(Acad::ErrorStatus status);
void FailNextUnlock(Acad::ErrorStatus status);
// The next acdbOpenObject (of that id only, unless null) fails with status.
void FailNextOpen(Acad::ErrorStatus status, AcDbObjectId onlyId = AcDbObjectId::kNull);
// The next setXData fails with status and changes nothing.
void FailNextSetXData(Acad::ErrorStatus status);
void ClearFaults();

}  // namespace platform::acad
