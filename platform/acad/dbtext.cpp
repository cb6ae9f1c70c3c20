// Text, attribute definitions and attributes: properties, alignment geometry and extents.
#include <cmath>
#include <cwctype>
#include <mutex>
#include <string>
#include <unordered_set>

#include <acutads.h>
#include <dbents.h>
#include "platform/acad/dbhost.h"
#include "platform/acad/dbstub.h"

ACRX_DEFINE_MEMBERS(AcDbText, AcDbEntity, L"TEXT")
ACRX_DEFINE_MEMBERS(AcDbAttributeDefinition, AcDbText, L"ATTDEF")
ACRX_DEFINE_MEMBERS(AcDbAttribute, AcDbText, L"ATTRIB")
ACDB_DEFINE_COPYING(AcDbText)
ACDB_DEFINE_COPYING(AcDbAttributeDefinition)
ACDB_DEFINE_COPYING(AcDbAttribute)

AcDbText::AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style,
                   double height, double rotation)
    : position_(position),
      alignment_(position),
      height_(height > 0 ? height : 2.5),
      rotation_(rotation),
      text_(text ? text : L""),
      style_(style) {}

AcGePoint3d AcDbText::position() const {
  assertReadEnabled();
  return position_;
}
Acad::ErrorStatus AcDbText::setPosition(const AcGePoint3d& pt) {
  assertWriteEnabled();
  position_ = pt;
  return Acad::eOk;
}
AcGePoint3d AcDbText::alignmentPoint() const {
  assertReadEnabled();
  return alignment_;
}
Acad::ErrorStatus AcDbText::setAlignmentPoint(const AcGePoint3d& pt) {
  assertWriteEnabled();
  alignment_ = pt;
  return Acad::eOk;
}
bool AcDbText::isDefaultAlignment() const {
  assertReadEnabled();
  return horizontal_ == AcDb::kTextLeft && vertical_ == AcDb::kTextBase;
}
AcGeVector3d AcDbText::normal() const {
  assertReadEnabled();
  return normal_;
}
Acad::ErrorStatus AcDbText::setNormal(const AcGeVector3d& normal) {
  assertWriteEnabled();
  if (normal.isZeroLength()) return Acad::eInvalidInput;
  normal_ = normal.normal();
  return Acad::eOk;
}
double AcDbText::oblique() const {
  assertReadEnabled();
  return oblique_;
}
Acad::ErrorStatus AcDbText::setOblique(double angle) {
  assertWriteEnabled();
  oblique_ = angle;
  return Acad::eOk;
}
double AcDbText::rotation() const {
  assertReadEnabled();
  return rotation_;
}
Acad::ErrorStatus AcDbText::setRotation(double angle) {
  assertWriteEnabled();
  rotation_ = angle;
  return Acad::eOk;
}
double AcDbText::height() const {
  assertReadEnabled();
  return height_;
}
Acad::ErrorStatus AcDbText::setHeight(double height) {
  assertWriteEnabled();
  if (!(height > 0)) return Acad::eInvalidInput;
  height_ = height;
  return Acad::eOk;
}
double AcDbText::widthFactor() const {
  assertReadEnabled();
  return width_;
}
Acad::ErrorStatus AcDbText::setWidthFactor(double factor) {
  assertWriteEnabled();
  if (!(factor > 0)) return Acad::eInvalidInput;
  width_ = factor;
  return Acad::eOk;
}
AcDb::TextHorzMode AcDbText::horizontalMode() const {
  assertReadEnabled();
  return horizontal_;
}
Acad::ErrorStatus AcDbText::setHorizontalMode(AcDb::TextHorzMode mode) {
  assertWriteEnabled();
  horizontal_ = mode;
  return Acad::eOk;
}
AcDb::TextVertMode AcDbText::verticalMode() const {
  assertReadEnabled();
  return vertical_;
}
Acad::ErrorStatus AcDbText::setVerticalMode(AcDb::TextVertMode mode) {
  assertWriteEnabled();
  vertical_ = mode;
  return Acad::eOk;
}
ACHAR* AcDbText::textString() const {
  assertReadEnabled();
  return acutNewString(text_.c_str());
}
const ACHAR* AcDbText::textStringConst() const {
  assertReadEnabled();
  return text_.c_str();
}
Acad::ErrorStatus AcDbText::setTextString(const ACHAR* text) {
  assertWriteEnabled();
  if (text == nullptr) return Acad::eInvalidInput;
  text_ = text;
  return Acad::eOk;
}
AcDbObjectId AcDbText::textStyle() const {
  assertReadEnabled();
  return style_;
}
Acad::ErrorStatus AcDbText::setTextStyle(AcDbObjectId style) {
  assertWriteEnabled();
  style_ = style;
  return Acad::eOk;
}
Acad::ErrorStatus AcDbText::adjustAlignment(const AcDbDatabase*) {
  assertWriteEnabled();
  return Acad::eOk;
}

