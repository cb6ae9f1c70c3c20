// CDrawNote: the hidden placement dialog (template 207) that owns one note or list placement.
//
// It is created modeless and never shown: the drag jig (CDrag, Drag.h) needs a window to report
// to, and this window holds everything the placement needs between two jig messages. It binds
// the jig's messages
//   DRAG_MSG_SAMPLE (0x1400)  OnDragSample: the cursor moved, update the entities
//   DRAG_MSG_INPUT  (0x1402)  OnDragInput: a point or a null response (Enter)
//   DRAG_MSG_NOTIFY (0x1401)  not bound: DefWindowProc answers 0, which the jig ignores
// and hands each to the placement of its mode: notes (mode 1, note_drag.h) or list tables
// (modes 2 and 3, list_drag.h). A handler's result goes back to the jig: 0 ends the drag, 1 (and
// for lists -1) keeps it running. Harnex sets none of the jig's callbacks.
//
// At most one exists: NoteDragInstance (app/harnex_module.h) points to it. RQ_HARNEX_DRAWNOTE
// replaces it and keeps it for the whole pick loop; a list placement makes its own and destroys
// it afterwards. The fields are public, as the note and list placements read and write them
// between messages; their meaning is given with each.
#pragma once

#include <Drag.h>
#include <afxcoll.h>
#include <afxwin.h>
#include <dbid.h>
#include <gepnt3d.h>

// Modes of a placement.
enum DrawNoteMode : int {
  kDrawNoteModeNote = 1,         // a wiring note
  kDrawNoteModeTrunkList = 2,    // a list table of trunk rows
  kDrawNoteModeGeneralList = 3,  // a list table of general rows
};

// States of a note placement.
constexpr int kNoteLeaderFree = 0;   // the leader follows the cursor
constexpr int kNoteLeaderFixed = 1;  // the leader end is picked; the box follows the side

class CDrawNote : public CDialog {
 public:
  // `parent` (not owned; the host's main window) becomes the dialog's owner on Create().
  CDrawNote(int mode, CWnd* parent);
  // Frees the list rows (VuRida_RemoveAllFree) and destroys the window.
  ~CDrawNote() override;
  CDrawNote(const CDrawNote&) = delete;
  CDrawNote& operator=(const CDrawNote&) = delete;

  BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr) override;
  // Creates template 207 under the parent given at construction, hidden. FALSE when the
  // template cannot be found (Harnex's resources must be current).
  BOOL Create();

  // ---- note ---------------------------------------------------------------------------------
  AcDbObjectId element;   // the picked route element
  AcGePoint3d pickPoint;  // where it was picked (the leader's first end)
  CStringArray lines;     // the note's text lines, top line first
  double scale = 1.0;     // the drawing's global scale factor, taken by RQ_HARNEX_DRAWNOTE
  // ---- list ---------------------------------------------------------------------------------
  CPtrArray rows;  // CStringArray* per table row; owned, freed on destruction
  // ---- note ---------------------------------------------------------------------------------
  AcGePoint3d foot;        // F: the leader's start on the element and the block's base point
  CWnd* parent = nullptr;  // owner window given at construction
  int mode = kDrawNoteModeNote;
  // The note settings as the settings file holds them (lengths before the scale).
  double textOffset = 0, textWidth = 0, textHeight = 0, widthFactor = 1, lineGap = 0;
  bool correction = false;     // the leader is snapped in steps of correctionAngle
  double correctionAngle = 0;  // degrees
  AcGePoint3d leaderEnd;       // E: the picked leader end, the box's lower corner
  int noteState = kNoteLeaderFree;
  double boxWidth = 0;                        // W
  int side = 1;                               // +1 box right of E, -1 left of it
  double ellipseMajor = 0, ellipseMinor = 0;  // the mark's sizes before the scale
  bool atOrigin = false;  // the leader starts at the block's origin: no mark, no tick
  // ---- list ---------------------------------------------------------------------------------
  double listTextHeight = 0, listWidthFactor = 0, rowHeight = 0, leftMargin = 0, rightMargin = 0;
  bool rectangleMode = false;  // the user chose to fit the table into a rectangle

 protected:
  // LPARAM: the jig's dragdata. The result goes back to the jig (see above).
  afx_msg LRESULT OnDragSample(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDragInput(WPARAM wParam, LPARAM lParam);
  // A window destroyed from outside (the host quitting) takes NoteDragInstance with it, so that
  // no command finds a placement whose window is gone; the object then goes with its window
  // (PostNcDestroy), as nothing else holds it any more. Code that deletes the current object
  // clears NoteDragInstance first.
  afx_msg void OnDestroy();
  void PostNcDestroy() override;
  DECLARE_MESSAGE_MAP()

 private:
  bool orphaned_ = false;  // destroyed from outside while current: deleted with its window
};
