// The basic entities: line, point, circle, arc, text, attribute definition, attribute and
// block reference.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <dbcurve.h>
#include <gescl3d.h>

class AcDbLine : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDbLine);
  ACDB_DECLARE_COPYING(AcDbLine);

 public:
  AcDbLine() = default;
  AcDbLine(const AcGePoint3d& start, const AcGePoint3d& end);
  AcGePoint3d startPoint() const;
  Acad::ErrorStatus setStartPoint(const AcGePoint3d& pt);
  AcGePoint3d endPoint() const;
  Acad::ErrorStatus setEndPoint(const AcGePoint3d& pt);
  AcGeVector3d normal() const;

  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

 private:
  AcGePoint3d start_, end_;
};

class AcDbPoint : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbPoint);
  ACDB_DECLARE_COPYING(AcDbPoint);

 public:
  AcDbPoint() = default;
  explicit AcDbPoint(const AcGePoint3d& position);
  AcGePoint3d position() const;
  Acad::ErrorStatus setPosition(const AcGePoint3d& pt);

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

 private:
  AcGePoint3d position_;
};

class AcDbCircle : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDbCircle);
  ACDB_DECLARE_COPYING(AcDbCircle);

 public:
  AcDbCircle() = default;
  AcDbCircle(const AcGePoint3d& center, const AcGeVector3d& normal, double radius);
  AcGePoint3d center() const;
  Acad::ErrorStatus setCenter(const AcGePoint3d& pt);
  double radius() const;
  Acad::ErrorStatus setRadius(double radius);  // eInvalidInput unless positive
  AcGeVector3d normal() const;
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);

  bool isClosed() const override { return true; }
  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  // Uniform scaling only: eCannotScaleNonUniformly is reported as eInvalidInput.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

 protected:
  AcGePoint3d center_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double radius_ = 1.0;
};

// Angles in radians, counter-clockwise from the x axis of the arc's plane.
class AcDbArc : public AcDbCurve {
  ACRX_DECLARE_MEMBERS(AcDbArc);
  ACDB_DECLARE_COPYING(AcDbArc);

 public:
  AcDbArc() = default;
  AcDbArc(const AcGePoint3d& center, double radius, double startAngle, double endAngle);
  AcGePoint3d center() const;
  Acad::ErrorStatus setCenter(const AcGePoint3d& pt);
  double radius() const;
  Acad::ErrorStatus setRadius(double radius);
  double startAngle() const;
  Acad::ErrorStatus setStartAngle(double angle);
  double endAngle() const;
  Acad::ErrorStatus setEndAngle(double angle);
  AcGeVector3d normal() const;

  // Parameters are angles; the end parameter is above the start one.
  Acad::ErrorStatus getStartParam(double& param) const override;
  Acad::ErrorStatus getEndParam(double& param) const override;
  Acad::ErrorStatus getPointAtParam(double param, AcGePoint3d& point) const override;
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

 private:
  AcGePoint3d center_;
  double radius_ = 1.0, start_ = 0.0, end_ = 0.0;
};

// Single-line text. The position is the left end of the base line; with any alignment other
// than left/base the alignment point is the one that counts, as in AutoCAD.
class AcDbText : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbText);
  ACDB_DECLARE_COPYING(AcDbText);

 public:
  AcDbText() = default;
  AcDbText(const AcGePoint3d& position, const ACHAR* text, AcDbObjectId style = AcDbObjectId::kNull,
           double height = 0, double rotation = 0);

  AcGePoint3d position() const;
  Acad::ErrorStatus setPosition(const AcGePoint3d& pt);
  AcGePoint3d alignmentPoint() const;
  Acad::ErrorStatus setAlignmentPoint(const AcGePoint3d& pt);
  bool isDefaultAlignment() const;
  AcGeVector3d normal() const;
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  double oblique() const;
  Acad::ErrorStatus setOblique(double angle);
  double rotation() const;
  Acad::ErrorStatus setRotation(double angle);
  double height() const;
  Acad::ErrorStatus setHeight(double height);  // eInvalidInput unless positive
  double widthFactor() const;
  Acad::ErrorStatus setWidthFactor(double factor);  // eInvalidInput unless positive
  AcDb::TextHorzMode horizontalMode() const;
  Acad::ErrorStatus setHorizontalMode(AcDb::TextHorzMode mode);
  AcDb::TextVertMode verticalMode() const;
  Acad::ErrorStatus setVerticalMode(AcDb::TextVertMode mode);
  // A new copy of the text (free with acutDelString).
  ACHAR* textString() const;
  // The text, valid while the entity is open.
  const ACHAR* textStringConst() const;
  Acad::ErrorStatus setTextString(const ACHAR* text);
  AcDbObjectId textStyle() const;
  Acad::ErrorStatus setTextStyle(AcDbObjectId style);
  // Nothing to do here: the geometry is computed when asked for.
  Acad::ErrorStatus adjustAlignment(const AcDbDatabase* pDb = nullptr);

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  // The box of the text by the monospaced metric used everywhere in this system: full-width
  // characters advance height × width factor, others half of that; the box is one height tall.
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

  // The four corners of the text box (base-left, base-right, top-right, top-left) in world
  // coordinates, after alignment and rotation.
  void getBoundingPoints(AcGePoint3dArray& points) const;

 protected:
  void copyTextFrom(const AcDbText& other);

 private:
  AcGePoint3d position_, alignment_;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  double height_ = 2.5, width_ = 1.0, rotation_ = 0.0, oblique_ = 0.0;
  AcDb::TextHorzMode horizontal_ = AcDb::kTextLeft;
  AcDb::TextVertMode vertical_ = AcDb::kTextBase;
  std::wstring text_;
  AcDbObjectId style_;
};

