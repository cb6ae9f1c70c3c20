// Automatic assignment: the pick of the terminal segment, the gathering of its network and the
// two passes; the trace that they start is in auto_trace.cpp.
#include "attributes/auto_assign.h"

#include <AttributeData.h>
#include <RootComn.h>
#include <VuRida.h>
#include <acutads.h>
#include <adsdef.h>
#include <dbgroup.h>

#include <unordered_set>

#include "app/palette_access.h"
#include "attributes/element_class.h"
#include "attributes/route_pick.h"
#include "attributes/run_marks.h"

namespace {

bool g_remember_found_ways = true;

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
bool RunPass(const AcDbObjectIdArray& elements, AutoTrace& trace, StartNames start) {
  for (int i = 0; i < elements.length(); ++i) {
    const PaletteAccess* palette = PaletteAccessInstance();
    if (palette == nullptr) {
      acutPrintf(L"\nERROR:設定画面が見つかりません。処理を中止します。");
      return false;
    }
    const AcDbObjectId e = elements[i];
    const CString names = start(e);
    int row = -1;
    if (names.IsEmpty() || !palette->FindCheckedRowByPanelName(names, row)) continue;
    AcGePoint3dArray points;
    if (!ConnectPoints(e, points)) continue;
    for (int p = 0; p < points.length(); ++p) {
      trace.Trace(points[p], e, row, false, false, nullptr);
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
  // Both passes share what their traces learn about the network.
  AutoTrace trace(elements, terminal, g_remember_found_ways);
  const bool went_on = RunPass(elements, trace, [&trace](AcDbObjectId e) {
    if (trace.KindOf(e) != kRouteKindPart) return CString();
    return CAttributeData::GetValueAttID(e, L"S001");
  });
  if (!went_on) return;
  if (!RunPass(elements, trace, [&trace](AcDbObjectId e) {
        if (trace.KindOf(e) != kRouteKindElement) return CString();
        if (ElementClassOf(e) != BlockClass::RBT || !IsHatchedPanel(e)) return CString();
        return ReadBanLink(e);
      })) {
    return;
  }
  acutPrintf(L"設定が終了しました。\n");
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

void SetAutoTraceRemembersFoundWays(bool remember) {
  g_remember_found_ways = remember;
}

void CmdAutoSet() {
  RunRowAssignment(AssignLocked);
}
