// Entity picks: by handle and by point, top-level and nested two blocks deep, and ERRNO.
#include <gtest/gtest.h>

#include <numbers>

#include <aced.h>
#include <acedads.h>
#include <acutads.h>
#include "editor_drawing_support.h"
#include "editor_test_support.h"
#include "platform/win/user_session.h"

namespace {

using namespace editor_test;

int Errno() {
  resbuf rb{};
  EXPECT_EQ(acedGetVar(L"ERRNO", &rb), RTNORM);
  return rb.resval.rint;
}

AcDbObjectId IdOf(const ads_name name) {
  AcDbObjectId id;
  EXPECT_EQ(acdbGetObjectId(id, name), Acad::eOk);
  return id;
}

// OUTER holds a reference to INNER at (10, 0) and then a line; INNER holds a line (0,0)-(2,0).
// Model space holds OUTER at (100, 50), turned by 90 degrees and scaled by 2, so that INNER's
// line lies from (100, 70) to (100, 74).
class NestedPickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    inner_ = drawing_.Block(L"INNER");
    inner_line_ = drawing_.Line(0, 0, 2, 0, inner_);
    outer_ = drawing_.Block(L"OUTER");
    inner_ref_ = drawing_.Insert(inner_, 10, 0, 0, 1, outer_);
    drawing_.Line(0, -5, 0, 5, outer_);
    outer_ref_ = drawing_.Insert(outer_, 100, 50, std::numbers::pi / 2, 2);
    top_line_ = drawing_.Line(0, 0, 10, 0);
  }
  void TearDown() override { EXPECT_EQ(drawing_.OpenObjects(), L""); }

  TestDrawing drawing_;
  platform::ActionQueueSession session_;
  platform::ScopedUserSession scoped_{&session_};
  AcDbObjectId inner_, inner_line_, outer_, inner_ref_, outer_ref_, top_line_;
};

TEST_F(NestedPickTest, PickByHandleTakesTheFirstEntityInsideWithItsContainers) {
  session_.Push(Pick({drawing_.Handle(outer_ref_)}));
  ads_name ent;
  ads_point pt;
  ads_matrix m;
  resbuf* chain = nullptr;
  ASSERT_EQ(acedNEntSelP(L"\n配線を選択:", ent, pt, 0, m, &chain), RTNORM);
  EXPECT_EQ(IdOf(ent), inner_line_);
  // Innermost container first.
  ASSERT_NE(chain, nullptr);
  EXPECT_EQ(chain->restype, RTENAME);
  EXPECT_EQ(IdOf(chain->resval.rlname), inner_ref_);
  ASSERT_NE(chain->rbnext, nullptr);
  EXPECT_EQ(IdOf(chain->rbnext->resval.rlname), outer_ref_);
  EXPECT_EQ(chain->rbnext->rbnext, nullptr);
  acutRelRb(chain);
  // The matrix takes the line's start (0,0) to (100,70): rotation and scale in the upper part.
  EXPECT_NEAR(m[0][3], 100, 1e-9);
  EXPECT_NEAR(m[1][3], 70, 1e-9);
  EXPECT_NEAR(m[0][0], 0, 1e-9);
  EXPECT_NEAR(m[1][0], 2, 1e-9);
  EXPECT_NEAR(m[0][1], -2, 1e-9);
  EXPECT_NEAR(m[3][3], 1, 1e-9);
  // The pick point is on the picked line: its middle (1,0) in world coordinates.
  EXPECT_NEAR(pt[0], 100, 1e-9);
  EXPECT_NEAR(pt[1], 72, 1e-9);
  EXPECT_EQ(session_.transcript(), L"\n配線を選択:\n");
}

