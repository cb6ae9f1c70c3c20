// Raw drag input (acedGrRead) and the Esc check of long loops (acedUsrBrk).
#include <gtest/gtest.h>

#include <acedads.h>
#include "editor_test_support.h"
#include "platform/win/user_session.h"

namespace {

using namespace editor_test;

struct Read {
  int rc, type;
  resbuf rb;
};
Read GrRead(int track) {
  Read r{};
  r.rc = acedGrRead(track, &r.type, &r.rb);
  return r;
}

TEST(DragInputTest, SamplesPicksKeysAndCancel) {
  platform::ActionQueueSession session;
  platform::ScopedUserSession scoped(&session);
  session.Push(Move(1, 2));
  platform::UserAction high = Move(3, 4);
  high.z = 9;
  high.has_z = true;
  session.Push(high);
  session.Push(Point(5, 6));
  session.Push(Typed(L"7,8"));
  session.Push(Enter());
  session.Push(Typed(L"ab"));
  session.Push(Esc());

  Read r = GrRead(1);
  EXPECT_EQ(r.rc, RTNORM);
  EXPECT_EQ(r.type, 5);
  EXPECT_EQ(r.rb.restype, RTPOINT);
  EXPECT_DOUBLE_EQ(r.rb.resval.rpoint[0], 1);
  r = GrRead(1);
  EXPECT_DOUBLE_EQ(r.rb.resval.rpoint[1], 4);
  EXPECT_DOUBLE_EQ(r.rb.resval.rpoint[2], 9);  // the sample's height
  r = GrRead(1);
  EXPECT_EQ(r.type, 3);
  EXPECT_DOUBLE_EQ(r.rb.resval.rpoint[0], 5);
  r = GrRead(1);  // a typed point is a pick
  EXPECT_EQ(r.type, 3);
  EXPECT_DOUBLE_EQ(r.rb.resval.rpoint[1], 8);
  r = GrRead(1);
  EXPECT_EQ(r.type, 2);
  EXPECT_EQ(r.rb.restype, RTSHORT);
  EXPECT_EQ(r.rb.resval.rint, 13);
  // Typed text arrives one key at a time, ended by Enter.
  EXPECT_EQ(GrRead(1).rb.resval.rint, L'a');
  EXPECT_EQ(GrRead(1).rb.resval.rint, L'b');
  EXPECT_EQ(GrRead(1).rb.resval.rint, 13);
  EXPECT_EQ(GrRead(1).rc, RTCAN);
  EXPECT_EQ(session.transcript(), L"\n*キャンセル*\n");
  EXPECT_EQ(GrRead(1).rc, RTCAN);  // end of the input
}

TEST(DragInputTest, WithoutTrackingCursorMovesAreSkipped) {
  platform::ActionQueueSession session;
  platform::ScopedUserSession scoped(&session);
  session.Push(Move(1, 2));
  session.Push(PickAt(9, 9));
  Read r = GrRead(0);
  EXPECT_EQ(r.type, 3);
  EXPECT_DOUBLE_EQ(r.rb.resval.rpoint[0], 9);
}

TEST(DragInputTest, UserBreakTakesOnlyBreak) {
  platform::ActionQueueSession session;
  platform::ScopedUserSession scoped(&session);
  session.Push(Point(1, 1));
  session.Push(Break());
  EXPECT_EQ(acedUsrBrk(), 0);
  EXPECT_EQ(session.pending(), 2u);  // the point is not taken
  session.ClearTranscript();
  ads_point p;
  ASSERT_EQ(acedGetPoint(nullptr, L"", p), RTNORM);
  EXPECT_EQ(acedUsrBrk(), 1);
  EXPECT_EQ(session.pending(), 0u);
  EXPECT_EQ(acedUsrBrk(), 0);
}

}  // namespace
