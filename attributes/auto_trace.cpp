// The trace of automatic assignment, on a stack of its own, and the writes beyond the terminal.
#include "attributes/auto_trace.h"

#include <RootComn.h>
#include <VuRida.h>
#include <acutads.h>
#include <adsdef.h>
#include <gegbl.h>

#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "app/palette_access.h"
#include "attributes/element_class.h"
#include "attributes/row_writer.h"
#include "attributes/run_marks.h"

namespace {

// The row's panel/load name added to a hatched panel's link, each of its names once: a row that
// reaches the panel again (a second load of the same name, a ring, the second pass through a
// panel further down) leaves the link as it was, so that pass 2 finds the row the names stand
// for. The names are separated by "," as for a single panel.
CString PanelLink(AcDbObjectId panel, int row) {
  CString link = ReadBanLink(panel);
  CStringArray values;
  const PaletteAccess* palette = PaletteAccessInstance();
  if (palette == nullptr || !palette->GetRowData(row, values) || values.GetSize() <= 2 ||
      values[2].IsEmpty()) {
    return link;
  }
  const std::vector<CString> listed = PanelListNames(link);
  for (CString name : PanelListNames(values[2])) {
    name.Trim();
    if (name.IsEmpty()) continue;
    bool there = false;
    for (const CString& old : listed) there = there || old.CompareNoCase(name) == 0;
    if (!there) link = link.IsEmpty() ? name : link + L"," + name;
  }
  return link;
}

// The names handed down a trace, shared by the calls below a hatched panel rather than copied
// into each: a panel's list grows with every row that passes it.
using Text = std::shared_ptr<const CString>;

}  // namespace

bool ConnectPoints(AcDbObjectId id, AcGePoint3dArray& points) {
  return VuRida_GetConnectPoint(id, points, RQCONECT_LAYER, nullptr) == 0;
}

// One pending call of the trace. The trace keeps its calls on a stack of its own rather than
// the machine's, so that a route of many thousand elements in a row cannot exhaust the stack;
// the order of questions and writes is that of the recursion.
struct AutoTrace::Call {
  Call(AcDbObjectId from_element, Element* from_info, int at_index, const AcGePoint3d& at,
       bool passed, bool panel, Text incoming)
      : from(from_element),
        fromInfo(from_info),
        pointIndex(at_index),
        point(at),
        passedPart(passed),
        panelMode(panel),
        givenPassedPart(passed),
        givenPanelMode(panel),
        names(std::move(incoming)) {}
  AcDbObjectId from;
  Element* fromInfo;  // null for the start of the trace
  int pointIndex;     // of `point` among the points of `from`; -1 for the start
  AcGePoint3d point;
  bool passedPart;
  bool panelMode;
  // The state the way is followed in, as given (passedPart and panelMode change on the way).
  bool givenPassedPart;
  bool givenPanelMode;
  Text names;
  bool started = false;
  // The elements meeting `from` at `point`: remembered in `fromInfo`, or `ownAnswer` for the
  // start.
  const Meeting* answer = nullptr;
  Meeting ownAnswer;
  size_t next = 0;
  bool found = false;
  bool panelSet = false;
  bool sawStateThree = false;
  // An element of the current path was met here or in a call below this one: the answer
  // depended on the path, so a failure is not remembered.
  bool metPath = false;
  // The element being walked through, its text and its points still to follow.
  bool inElement = false;
  AcDbObjectId element;
  Element* info = nullptr;
  Text text;
  int nextPoint = 0;
  bool reached = false;
  // The numbers of the elements walked through here and in the calls below.
  trace_paths::NumberRanges through;
};

AutoTrace::AutoTrace(const AcDbObjectIdArray& elements, AcDbObjectId terminal, bool rememberFound)
    : elements_(elements), terminal_(terminal), rememberFound_(rememberFound) {
  info_.reserve(static_cast<size_t>(elements.length()));
}

AutoTrace::Element& AutoTrace::Info(AcDbObjectId id) {
  auto [it, inserted] = info_.try_emplace(id);
  Element& info = it->second;
  if (inserted) {
    info.kind = RouteKindOf(id, kRouteKindPart);
    info.stateThree = info.kind == kRouteKindPart && EtatIsThree(id);
  }
  return info;
}

