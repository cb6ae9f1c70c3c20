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
