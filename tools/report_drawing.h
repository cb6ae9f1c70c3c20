// What the drawing reports read from one drawing: the wires of its route elements with their
// route lengths, and the elements without a trunk number.
//
// Both read the current drawing (the working database of the current document). The untagged
// elements are selected as the settings check selects them: acedSSGet with the route element
// filter (entities with "RQ_LINK" or "RQ_ATTR" XData, attributes/route_filter.h). The wires come
// from ReadElementWires (attributes/element_wires.h), the connection points from
// VuRida_GetConnectPoint, the untagged test is the settings check's LacksTrunkNumber: the reports
// read the drawing exactly as the commands do. Nothing is written to the drawing.
#pragma once

#include <dbid.h>

#include <string>
#include <vector>

class AcDbDatabase;
class ConstructionItems;

namespace tools {

// Metres per drawing unit, from the header variable $INSUNITS: 4 millimetres (0.001),
// 5 centimetres, 6 metres, and the other units of the DXF reference (1 inches, 2 feet, 7
// kilometres, 10 yards, 14 decimetres ...). 0, absent, unreadable or a unit without a fixed
// length: millimetres, as the route tools draw. `known`, when given, is false for a value that
// was present but not understood (the caller may say so).
double MetresPerUnit(const AcDbDatabase& db, bool* known = nullptr);

// The length of route element `id` in drawing units: the distance between its two connection
// points (the POINT entities on RQ_CONNECT of its block, transformed by the reference: position,
// rotation and scale); with another number of points the largest distance between two of them
// (0 for one point or none). 0 for an entity that is no block reference.
double ElementLength(AcDbObjectId id);

// One line of the wire report: the elements of one drawing that carry the same wire (same system
// number, size text, panel/load name and construction item code).
struct WireLine {
  std::wstring system;
  std::wstring code;  // construction item code as recorded
  std::wstring panel;
  std::wstring size;
  int elements = 0;   // elements carrying it (an element that holds it twice counts once)
  double length = 0;  // sum of their lengths, in drawing units; part blocks add 0
};

// The wire lines of the current drawing. Every model-space entity with an "RQ_ATTR" record list
// (frozen layers too) gives its wires: the first wire when FirstWireIsSet, and every
// further wire. Part blocks (route kind 0) are counted with length 0. The lines are ordered by
// system number (digit runs compared as numbers, so "L-2" comes before "L-10"), then code,
// panel/load name and size text.
std::vector<WireLine> ReadWireLines();

// One element that the settings check would mark.
struct UntaggedElement {
  AcDbObjectId id;
  std::wstring block;  // block name
  std::wstring layer;
  double x = 0, y = 0;  // insertion point
};

// The elements of the current drawing that the settings check marks when nothing is selected:
// the route elements of model space on layers that are not frozen (acedSSGet "A"), in drawing
// order, for which LacksTrunkNumber holds.
std::vector<UntaggedElement> ReadUntaggedElements();

// The name a report shows for a construction item code: the master lists' name (the general
// list's over the trunk list's, as the palette finds it); the code itself when the lists do not
// hold it or none were loaded (`items` null); empty for an empty code.
std::wstring ItemNameForReport(const std::wstring& code, const ConstructionItems* items);

// Compares system numbers the way people read them: runs of digits by their value, other
// characters by their code. Negative, 0 or positive.
int CompareSystemNumbers(const std::wstring& a, const std::wstring& b);

}  // namespace tools
