// Wiring notes placed by dragging, as a user places them: RQ_HARNEX_DRAWNOTE, a pick of a route
// element, cursor moves that drag the leader and then the box, two picks, and the "PXNT" block
// left in the drawing. Every coordinate below is worked out by hand from the note's rules with
// the settings and the scale of the test, never read back from the program.
//
// The settings of every test: text height 2, width 1.6, gap 2.5, offset 4, correction on in
// steps of 15 degrees, mark 1 × 0.8; the drawing's $DIMSCALE is 2. So
//   h = 4, wf = 0.8, p = (2 + 2.5)·2 = 9, o = 8, s = 2, mark axes 2 and 1.6 (major radius 1).
// Text advances: full-width characters h·wf = 3.2, others 1.6.
#include <gtest/gtest.h>

#include <ApiComn.h>
#include "platform/acad/dbhost.h"
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/harnex_module.h"
#include "note_support.h"

namespace note_test {
namespace {

constexpr double kPi = 3.14159265358979323846;

AcGePoint3d P(double x, double y) {
  return AcGePoint3d(x, y, 0);
}

// The point at `length` from `from` in the direction `degrees`.
AcGePoint3d Polar(const AcGePoint3d& from, double length, double degrees) {
  const double r = degrees * kPi / 180.0;
  return AcGePoint3d(from.x + length * std::cos(r), from.y + length * std::sin(r), from.z);
}

const std::vector<std::pair<std::wstring, std::wstring>> kSettings = {
    {L"文字高さ", L"2.0"},   {L"文字幅", L"1.6"},          {L"行間隔", L"2.5"},
    {L"オフセット", L"4.0"}, {L"引出線角度補正", L"あり"}, {L"補正角度", L"15.0"},
    {L"楕円弧長径", L"1.0"}, {L"楕円弧短径", L"0.8"}};

// Three wires: the "S" records of the first and two "PX" records. DK and DR are trunk items of
// the example's master lists (電灯幹線, 動力幹線); ZZ is in neither list.
const std::vector<std::wstring> kThreeWires = {L"S501|DK|2|1|55|0|",
                                               L"S004|1L-1|2|1|55|0|",
                                               L"S3B9|P-1|2|1|55|0|",
                                               L"S002|IV5.5|2|1|55|0|",
                                               L"PX02|1L-2!CV8!P-2!DR!|2|1|55|0|",
                                               L"PX03|1L-3!VVF2.0!P-3!ZZ!|2|1|55|0|"};

// Handles of the test drawing's elements.
struct Elements {
  uint64_t left_to_right = 0;  // RT100 from (1000,500) to (1100,500), ETAT 0
  uint64_t right_to_left = 0;  // RT100 from (1300,500) to (1200,500), ETAT 0
  uint64_t in_route = 0;       // RT100 at (1000,700), ETAT 1: an origin note
  uint64_t no_wiring = 0;      // RT100 at (1000,900), ETAT 0, no RQ_ATTR
  uint64_t three_ends = 0;     // KK_T tee at (1500,500), ETAT 0: three connection points
  uint64_t fitting = 0;        // RB_E from (1500,700) to (1520,700), ETAT 0: class RB
  uint64_t one_wire = 0;       // RT100 at (1000,1100), ETAT 1, one wire
};

class NotePlacementTest : public NoteSessionTest {
 protected:
  void StartOnRoutes(bool palette = true) {
    WriteNoteSettings(kSettings);
    Start(
        [this](tools::DrawingBuilder& b) {
          b.SetGlobalScale(2);
          b.DefineSegment(L"RT100", 100);
          b.DefineTee(L"KK_T", 20);
          b.DefineSegment(L"RB_E", 20);
          // A note block of an earlier session: the next note takes the next number.
          b.DefineSegment(L"PXNT0001", 10);
          auto wired = [&b](const std::wstring& block, tools::Placement at, const wchar_t* etat) {
            const AcDbObjectId id = b.AddRouteElement(block, at, etat);
            b.SetStrings(id, tools::DrawingBuilder::kAttrApp, kThreeWires);
            return id;
          };
          e_.left_to_right = tools::HandleOf(wired(L"RT100", {1000, 500, 0, 1}, L"0"));
          e_.right_to_left = tools::HandleOf(wired(L"RT100", {1300, 500, 180, 1}, L"0"));
          e_.in_route = tools::HandleOf(wired(L"RT100", {1000, 700, 0, 1}, L"1"));
          const AcDbObjectId bare = b.AddRouteElement(L"RT100", {1000, 900, 0, 1}, L"0");
          ApiComn_removeXData(bare, tools::DrawingBuilder::kAttrApp);
          e_.no_wiring = tools::HandleOf(bare);
          e_.three_ends = tools::HandleOf(wired(L"KK_T", {1500, 500, 0, 1}, L"0"));
          e_.fitting = tools::HandleOf(wired(L"RB_E", {1500, 700, 0, 1}, L"0"));
          const AcDbObjectId single = b.AddRouteElement(L"RT100", {1000, 1100, 0, 1}, L"1");
          b.SetStrings(single, tools::DrawingBuilder::kAttrApp,
                       {L"S501|DR|2|1|55|0|", L"S004|1P-1|2|1|55|0|", L"S002|CV8|2|1|55|0|"});
          e_.one_wire = tools::HandleOf(single);
        },
        palette);
  }

