// VuRida.dll's route functions (prefix RootComn_): route kinds, route groups, connections.
//
// A route element or part block is a block reference with XData of the application "RQ_LINK"
// whose first string is its route kind in decimal (0 part block, 3 route element). Route groups
// are group objects of the drawing's group dictionary holding one route's elements and the part
// blocks at its ends. Two elements are connected at a point when each has a connection point
// (VuRida_GetConnectPoint on RQCONECT_LAYER) equal to it.
#pragma once

#include <afx.h>
#include <afxcoll.h>
#include <dbid.h>
#include <gepnt3d.h>

class AcDbEllipse;
class AcDbEntity;

// Writes the route kind of entity `id` into `kind`. Result 0; 1 when the entity has no "RQ_LINK"
// XData or its first string is not a decimal integer, -1 when it cannot be opened; `kind` is
// left unchanged on failure (callers preset it).
int RootComn_GetBlockRootKind(AcDbObjectId id, int& kind);

// The groups of the group dictionary of the entity's drawing (else the working drawing) that
// hold entity `id`, in dictionary order, found from the entity's persistent reactors (each group
// keeps itself there for its members), so that the cost does not grow with the drawing: their ids
// in `groups`, names in `names` and entity counts in `sizes` (all emptied first), their number in
// `count`. With `kind` 3 only route groups count (groups holding at least one route element, route
// kind 3); with -1 every group holding the entity. `maxCount` limits the answer (0: no limit).
// Result 0 when at least one group was found, 1 when none, -1 without a drawing or group
// dictionary.
int RootComn_GetRootGroups(AcDbObjectId id, int& count, AcDbObjectIdArray& groups,
                           CStringArray& names, CUIntArray& sizes, int kind, int maxCount);

// Connection queries. The answer holds, in member order, every member other than `from` that has
// a connection point equal to `point`, where equal means within AcGeContext::gTol.equalPoint()
// (the same test that callers apply with AcGePoint3d::isEqualTo, so that a trace which excludes
// the point it arrived at never finds its way back). With `dimension` 2 only x and y are
// compared (plan view), with 3 all three coordinates. `maxCount` limits the answer (0: no
// limit). `blocks` is emptied first and `count` is its length. Result 0 when at least one member
// was found, 1 when none, -1 for unusable arguments (a group that cannot be opened).
//
// The first question with a list (or a copy of it: the same AcArray::contentStamp) or a group
// reads its members and their connection points, in time that grows with the list; a question
// asked again with it looks only at the elements near the point, whatever the list's length.
// What is kept follows the drawing's changes (AcDbDatabaseReactor): an element moved, erased,
// unerased, appended to or removed from a group is answered accordingly at the next question.
// Members of another drawing than the list's first member are never answered.
int RootComn_GetConnectBlock5(AcDbObjectId group, AcDbObjectId from, const AcGePoint3d& point,
                              AcDbObjectIdArray& blocks, int& count, int maxCount, int dimension);
int RootComn_GetConnectBlock7(const AcDbObjectIdArray& members, AcDbObjectId from,
                              const AcGePoint3d& point, AcDbObjectIdArray& blocks, int& count,
                              int maxCount, int dimension);

// The insertion point of block reference `id`. Result 0; 1 when it is no block reference or
// cannot be opened.
int RootComn_GetOriginPoint(AcDbObjectId id, AcGePoint3d& origin);

// A new elliptical arc, owned by the caller and in no database: centre `center`, axis lengths
// `majorLength` (along the direction `axisAngle`) and `minorLength` (across it), from parameter
// angle `startAngle` to `endAngle`, all angles in radians in the XY plane. A minor length greater
// than the major one gives the same curve (the axes swap roles). Result 0; 1 when a length is
// not positive (output null).
int RootComn_CreateEllipse(AcDbEllipse*& ellipse, const AcGePoint3d& center, double majorLength,
                           double minorLength, double axisAngle, double startAngle,
                           double endAngle);
int RootComn_CreateEllipse(AcDbEntity*& ellipse, const AcGePoint3d& center, double majorLength,
                           double minorLength, double axisAngle, double startAngle,
                           double endAngle);

// The point at `distance` from `base` in the direction `angle` (degrees, counter-clockwise from
// the x axis, in the XY plane; z kept). Result 0.
int RootComn_PointRotation2(const AcGePoint3d& base, double distance, double angle,
                            AcGePoint3d& result);
