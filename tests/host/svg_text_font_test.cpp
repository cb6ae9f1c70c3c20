// The picture's table of characters drawn squeezed, checked against IPAGothic itself: every
// character of the font advances the cells the metric gives it, once squeezed where the table
// says so.
#include "host/svg/svg_text.h"

#include "platform/win/wide_string.h"

#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>
#include <memory>
#include <string>

namespace host {
namespace {

// The file and family fontconfig gives for "IPAGothic", as "file|family".
std::string MatchFont() {
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(
      popen("fc-match -f '%{file}|%{family}' 'IPAGothic:style=Regular' 2>/dev/null", "r"), pclose);
  if (!pipe) return {};
  std::string out;
  char buf[512];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, pipe.get())) > 0;) out.append(buf, n);
  return out;
}

TEST(SvgTextFontTest, TheTableNamesTheAmbiguousCharactersOfTheNotesAndNoOthers) {
  // Squeezed: the symbols of list tables and notes, the degree and plus-minus signs the control
  // codes stand for, Greek, circled digits, box drawing.
  for (char32_t c : {U'○', U'△', U'□', U'※', U'°', U'±', U'×', U'Ω', U'α', U'①', U'─', U'→'}) {
    EXPECT_TRUE(IsFullWidthInSvgFont(c)) << "U+" << std::hex << static_cast<unsigned>(c);
  }
  // Not: what the font draws half width (¡ and ∅ are ambiguous too), and full-width characters,
  // which are measured as two cells already.
  for (char32_t c : {U'A', U'%', U'¡', U'∅', U'ｱ', U'あ', U'（', U'配'}) {
    EXPECT_FALSE(IsFullWidthInSvgFont(c)) << "U+" << std::hex << static_cast<unsigned>(c);
  }
}

TEST(SvgTextFontTest, TheSqueezedCharactersAreThoseIpaGothicDrawsWiderThanMeasured) {
  const std::string match = MatchFont();
  const size_t bar = match.find('|');
  ASSERT_NE(bar, std::string::npos) << "fc-match: " << match;
  const std::string file = match.substr(0, bar);
  ASSERT_NE(match.find("IPAGothic", bar), std::string::npos)
      << "IPAGothic is not installed (Debian: fonts-ipafont-gothic); fontconfig gives " << match;

  FT_Library library = nullptr;
  ASSERT_EQ(FT_Init_FreeType(&library), 0);
  std::unique_ptr<FT_LibraryRec_, FT_Error (*)(FT_Library)> library_owner(library,
                                                                          FT_Done_FreeType);
  FT_Face face = nullptr;
  ASSERT_EQ(FT_New_Face(library, file.c_str(), 0, &face), 0) << file;
  const long em = face->units_per_EM;

  int characters = 0, squeezed = 0;
  FT_UInt glyph = 0;
  for (FT_ULong c = FT_Get_First_Char(face, &glyph); glyph != 0;
       c = FT_Get_Next_Char(face, c, &glyph)) {
    ASSERT_EQ(FT_Load_Glyph(face, glyph, FT_LOAD_NO_SCALE), 0) << std::hex << c;
    const long advance = face->glyph->advance.x;
    const auto ch = static_cast<char32_t>(c);
    // The cells the font's glyph takes, and those the picture makes it take: the measured
    // ones, or two squeezed into one.
    const bool squeeze = IsFullWidthInSvgFont(ch);
    const long measured = platform::IsFullWidthChar(ch) ? 2 : 1;
    const long drawn = squeeze ? 2 : measured;
    EXPECT_EQ(advance * 2 % em, 0) << "U+" << std::hex << c << " advances " << advance;
    EXPECT_EQ(advance * 2 / em, drawn) << "U+" << std::hex << c;
    // Only characters measured as one cell are squeezed.
    if (squeeze) {
      EXPECT_EQ(measured, 1) << "U+" << std::hex << c;
      ++squeezed;
    }
    ++characters;
  }
  // A real font was read, and the table names characters of it.
  EXPECT_GT(characters, 10000);
  EXPECT_GT(squeezed, 0);
  // A character the font lacks is never squeezed: a fallback font's width is not known.
  for (char32_t c = 0x20; c < 0x30000; ++c) {
    if (IsFullWidthInSvgFont(c)) {
      EXPECT_NE(FT_Get_Char_Index(face, c), 0u) << "U+" << std::hex << static_cast<unsigned>(c);
    }
  }
  FT_Done_Face(face);
}

}  // namespace
}  // namespace host
