// Texts in SVG pictures: the markup of one TEXT or ATTRIB, placed by its box.
#pragma once

#include <dbents.h>

#include <string>

namespace host {

// A point of the picture: drawing coordinates with Y flipped (SVG's Y points down).
struct SvgPoint {
  double x = 0, y = 0;
};

// The markup of `text` drawn in its box, filled with `colour` ("#rrggbb"). `corners` are the
// box's corners as AcDbText::getBoundingPoints gives them (base-line start, base-line end, top
// end, top start), carried into the picture with whatever transform draws the text (a block
// reference's, mirroring included): the markup maps the text's own frame onto them, so that
// alignment, rotation, width factor and that transform are all kept. Empty when the text has
// nothing to draw: no characters, or a height or measured width that is not positive.
std::string TextMarkup(const AcDbText& text, const SvgPoint (&corners)[4],
                       const std::string& colour);

}  // namespace host
