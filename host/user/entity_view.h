// Plain-text views of the drawing for `show entity H` and `show drawing`.
//
// One entity is a heading line "entity H TYPE" (TYPE as DXF names it: INSERT, LINE, POINT, ...)
// followed by indented property lines in a fixed order: layer, colour, then what the type has
// (block, position, rotation in degrees, scale; start and end; text and height), then one line
// per attribute "attribute TAG VALUE" and one line per XData item "xdata APP CODE VALUE" (an
// empty value leaves the line at "attribute TAG", without a trailing blank).
// Numbers are printed with up to 10 significant digits ("%.10g"), so that the text is stable.
#pragma once

#include <cstdint>
#include <string>

class AcDbDatabase;

namespace host {

// The entity with drawing handle `handle`, or "entity H: no such entity".
std::wstring DescribeEntity(AcDbDatabase* db, uint64_t handle);
// "drawing: N entities" and every entity of model space in drawing order; then, while transient
// graphics are shown (a drag's entities), "shown: M temporary entities" and each of them in the
// order shown, its heading "temporary TYPE" (it has no handle) and its lines as above.
std::wstring DescribeDrawing(AcDbDatabase* db);

}  // namespace host
