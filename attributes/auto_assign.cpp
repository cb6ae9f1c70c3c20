// Automatic assignment: the pick of the terminal segment, the gathering of its network, the two
// passes and the trace that writes on its way back.
#include "attributes/auto_assign.h"

#include <acutads.h>
#include <adsdef.h>
#include <dbgroup.h>
#include <gegbl.h>

#include <deque>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/harnex_module.h"
#include "attributes/element_class.h"
#include "attributes/route_pick.h"
#include "attributes/row_writer.h"
#include "attributes/run_marks.h"
#include "maker/AttributeData.h"
#include "maker/RootComn.h"
#include "maker/VuRida.h"
#include "palette/main_dialog.h"

namespace {

bool ConnectPoints(AcDbObjectId id, AcGePoint3dArray& points) {
  return VuRida_GetConnectPoint(id, points, RQCONECT_LAYER, nullptr) == 0;
}

bool RouteGroupsOf(AcDbObjectId id, int& count, AcDbObjectIdArray& groups) {
  CStringArray names;
  CUIntArray sizes;
  return RootComn_GetRootGroups(id, count, groups, names, sizes, 3, 0) == 0;
}

bool GroupEntities(AcDbObjectId group, AcDbObjectIdArray& ids) {
  AcDbGroup* g = nullptr;
  if (acdbOpenObject(g, group, AcDb::kForRead) != Acad::eOk || g == nullptr) return false;
  g->allEntityIds(ids);
  g->close();
  return true;
}

// Appends to `reached` every route group of the part blocks of `group` not yet in it, each
// expanded as soon as it is appended: the reached groups are the visited set, so this ends.
void ExpandGroup(AcDbObjectId group, AcDbObjectIdArray& reached,
                 std::unordered_set<AcDbObjectId>& reached_set) {
  AcDbObjectIdArray ids;
  if (!GroupEntities(group, ids)) return;
  for (int i = 0; i < ids.length(); ++i) {
    if (RouteKindOf(ids[i], -1) != kRouteKindPart) continue;
    int n = 0;
    AcDbObjectIdArray found;
    if (!RouteGroupsOf(ids[i], n, found)) continue;
    for (int k = 0; k < n && k < found.length(); ++k) {
      if (!reached_set.insert(found[k]).second) continue;
      reached.append(found[k]);
      ExpandGroup(found[k], reached, reached_set);
    }
  }
}

// One pass: traces from every element of the list for which `start` gives the names of a
// ticked row. False when the palette went away (the message is printed).
template <typename StartNames>
bool RunPass(const AcDbObjectIdArray& elements, AcDbObjectId terminal, StartNames start) {
  for (int i = 0; i < elements.length(); ++i) {
    if (PaletteInstance == nullptr) {
      acutPrintf(L"\nERROR:設定画面が見つかりません。処理を中止します。");
      return false;
    }
    const AcDbObjectId e = elements[i];
    const CString names = start(e);
    int row = -1;
    if (names.IsEmpty() || !PaletteInstance->FindCheckedRowByPanelName(names, row)) continue;
    AcGePoint3dArray points;
    if (!ConnectPoints(e, points)) continue;
    for (int p = 0; p < points.length(); ++p) {
      TraceAuto(elements, terminal, points[p], e, row, false, false, nullptr);
    }
  }
  return true;
}

// The part of the command that runs while the document is locked; the caller unlocks.
void AssignLocked() {
  AcDbObjectId terminal;
  if (PickRouteSegment(L"\n末端経路を選択:", L"\nERROR:配線経路ではありません。", terminal) !=
      RTNORM)
    return;
  int count = 0;
  AcDbObjectIdArray terminalGroups;
  if (!RouteGroupsOf(terminal, count, terminalGroups)) {
    acutPrintf(L"\nERROR:ｸﾞﾙｰﾌﾟIDが取得出来ません。");
    return;
  }
  AcDbObjectIdArray groups, elements;
  CollectRouteNetwork(terminalGroups, count, groups, elements);
  ClearRunMarks(elements);
  acutPrintf(L"\n配線情報設定中...");
  const bool went_on = RunPass(elements, terminal, [](AcDbObjectId e) {
    if (RouteKindOf(e, kRouteKindPart) != kRouteKindPart) return CString();
    return CAttributeData::GetValueAttID(e, L"S001");
  });
  if (!went_on) return;
  if (!RunPass(elements, terminal, [](AcDbObjectId e) {
        if (RouteKindOf(e, kRouteKindPart) != kRouteKindElement) return CString();
        if (ElementClassOf(e) != BlockClass::RBT || !IsHatchedPanel(e)) return CString();
        return ReadBanLink(e);
      })) {
    return;
  }
  acutPrintf(L"設定が終了しました。\n");
}

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

void CollectRouteNetwork(const AcDbObjectIdArray& terminalGroups, int count,
                         AcDbObjectIdArray& groups, AcDbObjectIdArray& elements) {
  groups.setLogicalLength(0);
  elements.setLogicalLength(0);
  std::unordered_set<AcDbObjectId> in_groups;
  for (int i = 0; i < count && i < terminalGroups.length(); ++i) {
    if (in_groups.insert(terminalGroups[i]).second) groups.append(terminalGroups[i]);
  }
  AcDbObjectIdArray reached;
  std::unordered_set<AcDbObjectId> reached_set;
  for (int i = 0; i < count && i < terminalGroups.length(); ++i) {
    ExpandGroup(terminalGroups[i], reached, reached_set);
    for (int k = 0; k < reached.length(); ++k) {
      if (in_groups.insert(reached[k]).second) groups.append(reached[k]);
    }
  }
  std::unordered_set<AcDbObjectId> in_elements;
  for (int i = 0; i < groups.length(); ++i) {
    AcDbObjectIdArray ids;
    if (!GroupEntities(groups[i], ids)) continue;
    for (int k = 0; k < ids.length(); ++k) {
      if (in_elements.insert(ids[k]).second) elements.append(ids[k]);
    }
  }
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

void CmdAutoSet() {
  if (PaletteInstance == nullptr) {
    acutPrintf(L"\nERROR:設定画面を表示して下さい。");
    return;
  }
  if (!LockCurrentDocument(true)) return;
  AssignLocked();
  LockCurrentDocument(false);
}
