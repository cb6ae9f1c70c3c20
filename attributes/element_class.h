// How Harnex classifies a route element: route kind, block class, state "ETAT" and the tests
// built from them.
//
// Three properties are read independently:
//   route kind   the integer of the route tools' "RQ_LINK" data (RootComn_GetBlockRootKind):
//                0 part block (panel, load: it carries a part number), 3 route element;
//   block class  from the first characters of the block name (VuRida_GetIDByBlockName);
//   state        the block attribute "ETAT" as a decimal integer (empty or missing: 0).
// None of these functions prints anything or leaves an object open.
#pragma once

#include <afx.h>
#include <dbid.h>

// Route kinds that Harnex tells apart; every other value is "other".
constexpr int kRouteKindPart = 0;
constexpr int kRouteKindElement = 3;

// Block classes by block-name prefix, with the values the route tools give them.
enum class BlockClass : int {
  KK = 0,   // "KK..."
  RT = 1,   // "RT...": route segment
  RB = 2,   // "RB..." with any third character other than "T" and "S" (or none)
  RBT = 3,  // "RBT...": panel block of a route (hatched when it stands for a panel)
  RBS = 7,  // "RBS..."
  Other = -1,
};

// The class of a block name. Prefixes are compared case-sensitively, "KK" first, then "RT",
// then "RB" with its third character: "RBX1" is RB, "RBS1" RBS, "RT" RT, "rt01" Other.
BlockClass BlockClassOfName(const CString& blockName);

// The class of block reference `id`; Other when it is no block reference, cannot be opened or
// its block has no name.
BlockClass ElementClassOf(AcDbObjectId id);

// The route kind of entity `id`, or `preset` when it has none that can be read (no "RQ_LINK"
// data, a first string that is no number, an entity that cannot be opened). Callers choose the
// preset that suits them: 0 treats an unmarked block as a part block, -1 as neither.
int RouteKindOf(AcDbObjectId id, int preset);

// The value of the element's attribute "ETAT" as a decimal integer; 0 when it is empty,
// missing or no number, and for a null id.
int EtatValue(AcDbObjectId id);
// "ETAT" is 1 or 2: the block stands in a route. False for a null id.
bool EtatIsRoute(AcDbObjectId id);
// "ETAT" is 3.
bool EtatIsThree(AcDbObjectId id);

// The element is of class RBT and its block definition holds at least one hatch (the route
// tools' hatched panel blocks). The walk over the definition stops at the first hatch.
bool IsHatchedPanel(AcDbObjectId id);

// The id is not null and the entity carries XData of "RQ_LINK" (its content is not read).
bool HasLinkData(AcDbObjectId id);

// The settings check and the colour recovery look only at these: route kind 3, or route kind 0
// with EtatIsRoute; and a block name, when it can be read, that does not begin with "RBT" (the
// panels keep their own colour). The kind of an entity without readable "RQ_LINK" data counts
// as neither.
bool IsCheckableElement(AcDbObjectId id);
