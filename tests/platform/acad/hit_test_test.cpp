// Hit testing by real geometry: lines, texts, polylines, circles, rotated and scaled references,
// the topmost entity, frozen layers and the aperture that follows the drawing's scale.
#include <gtest/gtest.h>

#include <numbers>

#include <dbpl.h>
#include "editor_drawing_support.h"
#include "platform/acad/hit_test.h"

namespace {

using editor_test::TestDrawing;
using platform::acad::PickAperture;
using platform::acad::PickEntityAt;

AcDbObjectId TopAt(const TestDrawing& d, double x, double y) {
  auto hit = PickEntityAt(d.modelSpace(), AcGePoint3d(x, y, 0), PickAperture(), false);
  return hit ? hit->entity : AcDbObjectId();
}

TEST(HitTestTest, LinesAndTheAperture) {
  TestDrawing d;
  const AcDbObjectId line = d.Line(0, 0, 10, 0);
  EXPECT_EQ(TopAt(d, 5, 0.9), line);
  EXPECT_EQ(TopAt(d, 10.5, 0.5), line);  // near the end point
  EXPECT_TRUE(TopAt(d, 5, 1.1).isNull());
  EXPECT_TRUE(TopAt(d, 11.2, 0).isNull());
  // The aperture is one drawing unit times the global scale.
  d.db()->setDimscale(2);
  EXPECT_DOUBLE_EQ(PickAperture(), 2);
  EXPECT_EQ(TopAt(d, 5, 1.9), line);
  EXPECT_EQ(d.OpenObjects(), L"");
}

TEST(HitTestTest, TextBoxesWithRotation) {
  TestDrawing d;
  // "AB幹" at height 2: two narrow characters of 1 and one wide of 2, a box 4 wide, 2 high.
  auto* text = new AcDbText(AcGePoint3d(0, 0, 0), L"AB幹");
  text->setHeight(2);
  const AcDbObjectId flat = d.Append(text);
  EXPECT_EQ(TopAt(d, 3.5, 1), flat);  // inside the box, away from any stroke
  EXPECT_EQ(TopAt(d, 4.8, 1), flat);  // within the aperture of its right edge
  EXPECT_TRUE(TopAt(d, 6, 1).isNull());

  auto* turned = new AcDbText(AcGePoint3d(20, 0, 0), L"AB幹");
  turned->setHeight(2);
  turned->setRotation(std::numbers::pi / 2);  // the box spans x 18..20, y 0..4
  const AcDbObjectId up = d.Append(turned);
  EXPECT_EQ(TopAt(d, 19, 3.5), up);
  EXPECT_TRUE(TopAt(d, 23.5, 1).isNull());
}

TEST(HitTestTest, ReferencesUnderRotationAndScale) {
  TestDrawing d;
  const AcDbObjectId block = d.Block(L"RT01");
  d.Line(0, 0, 10, 0, block);
  // Turned by 90 degrees and scaled by 2: the line runs from (50,50) to (50,70).
  const AcDbObjectId ref = d.Insert(block, 50, 50, std::numbers::pi / 2, 2);
  EXPECT_EQ(TopAt(d, 50.5, 65), ref);
  EXPECT_TRUE(TopAt(d, 55, 65).isNull());
  EXPECT_TRUE(TopAt(d, 60, 50).isNull());  // where the line would be without the rotation
  EXPECT_TRUE(TopAt(d, 50, 73).isNull());  // beyond the scaled end (70) plus the aperture
}

TEST(HitTestTest, PolylinesCirclesTopmostAndFrozenLayers) {
  TestDrawing d;
  // A half circle of radius 5 around (5,0) from (0,0) to (10,0), bulging downwards.
  auto* pl = new AcDbPolyline;
  pl->addVertexAt(0, AcGePoint2d(0, 0), 1.0);
  pl->addVertexAt(1, AcGePoint2d(10, 0));
  const AcDbObjectId arc = d.Append(pl);
  EXPECT_EQ(TopAt(d, 5, -5.5), arc);
  EXPECT_TRUE(TopAt(d, 5, 5).isNull());  // the other half is not there
  EXPECT_TRUE(TopAt(d, 5, 0).isNull());  // nor the chord

  const AcDbObjectId circle =
      d.Append(new AcDbCircle(AcGePoint3d(30, 0, 0), AcGeVector3d::kZAxis, 4));
  EXPECT_EQ(TopAt(d, 30, 4.5), circle);
  EXPECT_TRUE(TopAt(d, 30, 0).isNull());

  // Two lines on top of each other: the one drawn last is on top.
  const AcDbObjectId first = d.Line(100, 0, 110, 0);
  const AcDbObjectId second = d.Line(100, 0, 110, 0);
  EXPECT_EQ(TopAt(d, 105, 0), second);
  d.Layer(L"HIDDEN", true);
  d.SetLayer(second, L"HIDDEN");
  EXPECT_EQ(TopAt(d, 105, 0), first);
  EXPECT_EQ(d.OpenObjects(), L"");
}

}  // namespace