class AcDbAttributeDefinition : public AcDbText {
  ACRX_DECLARE_MEMBERS(AcDbAttributeDefinition);
  ACDB_DECLARE_COPYING(AcDbAttributeDefinition);

 public:
  AcDbAttributeDefinition() = default;
  AcDbAttributeDefinition(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                          const ACHAR* prompt, AcDbObjectId style = AcDbObjectId::kNull);
  ACHAR* tag() const;  // new copy, free with acutDelString
  const ACHAR* tagConst() const;
  Acad::ErrorStatus setTag(const ACHAR* tag);  // eInvalidInput for an empty tag or one with blanks
  ACHAR* prompt() const;
  const ACHAR* promptConst() const;
  Acad::ErrorStatus setPrompt(const ACHAR* prompt);
  bool isInvisible() const;
  Acad::ErrorStatus setInvisible(bool invisible);
  bool isConstant() const;
  Acad::ErrorStatus setConstant(bool constant);

 private:
  std::wstring tag_, prompt_;
  bool invisible_ = false, constant_ = false;
};

class AcDbAttribute : public AcDbText {
  ACRX_DECLARE_MEMBERS(AcDbAttribute);
  ACDB_DECLARE_COPYING(AcDbAttribute);

 public:
  AcDbAttribute() = default;
  AcDbAttribute(const AcGePoint3d& position, const ACHAR* text, const ACHAR* tag,
                AcDbObjectId style = AcDbObjectId::kNull);
  ACHAR* tag() const;  // new copy, free with acutDelString
  const ACHAR* tagConst() const;
  Acad::ErrorStatus setTag(const ACHAR* tag);
  bool isInvisible() const;
  Acad::ErrorStatus setInvisible(bool invisible);
  // Takes the definition's text properties, tag and default value, transformed by the block
  // reference's transform.
  Acad::ErrorStatus setAttributeFromBlock(const AcDbAttributeDefinition* pAttdef,
                                          const AcGeMatrix3d& blkXform);

 private:
  // Held once for the program: a drawing's attributes share a few tags, and a large floor has
  // hundreds of thousands of attributes. Null: no tag.
  const std::wstring* tag_ = nullptr;
  bool invisible_ = false;
};

// Walks ids owned by an entity (the attributes of a block reference), in order.
class AcDbObjectIterator : public AcRxObject {
  ACRX_DECLARE_MEMBERS(AcDbObjectIterator);

 public:
  explicit AcDbObjectIterator(std::vector<AcDbObjectId> ids) : ids_(std::move(ids)) { start(); }
  void start(bool atEnd = false);
  bool done() const { return index_ < 0 || index_ >= static_cast<int>(ids_.size()); }
  void step(bool backwards = false, bool skipErased = true);
  AcDbObjectId objectId() const;
  // Entities are reached by opening objectId(); there is no in-memory pointer to give.
  AcDbEntity* entity() { return nullptr; }

 private:
  void skip(bool backwards);
  std::vector<AcDbObjectId> ids_;
  int index_ = 0;
};

class AcDbBlockReference : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbBlockReference);
  ACDB_DECLARE_COPYING(AcDbBlockReference);

 public:
  AcDbBlockReference() = default;
  AcDbBlockReference(const AcGePoint3d& position, AcDbObjectId blockTableRec);
  ~AcDbBlockReference() override;

  AcDbObjectId blockTableRecord() const;
  Acad::ErrorStatus setBlockTableRecord(AcDbObjectId blockTableRec);
  AcGePoint3d position() const;
  Acad::ErrorStatus setPosition(const AcGePoint3d& pt);
  AcGeScale3d scaleFactors() const;
  // eInvalidInput for a zero factor.
  Acad::ErrorStatus setScaleFactors(const AcGeScale3d& scale);
  double rotation() const;
  Acad::ErrorStatus setRotation(double angle);
  AcGeVector3d normal() const;
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);
  // Block coordinates to world: translate by -origin of the block, scale, rotate about the
  // normal, move to the position.
  AcGeMatrix3d blockTransform() const;
  // Sets position, rotation and scale from a matrix without shear.
  Acad::ErrorStatus setBlockTransform(const AcGeMatrix3d& xform);

  // Takes ownership of a new attribute. When the reference is in a database, the attribute
  // joins it at once (then open for write: close it); otherwise it joins with the reference.
  Acad::ErrorStatus appendAttribute(AcDbAttribute* pAttr);
  Acad::ErrorStatus appendAttribute(AcDbObjectId& attId, AcDbAttribute* pAttr);
  // A new iterator over the attribute ids; the caller deletes it.
  AcDbObjectIterator* attributeIterator() const;
  const std::vector<AcDbObjectId>& attributeIds() const { return attributes_; }

  // With doSubents the attributes change colour too.
  Acad::ErrorStatus setColorIndex(Adesk::UInt16 color, bool doSubents = true) override;
  // Moves the attributes with the reference.
  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  // The box of the block's entities under the reference's transform (attributes included).
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

 private:
  friend class AcDbBlockTableRecord;
  // Gives pending attributes to the database once the reference is in it.
  void adoptPendingAttributes();

  AcDbObjectId block_;
  AcGePoint3d position_;
  AcGeScale3d scale_;
  double rotation_ = 0.0;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  std::vector<AcDbObjectId> attributes_;
  AcDbNotCopied<std::vector<std::unique_ptr<AcDbAttribute>>> pending_;
};
