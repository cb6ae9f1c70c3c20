// Script lines written from steps: each reads back as the step it was written from, and the
// form of the line is the one recorded scripts keep.
#include "host/user/script_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/win/text_encoding.h"

#include "host/user/script.h"

namespace host {
namespace {

using platform::ActionKind;

std::string Utf8(const std::wstring& s) {
  return platform::WideToUtf8(s);
}

// Doubles compare by their bits, so that -0 and the last digit of a fraction count.
uint64_t Bits(double v) {
  return std::bit_cast<uint64_t>(v);
}

// Writes `want`, reads the line back and compares every field that the reader sets.
void ExpectReadsBack(const ScriptStep& want) {
  const std::wstring line = ScriptLineOf(want);
  SCOPED_TRACE("line: " + Utf8(line));
  EXPECT_EQ(line.find_first_of(L"\r\n"), std::wstring::npos) << "a line holds no line end";
  std::vector<ScriptStep> read;
  std::wstring error;
  ASSERT_TRUE(ReadScriptLine(line, 9, &read, &error)) << "error: " << Utf8(error);
  ASSERT_EQ(read.size(), 1u);
  const ScriptStep& got = read.front();
  EXPECT_EQ(got.kind, want.kind);
  EXPECT_EQ(got.text, want.text);
  EXPECT_EQ(got.handle, want.handle);
  const platform::UserAction& a = want.action;
  const platform::UserAction& b = got.action;
  EXPECT_EQ(b.kind, a.kind);
  EXPECT_EQ(b.text, a.text);
  EXPECT_EQ(b.args, a.args);
  EXPECT_EQ(b.handles, a.handles);
  EXPECT_EQ(Bits(b.x), Bits(a.x)) << b.x << " for " << a.x;
  EXPECT_EQ(Bits(b.y), Bits(a.y)) << b.y << " for " << a.y;
  EXPECT_EQ(Bits(b.z), Bits(a.z)) << b.z << " for " << a.z;
  EXPECT_EQ(Bits(b.x2), Bits(a.x2)) << b.x2 << " for " << a.x2;
  EXPECT_EQ(Bits(b.y2), Bits(a.y2)) << b.y2 << " for " << a.y2;
  EXPECT_EQ(b.has_z, a.has_z);
  EXPECT_EQ(b.template_id, a.template_id);
  EXPECT_EQ(b.control, a.control);
  EXPECT_EQ(b.numbers, a.numbers);
}

ScriptStep WithZ(ScriptStep step, double z) {
  step.action.z = z;
  step.action.has_z = true;
  return step;
}

TEST(ScriptWriterTest, EveryKindOfStepReadsBackAsItself) {
  const std::vector<ScriptStep> table = {
      // Command lines: each word quoted as it needs, so that blanks and empty answers survive.
      steps::Command(L"RQ_HARNEX"),
      steps::Command(L"ARXLOAD", {L"My App.arx", L"", L"  lead", L"x#y", L"a\"b", L"c\\d"}),
      steps::Command(L"two words", {L"配線 経路", L"tab\there", L"line\nend", L"\"", L"#"}),
      // Typed lines: empty, blank, quoted, commented-looking, Japanese.
      steps::Typed(L""),
      steps::Typed(L" "),
      steps::Typed(L"100,200"),
      steps::Typed(L"  leading and trailing\t"),
      steps::Typed(L"trailing "),
      steps::Typed(L"\ttab first"),
      steps::Typed(L"\"quoted\" at the start"),
      steps::Typed(L"5\" pipe # not a comment"),
      steps::Typed(L"C:\\Harnex\\drawing.dxf"),
      steps::Typed(L"first\nsecond\n"),
      steps::Typed(L"新規 パターン"),
      steps::Typed(L"typed"),
      steps::Typed(L"@206 click 1"),
      // Points: negative, fractional, tiny, large, with and without Z.
      steps::PickAt(-0.1, 1e-7),
      steps::PickAt(123456.789, -98765.4321),
      steps::Point(0.1 + 0.2, 1.0 / 3.0),
      steps::Point(-0.0, 5e-324),
      steps::Point(1e300, -1.7976931348623157e308, 2.2250738585072014e-308),
      steps::Point(10, 20, 0),
      steps::Move(15800, 5900.5),
      WithZ(steps::Move(-1, -2), -7.25),
      // Handles: one, many, the widest.
      steps::Pick({0x1A}),
      steps::Pick({0x1A, 0x2B, 0xABCDEF, 0x0, 0xFFFFFFFFFFFFFFFF}),
      steps::Preselect({0x126, 0xBA}),
      // Rectangles: corners in either order, with every digit.
      steps::PreselectWindow(0, 0, 10, 10),
      steps::PreselectWindow(15800.25, 5900, -0.1, 1e-7),
      steps::PreselectCrossing(1.0 / 3.0, -0.0, 0.1 + 0.2, -1.7976931348623157e308),
      steps::Enter(),
      steps::Esc(),
      steps::Break(),
      // Window actions, with and without the window's template id.
      steps::Click(1),
      steps::Click(213, 202),
      steps::Type(1002, L""),
      steps::Type(1002, L"  新規 パターン  ", 200),
      steps::Type(251, L"a \"b\" \\ c # d\ne"),
      steps::Choose(376, L"IV", 206),
      steps::Choose(1003, L"屋内 # 1"),
      steps::Rows(1004, {}),
      steps::Rows(1004, {0}, 202),
      steps::Rows(1004, {0, 2, 5, 1000000}),
      steps::Header(1004, 0),
      steps::Header(1004, 3, 207),
      steps::Menu(365, L""),
      steps::Menu(365, L"", 206),
      steps::Menu(1005, L"貼り付け"),
      steps::Menu(1005, L" 削除 \"全て\"", 201),
      steps::Answer(L"ok"),
      steps::Answer(L"yes"),
      steps::Answer(L"no"),
      steps::Answer(L"cancel"),
      steps::Colour(0),
      steps::Colour(256),
      steps::ColourCancel(),
      // Directives.
      steps::Expect(L"設定が終了しました。"),
      steps::Expect(L"say \"hi\" # not a comment\\\n"),
      steps::Expect(L" [window 207 ﾀﾞｲｱﾛｸﾞ]"),
      steps::ShowPalette(),
      steps::ShowEntity(0x2A),
      steps::ShowEntity(0xFFFFFFFFFFFFFFFF),
      steps::ShowDrawing(),
      steps::Help(),
      steps::Help(L"rows"),
      steps::Help(L"color"),
  };
  for (const ScriptStep& step : table) ExpectReadsBack(step);

  // Every kind of action is in the table.
  for (int kind = 0; kind <= static_cast<int>(ActionKind::kColour); ++kind) {
    bool found = false;
    for (const ScriptStep& step : table) {
      found = found || (step.kind == ScriptStep::Kind::kAction &&
                        static_cast<int>(step.action.kind) == kind);
    }
    EXPECT_TRUE(found) << "no action of kind " << kind;
  }
}

TEST(ScriptWriterTest, TheLinesTakeTheirRecordedForm) {
  const struct {
    ScriptStep step;
    const wchar_t* line;
  } cases[] = {
      {steps::Choose(376, L"IV", 206), L"@206 choose 376 IV"},
      {steps::Type(251, L"a \"b\""), L"type 251 \"a \\\"b\\\"\""},
      {steps::Type(1002, L"新規 パターン"), L"type 1002 新規 パターン"},
      {steps::Type(1002, L""), L"type 1002 \"\""},
      {steps::Type(1002, L" x"), L"type 1002 \" x\""},
      {steps::Type(1002, L"x\t"), L"type 1002 \"x\t\""},
      {steps::Typed(L"100,200"), L"typed 100,200"},
      {steps::Typed(L""), L"typed \"\""},
      {steps::Typed(L"a\\b\nc"), L"typed \"a\\\\b\\nc\""},
      {steps::Typed(L"#1"), L"typed \"#1\""},
      // A CR has no escape: it stays inside the quotes, where ReadScriptLine keeps it.
      {steps::Typed(L"a\rb"), L"typed \"a\rb\""},
      {steps::Menu(365, L""), L"menu 365"},
      {steps::Menu(365, L"", 206), L"@206 menu 365"},
      {steps::Menu(1005, L"貼り付け"), L"menu 1005 貼り付け"},
      {steps::Command(L"ARXLOAD", {L"My App.arx", L"", L"x"}),
       L"command ARXLOAD \"My App.arx\" \"\" x"},
      {steps::Pick({0x1A, 0xbeef}), L"pick 1A,BEEF"},
      {steps::Preselect({0xFFFFFFFFFFFFFFFF}), L"preselect FFFFFFFFFFFFFFFF"},
      {steps::PreselectWindow(0, 0, 10, 10), L"preselect window 0,0 10,10"},
      {steps::PreselectCrossing(30.5, 40, -1e-07, 2), L"preselect crossing 30.5,40 -1e-07,2"},
      {steps::PickAt(-0.1, 1e-7), L"pickat -0.1,1e-07"},
      {steps::Point(123456.789, 40), L"point 123456.789,40"},
      {steps::Point(1, 2, -0.5), L"point 1,2,-0.5"},
      {steps::Point(1, 2, 0), L"point 1,2,0"},
      {steps::Move(15800, 5900), L"move 15800,5900"},
      {steps::Click(1, 203), L"@203 click 1"},
      {steps::Rows(1004, {}), L"rows 1004"},
      {steps::Rows(1004, {0, 2, 5}, 202), L"@202 rows 1004 0,2,5"},
      {steps::Header(1004, 3), L"header 1004 3"},
      {steps::Answer(L"yes"), L"answer yes"},
      {steps::Colour(7), L"colour 7"},
      {steps::ColourCancel(), L"colour"},
      {steps::Enter(), L"enter"},
      {steps::Esc(), L"esc"},
      {steps::Break(), L"break"},
      {steps::Expect(L"done"), L"expect done"},
      {steps::Expect(L"a # b"), L"expect \"a # b\""},
      {steps::ShowPalette(), L"show palette"},
      {steps::ShowEntity(0x2a), L"show entity 2A"},
      {steps::ShowDrawing(), L"show drawing"},
      {steps::Help(), L"help"},
      {steps::Help(L"menu"), L"help menu"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScriptLineOf(c.step), c.line) << Utf8(ScriptLineOf(c.step));
    // An action is written the same whether it comes alone or in its step.
    if (c.step.kind == ScriptStep::Kind::kAction) {
      EXPECT_EQ(ScriptLineOf(c.step.action), c.line);
    }
  }
}

TEST(ScriptWriterTest, CoordinatesKeepEveryBit) {
  // Doubles from random bit patterns (every exponent) and from sums of decimals (the values
  // that a drag yields), each as x, y and z.
  std::mt19937_64 random(20240611);
  std::uniform_real_distribution<double> drawing(-1e6, 1e6);
  for (int i = 0; i < 2000; ++i) {
    double wide = std::bit_cast<double>(random());
    if (!std::isfinite(wide)) wide = 0.5;
    ExpectReadsBack(steps::Point(wide, drawing(random), std::round(drawing(random)) / 1000));
    if (::testing::Test::HasFailure()) break;
  }
}

TEST(ScriptWriterTest, ScriptsReadBackLineByLine) {
  // Steps as the reader makes them from hand-written lines, which the writer need not match
  // word for word: written again, each reads back the same.
  const auto read = ReadScript(
      L"command  ARXLOAD Harnex.arx \"two words\" \"\" a\"b\n"
      L"typed   My App.arx   # the module\n"
      L"typed\n"
      L"point 1, 2 ,3e1\n"
      L"pick 0001a,2b, 3F\n"
      L"preselect Crossing 1 , 2  3,4.50\n"
      L"@202 TYPE 1002 \"  新規\\\\パターン\\n\"\n"
      L"menu 365\n"
      L"rows 1004\n"
      L"Color 3\n"
      L"expect 5\" pipe\n"
      L"expect a\\b\n"
      L"show entity 002a\n"
      L"help Color\n");
  ASSERT_TRUE(read.ok()) << Utf8(read.error);
  ASSERT_EQ(read.steps.size(), 14u);
  for (const ScriptStep& step : read.steps) ExpectReadsBack(step);
}

}  // namespace
}  // namespace host
