// Text measurement with the monospaced Gothic metric: AcGiTextStyle::extents.
#include <cwchar>
#include <cwctype>

#include "acgi.h"
#include "dbmain.h"
#include "dbsymtb.h"

namespace platform::acad {

// The East Asian Wide (W) and Fullwidth (F) ranges of Unicode that occur in drawings: Hangul
// Jamo, CJK symbols and punctuation, kana, CJK ideographs, Hangul syllables, compatibility
// ideographs and forms, the fullwidth forms, and the wide emoji blocks. Half-width katakana
// (U+FF61..U+FF9F) and the ambiguous symbols (○, ※, ...) are narrow.
bool IsFullWidthCodePoint(char32_t c) {
  struct Range {
    char32_t first, last;
  };
  static constexpr Range kWide[] = {
      {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
      {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
      {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
      {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
      {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
      {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
      {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
      {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
      {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
      {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
      {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
      {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
      {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
      {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251}, {0x1F300, 0x1F64F},
      {0x1F680, 0x1F6FF}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
  };
  for (const Range& r : kWide) {
    if (c < r.first) return false;  // the table is sorted
    if (c <= r.last) return true;
  }
  return false;
}

}  // namespace platform::acad

AcGiTextStyle::AcGiTextStyle(const ACHAR* fontName, const ACHAR* bigFontName, double textSize,
                             double xScale, double obliqueAngle, double trackPercent,
                             Adesk::Boolean, Adesk::Boolean, Adesk::Boolean, Adesk::Boolean,
                             Adesk::Boolean, const ACHAR* styleName)
    : text_size_(textSize),
      x_scale_(xScale),
      oblique_(obliqueAngle),
      tracking_(trackPercent),
      file_name_(fontName ? fontName : L""),
      big_font_file_name_(bigFontName ? bigFontName : L""),
      style_name_(styleName ? styleName : L"") {}

int AcGiTextStyle::loadStyleRec(AcGiContext*) const {
  return big_font_file_name_.empty() ? 1 : 3;
}

Acad::ErrorStatus AcGiTextStyle::setFont(const ACHAR* typeface, bool, bool, int, int) {
  typeface_ = typeface ? typeface : L"";
  return Acad::eOk;
}

AcGePoint2d AcGiTextStyle::extents(const ACHAR* text, Adesk::Boolean, int len, Adesk::Boolean raw,
                                   AcGiWorldDraw*) const {
  if (text == nullptr) return {0, 0};
  const size_t n = len < 0 ? std::wcslen(text) : static_cast<size_t>(len);
  // Counted in half-width cells, so that the sum stays exact.
  long cells = 0;
  for (size_t i = 0; i < n && text[i] != L'\0'; ++i) {
    if (!raw && text[i] == L'%' && i + 2 < n && text[i + 1] == L'%') {
      const wchar_t code = static_cast<wchar_t>(std::towlower(text[i + 2]));
      if (code == L'o' || code == L'u') {
        i += 2;
        continue;
      }
      if (code == L'd' || code == L'p' || code == L'c' || code == L'%') {
        cells += 1;
        i += 2;
        continue;
      }
    }
    cells += platform::acad::IsFullWidthCodePoint(static_cast<char32_t>(text[i])) ? 2 : 1;
  }
  if (cells == 0) return {0, 0};
  return {cells * 0.5 * text_size_ * x_scale_, text_size_};
}

Acad::ErrorStatus fromAcDbTextStyle(AcGiTextStyle& giStyle, const AcDbObjectId& styleId) {
  AcDbTextStyleTableRecord* record = nullptr;
  const Acad::ErrorStatus es = acdbOpenObject(record, styleId, AcDb::kForRead);
  if (es != Acad::eOk) return es;
  const ACHAR* text = nullptr;
  if (record->fileName(text) == Acad::eOk) giStyle.setFileName(text);
  text = nullptr;
  if (record->bigFontFileName(text) == Acad::eOk) giStyle.setBigFontFileName(text);
  text = nullptr;
  if (record->getName(text) == Acad::eOk) giStyle.setStyleName(text);
  giStyle.setTextSize(record->textSize());
  giStyle.setXScale(record->xScale());
  giStyle.setObliquingAngle(record->obliquingAngle());
  record->close();
  return Acad::eOk;
}
