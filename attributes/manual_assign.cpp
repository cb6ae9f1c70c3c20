// Manual assignment: the command's pick loop and checks, and the depth-first trace through a
// route group.
#include "attributes/manual_assign.h"

#include <RootComn.h>
#include <VuRida.h>
#include <acutads.h>
#include <adsdef.h>
#include <gegbl.h>

#include <vector>

#include "app/palette_access.h"
#include "attributes/element_class.h"
#include "attributes/route_pick.h"
#include "attributes/row_writer.h"

namespace {

// One pending call of the trace: the elements of the group connected to `from` at `point`,
// asked for when the call starts, and how far the call has got through them. The trace keeps
// these on a stack of its own rather than the machine's, so that a route of many thousand
// elements in a row cannot exhaust the stack; the order of the writes is that of the recursion.
struct TraceCall {
  TraceCall(AcDbObjectId from_element, const AcGePoint3d& at) : from(from_element), point(at) {}
  AcDbObjectId from;
  AcGePoint3d point;
  bool started = false;
  AcDbObjectIdArray answer;
  int next = 0;
};

bool IsWritable(AcDbObjectId id) {
  return RouteKindOf(id, kRouteKindPart) == kRouteKindElement || EtatIsRoute(id);
}

bool IsTraced(BlockClass c) {
  return c == BlockClass::KK || c == BlockClass::RT || c == BlockClass::RB;
}

// The part of the command that runs while the document is locked; the caller unlocks.
void AssignLocked() {
  AcDbObjectId segment;
  if (PickRouteSegment(L"\n配線経路を選択:", L"\nERROR:配線ではありません。", segment) != RTNORM)
    return;
  AcGePoint3dArray points;
  if (VuRida_GetConnectPoint(segment, points, RQCONECT_LAYER, nullptr) != 0) {
    acutPrintf(L"\nERROR:接続点が取得出来ません。");
    return;
  }
  int count = 0;
  AcDbObjectIdArray groups;
  CStringArray names;
  CUIntArray sizes;
  if (RootComn_GetRootGroups(segment, count, groups, names, sizes, 3, 0) != 0) {
    acutPrintf(L"\nERROR:ｸﾞﾙｰﾌﾟIDが取得出来ません。");
    return;
  }
  const PaletteAccess* palette = PaletteAccessInstance();
  if (palette == nullptr) {
    acutPrintf(L"\nERROR:設定画面を表示して下さい。");
    return;
  }
  CUIntArray rows;
  if (palette->GetCheckedRows(rows) == 0) {
    acutPrintf(L"\nERROR:選択されているデータがありません。");
    return;
  }
  acutPrintf(L"\n配線情報設定中...");
  WriteRows(segment, rows);
  for (int g = 0; g < count && g < groups.length(); ++g) {
    // Each group is walked on its own, as the groups may share elements: a set for the whole
    // run would stop the second group's walk at a shared element and miss what lies beyond it.
    EnteredElements entered(segment);
    for (int p = 0; p < points.length(); ++p) {
      TraceManual(groups[g], segment, points[p], rows, entered);
    }
  }
  acutPrintf(L"設定が終了しました。\n");
}

}  // namespace

bool TraceManual(AcDbObjectId group, AcDbObjectId from, const AcGePoint3d& point,
                 const CUIntArray& rows, EnteredElements& entered) {
  std::vector<TraceCall> stack;
  stack.emplace_back(from, point);
  bool first_answered = true;
  while (!stack.empty()) {
    TraceCall& call = stack.back();
    if (!call.started) {
      call.started = true;
      int count = 0;
      const int rc =
          RootComn_GetConnectBlock5(group, call.from, call.point, call.answer, count, 0, 3);
      if (rc != 0 || count == 0) {
        if (stack.size() == 1) first_answered = false;
        stack.pop_back();
        continue;
      }
    }
    if (call.next >= call.answer.length()) {
      stack.pop_back();
      continue;
    }
    const AcDbObjectId element = call.answer[call.next++];
    const AcGePoint3d arrival = call.point;  // `call` may move when calls are pushed below
    if (!IsWritable(element)) continue;
    const BlockClass kind = ElementClassOf(element);
    if (!IsTraced(kind) || !entered.Enter(element)) continue;
    WriteRows(element, rows);
    if (kind == BlockClass::KK) continue;
    AcGePoint3dArray points;
    if (VuRida_GetConnectPoint(element, points, RQCONECT_LAYER, nullptr) != 0) continue;
    // Pushed last to first, so that the element's first point is walked first.
    for (int k = points.length() - 1; k >= 0; --k) {
      if (points[k].isEqualTo(arrival, AcGeContext::gTol)) continue;
      stack.emplace_back(element, points[k]);
    }
  }
  return first_answered;
}

void CmdManualSet() {
  RunRowAssignment(AssignLocked);
}
