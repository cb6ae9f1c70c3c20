// AcGiTextStyle: a text style as the graphics system sees it, and the width of a text drawn in it.
//
// Text is measured with one monospaced Gothic metric: every full-width character (East Asian
// Wide or Fullwidth, platform::IsFullWidthChar) advances text size × x scale, every other
// character half of that; the extent's height is the text size. The font names are kept but do
// not change the metric.
#pragma once

#include <string>

#include <acadstrc.h>
#include <adesk.h>
#include <adsdef.h>
#include <gepnt2d.h>

class AcGiWorldDraw;
class AcGiContext;
class AcDbObjectId;

class AcGiTextStyle {
 public:
  AcGiTextStyle() = default;
  AcGiTextStyle(const ACHAR* fontName, const ACHAR* bigFontName, double textSize, double xScale,
                double obliqueAngle, double trackPercent, Adesk::Boolean isBackward,
                Adesk::Boolean isUpsideDown, Adesk::Boolean isVertical, Adesk::Boolean isOverlined,
                Adesk::Boolean isUnderlined, const ACHAR* styleName = nullptr);

  // Loads the font files; here nothing needs loading. Returns the SDK's flags of what was
  // loaded: 1 (the font file), plus 2 when a big font file is named.
  int loadStyleRec(AcGiContext* context = nullptr) const;

  void setTextSize(double size) { text_size_ = size; }
  double textSize() const { return text_size_; }
  void setXScale(double scale) { x_scale_ = scale; }
  double xScale() const { return x_scale_; }
  void setObliquingAngle(double angle) { oblique_ = angle; }
  double obliquingAngle() const { return oblique_; }
  void setTrackingPercent(double percent) { tracking_ = percent; }
  double trackingPercent() const { return tracking_; }

  void setFileName(const ACHAR* name) { file_name_ = name ? name : L""; }
  const ACHAR* fileName() const { return file_name_.c_str(); }
  void setBigFontFileName(const ACHAR* name) { big_font_file_name_ = name ? name : L""; }
  const ACHAR* bigFontFileName() const { return big_font_file_name_.c_str(); }
  void setStyleName(const ACHAR* name) { style_name_ = name ? name : L""; }
  const ACHAR* styleName() const { return style_name_.c_str(); }
  // A TrueType face. Returns eOk.
  Acad::ErrorStatus setFont(const ACHAR* typeface, bool bold, bool italic, int charset,
                            int pitchAndFamily);

  // The size of `text` drawn in this style: x the advance of its characters, y the text size
  // (0, 0 for an empty text). `len` characters are measured, or up to the terminator when
  // negative. Unless `raw`, the control codes %%d, %%p, %%c (one narrow character each), %%%
  // (a percent sign) and %%o, %%u (overline and underline switches, no width) are interpreted.
  // `penups` and the drawing context do not change the result.
  AcGePoint2d extents(const ACHAR* text, Adesk::Boolean penups, int len, Adesk::Boolean raw,
                      AcGiWorldDraw* context = nullptr) const;

 private:
  double text_size_ = 1.0;
  double x_scale_ = 1.0;
  double oblique_ = 0.0;
  double tracking_ = 1.0;
  std::wstring file_name_;
  std::wstring big_font_file_name_;
  std::wstring style_name_;
  std::wstring typeface_;
};

// Fills `giStyle` from the text style table record `styleId` of its database (size, width
// factor, obliquing angle, font files, name). eOk, or the open error of the record
// (eWrongObjectType when the id names no text style).
Acad::ErrorStatus fromAcDbTextStyle(AcGiTextStyle& giStyle, const AcDbObjectId& styleId);
