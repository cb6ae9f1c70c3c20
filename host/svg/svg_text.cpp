// Texts in SVG pictures: the metric's layout of a text and its markup.
#include "host/svg/svg_text.h"

#include <acgi.h>
#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwctype>
#include <iterator>
#include <vector>

namespace host {

std::string SvgNumber(double v) {
  if (std::abs(v) < 5e-7) v = 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.6f", v);
  std::string s(buf);
  // Trailing zeros say nothing; "10.500000" is "10.5", "10.000000" is "10".
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  if (s == "-0") s = "0";
  return s;
}

namespace {

std::string Num(double v) {
  return SvgNumber(v);
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

struct Range {
  char32_t first, last;
};
// The characters IPAGothic (Debian's fonts-ipafont-gothic, ipag.ttf) draws 1 em wide among
// those the metric counts as one cell, sorted: every one of them in the font's character map.
// Characters the font lacks are left out, as a fallback font's width is not known.
constexpr Range kFullWidthInFont[] = {
    {0x00A2, 0x00A3}, {0x00A5, 0x00A5}, {0x00A7, 0x00A8}, {0x00AC, 0x00AC}, {0x00B0, 0x00B1},
    {0x00B4, 0x00B4}, {0x00B6, 0x00B6}, {0x00D7, 0x00D7}, {0x00F7, 0x00F7}, {0x01CD, 0x01CE},
    {0x01D0, 0x01D2}, {0x01D4, 0x01D4}, {0x01D6, 0x01D6}, {0x01D8, 0x01D8}, {0x01DA, 0x01DA},
    {0x01DC, 0x01DC}, {0x0391, 0x03A1}, {0x03A3, 0x03A9}, {0x03B1, 0x03C1}, {0x03C3, 0x03C9},
    {0x0401, 0x0401}, {0x0410, 0x044F}, {0x0451, 0x0451}, {0x2010, 0x2010}, {0x2014, 0x2016},
    {0x2018, 0x2019}, {0x201C, 0x201D}, {0x2020, 0x2021}, {0x2025, 0x2026}, {0x2030, 0x2030},
    {0x2032, 0x2033}, {0x203B, 0x203B}, {0x203E, 0x203E}, {0x2051, 0x2051}, {0x2103, 0x2103},
    {0x2116, 0x2116}, {0x2121, 0x2121}, {0x212B, 0x212B}, {0x2160, 0x216B}, {0x2170, 0x217B},
    {0x2190, 0x2193}, {0x21D2, 0x21D2}, {0x21D4, 0x21D4}, {0x2200, 0x2200}, {0x2202, 0x2203},
    {0x2207, 0x2208}, {0x220B, 0x220B}, {0x221A, 0x221A}, {0x221D, 0x2220}, {0x2225, 0x2225},
    {0x2227, 0x222C}, {0x222E, 0x222E}, {0x2234, 0x2235}, {0x223D, 0x223D}, {0x2252, 0x2252},
    {0x2260, 0x2261}, {0x2266, 0x2267}, {0x226A, 0x226B}, {0x2282, 0x2283}, {0x2286, 0x2287},
    {0x22A5, 0x22A5}, {0x22BF, 0x22BF}, {0x2312, 0x2312}, {0x2318, 0x2318}, {0x23BE, 0x23CC},
    {0x23CE, 0x23CE}, {0x2423, 0x2423}, {0x2460, 0x2473}, {0x24D0, 0x24E9}, {0x24EB, 0x24FE},
    {0x2500, 0x2503}, {0x250C, 0x250C}, {0x250F, 0x2510}, {0x2513, 0x2514}, {0x2517, 0x2518},
    {0x251B, 0x251D}, {0x2520, 0x2520}, {0x2523, 0x2525}, {0x2528, 0x2528}, {0x252B, 0x252C},
    {0x252F, 0x2530}, {0x2533, 0x2534}, {0x2537, 0x2538}, {0x253B, 0x253C}, {0x253F, 0x253F},
    {0x2542, 0x2542}, {0x254B, 0x254B}, {0x25A0, 0x25A1}, {0x25B2, 0x25B3}, {0x25BC, 0x25BD},
    {0x25C6, 0x25C7}, {0x25CB, 0x25CB}, {0x25CE, 0x25CF}, {0x25EF, 0x25EF}, {0x2600, 0x2603},
    {0x2605, 0x2606}, {0x260E, 0x260E}, {0x2616, 0x2617}, {0x261E, 0x261E}, {0x2640, 0x2640},
    {0x2642, 0x2642}, {0x2668, 0x2668}, {0x266A, 0x266A}, {0x266D, 0x266D}, {0x266F, 0x266F},
    {0x2713, 0x2713}, {0x2756, 0x2756}, {0x2776, 0x277F}, {0x29BF, 0x29BF},
};

// One piece of a text drawn in one <text>, at its measured place.
struct Piece {
  std::wstring text;
  long cell = 0;          // where it starts, in cells from the start of the text
  long cells = 0;         // its measured width, in cells
  bool squeezed = false;  // one character the font draws two cells wide, in one cell
};

// An overline or underline, from cell to cell.
struct Rule {
  bool over = false;
  long from = 0, to = 0;
};

struct Layout {
  std::vector<Piece> pieces;
  std::vector<Rule> rules;
  long cells = 0;  // the text's measured width with its control codes read
};

// The text's pieces at the cells the metric gives them, its control codes read as
// AcGiTextStyle::extents reads them when it interprets them.
Layout LayOut(const std::wstring& text) {
  Layout out;
  long x = 0;
  long rule_from[2] = {-1, -1};  // where the open underline [0] and overline [1] started
  Piece run;
  const auto end_run = [&] {
    if (!run.text.empty()) out.pieces.push_back(run);
    run = Piece{};
  };
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    wchar_t ch = text[i];
    if (ch == L'%' && i + 2 < n && text[i + 1] == L'%') {
      const wchar_t code = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[i + 2])));
      if (code == L'o' || code == L'u') {
        long& from = rule_from[code == L'o' ? 1 : 0];
        if (from < 0) {
          from = x;
        } else {
          if (x > from) out.rules.push_back({code == L'o', from, x});
          from = -1;
        }
        i += 2;
        continue;
      }
      const wchar_t symbol = code == L'd'   ? L'\u00B0'
                             : code == L'p' ? L'\u00B1'
                             : code == L'c' ? L'\u2205'
                             : code == L'%' ? L'%'
                                            : L'\0';
      if (symbol != L'\0') {
        ch = symbol;
        i += 2;
      }
    }
    const auto c = static_cast<char32_t>(ch);
    if (c < 0x20) {
      end_run();
      ++x;
    } else if (IsFullWidthInSvgFont(c)) {
      end_run();
      out.pieces.push_back({std::wstring(1, ch), x, 1, true});
      ++x;
    } else {
      if (run.text.empty()) run.cell = x;
      const long cells = platform::IsFullWidthChar(c) ? 2 : 1;
      run.text += ch;
      run.cells += cells;
      x += cells;
    }
  }
  end_run();
  for (int k = 0; k < 2; ++k) {
    if (rule_from[k] >= 0 && x > rule_from[k]) out.rules.push_back({k == 1, rule_from[k], x});
  }
  out.cells = x;
  return out;
}

