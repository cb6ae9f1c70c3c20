// Manual assignment (RQ_HARNEX_MANUALSET): the rows ticked in the palette go to one route
// segment that the user picks and to every wiring element that its route groups connect to it,
// followed outwards from each end of the segment.
//
// The command, step by step as the user sees it:
//   no palette                     "\nERROR:設定画面を表示して下さい。", nothing else happens
//   "\n配線経路を選択:"             the pick (VuRida_locate); Esc or Enter ends the command
//   a pick of no or several ids    asked again, silently
//   not a route element (kind 3)   "\nERROR:配線ではありません。", asked again
//   a route element but no RT      "\nERROR:経路ではありません。", asked again
//   no connection points           "\nERROR:接続点が取得出来ません。", end
//   no route groups                "\nERROR:ｸﾞﾙｰﾌﾟIDが取得出来ません。", end
//   the palette closed meanwhile   "\nERROR:設定画面を表示して下さい。", end
//   no ticked row                  "\nERROR:選択されているデータがありません。", end
//   otherwise                      "\n配線情報設定中...", the writes (an element that cannot be
//                                  written prints WriteRows' message and the trace goes on),
//                                  then "設定が終了しました。\n"
// The document is locked for writing from before the pick to every way out.
#pragma once

#include <afxcoll.h>
#include <dbid.h>
#include <gepnt3d.h>

#include <unordered_set>
#include <vector>

// The command handler (registered as RQ_HARNEX_MANUALSET; declared in app/command_handlers.h).
void CmdManualSet();

// The elements a trace has entered in the walk of one route group, in the order it entered
// them.
class EnteredElements {
 public:
  EnteredElements() = default;
  explicit EnteredElements(AcDbObjectId start) { Enter(start); }
  // False when `id` was entered already.
  bool Enter(AcDbObjectId id) {
    if (!set_.insert(id).second) return false;
    order_.push_back(id);
    return true;
  }
  bool Contains(AcDbObjectId id) const { return set_.count(id) != 0; }
  const std::vector<AcDbObjectId>& order() const { return order_; }

 private:
  std::unordered_set<AcDbObjectId> set_;
  std::vector<AcDbObjectId> order_;
};

// Writes the palette rows `rows` (WriteRows) to the elements of route group `group` that are
// connected to `from` at `point`, and beyond them, depth first: every branch is followed to its
// end before the next element of the same answer. An element is written when it is a route
// element (route kind 3) or its "ETAT" is 1 or 2, and its class is KK, RT or RB; RBT, RBS and
// other blocks are passed over. From an RT or RB element the walk goes on at each of its
// connection points other than the one it arrived at (AcGePoint3d::isEqualTo, gTol); a KK
// element is written and ends its branch.
// `entered` ends cycles: an element already in it is neither written nor passed again, and
// every element written is added. On a network without cycles no element is met twice in one
// group's walk, so the set changes nothing there. The caller puts the starting element in it.
// Result false when `group` answers nothing at `point` (or cannot be opened), else true.
bool TraceManual(AcDbObjectId group, AcDbObjectId from, const AcGePoint3d& point,
                 const CUIntArray& rows, EnteredElements& entered);
