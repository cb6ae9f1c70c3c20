// Plan-view geometry: distances, bulge arcs and the meeting of segments and arcs with rectangles.
#include "platform/acad/plan_geometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace platform::acad {
namespace {
constexpr double kPi = std::numbers::pi;
}  // namespace

double Dist(PlanPoint a, PlanPoint b) {
  return std::hypot(a.x - b.x, a.y - b.y);
}

double DistToSegment(PlanPoint p, PlanPoint a, PlanPoint b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double len2 = dx * dx + dy * dy;
  if (len2 == 0) return Dist(p, a);
  const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0);
  return Dist(p, {a.x + t * dx, a.y + t * dy});
}

bool AngleOnSweep(double angle, double start, double end) {
  auto norm = [](double a) {
    a = std::fmod(a, 2 * kPi);
    return a < 0 ? a + 2 * kPi : a;
  };
  const double sweep = norm(end - start);
  return norm(angle - start) <= (sweep == 0 ? 2 * kPi : sweep);
}

double DistToArc(PlanPoint p, const PlanArc& arc) {
  const PlanPoint c = arc.centre;
  const double r = arc.radius;
  const double angle = std::atan2(p.y - c.y, p.x - c.x);
  if (AngleOnSweep(angle, arc.start, arc.end)) return std::fabs(Dist(p, c) - r);
  PlanPoint s{c.x + r * std::cos(arc.start), c.y + r * std::sin(arc.start)};
  PlanPoint e{c.x + r * std::cos(arc.end), c.y + r * std::sin(arc.end)};
  return std::min(Dist(p, s), Dist(p, e));
}

bool IsStraight(PlanPoint a, PlanPoint b, double bulge) {
  return std::fabs(bulge) < 1e-12 || (a.x == b.x && a.y == b.y);
}

PlanArc BulgeArc(PlanPoint a, PlanPoint b, double bulge) {
  const double chord = Dist(a, b);
  const double included = 4 * std::atan(bulge);
  const double r = chord / (2 * std::sin(std::fabs(included) / 2));
  // The centre lies on the chord's perpendicular bisector, on the left of a counter-clockwise
  // arc of less than half a turn; the cosine turns negative for more than half a turn.
  const double h = r * std::cos(std::fabs(included) / 2);
  const PlanPoint mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
  const double ux = (b.x - a.x) / chord, uy = (b.y - a.y) / chord;
  const double side = bulge > 0 ? 1 : -1;
  const PlanPoint c{mid.x - uy * h * side, mid.y + ux * h * side};
  double start = std::atan2(a.y - c.y, a.x - c.x), end = std::atan2(b.y - c.y, b.x - c.x);
  if (bulge < 0) std::swap(start, end);
  return {c, r, start, end};
}

double DistToBulgeSegment(PlanPoint p, PlanPoint a, PlanPoint b, double bulge) {
  if (IsStraight(a, b, bulge)) return DistToSegment(p, a, b);
  return DistToArc(p, BulgeArc(a, b, bulge));
}

bool InsidePolygon(PlanPoint p, const std::vector<PlanPoint>& poly) {
  bool inside = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    if ((poly[i].y > p.y) != (poly[j].y > p.y) &&
        p.x < (poly[j].x - poly[i].x) * (p.y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
      inside = !inside;
  }
  return inside;
}

bool InRectangle(PlanPoint p, const PlanRectangle& r) {
  return p.x >= r.x0 && p.x <= r.x1 && p.y >= r.y0 && p.y <= r.y1;
}

// Clips the segment's parameter range [0,1] against the four edges in turn (Liang and Barsky);
// what is left of it lies inside. Comparisons and one division per edge only, so that a segment
// that ends on an edge or passes through a corner is not lost to rounding.
bool SegmentMeetsRectangle(PlanPoint a, PlanPoint b, const PlanRectangle& r) {
  if (InRectangle(a, r) || InRectangle(b, r)) return true;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double towards[4] = {-dx, dx, -dy, dy};
  const double room[4] = {a.x - r.x0, r.x1 - a.x, a.y - r.y0, r.y1 - a.y};
  double enter = 0, leave = 1;
  for (int i = 0; i < 4; ++i) {
    if (towards[i] == 0) {
      if (room[i] < 0) return false;  // parallel to this edge and beyond it
      continue;
    }
    const double t = room[i] / towards[i];
    if (towards[i] < 0)
      enter = std::max(enter, t);
    else
      leave = std::min(leave, t);
  }
  return enter <= leave;
}

// An arc whose ends both lie outside the rectangle can only meet it by crossing (or touching)
// an edge, so its ends and its meetings with the four edge lines, kept where they lie on the
// edge and on the sweep, decide.
bool ArcMeetsRectangle(const PlanArc& arc, PlanPoint from, PlanPoint to, const PlanRectangle& r) {
  if (InRectangle(from, r) || InRectangle(to, r)) return true;
  const PlanPoint c = arc.centre;
  auto on_arc = [&](double x, double y) {
    return InRectangle({x, y}, r) && AngleOnSweep(std::atan2(y - c.y, x - c.x), arc.start, arc.end);
  };
  const double r2 = arc.radius * arc.radius;
  for (const double x : {r.x0, r.x1}) {
    const double d = r2 - (x - c.x) * (x - c.x);
    if (d < 0) continue;
    const double h = std::sqrt(d);
    if (on_arc(x, c.y - h) || on_arc(x, c.y + h)) return true;
  }
  for (const double y : {r.y0, r.y1}) {
    const double d = r2 - (y - c.y) * (y - c.y);
    if (d < 0) continue;
    const double w = std::sqrt(d);
    if (on_arc(c.x - w, y) || on_arc(c.x + w, y)) return true;
  }
  return false;
}

}  // namespace platform::acad