void AutoTrace::JoinPath(Element& info) {
  if (info.number < 0) info.number = nextNumber_++;
  info.onPath = true;
  path_.Join(info.number);
}

void AutoTrace::LeavePath(Element& info) {
  info.onPath = false;
  path_.Leave(info.number);
}

bool AutoTrace::ReadPoints(AcDbObjectId id, Element& info) {
  if (!info.pointsRead) {
    info.pointsRead = true;
    info.hasPoints = ConnectPoints(id, info.points);
    if (!info.hasPoints) info.points.setLogicalLength(0);
    info.hatchedPanel = info.points.length() == 3 && IsHatchedPanel(id);
    info.deadEnd.assign(info.points.length(), false);
    info.meeting.assign(info.points.length(), Meeting());
    info.meetingAsked.assign(info.points.length(), false);
  }
  return info.hasPoints;
}

bool AutoTrace::AskMeeting(AcDbObjectId from, const AcGePoint3d& point, Meeting& meeting) {
  meeting.clear();
  AcDbObjectIdArray ids;
  int count = 0;
  if (RootComn_GetConnectBlock7(elements_, from, point, ids, count, 0, 3) != 0 || count == 0)
    return false;
  meeting.reserve(static_cast<size_t>(ids.length()));
  for (int i = 0; i < ids.length(); ++i) meeting.emplace_back(ids[i], &Info(ids[i]));
  return true;
}

bool AutoTrace::IsTerminalSegment(AcDbObjectId id) {
  if (id != terminal_) return false;
  if (terminalIsSegment_ < 0) terminalIsSegment_ = ElementClassOf(id) == BlockClass::RT ? 1 : 0;
  return terminalIsSegment_ == 1;
}

void AutoTrace::WriteOnce(AcDbObjectId id, int row) {
  // A wire that reaches an element along two ways (a ring, or two loads of one row) is one wire
  // on that element: the row is written to it once in the run.
  if (written_.insert({id, row}).second) WriteRowAuto(id, row);
}

int AutoTrace::KindOf(AcDbObjectId id) {
  return Info(id).kind;
}

