// The nested pick of a route element: the user points at something drawn inside a route
// element, and Harnex learns both the entity under the cursor and the element around it.
#pragma once

#include <dbid.h>
#include <gepnt3d.h>

// Asks with `prompt` (acedNEntSelP) for an entity inside a route element and gives back the
// picked entity in `entityId`, the pick point in `pickPoint` and the route element in
// `elementId`: the outermost block reference around the picked entity, which must carry
// "RQ_LINK" data. Both ids are made null first.
// The prompt is asked again after a pick on empty space, after a pick of a top-level entity (no
// block around it) and after a pick inside a block reference without "RQ_LINK" data; the
// outputs are set only when a pick is accepted.
// Result RTNORM for an accepted pick; RTNONE for an empty response (Enter); any other result of
// the pick, such as RTCAN for a cancel, unchanged.
int PickRouteElement(const wchar_t* prompt, AcDbObjectId& entityId, AcGePoint3d& pickPoint,
                     AcDbObjectId& elementId);

// Asks with `prompt` (VuRida_locate, block references only, retried on a miss) until the pick
// gives exactly one route segment (route kind 3, class RT), and sets `segment` to it. A pick
// of zero or several entities asks again without a word; a block that is no route element
// prints `notRouteMessage`, a route element that is no segment "\nERROR:経路ではありません。",
// and asks again. Result RTNORM with `segment` set, or the pick's own result (RTNONE, RTCAN)
// when the user ends it.
int PickRouteSegment(const wchar_t* prompt, const wchar_t* notRouteMessage, AcDbObjectId& segment);

// The shell of the commands that write palette rows onto route elements: without the palette
// "\nERROR:設定画面を表示して下さい。" and nothing else; otherwise `assign` runs with the current
// document locked, and a lock that fails ends the command.
void RunRowAssignment(void (*assign)());
