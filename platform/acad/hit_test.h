// Hit testing: which entity of a drawing lies under a point, for picks, and which entities a
// window or crossing rectangle takes, for selections.
//
// Geometry is tested in the XY plane (plan view): distance to lines, polyline segments (arcs for
// bulges), points, circles, arcs and ellipse arcs; the text box (alignment and rotation included);
// hatches inside their polyline loops or near them; block references through their block's
// entities under the reference's transform. Erased and invisible entities and entities on
// frozen or switched-off layers are never hit. The topmost entity is the last drawn. The box and
// rectangle tests below look at geometry only: which entities they are asked about is the
// selection's choice.
#pragma once

#include <optional>
#include <vector>

#include <dbid.h>
#include <gemat3d.h>
#include <gepnt3d.h>
#include "platform/acad/plan_geometry.h"

class AcDbEntity;

namespace platform::acad {

// The working drawing's global scale: header $DIMSCALE, 1.0 when there is no working drawing or
// the value is not positive.
double GlobalScale();
// Sets the working drawing's $DIMSCALE; false without a working drawing or for a value <= 0.
bool SetGlobalScale(double scale);

// The pick aperture in drawing units: 1.0 × GlobalScale(), a fixed box as a pick box of a few
// pixels would be on a drawing shown at its usual plotting scale.
double PickAperture();

// The entity picked, the block references around it and its model-to-world transform.
struct PickPath {
  std::vector<AcDbObjectId> containers;  // block references, outermost first
  AcDbObjectId entity;
  AcGeMatrix3d xform;  // identity for a top-level entity
};

// The topmost entity of the block table record `space` (usually model space) within `aperture`
// of `point` (world coordinates). With `nested`, a hit block reference is entered and the
// topmost entity under the point inside it is taken, down to the deepest level; without, the
// block reference itself is the result. Nothing: no entity is hit.
std::optional<PickPath> PickEntityAt(AcDbObjectId space, const AcGePoint3d& point, double aperture,
                                     bool nested);

// The first entity inside a block reference for a pick by name: the first entity of its block
// that can be drawn (attribute definitions skipped), descending through nested references.
// Nothing when `reference` is no block reference or its block holds nothing to pick.
std::optional<PickPath> FirstEntityInside(AcDbObjectId reference);

// Whether an open entity lies within `aperture` of `point`, both in the entity's coordinates.
bool EntityHit(const AcDbEntity* entity, const AcGePoint3d& point, double aperture);

// Whether `entity` may be picked at all (not erased, visible, on a thawed layer that is on).
bool IsPickable(const AcDbEntity* entity);

// The world-coordinate box of an entity's geometry for window selections; false when it has
// none. Block references give the box of what they show: their block's entities, each boxed
// under the reference's transform, and their visible attributes (invisible ones are not drawn).
bool EntityBox(AcDbObjectId entity, AcGePoint3d& min, AcGePoint3d& max);

// Whether a top-level entity meets `rectangle` (world coordinates, edges included), for crossing
// selections. Lines, lightweight polylines (bulges as arcs), circles and arcs are tested by their
// geometry, so a diagonal line whose box overlaps the rectangle while the line passes by it does
// not meet it, nor does a closed outline that lies all round it. Any other entity, block
// references included, meets the rectangle when its EntityBox overlaps or touches it. False
// when the entity cannot be opened or has no box.
bool EntityMeetsRectangle(AcDbObjectId entity, const PlanRectangle& rectangle);

// A point on the entity (world coordinates after `xform`), used as the pick point when the
// user names the entity rather than pointing at it: a line's middle, a polyline's first
// segment's middle, a circle's or arc's point at its middle angle, a text's or point's position.
AcGePoint3d PointOnEntity(AcDbObjectId entity, const AcGeMatrix3d& xform);

}  // namespace platform::acad
