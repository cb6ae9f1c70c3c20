// Geometry of the plan view (the XY plane) behind picks and selections: distances to segments
// and arcs, polyline bulges as arcs, and whether a segment or an arc meets a rectangle.
//
// Everything here is pure arithmetic on doubles; nothing opens the database. Picks measure
// distances against an aperture; crossing selections ask whether drawn geometry meets the
// selection rectangle, where a point on an edge belongs to the rectangle.
#pragma once

#include <vector>

namespace platform::acad {

struct PlanPoint {
  double x, y;
};

// An axis-aligned rectangle; x0 <= x1 and y0 <= y1. Its edges belong to it.
struct PlanRectangle {
  double x0, y0, x1, y1;
};

// A circular arc swept counter-clockwise from `start` to `end` (radians, any turn); equal
// angles sweep the whole circle.
struct PlanArc {
  PlanPoint centre;
  double radius, start, end;
};

double Dist(PlanPoint a, PlanPoint b);
double DistToSegment(PlanPoint p, PlanPoint a, PlanPoint b);
// Whether `angle` lies on the counter-clockwise sweep from `start` to `end`.
bool AngleOnSweep(double angle, double start, double end);
double DistToArc(PlanPoint p, const PlanArc& arc);

// Whether a polyline segment from a to b with this bulge (tan of a quarter of the included
// angle, positive counter-clockwise) is drawn straight: no bulge to speak of, or no length.
bool IsStraight(PlanPoint a, PlanPoint b, double bulge);
// The arc of a polyline segment that is not IsStraight().
PlanArc BulgeArc(PlanPoint a, PlanPoint b, double bulge);
double DistToBulgeSegment(PlanPoint p, PlanPoint a, PlanPoint b, double bulge);

// Even-odd test; a point on the outline may fall either way.
bool InsidePolygon(PlanPoint p, const std::vector<PlanPoint>& polygon);

bool InRectangle(PlanPoint p, const PlanRectangle& r);
// Whether some point of the segment from a to b lies in the rectangle (touching an edge or a
// corner counts). Exact for segments that end on an edge or run along one.
bool SegmentMeetsRectangle(PlanPoint a, PlanPoint b, const PlanRectangle& r);
// Whether some point of the arc lies in the rectangle. `from` and `to` are the arc's ends as
// the caller has them (a polyline's vertices), so that an end on an edge is not lost to the
// rounding of a cosine; for a whole circle both are any one point of it.
bool ArcMeetsRectangle(const PlanArc& arc, PlanPoint from, PlanPoint to, const PlanRectangle& r);

}  // namespace platform::acad