Acad::ErrorStatus AcDbText::transformBy(const AcGeMatrix3d& xform) {
  assertWriteEnabled();
  AcGeVector3d dir(std::cos(rotation_), std::sin(rotation_), 0);
  dir.transformBy(xform);
  double scale = (xform * AcGeVector3d::kYAxis).length();
  position_.transformBy(xform);
  alignment_.transformBy(xform);
  rotation_ = std::atan2(dir.y, dir.x);
  if (rotation_ < 0) rotation_ += 2 * kPi;
  if (scale > 0) height_ *= scale;
  return Acad::eOk;
}

void AcDbText::getBoundingPoints(AcGePoint3dArray& points) const {
  assertReadEnabled();
  double w = platform::acad::internal::TextAdvanceUnits(text_.c_str()) * 0.5 * height_ * width_;
  double h = height_;
  // Offsets of the box's base-left corner from the anchor, in the text's own direction.
  double dx = 0, dy = 0;
  switch (horizontal_) {
    case AcDb::kTextCenter:
    case AcDb::kTextMid:
      dx = -w / 2;
      break;
    case AcDb::kTextRight:
      dx = -w;
      break;
    default:
      break;
  }
  if (horizontal_ == AcDb::kTextMid || vertical_ == AcDb::kTextVertMid) dy = -h / 2;
  if (vertical_ == AcDb::kTextTop) dy = -h;
  bool anchored_left = horizontal_ == AcDb::kTextLeft || horizontal_ == AcDb::kTextAlign ||
                       horizontal_ == AcDb::kTextFit;
  AcGePoint3d anchor = (anchored_left && vertical_ == AcDb::kTextBase) ? position_ : alignment_;
  if (horizontal_ == AcDb::kTextAlign || horizontal_ == AcDb::kTextFit) anchor = position_;
  AcGeVector3d along(std::cos(rotation_), std::sin(rotation_), 0);
  AcGeVector3d up(-std::sin(rotation_), std::cos(rotation_), 0);
  AcGePoint3d base = anchor + along * dx + up * dy;
  points.removeAll();
  points.append(base);
  points.append(base + along * w);
  points.append(base + along * w + up * h);
  points.append(base + up * h);
}

Acad::ErrorStatus AcDbText::getGeomExtents(AcDbExtents& extents) const {
  assertReadEnabled();
  AcGePoint3dArray corners;
  getBoundingPoints(corners);
  AcDbExtents box;
  for (const AcGePoint3d& p : corners) box.addPoint(p);
  extents = box;
  return Acad::eOk;
}

void AcDbText::copyTextFrom(const AcDbText& other) {
  position_ = other.position_;
  alignment_ = other.alignment_;
  normal_ = other.normal_;
  height_ = other.height_;
  width_ = other.width_;
  rotation_ = other.rotation_;
  oblique_ = other.oblique_;
  horizontal_ = other.horizontal_;
  vertical_ = other.vertical_;
  text_ = other.text_;
  style_ = other.style_;
}

// ---- Attribute definitions and attributes ----

namespace {

bool ValidTag(const ACHAR* tag) {
  if (tag == nullptr || *tag == 0) return false;
  for (const ACHAR* p = tag; *p != 0; ++p)
    if (std::iswspace(*p)) return false;
  return true;
}

}  // namespace

