// The trace of automatic assignment, on a stack of its own, and the writes beyond the terminal.
#include "attributes/auto_trace.h"

#include <acutads.h>
#include <adsdef.h>
#include <gegbl.h>

#include <deque>
#include <unordered_set>
#include <utility>

#include "app/harnex_module.h"
#include "attributes/element_class.h"
#include "attributes/row_writer.h"
#include "attributes/run_marks.h"
#include "maker/RootComn.h"
#include "maker/VuRida.h"
#include "palette/main_dialog.h"

namespace {

// One pending call of the trace. The trace keeps its calls on a stack of its own rather than
// the machine's, so that a route of many thousand elements in a row cannot exhaust the stack;
// the order of questions and writes is that of the recursion.
struct AutoCall {
  AutoCall(AcDbObjectId from_element, const AcGePoint3d& at, bool passed, bool panel,
           CString incoming)
      : from(from_element),
        point(at),
        passedPart(passed),
        panelMode(panel),
        names(std::move(incoming)) {}
  AcDbObjectId from;
  AcGePoint3d point;
  bool passedPart;
  bool panelMode;
  CString names;
  bool started = false;
  AcDbObjectIdArray answer;
  int next = 0;
  bool found = false;
  bool panelSet = false;
  bool sawStateThree = false;
  // The element being walked through, its text and its points still to follow.
  bool inElement = false;
  AcDbObjectId element;
  CString text;
  AcGePoint3dArray points;
  int nextPoint = 0;
  bool reached = false;
};

// The row's panel/load name added to a hatched panel's link.
CString PanelLink(AcDbObjectId panel, int row) {
  CString link = ReadBanLink(panel);
  CStringArray values;
  if (PaletteInstance != nullptr && PaletteInstance->GetRowData(row, values) &&
      values.GetSize() > 2 && !values[2].IsEmpty()) {
    link = link.IsEmpty() ? values[2] : link + L"," + values[2];
  }
  return link;
}

}  // namespace

bool ConnectPoints(AcDbObjectId id, AcGePoint3dArray& points) {
  return VuRida_GetConnectPoint(id, points, RQCONECT_LAYER, nullptr) == 0;
}

bool TraceAuto(const AcDbObjectIdArray& elements, AcDbObjectId terminal, const AcGePoint3d& point,
               AcDbObjectId from, int row, bool passedPart, bool panelMode, const wchar_t* names) {
  // The elements of the current path: the start and every element being walked through.
  std::unordered_set<AcDbObjectId> on_path{from};
  // A deque, so that pushing a call never moves (and copies the arrays of) the calls below it.
  std::deque<AutoCall> stack;
  stack.emplace_back(from, point, passedPart, panelMode, CString(names ? names : L""));
  bool result = false;
  auto finish = [&](bool found) {
    stack.pop_back();
    if (stack.empty()) {
      result = found;
    } else if (found) {
      stack.back().reached = true;
    }
  };
  while (!stack.empty()) {
    AutoCall& call = stack.back();
    if (!call.started) {
      call.started = true;
      int count = 0;
      if (RootComn_GetConnectBlock7(elements, call.from, call.point, call.answer, count, 0, 3) !=
              0 ||
          count == 0) {
        finish(false);
      }
      continue;
    }
    if (call.inElement) {
      if (call.nextPoint < call.points.length()) {
        const AcGePoint3d q = call.points[call.nextPoint++];
        if (q.isEqualTo(call.point, AcGeContext::gTol)) continue;
        stack.emplace_back(call.element, q, call.passedPart, call.panelMode, call.text);
        continue;
      }
      call.inElement = false;
      on_path.erase(call.element);
      if (call.reached) {
        if (!call.panelMode && !call.sawStateThree && !call.passedPart) {
          WriteRowAuto(call.element, row);
        }
        if (call.panelSet) WriteBanLink(call.element, call.text);
        call.found = true;
      }
      continue;
    }
    if (call.next >= call.answer.length()) {
      finish(call.found);
      continue;
    }
    const AcDbObjectId b = call.answer[call.next++];
    if (on_path.count(b) != 0) continue;
    const int kind = RouteKindOf(b, kRouteKindPart);
    if (kind == kRouteKindPart) {
      if (EtatIsThree(b)) {
        call.sawStateThree = true;
      } else {
        call.passedPart = true;
      }
    } else if (kind != kRouteKindElement) {
      continue;
    }
    if (b == terminal && ElementClassOf(b) == BlockClass::RT) {
      if (!call.panelMode && !call.passedPart) {
        WriteRowAuto(b, row);
        WriteBeyondTerminal(elements, b, call.point, row);
      }
      call.found = true;
      continue;
    }
    CString text = call.names;
    AcGePoint3dArray points;
    if (!ConnectPoints(b, points)) continue;
    if (points.length() == 3 && IsHatchedPanel(b)) {
      text += PanelLink(b, row);
      call.panelMode = true;
      call.panelSet = true;
    }
    call.inElement = true;
    call.element = b;
    call.text = text;
    call.points = points;
    call.nextPoint = 0;
    call.reached = false;
    on_path.insert(b);
  }
  return result;
}

void WriteBeyondTerminal(const AcDbObjectIdArray& elements, AcDbObjectId terminal,
                         const AcGePoint3d& point, int row) {
  AcGePoint3dArray points;
  if (!ConnectPoints(terminal, points) || points.length() != 2) return;
  const AcGePoint3d far_end =
      points[1].distanceTo(point) > points[0].distanceTo(point) ? points[1] : points[0];
  AcDbObjectIdArray blocks;
  int count = 0;
  if (RootComn_GetConnectBlock7(elements, terminal, far_end, blocks, count, 0, 3) != 0) return;
  for (int i = 0; i < blocks.length(); ++i) {
    if (EtatIsRoute(blocks[i])) WriteRowAuto(blocks[i], row);
  }
}