// How far the glyphs start from the box's start: read control codes take less room than the
// box counts for them, and the alignment decides where that room goes.
double AlignmentShift(const AcDbText& text, double spare) {
  switch (text.horizontalMode()) {
    case AcDb::kTextCenter:
    case AcDb::kTextMid:
      return spare / 2;
    case AcDb::kTextRight:
      return spare;
    default:
      return 0;
  }
}

// A run is held to its measured width by textLength too; white space in it keeps its room.
std::string RunLength(const Piece& run, double cell) {
  return " textLength=\"" + Num(run.cells * cell) + "\" lengthAdjust=\"spacingAndGlyphs\"";
}
std::string RunBody(const Piece& run) {
  return " xml:space=\"preserve\">" + XmlEscape(platform::WideToUtf8(run.text)) + "</text>";
}

// One piece inside the text's frame, starting `x` along it.
std::string PieceMarkup(const Piece& p, double x, double cell) {
  if (!p.squeezed) return "<text x=\"" + Num(x) + "\"" + RunLength(p, cell) + RunBody(p);
  // Two cells of the font's advance scaled into the one the metric gives it.
  return "<text transform=\"translate(" + Num(x) + " 0) scale(0.5 1)\" textLength=\"" +
         Num(2 * cell) + "\" lengthAdjust=\"spacingAndGlyphs\">" +
         XmlEscape(platform::WideToUtf8(p.text)) + "</text>";
}

