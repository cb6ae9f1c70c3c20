// Undo and redo of a drawing database, as the CAD host's U, UNDO and REDO use them.
//
// Once the host turns undo on for a database, the database records each step: for every object
// changed in the step, its whole state before its first change (XData, persistent reactors, the
// class's data, erased or not, its owner), taken when the object is first changed while open
// for write; the objects appended in the step; and the header variables and handle seed as they
// were. The host cuts the steps (one command is one step, however many objects it opens) and
// names them; a step in which nothing changed is not kept. Taking a step back gives every object
// its recorded state and takes the appended ones out of the drawing (their records stay, so ids
// never dangle, and open as erased); the state it replaced is kept, so that redo gives it back.
// The listeners of the database are told of each object taken back or given back, as of any
// change.
//
// The host's side of the database; the add-in never sees it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <dbmain.h>

namespace platform::acad {

// Starts recording steps of `db`, keeping at most `max_steps` of them (the oldest goes first).
// 0 turns undo off and forgets what was kept. Recording starts with no step open: changes
// before the first StartUndoStep are not recorded.
void EnableUndo(AcDbDatabase& db, int max_steps);
bool UndoEnabled(const AcDbDatabase& db);

// Ends the step being recorded (kept when it changed something) and starts the next, named
// `name` (the command's name, which U prints). Nothing is recorded for an empty name.
void StartUndoStep(AcDbDatabase& db, const std::wstring& name);

// Takes back the last `count` steps (or as many as there are), newest first, and returns their
// names in that order. Ends the step being recorded first. Nothing may be open.
std::vector<std::wstring> UndoSteps(AcDbDatabase& db, int count);
// Gives back the steps that the last UndoSteps took back (the one before it at the next call),
// and returns their names in the order given back; empty when there is nothing to redo. A new
// change of the drawing drops what could be redone.
std::vector<std::wstring> RedoSteps(AcDbDatabase& db);

// While one lives, the objects added to `db` are the host's own bookkeeping (the parts a drawing
// writer adds for blocks and references): they join the step being recorded, else the last one,
// and nothing else is recorded.
namespace internal {
class UndoHistory;
}
class ScopedUndoAmend {
 public:
  explicit ScopedUndoAmend(AcDbDatabase& db);
  ~ScopedUndoAmend();
  ScopedUndoAmend(const ScopedUndoAmend&) = delete;
  ScopedUndoAmend& operator=(const ScopedUndoAmend&) = delete;

 private:
  internal::UndoHistory* history_;
};

int UndoStepCount(const AcDbDatabase& db);
int RedoGroupCount(const AcDbDatabase& db);

}  // namespace platform::acad

namespace platform::acad::internal {

// Called by the database before an object changes: from assertWriteEnabled (with autoUndo), before
// an erase, and before a persistent reactor is added or removed. Cheap when nothing is recorded.
void RecordUndoOfChange(AcDbStub* stub);
// Before only the object's XData changes (setXData): the step keeps only the XData, unless the
// object changes otherwise too.
void RecordUndoOfXData(AcDbStub* stub);
// A new object has just taken its record (adoptObject).
void RecordUndoOfAppend(AcDbStub* stub);
// Before a header variable or the handle seed changes, and before a new object takes a handle.
void RecordUndoOfHeader(AcDbDatabase* db);

// setXData has replaced `block`, the object's packed XData: true when the undo step being
// recorded took it (it is the XData before the step), false when the caller frees it.
bool KeepReplacedXData(AcDbStub* stub, char* block);
}  // namespace platform::acad::internal
