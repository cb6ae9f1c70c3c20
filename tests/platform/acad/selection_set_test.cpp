// Selection sets: modes, filters by type, layer, block name, colour and application XData, the
// user's own picks, the pick-first set and the set functions.
#include <gtest/gtest.h>

#include <set>

#include <aced.h>
#include <acedads.h>
#include <acutads.h>
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

}  // namespace
