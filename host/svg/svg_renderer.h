// SVG pictures of a drawing's model space, as `harnex-host --svg` writes them.
//
// Lines, polylines (bulges as arcs), points (small crosses), circles, arcs, ellipses and
// elliptical arcs, texts and attributes, solid hatches (filled loops) and block references
// (drawn through their blocks with the reference's transform, nested ones too, attributes
// included). Colours are AutoCAD colour indices: ByLayer is resolved through the layer,
// ByBlock through the reference that draws the entity, and index 7 is drawn black because the
// picture has a white background. Drawing Y points up, so Y is flipped; the view box is fitted
// to what is drawn with a margin around it. Curves are drawn as fine polylines so that every
// transform (a scaled or mirrored block) keeps them exact at the picture's resolution.
//
// Every object the renderer opens is closed again before it returns.
#pragma once

#include <dbmain.h>

#include <string>
#include <vector>

namespace host {

// The font family texts are drawn in. IPAGothic (Debian's fonts-ipafont-gothic), named by both
// of its family names, is monospaced with the program's text metric (svg_text.h); the others
// hold Japanese glyphs where it is not installed.
inline constexpr const char* kSvgFontFamily =
    "'IPAGothic', 'IPAゴシック', 'Noto Sans CJK JP', 'MS Gothic', sans-serif";

// The SVG document (UTF-8) of the model space of `db`, with the transient graphics shown now (a
// drag's entities) drawn over it. An empty drawing gives a picture with only the background.
// Entities on layers that are off or frozen are not drawn.
std::string RenderSvg(AcDbDatabase& db);

// Writes the picture text `svg` into the file `path` (created or replaced). False, with a
// message in `error` naming the file, when it cannot be written.
bool WriteSvgText(const std::string& svg, const std::string& path, std::wstring* error);

// Renders `db` into the file `path` (created or replaced). False, with a message in `error`
// naming the file, when it cannot be written.
bool WriteSvgFile(AcDbDatabase& db, const std::string& path, std::wstring* error);

// One entity drawn as a top-level entity of model space (through its block when it is a
// reference), for a page that shows the drawing entity by entity: the SVG elements without the
// document around them, in the picture's coordinates (Y down), and their extent there. Points
// are apart from the rest: one zero-length path of class "point" for each colour, which the page
// strokes as dots (and leaves out when the drawing is seen from far). An entity on a layer that
// is off or frozen draws nothing. The entity must be open for read.
struct EntityPicture {
  std::vector<std::string> elements;  // what is not a point, one element each
  std::vector<std::string> points;    // the point paths, one a colour
  bool any = false;  // whether anything was drawn (then the extent is valid)
  double min_x = 0, min_y = 0, max_x = 0, max_y = 0;
};
EntityPicture RenderEntityPicture(AcDbEntity* entity);

// The red, green and blue of an AutoCAD colour index 1..255 (others give black), as on a white
// background: index 7 is black.
struct Rgb {
  int r = 0, g = 0, b = 0;
};
Rgb AciToRgb(int index);

}  // namespace host
