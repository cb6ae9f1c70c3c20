// Texts in SVG pictures: one TEXT or ATTRIB drawn at the width the program measured.
//
// The program measures text with a monospaced Gothic metric (AcGiTextStyle::extents): a
// full-width character (platform::IsFullWidthChar) takes two half-width cells, every other
// character one, and a cell is half the text height times the width factor. The picture's first
// font, IPAGothic, has that metric (half-width glyphs advance 0.5 em, full-width ones 1 em), so a
// text is drawn at a font size of its height in a frame whose width factor is a horizontal scale
// of the frame itself: the glyphs' own advance gives the measured width in every viewer, whether
// it honours textLength or not. Each piece still carries its textLength, which changes nothing
// with IPAGothic and holds a fallback font to the measured width where a viewer honours it.
//
// Where the font and the metric disagree, the picture follows the metric:
// - characters of ambiguous East Asian width that IPAGothic draws full width (IsFullWidthInSvgFont:
//   ○ △ □ ※ ° ± × ¥, Greek, Cyrillic, arrows, circled digits, box drawing, ...) are measured as
//   one cell; each is drawn on its own at its cell, squeezed to half its advance so that it fills
//   exactly that cell, and the text around it is split into runs placed at their measured cells;
// - a control character (measured as one cell, not allowed in XML) leaves its cell empty.
//
// Control codes are drawn as AcGiTextStyle::extents reads them when it interprets them: %%d, %%p
// and %%c are the one-cell symbols °, ± and ∅ (U+2205, which the CAD host's TrueType texts use
// for the diameter and IPAGothic holds at half width), %%% is a percent sign, and %%o and %%u
// switch an overline and an underline on and off, drawn as lines and taking no room. The box
// (AcDbText::getBoundingPoints) counts the codes as typed, so such a text is narrower than its
// box: it is placed in the box as its alignment places it (from the left, centred or from the
// right), and it stays inside.
#pragma once

#include <dbents.h>

#include <string>

namespace host {

// A point of the picture: drawing coordinates with Y flipped (SVG's Y points down).
struct SvgPoint {
  double x = 0, y = 0;
};

// A coordinate as the picture writes it: six decimals at most, no trailing zeros, no "-0".
std::string SvgNumber(double v);

// The markup of `text` drawn in its box, filled with `colour` ("#rrggbb"). `corners` are the
// box's corners as AcDbText::getBoundingPoints gives them (base-line start, base-line end, top
// end, top start), carried into the picture with whatever transform draws the text (a block
// reference's, mirroring included): the markup maps the text's own frame onto them, so that
// alignment, rotation, width factor and that transform are all kept. Empty when the text has
// nothing to draw: no characters, or a height, width factor or measured width that is not
// positive. A text of control codes only is an empty group (its box is still the text's).
std::string TextMarkup(const AcDbText& text, const SvgPoint (&corners)[4],
                       const std::string& colour);

// True for the characters that the program measures as half width (IsFullWidthChar is false)
// and whose glyph in IPAGothic is full width. The table is the font's, checked against it by
// the tests; the program does not need the font to be installed.
bool IsFullWidthInSvgFont(char32_t c);

}  // namespace host