  size_t ModelSpaceCount() { return ModelSpaceShapes().size(); }

  Elements e_;
};

// The box of the three default lines (boxes 342 and 343 checked): "IV5.5（電灯幹線）",
// "CV8（動力幹線）", "VVF2.0（不明）". Widths with "W" added, plus o = 8:
//   IV5.5（電灯幹線）W  6 narrow, 6 wide: 9.6 + 19.2 + 8 = 36.8
//   CV8（動力幹線）W    4 narrow, 6 wide: 6.4 + 19.2 + 8 = 33.6
//   VVF2.0（不明）W     7 narrow, 4 wide: 11.2 + 12.8 + 8 = 32
// so W = 36.8; the box is 3·p = 27 high.
constexpr double kW = 36.8;

TEST_F(NotePlacementTest, ALineNoteIsDraggedSnappedFlippedAndCommittedAsABlockAtTheFoot) {
  StartOnRoutes();
  const size_t before = ModelSpaceCount();
  // Foot F = (1030,500); the route runs at 0 degrees, so the tick runs at 90 and 270 degrees:
  // T0 = (1030,502), T1 = (1030,498); the leader starts at the higher end, T0.
  const AcGePoint3d f = P(1030, 500), t0 = P(1030, 502), t1 = P(1030, 498);
  const AcGePoint3d m1 = Polar(t0, 100, 22.5);  // snaps down to 15 degrees (half rounds down)
  const AcGePoint3d m2 = Polar(t0, 100, 22.6);  // snaps up to 30
  const AcGePoint3d m3 = P(1080, 400);          // below: nearer T1; 297.03 degrees snaps to 300
  const AcGePoint3d e = P(1090, 562);           // 45 degrees from T0: a step exactly
  ASSERT_EQ(
      RunLines({L"command RQ_HARNEX_DRAWNOTE", L"pickat 1030,501", L"move " + At(m1.x, m1.y),
                L"move " + At(m2.x, m2.y), L"move " + At(m3.x, m3.y), L"point " + At(e.x, e.y),
                L"move 1000,600", L"move 1200,600", L"move 1000,600", L"point 1000,600", L"esc"}),
      0)
      << session().stop_reason();
  const auto& seen = shown();
  ASSERT_EQ(seen.size(), 11u);

  // After the pick: mark, tick and leader from T0 to the pick point.
  ASSERT_EQ(seen[1].size(), 3u);
  const Shape& mark = seen[1][0];
  EXPECT_EQ(mark.type, L"ELLIPSE");
  EXPECT_TRUE(Near(mark.points[0], f));
  EXPECT_TRUE(Near(mark.points[1], P(1030, 501)));  // major axis across the route, radius 1
  EXPECT_NEAR(mark.ratio, 0.8, 1e-12);
  EXPECT_NEAR(mark.start, 0, 1e-12);
  EXPECT_NEAR(mark.end, kPi, 1e-12);
  EXPECT_TRUE(IsLine(seen[1][1], t0, t1));
  EXPECT_TRUE(IsLine(seen[1][2], t0, P(1030, 501)));

  // The leader turns in steps of 15 degrees and keeps its length.
  EXPECT_TRUE(IsLine(seen[2][2], t0, Polar(t0, 100, 15)));
  EXPECT_TRUE(IsLine(seen[3][2], t0, Polar(t0, 100, 30)));
  EXPECT_TRUE(IsLine(seen[4][2], t1, Polar(t1, std::hypot(50, 98), 300)));

  // The leader end picked: the box hangs from E = (1090,562) to the right.
  const std::vector<Shape>& box = seen[5];
  ASSERT_EQ(box.size(), 3u + 4 + 3 + 2);
  EXPECT_TRUE(IsLine(box[2], t0, e));
  for (int k = 0; k <= 3; ++k) {
    EXPECT_TRUE(IsLine(box[3 + k], P(1090, 562 + 9 * k), P(1090 + kW, 562 + 9 * k))) << k;
  }
  const wchar_t* texts[] = {L"IV5.5（電灯幹線）", L"CV8（動力幹線）", L"VVF2.0（不明）"};
  for (int i = 0; i < 3; ++i) {
    const Shape& text = box[7 + i];
    EXPECT_EQ(text.text, texts[i]);
    // First line on top, each one unit·s above its rule.
    EXPECT_TRUE(Near(text.points[0], P(1098, 562 + (2 - i) * 9 + 2))) << i;
    EXPECT_TRUE(Near(text.points[1], text.points[0])) << i;
    EXPECT_DOUBLE_EQ(text.height, 4);
    EXPECT_DOUBLE_EQ(text.width_factor, 0.8);
    EXPECT_EQ(text.layer, L"RQ_ANNO");
    EXPECT_EQ(text.colour, 256);
  }
  EXPECT_TRUE(IsLine(box[10], P(1090 + kW, 562), P(1090 + kW, 589)));
  EXPECT_TRUE(IsLine(box[11], P(1090, 562), P(1090, 589)));

  // Left of E the box goes to the left: the leader meets its lower right corner.
  const std::vector<Shape>& left = seen[6];
  EXPECT_TRUE(IsLine(left[3], P(1090 - kW, 562), P(1090, 562)));
  EXPECT_TRUE(Near(left[7].points[0], P(1098 - kW, 582)));
  EXPECT_TRUE(IsLine(left[10], P(1090 - kW, 562), P(1090 - kW, 589)));
  EXPECT_TRUE(IsLine(left[11], P(1090, 562), P(1090, 589)));
  EXPECT_TRUE(IsLine(left[2], t0, e));  // the leader stays
  // And back.
  EXPECT_TRUE(IsLine(seen[7][3], P(1090, 562), P(1090 + kW, 562)));
  EXPECT_TRUE(IsLine(seen[7][10], P(1090 + kW, 562), P(1090 + kW, 589)));

  // Committed on the left: no jig any more, one block reference more at F, on RQ_TABLE.
  EXPECT_TRUE(seen[9].empty());
  const std::vector<Shape> space = ModelSpaceShapes();
  ASSERT_EQ(space.size(), before + 1);
  const Shape& insert = space.back();
  EXPECT_EQ(insert.type, L"INSERT");
  EXPECT_EQ(insert.text, L"PXNT0002");
  EXPECT_EQ(insert.layer, L"RQ_TABLE");
  EXPECT_TRUE(Near(insert.points[0], f));
  EXPECT_EQ(NoteBlockNames(), (std::vector<std::wstring>{L"PXNT0001", L"PXNT0002"}));

  // The block holds the note moved by -F, texts on RQ_ANNO, the rest on RQ_TABLE, ByLayer.
  const std::vector<Shape> block = BlockShapes(L"PXNT0002");
  ASSERT_EQ(block.size(), 12u);
  EXPECT_EQ(block[0].type, L"ELLIPSE");
  EXPECT_TRUE(Near(block[0].points[0], P(0, 0)));
  EXPECT_TRUE(Near(block[0].points[1], P(0, 1)));
  EXPECT_TRUE(IsLine(block[1], P(0, 2), P(0, -2)));
  EXPECT_TRUE(IsLine(block[2], P(0, 2), P(60, 62)));
  for (int k = 0; k <= 3; ++k) {
    EXPECT_TRUE(IsLine(block[3 + k], P(60 - kW, 62 + 9 * k), P(60, 62 + 9 * k))) << k;
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(Near(block[7 + i].points[0], P(68 - kW, 62 + (2 - i) * 9 + 2))) << i;
  }
  EXPECT_TRUE(IsLine(block[10], P(60 - kW, 62), P(60 - kW, 89)));
  EXPECT_TRUE(IsLine(block[11], P(60, 62), P(60, 89)));
  for (const Shape& shape : block) {
    EXPECT_EQ(shape.layer, shape.type == L"TEXT" ? L"RQ_ANNO" : L"RQ_TABLE");
    EXPECT_EQ(shape.colour, 256);
    EXPECT_EQ(shape.linetype, L"ByLayer");
    EXPECT_EQ(shape.line_weight, static_cast<int>(AcDb::kLnWtByLayer));
  }

  // The loop asked for the next element, and Esc there ended it.
  const std::wstring& t = Transcript();
  EXPECT_NE(t.find(L"\nコマンド: RQ_HARNEX_LOCATE\n\n配線を選択:"), std::wstring::npos) << t;
  EXPECT_NE(t.find(L"\n注記記入: "), std::wstring::npos) << t;
  const std::wstring end = L"\n配線を選択:\n*キャンセル*\n";
  EXPECT_EQ(t.substr(t.size() - std::min(t.size(), end.size())), end) << t;
}

TEST_F(NotePlacementTest, ABoxStartsOnTheSideOfTheRawPickWhenTheSnapMovesTheEndPastIt) {
  StartOnRoutes();
  // From T0 = (1030,502) a pick at 50 degrees snaps to 45: E lies right of the raw pick, so the
  // box starts on the left of E and is committed there.
  const AcGePoint3d t0 = P(1030, 502);
  const AcGePoint3d raw = Polar(t0, 100, 50);
  const AcGePoint3d e = Polar(t0, 100, 45);
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_DRAWNOTE", L"pickat 1030,501",
                      L"point " + At(raw.x, raw.y), L"point " + At(raw.x, raw.y), L"esc"}),
            0)
      << session().stop_reason();
  const std::vector<Shape>& box = shown()[2];
  ASSERT_EQ(box.size(), 12u);
  EXPECT_TRUE(IsLine(box[2], t0, e));
  EXPECT_TRUE(IsLine(box[3], P(e.x - kW, e.y), P(e.x, e.y)));
  EXPECT_TRUE(IsLine(box[10], P(e.x - kW, e.y), P(e.x - kW, e.y + 27)));
  const std::vector<Shape> block = BlockShapes(L"PXNT0002");
  ASSERT_EQ(block.size(), 12u);
  EXPECT_TRUE(IsLine(block[3], P(e.x - kW - 1030, e.y - 500), P(e.x - 1030, e.y - 500)));
}

