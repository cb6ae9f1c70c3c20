// CDrag: the maker's drag jig, a list of temporary entities dragged with the cursor.
//
// While Dynamic runs, the jig reads the user's drag input (acedGrRead) and reports each event to
// its owner window as a message whose LPARAM points at the shared `dragdata` record:
//   DRAG_MSG_SAMPLE (0x1400)  the cursor moved; GetPoint is the cursor.
//   DRAG_MSG_NOTIFY (0x1401)  an input follows (a point or a null response); result ignored.
//   DRAG_MSG_INPUT  (0x1402)  the input: a point (status RTNORM, GetPoint the picked point) or a
//                             null response, Enter (status -1, GetPoint the last cursor point).
// A handler that returns 0 to DRAG_MSG_SAMPLE or DRAG_MSG_INPUT ends the drag; any other
// result goes on. Esc ends it as cancelled. A handler may replace dragdata::prompt; the jig then
// shows the new prompt. The prompt is shown on the command line as "\n" PROMPT ": ".
//
// While Dynamic runs, the enabled entities of the jig are on the screen as transient graphics
// (acgiGetTransientManager), kept in step after every handler and every change to the list; the
// host shows them in its views and pictures of the drawing (`show drawing`, SVG). Before and
// after the drag none of them is shown.
#pragma once

#include <memory>
#include <vector>

#include <windows.h>

#include <afxwin.h>
#include <gepnt3d.h>

class AcDbEntity;
class CDrag;

#define DRAG_MSG_SAMPLE 0x1400
#define DRAG_MSG_NOTIFY 0x1401
#define DRAG_MSG_INPUT 0x1402

// The record shared with the owner window's handlers during a drag.
struct dragdata {
  CDrag* drag = nullptr;  // the jig
  CString prompt;         // the current prompt; a handler may replace it
  int status = 0;         // RTNORM for a cursor sample or a point, -1 for a null response
};

class CDrag {
 public:
  // `flags` is kept for the maker's callers, which pass 0.
  explicit CDrag(int flags = 0);
  // Discards the entities still in the list, as RemoveAll(1).
  ~CDrag();
  CDrag(const CDrag&) = delete;
  CDrag& operator=(const CDrag&) = delete;

  // Adds `entity` at the end of the list, shown. The jig owns it while it is in no database
  // (see RemoveAll). `tag` (may be null) and `data` stay with it. Result: its index.
  int Append(AcDbEntity* entity, const wchar_t* tag = nullptr, int data = -1);
  // The entity at `index` (null when out of range); `data` and `tag`, when not null, get what
  // Append was given.
  AcDbEntity* At(int index, int* data = nullptr, CString* tag = nullptr) const;
  int Length() const;
  // Empties the list. With `release` non-zero every entity in no database is deleted and every
  // entity that is in one (appended to a block, a space) is closed; with 0 they are only
  // forgotten and the caller takes them over.
  void RemoveAll(int release);
  // Hides (0) or shows (non-zero) the entity at `index`. Result 0, 1 for a bad index.
  int SetEntEnable(int index, int enable);
  bool IsEntEnabled(int index) const;

  // The current cursor point; inside an input handler, the picked point.
  AcGePoint3d GetPoint() const { return point_; }

  // The distance read-out that accompanies the cursor: on/off, its text height, colour index,
  // x and y offsets from the cursor, decimals, font (null: the standard font) and whether it
  // follows the cursor. Kept for the drag; a headless host draws no read-out.
  void DistEnabled(int enabled, double textHeight, int colour, double xOffset, double yOffset,
                   int decimals, const wchar_t* font, int follow);

  // Runs the drag, reporting to `owner` (see above) until a handler returns 0 (result RTNORM)
  // or the user cancels (RTCAN; also at the end of the input). `allowNull`: whether Enter is an
  // input (true) or ignored. `basePoint` (may be null) and the rotation and scale factors of the
  // preview must be none and 0, 1, 1, 1: other values give RTERROR without a drag.
  int Dynamic(CWnd* owner, const wchar_t* prompt, bool allowNull, const AcGePoint3d* basePoint,
              double rotation, double xScale, double yScale, double zScale);

  // The jig whose Dynamic is running, or null.
  static CDrag* Running();
  // The entities shown now: the enabled ones, in list order.
  std::vector<const AcDbEntity*> ShownEntities() const;

 private:
  struct Item {
    AcDbEntity* entity = nullptr;
    CString tag;
    int data = -1;
    bool enabled = true;
  };
  LRESULT Report(CWnd* owner, UINT message, dragdata& data);

  // Puts the transient graphics in step with the list (see above).
  void SyncShown();

  std::vector<Item> items_;
  std::vector<AcDbEntity*> shown_;  // what the transient graphics hold of ours
  AcGePoint3d point_;
  struct Readout {
    int enabled = 0;
    double text_height = 0, x_offset = 0, y_offset = 0;
    int colour = 0, decimals = 0, follow = 0;
    CString font;
  } readout_;
};
