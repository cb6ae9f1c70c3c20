// The rules of a note that need no drawing: the leader's angle snap and the text of a line for
// the palette's three note boxes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "annotation/note_geometry.h"
#include "annotation/note_lines.h"
#include "platform/win/text_encoding.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

AcGePoint3d Polar(const AcGePoint3d& from, double length, double degrees, double z) {
  const double r = degrees * kPi / 180.0;
  return AcGePoint3d(from.x + length * std::cos(r), from.y + length * std::sin(r), z);
}

TEST(SnapLeaderTest, TurnsToTheNearestStepWithHalfRoundingDownAndKeepsLengthAndZ) {
  const AcGePoint3d q(10, 20, 0);
  struct Case {
    double degrees, step, expected;
  };
  const Case cases[] = {
      {22.5, 15, 15},    // exactly half a step rounds down
      {22.6, 15, 30},    // past the half rounds up
      {7.4, 15, 0},      // below the half to the first step
      {352.5, 15, 345},  // half again, near the full turn
      {352.6, 15, 360},  // up to the full turn, which points along x
      {100, 45, 90},     // another step
      {37, 0, 37},       // no step: unchanged
      {37, -15, 37},     // a negative step: unchanged
      {200, 15, 195},    // 13.33 steps: 13
  };
  for (const Case& c : cases) {
    const AcGePoint3d m = Polar(q, 50, c.degrees, 7);
    const AcGePoint3d snapped = SnapLeader(q, m, c.step);
    const AcGePoint3d expected = Polar(q, 50, c.expected, 7);
    EXPECT_NEAR(snapped.x, expected.x, 1e-9) << c.degrees << " step " << c.step;
    EXPECT_NEAR(snapped.y, expected.y, 1e-9) << c.degrees << " step " << c.step;
    EXPECT_EQ(snapped.z, 7) << c.degrees;
  }
  // Straight along x (0 degrees) stays, whatever the step.
  const AcGePoint3d along = SnapLeader(q, AcGePoint3d(60, 20, 0), 15);
  EXPECT_NEAR(along.x, 60, 1e-12);
  EXPECT_NEAR(along.y, 20, 1e-12);
  // The length is measured in plan: a start above the cursor does not lengthen the leader.
  const AcGePoint3d raised = SnapLeader(AcGePoint3d(0, 0, 30), AcGePoint3d(3, 4, 0), 90);
  EXPECT_NEAR(raised.x, 0, 1e-12);
  EXPECT_NEAR(raised.y, 5, 1e-12);
  EXPECT_EQ(raised.z, 0);
}

TEST(NoteLineTest, TheCheckedBoxesChooseThePartsInTheirOrder) {
  const CString raw = L"1L-1!IV5.5 (E19)!電灯幹線!";
  struct Case {
    bool flags[3];
    const wchar_t* expected;
  };
  const Case cases[] = {
      {{false, true, true}, L"IV5.5 (E19)（電灯幹線）"},  // the palette's boxes at start
      {{true, true, true}, L"1L-1　IV5.5 (E19)（電灯幹線）"},
      {{true, false, false}, L"1L-1　"},
      {{false, false, true}, L"（電灯幹線）"},
      {{false, false, false}, L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(std::wstring(ComposeNoteLine(raw, c.flags).GetString()), c.expected)
        << platform::WideToUtf8(c.expected);
  }
  // Empty parts stay empty; the separators and brackets are still written.
  const bool all[3] = {true, true, true};
  EXPECT_EQ(std::wstring(ComposeNoteLine(L"!!不明!", all).GetString()), L"　（不明）");
  // One line per raw string, in order; the lines replace what the list held.
  CStringArray raws, lines;
  raws.Add(L"A!B!C!");
  raws.Add(L"D!E!F!");
  lines.Add(L"old");
  ComposeNoteLines(raws, all, lines);
  ASSERT_EQ(lines.GetSize(), 2);
  EXPECT_EQ(std::wstring(lines[0].GetString()), L"A　B（C）");
  EXPECT_EQ(std::wstring(lines[1].GetString()), L"D　E（F）");
}

}  // namespace
