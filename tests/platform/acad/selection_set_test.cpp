// Selection sets: modes, filters by type, layer, block name, colour and application XData, the
// user's own picks, the pick-first set, window and crossing rectangles and the set functions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <utility>
#include <vector>

#include <aced.h>
#include <acedads.h>
#include <acutads.h>
#include <dbpl.h>
#include "editor_drawing_support.h"
#include "editor_test_support.h"
#include "platform/acad/selection_set.h"
#include "platform/win/user_session.h"

namespace {

using namespace editor_test;

class SelectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    block_ = d_.Block(L"RT01");
    d_.Line(0, 0, 10, 0, block_);
    linked_ = d_.Insert(block_, 0, 0);
    d_.AddXData(linked_, L"RQ_LINK");
    attributed_ = d_.Insert(block_, 0, 20);
    d_.AddXData(attributed_, L"RQ_ATTR");
    other_app_ = d_.Insert(block_, 0, 40);
    d_.AddXData(other_app_, L"ACAD_OTHER");
    plain_ = d_.Insert(block_, 0, 60);
    line_ = d_.Line(100, 0, 110, 0);
    d_.Layer(L"WIRE_A", false);
    d_.Layer(L"WIRE_COLD", true);
    d_.SetLayer(line_, L"WIRE_A");
    d_.SetLayer(plain_, L"WIRE_COLD");
  }
  void TearDown() override {
    EXPECT_EQ(platform::acad::OpenSelectionSetCount(), 0u);
    platform::acad::FreeAllSelectionSets();
    platform::acad::ClearPickfirst();
    EXPECT_EQ(d_.OpenObjects(), L"");
  }

  // The members of a set, which is freed.
  std::set<AcDbObjectId> Members(ads_name ss) {
    std::set<AcDbObjectId> ids;
    Adesk::Int32 n = 0;
    EXPECT_EQ(acedSSLength(ss, &n), RTNORM);
    for (Adesk::Int32 i = 0; i < n; ++i) {
      ads_name ent;
      EXPECT_EQ(acedSSName(ss, i, ent), RTNORM);
      AcDbObjectId id;
      EXPECT_EQ(acdbGetObjectId(id, ent), Acad::eOk);
      ids.insert(id);
    }
    EXPECT_EQ(acedSSFree(ss), RTNORM);
    return ids;
  }
  std::set<AcDbObjectId> Select(const ACHAR* mode, resbuf* filter) {
    ads_name ss;
    const int rc = acedSSGet(mode, nullptr, nullptr, filter, ss);
    acutRelRb(filter);
    if (rc != RTNORM) return {};
    return Members(ss);
  }

  TestDrawing d_;
  platform::ActionQueueSession session_;
  platform::ScopedUserSession scoped_{&session_};
  AcDbObjectId block_, linked_, attributed_, other_app_, plain_, line_;
};

TEST_F(SelectionTest, FiltersByTypeLayerBlockColourAndApplications) {
  using S = std::set<AcDbObjectId>;
  EXPECT_EQ(Select(L"X", acutBuildList(RTDXF0, L"INSERT", 0)),
            (S{linked_, attributed_, other_app_, plain_}));
  EXPECT_EQ(Select(L"X", acutBuildList(RTDXF0, L"LINE", 0)), (S{line_}));
  EXPECT_EQ(Select(L"X", acutBuildList(8, L"wire_*", 0)), (S{line_, plain_}));
  EXPECT_EQ(Select(L"X", acutBuildList(2, L"RT*", 8, L"WIRE_COLD", 0)), (S{plain_}));
  EXPECT_EQ(Select(L"X", acutBuildList(62, 256, 8, L"WIRE_A", 0)), (S{line_}));
  EXPECT_EQ(Select(L"X", acutBuildList(-3, 1001, L"RQ_LINK,RQ_ATTR", 0)),
            (S{linked_, attributed_}));
  EXPECT_EQ(Select(L"X", acutBuildList(-3, 1001, L"RQ_*", 0)), (S{linked_, attributed_}));
  // "A" leaves out what lies on frozen layers; "X" does not.
  EXPECT_EQ(Select(L"A", acutBuildList(RTDXF0, L"INSERT", 0)),
            (S{linked_, attributed_, other_app_}));
  // Nothing matching is an error, not an empty set.
  ads_name ss;
  resbuf* none = acutBuildList(RTDXF0, L"CIRCLE", 0);
  EXPECT_EQ(acedSSGet(L"X", nullptr, nullptr, none, ss), RTERROR);
  acutRelRb(none);
  EXPECT_EQ(acedSSGet(L"Q", nullptr, nullptr, nullptr, ss), RTERROR);
}