TEST_F(NotePlacementTest, ARouteDrawnRightToLeftGetsTheSameMarkAndCancellingLeavesNothing) {
  StartOnRoutes();
  const size_t before = ModelSpaceCount();
  // Q0 = (1300,500), Q1 = (1200,500): 180 degrees, folded to 0 for the mark. The tick runs at
  // 270 and 90 degrees: T0 = (1230,498), T1 = (1230,502), and the leader starts at T1.
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_DRAWNOTE", L"pickat 1230,501", L"move 1260,600",
                      L"point 1260,600", L"move 1300,600", L"esc", L"esc"}),
            0)
      << session().stop_reason();
  const auto& seen = shown();
  ASSERT_EQ(seen[1].size(), 3u);
  EXPECT_EQ(seen[1][0].type, L"ELLIPSE");
  EXPECT_TRUE(Near(seen[1][0].points[0], P(1230, 500)));
  EXPECT_TRUE(Near(seen[1][0].points[1], P(1230, 501)));  // as for the left-to-right route
  EXPECT_TRUE(IsLine(seen[1][1], P(1230, 498), P(1230, 502)));
  EXPECT_TRUE(IsLine(seen[1][2], P(1230, 502), P(1230, 501)));
  EXPECT_EQ(seen[4].size(), 12u);  // the box was shown when Esc came

  // Nothing of the cancelled note stays; the loop asked again and the second Esc ended it.
  EXPECT_TRUE(seen[5].empty());
  EXPECT_EQ(ModelSpaceCount(), before);
  EXPECT_EQ(NoteBlockNames(), std::vector<std::wstring>{L"PXNT0001"});
  const std::wstring& t = Transcript();
  size_t prompts = 0;
  for (size_t at = t.find(L"\n配線を選択:"); at != std::wstring::npos;
       at = t.find(L"\n配線を選択:", at + 1)) {
    ++prompts;
  }
  EXPECT_EQ(prompts, 2u) << t;
}

