// The trace of automatic assignment: from a panel or load through the route network to the
// terminal segment, writing the row on its way back.
#pragma once

#include <afx.h>
#include <dbid.h>
#include <gepnt3d.h>

#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "attributes/trace_paths.h"

// The connection points of route element `id` (VuRida_GetConnectPoint on RQCONECT_LAYER), in
// `points`; false when they cannot be read.
bool ConnectPoints(AcDbObjectId id, AcGePoint3dArray& points);

// Follows the network from `from` through `point` towards `terminal`, every connectivity
// question asked within `elements` (RootComn_GetConnectBlock7; the list must not change during
// the run, as its connection index is kept between questions). Result true when some path
// reaches the terminal segment.
// On each path the row is written (WriteRowAuto) on the way back to the elements between the
// start and the terminal, the terminal itself and the state 1 or 2 elements at its far end
// (WriteBeyondTerminal), as long as no part block (state other than 3) and no hatched panel was
// passed: `passedPart` and `panelMode` say so for the path so far, and an element sets them for
// itself, its later siblings and everything beyond it. The starting element is not written. A
// hatched panel with three connection points adds the row's panel/load name to its
// "RQPX_BANLINK" ("," between names; a panel met after another one gets the second list appended
// to `names`, the first panel's list, with no separator) when a path through it reaches the
// terminal. An element already on the current path is passed over, so cycles end; a tree is
// walked in full.
// Each call starts afresh; the traces of one run share what they learn through AutoTrace.
bool TraceAuto(const AcDbObjectIdArray& elements, AcDbObjectId terminal, const AcGePoint3d& point,
               AcDbObjectId from, int row, bool passedPart, bool panelMode, const wchar_t* names);

// Writes `row` to the elements of `elements` with "ETAT" 1 or 2 that are connected to the
// terminal segment at its connection point farther from `point` (the first point unless the
// second is strictly farther). Nothing when the terminal has not exactly two connection points.
void WriteBeyondTerminal(const AcDbObjectIdArray& elements, AcDbObjectId terminal,
                         const AcGePoint3d& point, int row);
// The same elements, each given to `write` instead of written.
void WriteBeyondTerminal(const AcDbObjectIdArray& elements, AcDbObjectId terminal,
                         const AcGePoint3d& point, const std::function<void(AcDbObjectId)>& write);

// The traces of one automatic run, sharing what they learn about the network.
//
// A run writes records, run markers, panel links and colours and nothing else, so whatever
// decides where a trace goes stays as it was when the run began: the elements' route kinds,
// states, block classes and connection points, and which elements meet at a point. AutoTrace
// reads each of these once per element. It also remembers every way out of an element (the
// element left through one of its connection points) that a trace followed to its end without
// reaching the terminal and without meeting an element of its own path on the way: such a way
// cannot reach the terminal from any path, as another path can only bar more elements, so no
// later trace of the run follows it again.
//
// It remembers as well every way that a trace followed to the terminal without meeting an
// element of its own path, with the row and the state it was followed in (a part or a panel
// passed) and the part of the network it went through. A later trace of the same row that
// leaves an element the same way in the same state, on a path that runs through none of that
// part, would go the same way again: it would find the terminal, meet none of its own path, and
// write only what the run has written already (the row to the same elements, the same names to
// the same panel links). So it takes the way as found without following it. A trace then walks
// its own paths up to where an earlier one went on, and the first step of each dead end, not the
// whole network again for each panel and load.
class AutoTrace {
 public:
  // The run on `elements` (not copied: it must stay unchanged while this object lives) towards
  // `terminal`. With `rememberFound` false, ways that reached the terminal are followed again
  // each time (the plain walk, to compare with).
  AutoTrace(const AcDbObjectIdArray& elements, AcDbObjectId terminal, bool rememberFound = true);
  AutoTrace(const AutoTrace&) = delete;
  AutoTrace& operator=(const AutoTrace&) = delete;

  // TraceAuto on this run's elements and terminal: the same result, and the same writes that
  // change anything, in the same order.
  bool Trace(const AcGePoint3d& point, AcDbObjectId from, int row, bool passedPart, bool panelMode,
             const wchar_t* names);

  // RouteKindOf(id, kRouteKindPart), read once per element for the whole run.
  int KindOf(AcDbObjectId id);

 private:
  // A way out of an element that reached the terminal: the row and state it was followed in,
  // and the numbers of the elements it went through.
  struct FoundWay {
    int row = -1;  // -1: none remembered
    bool passedPart = false;
    bool panelMode = false;
    trace_paths::NumberRanges through;
  };
  struct Element {
    int kind = 0;             // RouteKindOf(id, kRouteKindPart)
    bool stateThree = false;  // a part block with "ETAT" 3
    bool pointsRead = false;  // the members below are filled in
    bool hasPoints = false;   // ConnectPoints succeeded
    AcGePoint3dArray points;
    bool hatchedPanel = false;  // three points and IsHatchedPanel
    // Per connection point: leaving the element through it cannot reach the terminal.
    std::vector<bool> deadEnd;
    // On the path of the trace running now: the start, or an element being walked through.
    bool onPath = false;
    // Per connection point, once asked: the elements that meet the element there, in the
    // order RootComn_GetConnectBlock7 gives them.
    std::vector<std::vector<std::pair<AcDbObjectId, Element*>>> meeting;
    std::vector<bool> meetingAsked;
    // The number the element got when it first joined a path; -1 before.
    int number = -1;
    // Per connection point, once a way out through it reached the terminal (else empty).
    std::vector<FoundWay> found;
  };
  using Meeting = std::vector<std::pair<AcDbObjectId, Element*>>;
  struct Call;

  Element& Info(AcDbObjectId id);
  // The element joins the current path, or leaves it.
  void JoinPath(Element& info);
  void LeavePath(Element& info);
  // `info` with its connection points read; false when they cannot be read.
  bool ReadPoints(AcDbObjectId id, Element& info);
  // The elements of the run other than `from` that meet it at `point`, each with its entry,
  // into `meeting`; false when none does or the question cannot be answered.
  bool AskMeeting(AcDbObjectId from, const AcGePoint3d& point, Meeting& meeting);
  bool IsTerminalSegment(AcDbObjectId id);
  // WriteRowAuto (id, row), unless the run wrote that row to that element already.
  void WriteOnce(AcDbObjectId id, int row);

  const AcDbObjectIdArray& elements_;
  AcDbObjectId terminal_;
  int terminalIsSegment_ = -1;  // ElementClassOf(terminal) is RT: -1 not yet read, 0 or 1
  std::unordered_map<AcDbObjectId, Element> info_;
  const bool rememberFound_;
  int nextNumber_ = 0;
  trace_paths::PathCounts path_;  // the elements on the current path, by number
  struct WrittenHash {
    size_t operator()(const std::pair<AcDbObjectId, int>& w) const {
      return std::hash<AcDbObjectId>()(w.first) * 31 + static_cast<size_t>(w.second);
    }
  };
  std::unordered_set<std::pair<AcDbObjectId, int>, WrittenHash> written_;
};