bool AutoTrace::Trace(const AcGePoint3d& point, AcDbObjectId from, int row, bool passedPart,
                      bool panelMode, const wchar_t* names) {
  // The elements of the current path are marked in their Element: the start and every element
  // being walked through.
  Element& start = Info(from);
  JoinPath(start);
  // A deque, so that pushing a call never moves (and copies the arrays of) the calls below it.
  std::deque<Call> stack;
  stack.emplace_back(from, nullptr, -1, point, passedPart, panelMode,
                     std::make_shared<const CString>(names ? names : L""));
  bool result = false;
  auto finish = [&]() {
    const Call& done = stack.back();
    const bool found = done.found;
    const bool metPath = done.metPath;
    if (!found && !metPath && done.fromInfo != nullptr)
      done.fromInfo->deadEnd[done.pointIndex] = true;
    if (found && !metPath && done.fromInfo != nullptr && rememberFound_) {
      std::vector<FoundWay>& ways = done.fromInfo->found;
      if (ways.empty()) ways.resize(done.fromInfo->deadEnd.size());
      ways[done.pointIndex] =
          FoundWay{row, done.givenPassedPart, done.givenPanelMode, done.through};
    }
    const trace_paths::NumberRanges through = done.through;
    stack.pop_back();
    if (stack.empty()) {
      result = found;
      return;
    }
    if (found) stack.back().reached = true;
    if (metPath) stack.back().metPath = true;
    stack.back().through.Add(through);
  };
  while (!stack.empty()) {
    Call& call = stack.back();
    if (!call.started) {
      call.started = true;
      // Which elements meet at a point stays as it was for the whole run, so the question is
      // asked once for each way out of an element.
      Element* from_info = call.fromInfo;
      const int k = call.pointIndex;
      // A way an earlier trace followed to the terminal in the same row and state, through
      // none of this path, is found again as it was (see the class).
      if (from_info != nullptr && !from_info->found.empty()) {
        const FoundWay& way = from_info->found[k];
        if (way.row == row && way.passedPart == call.passedPart &&
            way.panelMode == call.panelMode && !way.through.Meets(path_)) {
          call.found = true;
          call.through = way.through;
          finish();
          continue;
        }
      }
      if (from_info != nullptr && from_info->meetingAsked[k]) {
        call.answer = &from_info->meeting[k];
        if (call.answer->empty()) finish();
        continue;
      }
      Meeting& meeting = from_info != nullptr ? from_info->meeting[k] : call.ownAnswer;
      const bool any = AskMeeting(call.from, call.point, meeting);
      if (from_info != nullptr) from_info->meetingAsked[k] = true;
      call.answer = &meeting;
      if (!any) {
        meeting.clear();
        finish();
      }
      continue;
    }
    if (call.inElement) {
      Element& info = *call.info;
      if (call.nextPoint < info.points.length()) {
        const int k = call.nextPoint++;
        const AcGePoint3d q = info.points[k];
        if (q.isEqualTo(call.point, AcGeContext::gTol)) continue;
        // A way that an earlier trace followed to its end writes nothing and finds nothing.
        if (info.deadEnd[k]) continue;
        stack.emplace_back(call.element, &info, k, q, call.passedPart, call.panelMode, call.text);
        continue;
      }
      call.inElement = false;
      LeavePath(*call.info);
      if (call.reached) {
        if (!call.panelMode && !call.sawStateThree && !call.passedPart) {
          WriteOnce(call.element, row);
        }
        if (call.panelSet) WriteBanLink(call.element, *call.text);
        call.found = true;
      }
      continue;
    }
    if (call.next >= call.answer->size()) {
      finish();
      continue;
    }
    const auto [b, found_info] = (*call.answer)[call.next++];
    Element& info = *found_info;
    if (info.onPath) {
      call.metPath = true;
      continue;
    }
    if (info.kind == kRouteKindPart) {
      if (info.stateThree) {
        call.sawStateThree = true;
      } else {
        call.passedPart = true;
      }
    } else if (info.kind != kRouteKindElement) {
      continue;
    }
    if (IsTerminalSegment(b)) {
      if (!call.panelMode && !call.passedPart) {
        WriteOnce(b, row);
        WriteBeyondTerminal(elements_, b, call.point,
                            [this, row](AcDbObjectId beyond) { WriteOnce(beyond, row); });
      }
      call.found = true;
      continue;
    }
    if (!ReadPoints(b, info)) continue;
    call.text = call.names;
    if (info.hatchedPanel) {
      // Each panel's link is its own: a panel met after another one lists the rows that reached
      // it, not the first panel's list run together with its own. Pass 2 then traces from each
      // panel in turn, so the rows go on from panel to panel up to the terminal.
      call.text = std::make_shared<const CString>(PanelLink(b, row));
      call.panelMode = true;
      call.panelSet = true;
    }
    call.inElement = true;
    call.element = b;
    call.info = &info;
    call.nextPoint = 0;
    call.reached = false;
    JoinPath(info);
    call.through.Add(info.number);
  }
  LeavePath(start);
  return result;
}

bool TraceAuto(const AcDbObjectIdArray& elements, AcDbObjectId terminal, const AcGePoint3d& point,
               AcDbObjectId from, int row, bool passedPart, bool panelMode, const wchar_t* names) {
  AutoTrace trace(elements, terminal);
  return trace.Trace(point, from, row, passedPart, panelMode, names);
}

void WriteBeyondTerminal(const AcDbObjectIdArray& elements, AcDbObjectId terminal,
                         const AcGePoint3d& point, int row) {
  WriteBeyondTerminal(elements, terminal, point,
                      [row](AcDbObjectId beyond) { WriteRowAuto(beyond, row); });
}

void WriteBeyondTerminal(const AcDbObjectIdArray& elements, AcDbObjectId terminal,
                         const AcGePoint3d& point, const std::function<void(AcDbObjectId)>& write) {
  AcGePoint3dArray points;
  if (!ConnectPoints(terminal, points) || points.length() != 2) return;
  const AcGePoint3d far_end =
      points[1].distanceTo(point) > points[0].distanceTo(point) ? points[1] : points[0];
  AcDbObjectIdArray blocks;
  int count = 0;
  if (RootComn_GetConnectBlock7(elements, terminal, far_end, blocks, count, 0, 3) != 0) return;
  for (int i = 0; i < blocks.length(); ++i) {
    if (EtatIsRoute(blocks[i])) write(blocks[i]);
  }
}