TEST_F(NotePlacementTest, AnOriginNoteStartsAtTheBlockOriginWithoutMarkOrTickAndEmptyRows) {
  StartOnRoutes();
  // All three palette boxes off: every line is empty, each still a ruled row.
  ASSERT_EQ(RunLines({L"click 342", L"click 343", L"command RQ_HARNEX_DRAWNOTE", L"pickat 1050,700",
                      L"move 1100,760", L"point 1060,760", L"point 1100,760", L"esc"}),
            0)
      << session().stop_reason();
  const auto& seen = shown();
  // F = (1000,700), the block's origin; the leader is a line of zero length at first.
  ASSERT_EQ(seen[3].size(), 1u);
  EXPECT_TRUE(IsLine(seen[3][0], P(1000, 700), P(1000, 700)));
  // 30.96 degrees snaps to 30; the length is |FM|.
  EXPECT_TRUE(IsLine(seen[4][0], P(1000, 700), Polar(P(1000, 700), std::hypot(100, 60), 30)));
  // E = (1060,760). An empty line measures "W" alone: 1.6 + 8 = 9.6.
  const std::vector<Shape>& box = seen[5];
  ASSERT_EQ(box.size(), 1u + 4 + 3 + 2);
  for (int k = 0; k <= 3; ++k) {
    EXPECT_TRUE(IsLine(box[1 + k], P(1060, 760 + 9 * k), P(1069.6, 760 + 9 * k))) << k;
  }
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(box[5 + i].text, L"");
    EXPECT_TRUE(Near(box[5 + i].points[0], P(1068, 760 + (2 - i) * 9 + 2))) << i;
  }
  const std::vector<Shape> block = BlockShapes(L"PXNT0002");
  ASSERT_EQ(block.size(), 10u);
  EXPECT_TRUE(IsLine(block[0], P(0, 0), P(60, 60)));
  EXPECT_TRUE(IsLine(block[8], P(69.6, 60), P(69.6, 87)));
  EXPECT_TRUE(IsLine(block[9], P(60, 60), P(60, 87)));
  EXPECT_TRUE(Near(ModelSpaceShapes().back().points[0], P(1000, 700)));
}

