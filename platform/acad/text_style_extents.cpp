// Text measurement with the monospaced Gothic metric: AcGiTextStyle::extents.
#include <cwchar>
#include <cwctype>

#include <acgi.h>
#include <dbmain.h>
#include <dbsymtb.h>
#include "platform/win/wide_string.h"

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
    cells += platform::IsFullWidthChar(static_cast<char32_t>(text[i])) ? 2 : 1;
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
