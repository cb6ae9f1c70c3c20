// Texts in SVG pictures.
#include "host/svg/svg_text.h"

#include <acgi.h>
#include "platform/win/text_encoding.h"

#include <cmath>
#include <cstdio>

namespace host {
namespace {

// A coordinate as the picture writes it: six decimals at most, no trailing zeros.
std::string Num(double v) {
  if (std::abs(v) < 5e-7) v = 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6f", v);
  std::string s(buf);
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

std::string XmlEscape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        // Control characters are not allowed in XML 1.0.
        if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') out += c;
    }
  }
  return out;
}

}  // namespace

std::string TextMarkup(const AcDbText& text, const SvgPoint (&c)[4], const std::string& colour) {
  const std::wstring content = text.textStringConst();
  AcGiTextStyle style;
  style.setTextSize(text.height());
  style.setXScale(text.widthFactor());
  const double width = style.extents(content.c_str(), false, -1, true).x;
  const double height = text.height();
  if (content.empty() || width <= 0 || height <= 0) return {};
  // The text is laid out at the origin of its own frame (x along the base line, one unit per
  // unit of the measured width; y down, one unit per unit of height) and that frame is mapped
  // onto the box's corners, which carries alignment, rotation, width factor and any block
  // transform (mirroring included) at once. textLength holds the glyphs to the measured width.
  const double a = (c[1].x - c[0].x) / width, b = (c[1].y - c[0].y) / width;
  const double cc = (c[0].x - c[3].x) / height, d = (c[0].y - c[3].y) / height;
  return "<text transform=\"matrix(" + Num(a) + " " + Num(b) + " " + Num(cc) + " " + Num(d) + " " +
         Num(c[0].x) + " " + Num(c[0].y) + ")\" font-size=\"" + Num(height) + "\" textLength=\"" +
         Num(width) + "\" lengthAdjust=\"spacingAndGlyphs\" fill=\"" + colour +
         "\" stroke=\"none\">" + XmlEscape(platform::WideToUtf8(content)) + "</text>";
}

}  // namespace host
