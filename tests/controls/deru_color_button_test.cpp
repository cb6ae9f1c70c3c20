// The colour swatch button: what DrawItem draws for each state, in which pens and colours, and
// that a new colour is drawn again.
#include "controls/deru_color_button.h"

#include <gtest/gtest.h>

#include <sstream>

#include "controls_support.h"
#include "platform/mfc/window_system.h"

namespace controls_test {
namespace {

constexpr long kWhite = RGB(255, 255, 255);
constexpr long kBlack = RGB(0, 0, 0);

// The moves and lines drawn, one path a line: "M(40,0) L(0,0)/ffffff ...", pen colour and style
// after each line ("." for a dotted pen).
std::vector<std::string> Paths(const std::vector<DrawOp>& ops) {
  std::vector<std::string> paths;
  for (const DrawOp& op : ops) {
    std::ostringstream s;
    if (op.op == "MoveTo") {
      s << "M(" << op.args[0] << "," << op.args[1] << ")";
      paths.push_back(s.str());
    } else if (op.op == "LineTo") {
      s << std::dec << " L(" << op.args[0] << "," << op.args[1] << ")" << std::hex << op.args[2]
        << (op.args[3] == PS_DOT ? "." : "");
      if (paths.empty()) paths.emplace_back();
      paths.back() += s.str();
    }
  }
  return paths;
}

// "M(x,y) L(x,y)/colour L..." for points all drawn with one pen.
std::string Path(std::initializer_list<POINT> points, long colour, bool dotted = false) {
  std::ostringstream s;
  auto it = points.begin();
  s << "M(" << it->x << "," << it->y << ")";
  for (++it; it != points.end(); ++it) {
    s << std::dec << " L(" << it->x << "," << it->y << ")" << std::hex << colour
      << (dotted ? "." : "");
  }
  return s.str();
}

// Two pens on one path: the second goes on from the last point of the first.
std::string Path(std::initializer_list<POINT> first, long colour1,
                 std::initializer_list<POINT> then, long colour2) {
  std::ostringstream s;
  s << Path(first, colour1);
  for (const POINT& p : then)
    s << std::dec << " L(" << p.x << "," << p.y << ")" << std::hex << colour2;
  return s.str();
}

class ColorButtonTest : public ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    // L, T, R, B = 0, 0, 40, 20 in the button's client coordinates.
    ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 50, 30),
                              &owner, 1005));
  }
  std::vector<DrawOp> Paint(UINT action, UINT state) {
    return platform::mfc::PaintOwnerDrawn(button, action, state);
  }
  CDeruColorButton button{RGB(192, 192, 192)};
};

TEST_F(ColorButtonTest, FrameLinesFollowFocusAndPushedStates) {
  struct Case {
    const char* name;
    UINT state;
    std::vector<std::string> paths;
  };
  const Case cases[] = {
      {"raised", 0, {Path({{40, 0}, {0, 0}, {0, 19}}, kWhite, {{39, 19}, {39, 1}}, kBlack)}},
      {"pushed",
       ODS_SELECTED,
       {Path({{40, 0}, {0, 0}, {0, 19}}, kBlack, {{39, 19}, {39, 0}}, kWhite)}},
      {"focused",
       ODS_FOCUS,
       {Path({{38, 1}, {1, 1}, {1, 18}}, kWhite, {{38, 18}, {38, 1}}, kBlack),
        Path({{40, 0}, {0, 0}, {0, 20}, {40, 20}, {40, 0}}, kBlack),
        Path({{36, 3}, {3, 3}, {3, 16}, {36, 16}, {36, 3}}, RGB(63, 63, 63), true)}},
      {"focused and pushed",
       ODS_FOCUS | ODS_SELECTED,
       {Path({{39, 1}, {1, 1}, {1, 18}}, kBlack, {{38, 18}, {38, 1}}, kWhite),
        Path({{40, 0}, {0, 0}, {0, 20}, {40, 20}, {40, 0}}, kBlack),
        Path({{36, 3}, {3, 3}, {3, 16}, {36, 16}, {36, 3}}, RGB(63, 63, 63), true)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<DrawOp> ops = Paint(ODA_DRAWENTIRE, c.state);
    EXPECT_EQ(Paths(ops), c.paths);
    // The swatch under the frame: the whole client rectangle in the colour, outlined with the
    // current (default black) pen.
    ASSERT_FALSE(ops.empty());
    const auto fill =
        std::find_if(ops.begin(), ops.end(), [](const DrawOp& op) { return op.op == "Rectangle"; });
    ASSERT_NE(fill, ops.end());
    EXPECT_EQ(fill->args, (std::vector<long>{0, 0, 40, 20, kBlack, RGB(192, 192, 192)}));
  }
  // A selection or focus change draws too; any other action nothing.
  EXPECT_EQ(Paths(Paint(ODA_SELECT, ODS_SELECTED)), cases[1].paths);
  EXPECT_EQ(Paths(Paint(ODA_FOCUS, ODS_FOCUS)), cases[2].paths);
  EXPECT_TRUE(Paint(0, ODS_FOCUS).empty());
}

TEST_F(ColorButtonTest, SetColorRedrawsARedSwatchWithACyanDottedFocusRectangle) {
  const int before = platform::mfc::FindWindowRecord(button)->invalidations;
  button.SetColor(RGB(255, 0, 0));
  EXPECT_EQ(platform::mfc::FindWindowRecord(button)->invalidations, before + 1);
  EXPECT_EQ(button.GetColor(), RGB(255, 0, 0));

  const std::vector<DrawOp> ops = Paint(ODA_DRAWENTIRE, ODS_FOCUS);
  const auto fill =
      std::find_if(ops.begin(), ops.end(), [](const DrawOp& op) { return op.op == "Rectangle"; });
  ASSERT_NE(fill, ops.end());
  EXPECT_EQ(fill->args[5], RGB(255, 0, 0));
  EXPECT_EQ(Paths(ops).back(),
            Path({{36, 3}, {3, 3}, {3, 16}, {36, 16}, {36, 3}}, RGB(0, 255, 255), true));
  // While drawing, text in the inverse colour on the colour; both put back after.
  std::vector<long> text_colours, back_colours;
  for (const DrawOp& op : ops) {
    if (op.op == "SetTextColor") text_colours.push_back(op.args[0]);
    if (op.op == "SetBkColor") back_colours.push_back(op.args[0]);
  }
  EXPECT_EQ(text_colours, (std::vector<long>{RGB(0, 255, 255), 0}));
  EXPECT_EQ(back_colours, (std::vector<long>{RGB(255, 0, 0), RGB(255, 255, 255)}));
}

}  // namespace
}  // namespace controls_test
