// The drag jig: the messages it sends its owner window, the prompt, entities shown, the end.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <acgitransient.h>
#include <adsdef.h>
#include <dbents.h>
#include "platform/win/user_session.h"

#include <Drag.h>

namespace {

using platform::ActionKind;
using platform::UserAction;

UserAction Move(double x, double y, ActionKind kind = ActionKind::kMove) {
  UserAction action;
  action.kind = kind;
  action.x = x;
  action.y = y;
  return action;
}
UserAction Key(ActionKind kind) {
  UserAction action;
  action.kind = kind;
  return action;
}

// An owner window that records each jig message and answers with `answer`.
class Recorder : public CWnd {
 public:
  struct Seen {
    UINT message;
    int status;
    double x, y;
    size_t shown;
  };
  std::vector<Seen> seen;
  std::function<LRESULT(UINT, dragdata&)> answer = [](UINT, dragdata&) { return 1; };

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message < DRAG_MSG_SAMPLE || message > DRAG_MSG_INPUT) {
      return CWnd::WindowProc(message, wParam, lParam);
    }
    auto& data = *reinterpret_cast<dragdata*>(lParam);
    const AcGePoint3d p = data.drag->GetPoint();
    seen.push_back({message, data.status, p.x, p.y, CDrag::Running()->ShownEntities().size()});
    return answer(message, data);
  }
};

class DragTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(owner_.Create(nullptr, L"drag owner", 0, RECT{0, 0, 10, 10}, nullptr, 0));
  }
  void TearDown() override { owner_.DestroyWindow(); }

  platform::ActionQueueSession session_;
  platform::ScopedUserSession scope_{&session_};
  Recorder owner_;
};

TEST_F(DragTest, SamplesPointNullResponseAndTheEnd) {
  CDrag drag(0);
  drag.Append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0)), L"1");
  drag.Append(new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 1, 0)), nullptr, 7);
  drag.SetEntEnable(0, 0);
  drag.DistEnabled(0, 15.0, 1, 10.0, 10.0, 1, nullptr, 1);
  session_.Push(Move(1, 2));
  session_.Push(Move(3, 4));
  session_.Push(Move(5, 6, ActionKind::kPoint));
  session_.Push(Key(ActionKind::kEnter));
  session_.Push(Move(7, 8));
  session_.Push(Move(9, 9));  // never read: the handler ends the drag at the sample before
  owner_.answer = [](UINT message, dragdata& data) -> LRESULT {
    if (message == DRAG_MSG_INPUT && data.status == -1) data.prompt = L"矩形の終点を指示";
    return data.drag->GetPoint().x == 7.0 ? 0 : 1;
  };

  EXPECT_EQ(RTNORM, drag.Dynamic(&owner_, L"注記記入", true, nullptr, 0.0, 1.0, 1.0, 1.0));
  ASSERT_EQ(7u, owner_.seen.size());
  const UINT expected[] = {DRAG_MSG_SAMPLE, DRAG_MSG_SAMPLE, DRAG_MSG_NOTIFY, DRAG_MSG_INPUT,
                           DRAG_MSG_NOTIFY, DRAG_MSG_INPUT,  DRAG_MSG_SAMPLE};
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(expected[i], owner_.seen[i].message) << i;
  EXPECT_EQ(RTNORM, owner_.seen[3].status);
  EXPECT_EQ(5.0, owner_.seen[3].x);
  EXPECT_EQ(-1, owner_.seen[5].status);
  EXPECT_EQ(5.0, owner_.seen[5].x);     // a null response keeps the last point
  EXPECT_EQ(1u, owner_.seen[0].shown);  // the hidden entity is not shown
  EXPECT_EQ(1u, session_.pending());
  EXPECT_EQ(L"\n注記記入: \n矩形の終点を指示: ", session_.transcript());
  EXPECT_EQ(nullptr, CDrag::Running());

  int data = 0;
  CString tag;
  ASSERT_NE(nullptr, drag.At(1, &data, &tag));
  EXPECT_EQ(7, data);
  EXPECT_TRUE(tag.IsEmpty());
  drag.At(0, &data, &tag);
  EXPECT_STREQ(L"1", tag);
  EXPECT_EQ(nullptr, drag.At(2));
  drag.RemoveAll(1);
  EXPECT_EQ(0, drag.Length());
}

TEST_F(DragTest, TheScreenShowsTheEnabledEntitiesWhileTheDragRuns) {
  CDrag drag(0);
  auto* first = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 0, 0));
  auto* second = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(0, 1, 0));
  auto* third = new AcDbLine(AcGePoint3d(0, 0, 0), AcGePoint3d(1, 1, 0));
  drag.Append(first);
  drag.Append(second);
  drag.SetEntEnable(0, 0);
  EXPECT_TRUE(platform::acad::ShownTransients().empty()) << "shown before the drag";
  session_.Push(Move(1, 1));
  session_.Push(Move(2, 2));
  session_.Push(Move(3, 3));
  session_.Push(Move(4, 4));
  std::vector<std::vector<const AcGiDrawable*>> screens;
  owner_.answer = [&](UINT, dragdata& data) -> LRESULT {
    screens.push_back(platform::acad::ShownTransients());
    // Each sample's handler changes the list; the next sample sees the change on the screen.
    const double x = data.drag->GetPoint().x;
    if (x == 1.0) data.drag->SetEntEnable(0, 1);
    if (x == 2.0) data.drag->Append(third);
    if (x == 3.0) data.drag->SetEntEnable(1, 0);
    return x == 4.0 ? 0 : 1;
  };
  EXPECT_EQ(RTNORM, drag.Dynamic(&owner_, L"位置", true, nullptr, 0.0, 1.0, 1.0, 1.0));
  using Screen = std::vector<const AcGiDrawable*>;
  ASSERT_EQ(4u, screens.size());
  EXPECT_EQ(screens[0], Screen({second}));
  EXPECT_EQ(screens[1], Screen({second, first}));  // shown in the order they came on
  EXPECT_EQ(screens[2], Screen({second, first, third}));
  EXPECT_EQ(screens[3], Screen({first, third}));
  EXPECT_TRUE(platform::acad::ShownTransients().empty()) << "still shown after the drag";
}

TEST_F(DragTest, EscCancelsAndEnterCanBeIgnored) {
  CDrag drag(0);
  session_.Push(Move(1, 1));
  session_.Push(Key(ActionKind::kEnter));
  session_.Push(Key(ActionKind::kEsc));
  EXPECT_EQ(RTCAN, drag.Dynamic(&owner_, L"配置点を指示 または Enterで矩形配置", false, nullptr,
                                0.0, 1.0, 1.0, 1.0));
  ASSERT_EQ(1u, owner_.seen.size());  // Enter meant nothing without null responses
  EXPECT_EQ(static_cast<UINT>(DRAG_MSG_SAMPLE), owner_.seen[0].message);
  EXPECT_EQ(0u, session_.pending());

  // The end of the input cancels too; unsupported preview transforms refuse to start.
  EXPECT_EQ(RTCAN, drag.Dynamic(&owner_, L"x", true, nullptr, 0.0, 1.0, 1.0, 1.0));
  EXPECT_EQ(RTERROR, drag.Dynamic(&owner_, L"x", true, nullptr, 0.5, 1.0, 1.0, 1.0));
}

}  // namespace
