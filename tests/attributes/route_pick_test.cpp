// The nested pick of a route element, answered by the scripted user.
#include "attributes/route_pick.h"

#include <adsdef.h>
#include <gtest/gtest.h>

#include "attributes_support.h"

namespace {

using attributes_test::CountOf;
using tools::HandleOf;
namespace steps = host::steps;

constexpr const wchar_t* kPrompt = L"\n配線を選択:";

class RoutePickTest : public attributes_test::RouteDrawingTest {
 protected:
  // A segment RT1 at the origin, a block RTN holding an RT1 placed at (200,0), a segment without
  // "RQ_LINK" data below them and a line above them.
  void StartWithRoutes() {
    StartSession([this](tools::DrawingBuilder& b) {
      b.DefineSegment(L"RT1", 100);
      b.DefineNesting(L"RTN", L"RT1", {0, 0});
      segment_ = b.AddRouteElement(L"RT1", {0, 0});
      nested_ = b.AddRouteElement(L"RTN", {200, 0});
      unlinked_ = b.AddRouteElement(L"RT1", {0, -100});
      b.SetStrings(unlinked_, L"RQ_LINK", {});
      line_ = b.AddLine(0, 100, 100, 100);
    });
    segment_line_ = attributes_test::FirstEntityOfBlock(L"RT1");
    ASSERT_FALSE(segment_line_.isNull());
  }

  int Pick() { return PickRouteElement(kPrompt, entity_, point_, element_); }

  AcDbObjectId segment_, nested_, unlinked_, line_, segment_line_;
  AcDbObjectId entity_, element_;
  AcGePoint3d point_;
};

TEST_F(RoutePickTest, APickInsideAnElementGivesTheEntityThePointAndTheElement) {
  StartWithRoutes();
  Queue({steps::PickAt(40, 0)});
  ASSERT_EQ(Pick(), RTNORM);
  EXPECT_EQ(element_, segment_);
  EXPECT_EQ(entity_, segment_line_);
  EXPECT_TRUE(point_.isEqualTo(AcGePoint3d(40, 0, 0)));
  EXPECT_EQ(CountOf(session().transcript(), kPrompt), 1);
}

TEST_F(RoutePickTest, TwoBlocksDeepTheOutermostReferenceIsTheElement) {
  StartWithRoutes();
  Queue({steps::PickAt(260, 0), steps::Pick({tools::HandleOf(nested_)})});
  ASSERT_EQ(Pick(), RTNORM);
  EXPECT_EQ(element_, nested_);
  EXPECT_EQ(entity_, segment_line_);
  EXPECT_TRUE(point_.isEqualTo(AcGePoint3d(260, 0, 0)));

  ASSERT_EQ(Pick(), RTNORM);
  EXPECT_EQ(element_, nested_);
  EXPECT_EQ(entity_, segment_line_);
}

TEST_F(RoutePickTest, MissesTopLevelEntitiesAndUnlinkedBlocksAreAskedAgain) {
  StartWithRoutes();
  Queue({steps::PickAt(500, 500),         // empty space
         steps::Pick({tools::HandleOf(line_)}),  // a top-level entity
         steps::PickAt(50, -100),         // inside a block without "RQ_LINK"
         steps::Pick({tools::HandleOf(segment_)})});
  ASSERT_EQ(Pick(), RTNORM);
  EXPECT_EQ(element_, segment_);
  EXPECT_EQ(entity_, segment_line_);
  EXPECT_EQ(CountOf(session().transcript(), kPrompt), 4);
}

TEST_F(RoutePickTest, EnterGivesNoneAndEscIsPassedOn) {
  StartWithRoutes();
  Queue({steps::PickAt(500, 500), steps::Enter()});
  EXPECT_EQ(Pick(), RTNONE);
  EXPECT_TRUE(entity_.isNull());
  EXPECT_TRUE(element_.isNull());

  Queue({steps::Pick({tools::HandleOf(line_)}), steps::Esc()});
  EXPECT_EQ(Pick(), RTCAN);
  EXPECT_TRUE(entity_.isNull());
  EXPECT_TRUE(element_.isNull());
  EXPECT_EQ(CountOf(session().transcript(), kPrompt), 4);
}

}  // namespace