AcDbAttributeDefinition::AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text,
                                                 const ACHAR* tag, const ACHAR* prompt,
                                                 AcDbObjectId style)
    : AcDbText(position, text, style), tag_(tag ? tag : L""), prompt_(prompt ? prompt : L"") {}

ACHAR* AcDbAttributeDefinition::tag() const {
  return acutNewString(tagConst());
}
const ACHAR* AcDbAttributeDefinition::tagConst() const {
  assertReadEnabled();
  return tag_.c_str();
}
Acad::ErrorStatus AcDbAttributeDefinition::setTag(const ACHAR* tag) {
  assertWriteEnabled();
  if (!ValidTag(tag)) return Acad::eInvalidInput;
  tag_ = tag;
  return Acad::eOk;
}
ACHAR* AcDbAttributeDefinition::prompt() const {
  return acutNewString(promptConst());
}
const ACHAR* AcDbAttributeDefinition::promptConst() const {
  assertReadEnabled();
  return prompt_.c_str();
}
Acad::ErrorStatus AcDbAttributeDefinition::setPrompt(const ACHAR* prompt) {
  assertWriteEnabled();
  prompt_ = prompt ? prompt : L"";
  return Acad::eOk;
}
bool AcDbAttributeDefinition::isInvisible() const {
  assertReadEnabled();
  return invisible_;
}
Acad::ErrorStatus AcDbAttributeDefinition::setInvisible(bool invisible) {
  assertWriteEnabled();
  invisible_ = invisible;
  return Acad::eOk;
}
bool AcDbAttributeDefinition::isConstant() const {
  assertReadEnabled();
  return constant_;
}
Acad::ErrorStatus AcDbAttributeDefinition::setConstant(bool constant) {
  assertWriteEnabled();
  constant_ = constant;
  return Acad::eOk;
}

namespace platform::acad {

namespace {

// Looked up by view: a text already held costs no string and no node to find.
struct TextHash {
  using is_transparent = void;
  size_t operator()(std::wstring_view text) const { return std::hash<std::wstring_view>()(text); }
};

}  // namespace

const std::wstring* SharedText(std::wstring_view text) {
  static auto* texts = new std::unordered_set<std::wstring, TextHash, std::equal_to<>>();
  static auto* guard = new std::mutex();
  std::lock_guard<std::mutex> lock(*guard);
  if (auto held = texts->find(text); held != texts->end()) return &*held;
  return &*texts->emplace(text).first;
}

}  // namespace platform::acad

namespace {

// See AcDbAttribute::tag_.
const std::wstring* SharedTag(const ACHAR* tag) {
  return platform::acad::SharedText(tag != nullptr ? tag : L"");
}

}  // namespace

AcDbAttribute::AcDbAttribute(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                             AcDbObjectId style)
    : AcDbText(position, text, style), tag_(SharedTag(tag)) {}

ACHAR* AcDbAttribute::tag() const {
  return acutNewString(tagConst());
}
const ACHAR* AcDbAttribute::tagConst() const {
  assertReadEnabled();
  return tag_ != nullptr ? tag_->c_str() : L"";
}
Acad::ErrorStatus AcDbAttribute::setTag(const ACHAR* tag) {
  assertWriteEnabled();
  if (!ValidTag(tag)) return Acad::eInvalidInput;
  tag_ = SharedTag(tag);
  return Acad::eOk;
}
bool AcDbAttribute::isInvisible() const {
  assertReadEnabled();
  return invisible_;
}
Acad::ErrorStatus AcDbAttribute::setInvisible(bool invisible) {
  assertWriteEnabled();
  invisible_ = invisible;
  return Acad::eOk;
}

Acad::ErrorStatus AcDbAttribute::setAttributeFromBlock(const AcDbAttributeDefinition* pAttdef,
                                                       const AcGeMatrix3d& blkXform) {
  assertWriteEnabled();
  if (pAttdef == nullptr) return Acad::eNullObjectPointer;
  copyTextFrom(*pAttdef);
  copyEntityProperties(*pAttdef);
  tag_ = SharedTag(pAttdef->tagConst());
  invisible_ = pAttdef->isInvisible();
  return transformBy(blkXform);
}