TEST_F(SelectionTest, PickFirstSet) {
  using S = std::set<AcDbObjectId>;
  EXPECT_TRUE(Select(L"I", nullptr).empty());  // no pick-first set: RTERROR
  platform::acad::SetPickfirst({line_, other_app_, linked_});
  EXPECT_EQ(Select(L"I", acutBuildList(-3, 1001, L"RQ_LINK,RQ_ATTR", 0)), (S{linked_}));
  resbuf* first = nullptr;
  ASSERT_EQ(acedSSGetFirst(nullptr, &first), RTNORM);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->restype, RTPICKS);
  EXPECT_EQ(Members(first->resval.rlname), (S{line_, other_app_, linked_}));
  acutRelRb(first);
  ASSERT_EQ(acedSSSetFirst(nullptr, nullptr), RTNORM);
  EXPECT_TRUE(platform::acad::Pickfirst().empty());
}

TEST_F(SelectionTest, TheUserPicksUntilEnter) {
  using S = std::set<AcDbObjectId>;
  session_.Push(Pick({d_.Handle(linked_), d_.Handle(line_)}));
  session_.Push(PickAt(5, 20.5));   // the line inside the reference at (0,20)
  session_.Push(PickAt(500, 500));  // nothing there
  session_.Push(Enter());
  resbuf* filter = acutBuildList(RTDXF0, L"INSERT", 0);
  ads_name ss;
  ASSERT_EQ(acedSSGet(nullptr, nullptr, nullptr, filter, ss), RTNORM);
  acutRelRb(filter);
  EXPECT_EQ(Members(ss), (S{linked_, attributed_}));  // the line is filtered out
  const std::wstring prompt = L"\nオブジェクトを選択: ";
  EXPECT_EQ(session_.transcript(),
            prompt + L"\n" + prompt + L"\n" + prompt + L"\n" + prompt + L"\n");

  session_.Push(Esc());
  EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTCAN);
  session_.Push(Enter());
  EXPECT_EQ(acedSSGet(nullptr, nullptr, nullptr, nullptr, ss), RTERROR);
}

TEST_F(SelectionTest, WindowAndCrossingAndTheSetFunctions) {
  using S = std::set<AcDbObjectId>;
  const ads_point a = {-1, -1, 0}, b = {11, 25, 0};
  ads_name ss;
  ASSERT_EQ(acedSSGet(L"W", a, b, nullptr, ss), RTNORM);
  EXPECT_EQ(Members(ss), (S{linked_, attributed_}));
  const ads_point c = {5, 30, 0}, e = {6, 45, 0};
  ASSERT_EQ(acedSSGet(L"C", c, e, nullptr, ss), RTNORM);
  EXPECT_EQ(Members(ss), (S{other_app_}));

  ads_name line_name, set;
  ASSERT_EQ(acdbGetAdsName(line_name, line_), Acad::eOk);
  ASSERT_EQ(acedSSAdd(line_name, nullptr, set), RTNORM);
  EXPECT_EQ(acedSSMemb(line_name, set), RTNORM);
  EXPECT_EQ(acedSSDel(line_name, set), RTNORM);
  EXPECT_EQ(acedSSDel(line_name, set), RTERROR);
  Adesk::Int32 n = -1;
  EXPECT_EQ(acedSSLength(set, &n), RTNORM);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(acedSSFree(set), RTNORM);
  EXPECT_EQ(acedSSFree(set), RTERROR);
  EXPECT_EQ(acedSSLength(set, &n), RTERROR);
}

