// The trunk-number check: recolours the route elements whose trunk number ("S004") is not set,
// saving each one's former colour for the colour recovery (attributes/colour_recovery.h).
//
// It runs as the command RQ_HARNEX_CHECKATT and from the settings check window's "実行"; the
// two differ only in the colour and in how they take the document lock.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>

// How RunCheck takes the document lock.
enum class CheckLocking {
  // The command: LockCurrentDocument, whose failure is printed; the check goes on regardless.
  kCommand,
  // The modeless window: lockDocument/unlockDocument of the document manager, unchecked and
  // silent.
  kDialog,
};

// The colour the command RQ_HARNEX_CHECKATT marks with: red, the settings check window's own
// starting colour, so that a typed check shows the same as the window's first "実行".
constexpr int kCommandMarkColour = 1;

// True when the check marks element `id`: a checkable element (IsCheckableElement) whose record
// list has an "S004" record with an empty value or "-" (any case). An element without a record
// list or without "S004" is never marked; any other value, however short, counts as set.
// Opens nothing that it leaves open and prints nothing.
bool LacksTrunkNumber(AcDbObjectId id);
// The same, giving in `list` the element's record list as read (empty when it was not read).
bool LacksTrunkNumber(AcDbObjectId id, CStringArray& list);

// Checks the pick-first route elements, or every route element of the drawing when none is
// selected (RBT panels and other uncheckable entities are passed over, see
// IsCheckableElement). An element whose record list has an "S004" record with an empty value or
// "-" (any case) is marked with `colourIndex` (MarkElement: the colour saved by an earlier check
// stays); elements without "S004", or with any other value, are left alone. The layer
// "_RQTemp_PXCheck" is made when missing. Prints
//   "\n確認する要素はありません.\n"                    no route element at all (nothing locked)
//   "\n幹線番号が設定されていない要素が見つかりました.\n"  at least one element was marked
//   "\n幹線番号が設定されていない要素はありません.\n"      none was
// Shows the progress meter "配線確認中..."; a user break (acedUsrBrk) stops the loop, and the
// closing message then tells about the elements looked at so far.
void RunCheck(int colourIndex, CheckLocking locking);