TEST_F(NotePlacementTest, ElementsThatTakeNoNoteAreSkippedAndTheLoopGoesOn) {
  StartOnRoutes();
  const size_t before = ModelSpaceCount();
  // The bare element has no wiring records; the KK tee has three connection points (no note,
  // silently); the RB piece has two, but its class takes no note (silently); Enter ends the
  // loop.
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_DRAWNOTE", L"pickat 1050,900", L"pickat 1510,500",
                      L"pickat 1510,700", L"enter"}),
            0)
      << session().stop_reason();
  EXPECT_EQ(Transcript(),
            L"\nコマンド: RQ_HARNEX_DRAWNOTE\n[window 207 ﾀﾞｲｱﾛｸﾞ]\n"
            L"\nコマンド: RQ_HARNEX_LOCATE\n\n配線を選択:\n\n複数配線情報が設定されていません。\n"
            L"\nコマンド: RQ_HARNEX_LOCATE\n\n配線を選択:\n"
            L"\nコマンド: RQ_HARNEX_LOCATE\n\n配線を選択:\n"
            L"\nコマンド: RQ_HARNEX_LOCATE\n\n配線を選択:\n");
  for (const auto& s : shown()) EXPECT_TRUE(s.empty());
  EXPECT_EQ(ModelSpaceCount(), before);
}