// Near the corner (210,210) of the square from (200,200) to (210,210), where boxes overlap the
// square while the geometry in them may pass by.
TEST_F(SelectionTest, CrossingsTestLinesPolylinesCirclesAndArcsByWhatIsDrawn) {
  using S = std::set<AcDbObjectId>;
  auto polyline = [this](std::initializer_list<std::pair<AcGePoint2d, double>> vertices,
                         bool closed) {
    auto* pl = new AcDbPolyline;
    unsigned i = 0;
    for (const auto& [point, bulge] : vertices) pl->addVertexAt(i++, point, bulge);
    pl->setClosed(closed);
    return d_.Append(pl);
  };
  const AcDbObjectId inside = d_.Line(201, 201, 202, 202);
  const AcDbObjectId passing = d_.Line(209, 212, 212, 209);  // x + y = 421, beyond the corner
  // A closed outline all round the square crosses no edge of it.
  const AcDbObjectId around =
      polyline({{{195, 195}, 0}, {{215, 195}, 0}, {{215, 215}, 0}, {{195, 215}, 0}}, true);
  // A half circle below the chord (203,212)-(207,212) whose lowest point is (205,210): it
  // touches the top edge, though its chord stays outside.
  const AcDbObjectId dipping = polyline({{{203, 212}, 1}, {{207, 212}, 0}}, false);
  // A quarter circle round (206,206) from (212,206) to (206,212): it bows out past the corner.
  const AcDbObjectId bowing =
      polyline({{{212, 206}, std::tan(std::numbers::pi / 8)}, {{206, 212}, 0}}, false);
  const AcDbObjectId circle = d_.Append(new AcDbCircle({213, 213, 0}, {0, 0, 1}, 4));
  // The left half of a circle round (212,205): its leftmost point (209,205) is inside.
  const AcDbObjectId arc =
      d_.Append(new AcDbArc({212, 205, 0}, 3, std::numbers::pi / 2, 3 * std::numbers::pi / 2));
  ASSERT_FALSE(around.isNull() || dipping.isNull() || bowing.isNull());

  const ads_point lo = {200, 200, 0}, hi = {210, 210, 0};
  using platform::acad::InRectangle;
  using platform::acad::RectangleSelection;
  auto as_set = [](const std::vector<AcDbObjectId>& ids) { return S(ids.begin(), ids.end()); };
  EXPECT_EQ(as_set(InRectangle(lo, hi, RectangleSelection::kCrossing)), (S{inside, dipping, arc}));
  EXPECT_EQ(as_set(InRectangle(hi, lo, RectangleSelection::kWindow)), (S{inside}));
  ads_name ss;
  ASSERT_EQ(acedSSGet(L"_C", hi, lo, nullptr, ss), RTNORM);
  EXPECT_EQ(Members(ss), (S{inside, dipping, arc}));
  // A window round everything takes them all, the outline too.
  const ads_point far_lo = {190, 190, 0}, far_hi = {220, 220, 0};
  EXPECT_EQ(as_set(InRectangle(far_lo, far_hi, RectangleSelection::kWindow)),
            (S{inside, passing, around, dipping, bowing, circle, arc}));
  // Each of those left out is taken by a crossing of its own.
  const struct {
    AcDbObjectId id;
    ads_point a, b;
  } own[] = {
      {passing, {210, 210, 0}, {211, 211, 0}},
      {around, {214, 200, 0}, {216, 201, 0}},
      {bowing, {210, 210, 0}, {211, 211, 0}},
      {circle, {216, 212, 0}, {218, 214, 0}},
  };
  for (const auto& o : own) {
    const auto got = InRectangle(o.a, o.b, RectangleSelection::kCrossing);
    EXPECT_NE(std::find(got.begin(), got.end(), o.id), got.end()) << o.a[0] << "," << o.a[1];
  }
}

// A reference is boxed by what it shows: its invisible attributes do not count.
TEST_F(SelectionTest, AWindowBoxesAReferenceByWhatItShows) {
  using S = std::set<AcDbObjectId>;
  const AcDbObjectId ref = d_.Insert(block_, 300, 0);  // RT01's line from (300,0) to (310,0)
  AcDbBlockReference* open = nullptr;
  ASSERT_EQ(acdbOpenObject(open, ref, AcDb::kForWrite), Acad::eOk);
  auto* attribute = new AcDbAttribute(AcGePoint3d(300, -5, 0), L"1", L"ETAT");
  attribute->setInvisible(true);
  AcDbObjectId attribute_id;
  ASSERT_EQ(open->appendAttribute(attribute_id, attribute), Acad::eOk);
  attribute->close();
  open->close();

  const ads_point a = {299, -1, 0}, b = {311, 1, 0};
  auto window = [&] {
    const auto ids = platform::acad::InRectangle(a, b, platform::acad::RectangleSelection::kWindow);
    return S(ids.begin(), ids.end());
  };
  EXPECT_EQ(window(), (S{ref}));
  // Shown, the attribute reaches below the window.
  ASSERT_EQ(acdbOpenObject(attribute, attribute_id, AcDb::kForWrite), Acad::eOk);
  attribute->setInvisible(false);
  attribute->close();
  EXPECT_EQ(window(), S{});
}

}  // namespace