TEST_F(NestedPickTest, PickByPointReachesTheDeepestEntity) {
  session_.Push(PickAt(100.4, 73));
  ads_name ent;
  ads_point pt;
  ads_matrix m;
  resbuf* chain = nullptr;
  ASSERT_EQ(acedNEntSelP(nullptr, ent, pt, 0, m, &chain), RTNORM);
  EXPECT_EQ(IdOf(ent), inner_line_);
  ASSERT_NE(chain, nullptr);
  EXPECT_EQ(IdOf(chain->resval.rlname), inner_ref_);
  acutRelRb(chain);
  EXPECT_DOUBLE_EQ(pt[0], 100.4);
  EXPECT_DOUBLE_EQ(pt[1], 73);
  EXPECT_EQ(session_.transcript(), L"\nオブジェクトを選択: \n");

  // The same point with acedEntSel gives the top-level reference.
  session_.Push(PickAt(100.4, 73));
  ASSERT_EQ(acedEntSel(L"", ent, pt), RTNORM);
  EXPECT_EQ(IdOf(ent), outer_ref_);

  // A preset point asks nothing.
  const size_t length = session_.transcript().size();
  pt[0] = 5;
  pt[1] = 0.5;
  ASSERT_EQ(acedNEntSelP(L"never shown", ent, pt, 1, m, &chain), RTNORM);
  EXPECT_EQ(IdOf(ent), top_line_);
  EXPECT_EQ(session_.transcript().size(), length);
}

TEST_F(NestedPickTest, TopLevelEntitiesHaveNoContainersAndTheIdentity) {
  session_.Push(Pick({drawing_.Handle(top_line_)}));
  ads_name ent;
  ads_point pt;
  ads_matrix m;
  resbuf* chain = reinterpret_cast<resbuf*>(1);
  ASSERT_EQ(acedNEntSelP(L"", ent, pt, 0, m, &chain), RTNORM);
  EXPECT_EQ(IdOf(ent), top_line_);
  EXPECT_EQ(chain, nullptr);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) EXPECT_DOUBLE_EQ(m[r][c], r == c ? 1 : 0);
  EXPECT_DOUBLE_EQ(pt[0], 5);
}

TEST_F(NestedPickTest, MissesEmptyResponsesAndCancel) {
  session_.Push(PickAt(500, 500));
  session_.Push(Enter());
  session_.Push(Esc());
  ads_name ent;
  ads_point pt;
  ads_matrix m;
  resbuf* chain = nullptr;
  EXPECT_EQ(acedNEntSelP(L"A:", ent, pt, 0, m, &chain), RTERROR);
  EXPECT_EQ(Errno(), 7);
  EXPECT_EQ(acedNEntSelP(L"B:", ent, pt, 0, m, &chain), RTERROR);
  EXPECT_EQ(Errno(), 52);
  EXPECT_EQ(acedEntSel(L"C:", ent, pt), RTCAN);
  EXPECT_EQ(chain, nullptr);
  EXPECT_EQ(session_.transcript(), L"A:\nB:\nC:\n*キャンセル*\n");
}

TEST_F(NestedPickTest, UnknownHandlesAndTypedTextAreMismatches) {
  session_.Push(Pick({0xFFFFF}, 8));
  ads_name ent;
  ads_point pt;
  EXPECT_EQ(acedEntSel(L"", ent, pt), RTCAN);
  EXPECT_EQ(session_.exit_code(), platform::kExitScriptMismatch);
  EXPECT_NE(session_.stop_reason().find(L"line 8"), std::wstring::npos);
}

TEST(SystemVariableTest, DimscaleFollowsTheDrawing) {
  TestDrawing drawing;
  resbuf rb{};
  ASSERT_EQ(acedGetVar(L"dimscale", &rb), RTNORM);
  EXPECT_EQ(rb.restype, RTREAL);
  EXPECT_DOUBLE_EQ(rb.resval.rreal, 1.0);
  rb.resval.rreal = 50;
  ASSERT_EQ(acedSetVar(L"DIMSCALE", &rb), RTNORM);
  EXPECT_DOUBLE_EQ(drawing.db()->dimscale(), 50);
  EXPECT_EQ(acedGetVar(L"NOSUCHVAR", &rb), RTERROR);
}

}  // namespace