TEST_F(NotePlacementTest, ANoteWhoseBlockCannotBeWrittenLeavesNothingAndTheLoopGoesOn) {
  StartOnRoutes();
  const size_t before = ModelSpaceCount();
  // The drawing refuses the next open just as the box is picked into place.
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_DRAWNOTE", L"pickat 1030,501", L"point 1090,562",
                      L"move 1200,600", L"point 1200,600", L"esc"},
                     [](size_t line) {
                       if (line == 4) platform::acad::FailNextOpen(Acad::eWasOpenedForWrite);
                     }),
            0)
      << session().stop_reason();
  EXPECT_TRUE(shown()[4].empty());  // the drag ended
  EXPECT_EQ(ModelSpaceCount(), before);
  EXPECT_EQ(NoteBlockNames(), std::vector<std::wstring>{L"PXNT0001"});
  EXPECT_NE(Transcript().find(L"注記記入: \nコマンド: RQ_HARNEX_LOCATE\n\n配線を選択:"),
            std::wstring::npos)
      << Transcript();
}

TEST_F(NotePlacementTest, ANoteWhoseReferenceCannotBeAddedLeavesNoDefinitionBehind) {
  StartOnRoutes();
  const size_t before = ModelSpaceCount();
  const AcDbObjectId space = session().database()->modelSpaceId();
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_DRAWNOTE", L"pickat 1030,501", L"point 1090,562",
                      L"move 1200,600", L"point 1200,600", L"esc"},
                     [space](size_t line) {
                       if (line == 4) platform::acad::FailNextOpen(Acad::eWasOpenedForWrite, space);
                     }),
            0)
      << session().stop_reason();
  EXPECT_EQ(ModelSpaceCount(), before);
  EXPECT_EQ(NoteBlockNames(), std::vector<std::wstring>{L"PXNT0001"});
}

TEST_F(NotePlacementTest, EachPickOfTheLoopNotesItsOwnElement) {
  StartOnRoutes();
  // Three lines on the first element, then the one wire of an origin element: its box has one
  // row (2 rules), one text and the borders beside its leader.
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_DRAWNOTE", L"pickat 1030,501", L"point 1090,562",
                      L"point 1200,600", L"pickat 1050,1100", L"point 1060,1160",
                      L"point 1100,1160", L"esc"}),
            0)
      << session().stop_reason();
  EXPECT_EQ(NoteBlockNames(), (std::vector<std::wstring>{L"PXNT0001", L"PXNT0002", L"PXNT0003"}));
  EXPECT_EQ(BlockShapes(L"PXNT0002").size(), 12u);
  const std::vector<Shape> second = BlockShapes(L"PXNT0003");
  ASSERT_EQ(second.size(), 6u);
  EXPECT_EQ(second[3].text, L"CV8（動力幹線）");
  EXPECT_TRUE(Near(ModelSpaceShapes().back().points[0], P(1000, 1100)));
}

TEST_F(NotePlacementTest, WithoutTheHostsPerpendicularALineNoteIsRefusedWithAnError) {
  StartOnRoutes();
  // The host module leaves the process: its export can no longer be found.
  ASSERT_TRUE(platform::UnregisterModule(HostModule));
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_DRAWNOTE", L"pickat 1030,501", L"esc"}), 0)
      << session().stop_reason();
  EXPECT_NE(Transcript().find(L"\n配線を選択:\n\nERROR:座標計算関数が実行できません.\n\n"
                              L"コマンド: RQ_HARNEX_LOCATE\n\n配線を選択:"),
            std::wstring::npos)
      << Transcript();
  EXPECT_TRUE(shown()[1].empty());
}

TEST_F(NotePlacementTest, WithoutThePaletteTheNoteToolStopsAtOnce) {
  StartOnRoutes(/*palette=*/false);
  ASSERT_EQ(RunLines({L"command RQ_HARNEX_DRAWNOTE"}), 0) << session().stop_reason();
  EXPECT_EQ(Transcript(),
            L"\nコマンド: RQ_HARNEX_DRAWNOTE\n[window 207 ﾀﾞｲｱﾛｸﾞ]\n\nコマンド: RQ_HARNEX_LOCATE\n"
            L"\n設定画面が表示されていません。\n");
}

}  // namespace
}  // namespace note_test
