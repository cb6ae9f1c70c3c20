// AcDbHatch: a pattern or solid fill bounded by polyline loops.
#pragma once

#include <string>
#include <vector>

#include <dbmain.h>
#include <gepnt2d.h>

class AcDbHatch : public AcDbEntity {
  ACRX_DECLARE_MEMBERS(AcDbHatch);
  ACDB_DECLARE_COPYING(AcDbHatch);

 public:
  enum HatchPatternType { kUserDefined = 0, kPreDefined = 1, kCustomDefined = 2 };
  enum HatchStyle { kNormal = 0, kOuter = 1, kIgnore = 2 };
  enum HatchLoopType {
    kDefault = 0,
    kExternal = 1,
    kPolyline = 2,
    kDerived = 4,
    kTextbox = 8,
    kOutermost = 0x10,
    kNotClosed = 0x20,
    kSelfIntersecting = 0x40,
  };

  AcDbHatch() = default;

  // "SOLID" (any case) makes a solid fill.
  Acad::ErrorStatus setPattern(HatchPatternType patType, const ACHAR* patName);
  const ACHAR* patternName() const;
  HatchPatternType patternType() const;
  bool isSolidFill() const;
  double patternScale() const;
  Acad::ErrorStatus setPatternScale(double scale);
  double patternAngle() const;
  Acad::ErrorStatus setPatternAngle(double angle);
  HatchStyle hatchStyle() const;
  Acad::ErrorStatus setHatchStyle(HatchStyle style);
  bool associative() const;
  Acad::ErrorStatus setAssociative(bool isAssociative);
  double elevation() const;
  Acad::ErrorStatus setElevation(double elevation);
  AcGeVector3d normal() const;
  Acad::ErrorStatus setNormal(const AcGeVector3d& normal);

  // A polyline loop; bulges may be empty (straight edges) or one per vertex. The loop type
  // gets kPolyline added. eInvalidInput for fewer than two vertices or a bulge count mismatch.
  Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcGePoint2dArray& vertices,
                               const AcGeDoubleArray& bulges);
  // A loop bounded by entities (associative hatches); their ids are kept.
  Acad::ErrorStatus appendLoop(Adesk::Int32 loopType, const AcDbObjectIdArray& dbObjIds);
  int numLoops() const;
  Adesk::Int32 loopTypeAt(int loopIndex) const;
  // eInvalidIndex for a loop that does not exist or is no polyline loop.
  Acad::ErrorStatus getLoopAt(int loopIndex, Adesk::Int32& loopType, AcGePoint2dArray& vertices,
                              AcGeDoubleArray& bulges) const;
  Acad::ErrorStatus getAssocObjIdsAt(int loopIndex, AcDbObjectIdArray& dbObjIds) const;
  Acad::ErrorStatus removeLoopAt(int loopIndex);
  // The pattern lines are not computed (nothing draws them); counted for tests.
  Acad::ErrorStatus evaluateHatch(bool underEstimateNumLines = false);
  int evaluationCount() const { return evaluations_; }

  Acad::ErrorStatus transformBy(const AcGeMatrix3d& xform) override;
  Acad::ErrorStatus getGeomExtents(AcDbExtents& extents) const override;

 private:
  struct Loop {
    Adesk::Int32 type = 0;
    std::vector<AcGePoint2d> vertices;
    std::vector<double> bulges;
    std::vector<AcDbObjectId> boundary;
  };
  std::vector<Loop> loops_;
  std::wstring pattern_ = L"SOLID";
  HatchPatternType pattern_type_ = kPreDefined;
  HatchStyle style_ = kNormal;
  double scale_ = 1.0, angle_ = 0.0, elevation_ = 0.0;
  bool associative_ = false;
  AcGeVector3d normal_ = AcGeVector3d::kZAxis;
  int evaluations_ = 0;
};
