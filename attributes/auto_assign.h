// Automatic assignment (RQ_HARNEX_AUTOSET): the user picks the terminal route segment, where the
// wires of a route network end; every path from a panel or load whose part number matches a
// ticked palette row to that segment gets the row.
//
// The command, step by step as the user sees it:
//   no palette                     "\nERROR:設定画面を表示して下さい。", nothing else happens
//   "\n末端経路を選択:"             the pick (VuRida_locate); Esc or Enter ends the command
//   a pick of no or several ids    asked again, silently
//   not a route element (kind 3)   "\nERROR:配線経路ではありません。", asked again
//   a route element but no RT      "\nERROR:経路ではありません。", asked again
//   no route groups                "\nERROR:ｸﾞﾙｰﾌﾟIDが取得出来ません。", end
//   otherwise                      the run markers of the whole network are cleared,
//                                  "\n配線情報設定中...", pass 1 from the part blocks (part
//                                  number "S001"), pass 2 from the hatched RBT panels (their
//                                  "RQPX_BANLINK"), then "設定が終了しました。\n"
//   the palette closed in a pass   "\nERROR:設定画面が見つかりません。処理を中止します。", end;
//                                  what was written stays
// The document is locked for writing from before the pick to every way out.
#pragma once

#include <afx.h>
#include <dbid.h>
#include <gepnt3d.h>

#include "attributes/auto_trace.h"

// The command handler (registered as RQ_HARNEX_AUTOSET; declared in app/command_handlers.h).
void CmdAutoSet();

// The network of terminal segment's route groups: `groups` (emptied first) becomes the first
// `count` entries of `terminalGroups`, then every group reached from the part blocks (route
// kind 0) of those groups, and from the part blocks of the groups reached, each once, depth
// first in the order found; `elements` (emptied first) the distinct entity ids of those groups,
// groups in list order and entities in group order. Groups that cannot be opened add nothing.
void CollectRouteNetwork(const AcDbObjectIdArray& terminalGroups, int count,
                         AcDbObjectIdArray& groups, AcDbObjectIdArray& elements);

// Whether the runs' traces take a way that reached the terminal before as found (true, the
// default; see AutoTrace). False follows every way again: the plain walk, which tests compare
// the drawing with.
void SetAutoTraceRemembersFoundWays(bool remember);