// The overline on the box's top edge, above every glyph; the underline a tenth of the height
// below the base line, where a typeface puts its own.
std::string RuleMarkup(const Rule& r, double shift, double cell, double height,
                       const std::string& colour) {
  return "<path d=\"M" + Num(shift + r.from * cell) + " " + Num(r.over ? -height : height / 10) +
         " H" + Num(shift + r.to * cell) + "\" fill=\"none\" stroke=\"" + colour +
         "\" stroke-width=\"" + Num(height / 16) + "\"/>";
}

}  // namespace

bool IsFullWidthInSvgFont(char32_t c) {
  auto it = std::upper_bound(std::begin(kFullWidthInFont), std::end(kFullWidthInFont), c,
                             [](char32_t v, const Range& r) { return v < r.first; });
  if (it == std::begin(kFullWidthInFont)) return false;
  --it;
  return c <= it->last && !platform::IsFullWidthChar(c);
}

std::string TextMarkup(const AcDbText& text, const SvgPoint (&c)[4], const std::string& colour) {
  const std::wstring content = text.textStringConst();
  const double height = text.height();
  // The width the box has: its characters counted as typed, at the font's own scale (a cell is
  // half the font size, which is the height); the width factor stays out of the frame's unit.
  AcGiTextStyle style;
  style.setTextSize(height);
  style.setXScale(1.0);
  const double width = style.extents(content.c_str(), false, -1, true).x;
  if (content.empty() || width <= 0 || height <= 0 || !(text.widthFactor() > 0)) return {};
  const double cell = height / 2;
  const Layout layout = LayOut(content);
  const double shift = AlignmentShift(text, width - layout.cells * cell);
  // The text's frame (x along the base line, y down, in the units of the font size) is mapped
  // onto the box's corners. That carries alignment, rotation, the width factor (a horizontal
  // scale: the box is the width factor narrower than the glyphs' own advance) and any block
  // transform, mirroring included, at once.
  const double a = (c[1].x - c[0].x) / width, b = (c[1].y - c[0].y) / width;
  const double cc = (c[0].x - c[3].x) / height, d = (c[0].y - c[3].y) / height;
  const std::string head = "transform=\"matrix(" + Num(a) + " " + Num(b) + " " + Num(cc) + " " +
                           Num(d) + " " + Num(c[0].x) + " " + Num(c[0].y) + ")\" font-size=\"" +
                           Num(height) + "\"";
  const std::string paint = " fill=\"" + colour + "\" stroke=\"none\"";
  const std::vector<Piece>& pieces = layout.pieces;
  if (pieces.size() == 1 && !pieces[0].squeezed && pieces[0].cell == 0 && shift == 0 &&
      layout.rules.empty()) {
    // The common text: one run filling its box.
    return "<text " + head + RunLength(pieces[0], cell) + paint + RunBody(pieces[0]);
  }
  std::string out = "<g " + head + paint + ">";
  for (const Piece& p : pieces) out += PieceMarkup(p, shift + p.cell * cell, cell);
  for (const Rule& r : layout.rules) out += RuleMarkup(r, shift, cell, height, colour);
  return out + "</g>";
}

}  // namespace host
