// Manual assignment as the user does it: the palette's rows ticked, "個別付与" pressed, a route
// segment picked; the records of every element afterwards, the command line, and the trace's
// order and its end on a ring. Expected records are written out from the sample pattern's rows
// (assignment_support.h).
#include "attributes/manual_assign.h"

#include <gtest/gtest.h>

#include "platform/acad/dbhost.h"
#include <dbmain.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/harnex_module.h"
#include "assignment_support.h"
#include "tools/example_drawing.h"

namespace {

using attributes_test::CountOf;
using attributes_test::Records;
using attributes_test::RecordsOf;
using attributes_test::RowList;
using attributes_test::UntouchedRecords;
using Ids = std::vector<AcDbObjectId>;

constexpr wchar_t kPrompt[] = L"\n配線経路を選択:";
constexpr wchar_t kDone[] = L"\n配線情報設定中...設定が終了しました。\n";

// Rows 0, 1 and 2 of the sample pattern, conduit underground.
const Records kThreeRows = {L"S501|DK|2|1|55|0|",
                            L"S004|1L-1|2|1|55|0|",
                            L"S3B9|P-1,L-1|2|1|55|0|",
                            L"S002|CV22sq-3C E8 (FEP50)|2|1|55|0|",
                            L"PX02|1P-1!CVT60sq E14 (FEP80)!P-1,L-2!DR!|2|1|55|0|",
                            L"PX03|E-1!FP14sq-3C E8 (FEP50)!非常用発電機!HJ!|2|1|55|0|"};

std::wstring Hex(AcDbObjectId id) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%llX", static_cast<unsigned long long>(tools::HandleOf(id)));
  return text;
}

class ManualAssignTest : public attributes_test::AssignmentTest {
 protected:
  // A tree in the route group G, and things around it:
  //
  //   D ── R ══ S ── A ── T ── B ── E        (R: an RBT panel segment; E: outside G;
  //                                 P           P: a load where B meets E)
  //                       │
  //                       K  (KK element)
  //                       │
  //                       C
  //
  // S (0,0)-(100,0), A (100,0)-(200,0), tee T centred (250,0) with arms (200,0), (300,0),
  // (250,50); B (300,0)-(400,0); K (250,50)-(250,150); C (250,150)-(250,250);
  // R (-100,0)-(0,0); D (-200,0)-(-100,0); E (400,0)-(500,0); a load P (part block, class KK)
  // in G at (400,0). Besides: a segment U in no group.
  void StartOnTree(const Records& records_of_a = UntouchedRecords()) {
    StartSession([&](tools::DrawingBuilder& b) {
      b.DefineSegment(L"RT100", 100);
      b.DefineSegment(L"KK100", 100);
      b.DefineSegment(L"RBT100", 100);
      b.DefineTee(L"RB_T50", 50);
      b.DefinePart(L"KK_LOAD", 20);
      s_ = b.AddRouteElement(L"RT100", {0, 0});
      a_ = b.AddRouteElement(L"RT100", {100, 0});
      t_ = b.AddRouteElement(L"RB_T50", {250, 0});
      b_ = b.AddRouteElement(L"RT100", {300, 0});
      k_ = b.AddRouteElement(L"KK100", {250, 50, 90});
      c_ = b.AddRouteElement(L"RT100", {250, 150, 90});
      r_ = b.AddRouteElement(L"RBT100", {-100, 0});
      d_ = b.AddRouteElement(L"RT100", {-200, 0});
      e_ = b.AddRouteElement(L"RT100", {400, 0});
      p_ = b.AddPart(L"KK_LOAD", {400, 0}, L"L-1");
      u_ = b.AddRouteElement(L"RT100", {0, 500});
      b.SetStrings(a_, L"RQ_ATTR", records_of_a);
      b.SetStrings(s_, L"RQ_ATTR",
                   {L"S501||2|1|55|0|", L"S004||2|1|55|0|", L"S3B9||2|1|55|0|", L"S002||2|1|55|0|",
                    L"PX05|a!b!c!d!|2|1|55|0|"});
      group_ = b.AddGroup(L"G", {s_, a_, t_, b_, k_, c_, r_, d_, p_});
    });
    OpenSamplePalette();
  }

  // A ring of four segments in one group: S (0,0)-(100,0), A up to (100,100), B back to
  // (0,100), C down to (0,0).
  void StartOnRing() {
    StartSession([&](tools::DrawingBuilder& b) {
      b.DefineSegment(L"RT100", 100);
      s_ = b.AddRouteElement(L"RT100", {0, 0});
      a_ = b.AddRouteElement(L"RT100", {100, 0, 90});
      b_ = b.AddRouteElement(L"RT100", {100, 100, 180});
      c_ = b.AddRouteElement(L"RT100", {0, 100, 270});
      group_ = b.AddGroup(L"RING", {s_, a_, b_, c_});
    });
    OpenSamplePalette();
  }

  std::wstring TickThreeAndPick(AcDbObjectId segment) {
    return L"click 238\nclick 239\nclick 240\nclick 336\npick " + Hex(segment) + L"\n";
  }

  AcDbObjectId s_, a_, t_, b_, k_, c_, r_, d_, e_, p_, u_, group_;
};

TEST_F(ManualAssignTest, RowsGoToTheSegmentAndAlongItsGroupUpToKkAndPanels) {
  StartOnTree({L"S501||2|1|55|0|", L"S004||2|1|55|0|", L"S3B9||2|1|55|0|", L"S002||2|1|55|0|",
               L"$P13|3|2|1|55|0|"});
  attributes_test::SetColour(a_, 1);  // recoloured by the settings check
  ASSERT_EQ(Run(TickThreeAndPick(s_)), 0) << session().stop_reason();
  EXPECT_NE(Transcript().find(L"\nコマンド: RQ_HARNEX_MANUALSET\n" + std::wstring(kPrompt) + L"\n" +
                              kDone),
            std::wstring::npos)
      << Transcript();
  EXPECT_EQ(Transcript().find(L"ERROR"), std::wstring::npos);

  // The segment loses its earlier PX05; the tree beyond it up to the KK element gets the rows.
  for (AcDbObjectId id : {s_, t_, b_, k_}) EXPECT_EQ(RecordsOf(id), kThreeRows) << Hex(id);
  Records a_records = kThreeRows;
  a_records.insert(a_records.begin() + 4, L"$P13||2|1|55|0|");
  EXPECT_EQ(RecordsOf(a_), a_records);
  EXPECT_EQ(attributes_test::ColourOf(a_), 3) << "the saved colour comes back";
  // Behind the KK element, the RBT panel and what lies behind it, outside the group, a part
  // block and an element in no group: untouched.
  for (AcDbObjectId id : {c_, r_, d_, e_, u_})
    EXPECT_EQ(RecordsOf(id), UntouchedRecords()) << Hex(id);
  EXPECT_EQ(RecordsOf(p_), Records{L"S001|L-1|2|1|55|0|"});
  EXPECT_EQ(LockCount(), 0);
}

TEST_F(ManualAssignTest, TheTraceWalksATreeDepthFirstInTheOrderOfAnswersAndPoints) {
  StartOnTree();
  CUIntArray rows;
  RowList(rows, {0});
  EnteredElements entered(s_);
  EXPECT_TRUE(TraceManual(group_, s_, AcGePoint3d(0, 0, 0), rows, entered));
  EXPECT_TRUE(TraceManual(group_, s_, AcGePoint3d(100, 0, 0), rows, entered));
  // At (0,0) only the RBT panel answers (not entered); at (100,0) A, then T; from T first its
  // arm (300,0) with B, then (250,50) with K, where the branch ends.
  EXPECT_EQ(entered.order(), (Ids{s_, a_, t_, b_, k_}));
  // Nothing answers beyond C's far end; at B's far end only the load, which is passed over.
  EnteredElements beyond(c_);
  EXPECT_FALSE(TraceManual(group_, c_, AcGePoint3d(250, 250, 0), rows, beyond));
  EXPECT_TRUE(TraceManual(group_, b_, AcGePoint3d(400, 0, 0), rows, beyond));
  EXPECT_EQ(beyond.order(), Ids{c_});
}

TEST_F(ManualAssignTest, ARingEndsWithEveryElementWrittenOnce) {
  StartOnRing();
  CUIntArray rows;
  RowList(rows, {0, 1, 2});
  EnteredElements entered(s_);
  TraceManual(group_, s_, AcGePoint3d(0, 0, 0), rows, entered);
  TraceManual(group_, s_, AcGePoint3d(100, 0, 0), rows, entered);
  // Round the ring from (0,0): C, B, A; A's far end leads back to S, and from (100,0) A is
  // already entered.
  EXPECT_EQ(entered.order(), (Ids{s_, c_, b_, a_}));

  ASSERT_EQ(Run(TickThreeAndPick(s_)), 0) << session().stop_reason();
  EXPECT_NE(Transcript().find(kDone), std::wstring::npos) << Transcript();
  for (AcDbObjectId id : {s_, a_, b_, c_}) EXPECT_EQ(RecordsOf(id), kThreeRows) << Hex(id);
  EXPECT_EQ(LockCount(), 0);
}

TEST_F(ManualAssignTest, AnElementThatCannotBeWrittenSaysSoAndTheTraceGoesOn) {
  // A's records fill the drawing's XData budget for one entity to within 43 bytes (see the row
  // writer's test): the rows do not fit.
  Records full = UntouchedRecords();
  full.push_back(L"MEMO|" + std::wstring(8085, L'x'));
  StartOnTree(full);
  ASSERT_EQ(Run(TickThreeAndPick(s_)), 0) << session().stop_reason();
  EXPECT_EQ(CountOf(Transcript(), L"\nERROR:複数配線属性が設定出来ません。"), 1) << Transcript();
  EXPECT_NE(Transcript().find(L"設定が終了しました。\n"), std::wstring::npos);
  EXPECT_EQ(RecordsOf(a_), full);
  for (AcDbObjectId id : {s_, t_, b_, k_}) EXPECT_EQ(RecordsOf(id), kThreeRows) << Hex(id);
}

TEST_F(ManualAssignTest, APickThatIsNoRouteSegmentAsksAgain) {
  StartOnTree();
  const AcDbObjectId line = [&] {
    tools::DrawingBuilder builder(session().database());
    return builder.AddLine(0, 800, 100, 800);
  }();
  // Two segments chosen before the command, a part block, a tee, a line (the pick takes block
  // references only); then the segment. (The button hands the ticked row to the command; a
  // typed command sees the rows as the last button left them.)
  ASSERT_EQ(Run(L"click 238\n"
                L"preselect " +
                Hex(s_) + L"," + Hex(u_) +
                L"\n"
                L"click 336\n"
                L"pick " +
                Hex(p_) +
                L"\n"
                L"pick " +
                Hex(t_) +
                L"\n"
                L"pick " +
                Hex(line) +
                L"\n"
                L"pick " +
                Hex(s_) + L"\n"),
            0)
      << session().stop_reason();
  const std::wstring expected = std::wstring(kPrompt) + L"\n\nERROR:配線ではありません。" +
                                kPrompt + L"\n\nERROR:経路ではありません。" + kPrompt + L"\n" +
                                kPrompt + L"\n" + kDone;
  EXPECT_NE(Transcript().find(expected), std::wstring::npos) << Transcript();
  EXPECT_EQ(RecordsOf(s_)[0], L"S501|DK|2|1|55|0|");
  EXPECT_EQ(RecordsOf(u_), UntouchedRecords()) << "the preselection of two was not taken";

  // A preselected line leaves no id: asked again without a word. One segment preselected is
  // taken without asking.
  session().ClearTranscript();
  ASSERT_EQ(
      Run(L"preselect " + Hex(line) + L"\ncommand RQ_HARNEX_MANUALSET\npick " + Hex(u_) + L"\n"),
      0);
  EXPECT_EQ(Transcript(), L"\nコマンド: RQ_HARNEX_MANUALSET\n" + std::wstring(kPrompt) +
                              L"\n\nERROR:ｸﾞﾙｰﾌﾟIDが取得出来ません。");
  session().ClearTranscript();
  ASSERT_EQ(Run(L"preselect " + Hex(b_) + L"\ncommand RQ_HARNEX_MANUALSET\n"), 0);
  EXPECT_EQ(Transcript(), L"\nコマンド: RQ_HARNEX_MANUALSET\n" + std::wstring(kDone));
  EXPECT_EQ(LockCount(), 0);
}

TEST_F(ManualAssignTest, TheCommandEndsWithItsMessageAndUnlocksOnEveryWayOut) {
  StartSession([&](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT100", 100);
    b.DefineNesting(L"RT_NEST", L"RT100", {});
    s_ = b.AddRouteElement(L"RT100", {0, 0});
    u_ = b.AddRouteElement(L"RT100", {0, 500});
    a_ = b.AddRouteElement(L"RT_NEST", {0, 300});  // its points are one block too deep
    b.AddGroup(L"G", {s_, a_});
  });
  // No palette: nothing is asked.
  ASSERT_EQ(Run(L"command RQ_HARNEX_MANUALSET\n"), 0);
  EXPECT_EQ(Transcript(), L"\nコマンド: RQ_HARNEX_MANUALSET\n\nERROR:設定画面を表示して下さい。");
  OpenSamplePalette();

  // The lock refused.
  platform::acad::FailNextLock(Acad::eLockViolation);
  ASSERT_EQ(Run(L"command RQ_HARNEX_MANUALSET\n"), 0);
  EXPECT_EQ(Transcript(), L"\nコマンド: RQ_HARNEX_MANUALSET\n\nERROR:ﾄﾞｷｭﾒﾝﾄをﾛｯｸ出来ません。(" +
                              std::to_wstring(static_cast<int>(Acad::eLockViolation)) + L")");

  struct Case {
    std::wstring script;
    std::wstring after_pick;
  } cases[] = {
      {L"esc\n", L"\n*キャンセル*\n"},
      {L"enter\n", L"\n"},
      {L"pick " + Hex(s_) + L"\n", L"\n\nERROR:選択されているデータがありません。"},
      {L"pick " + Hex(u_) + L"\n", L"\n\nERROR:ｸﾞﾙｰﾌﾟIDが取得出来ません。"},
      {L"pick " + Hex(a_) + L"\n", L"\n\nERROR:接続点が取得出来ません。"},
  };
  for (const Case& c : cases) {
    session().ClearTranscript();
    ASSERT_EQ(Run(L"command RQ_HARNEX_MANUALSET\n" + c.script), 0) << c.script;
    EXPECT_EQ(Transcript(),
              L"\nコマンド: RQ_HARNEX_MANUALSET\n" + std::wstring(kPrompt) + c.after_pick)
        << c.script;
    EXPECT_EQ(LockCount(), 0) << c.script;
  }
  EXPECT_EQ(RecordsOf(s_), UntouchedRecords()) << "no row was ticked";
}

TEST_F(ManualAssignTest, ASegmentBetweenPanelsGetsTheRowsAndNothingBeyond) {
  StartSession([&](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT100", 100);
    b.DefineSegment(L"RBT100", 100);
    r_ = b.AddRouteElement(L"RBT100", {-100, 0});
    s_ = b.AddRouteElement(L"RT100", {0, 0});
    t_ = b.AddRouteElement(L"RBT100", {100, 0});
    b_ = b.AddRouteElement(L"RT100", {200, 0});
    group_ = b.AddGroup(L"G", {r_, s_, t_, b_});
  });
  OpenSamplePalette();
  ASSERT_EQ(Run(L"click 239\nclick 336\npick " + Hex(s_) + L"\n"), 0) << session().stop_reason();
  EXPECT_EQ(RecordsOf(s_),
            (Records{L"S501|DR|2|1|55|0|", L"S004|1P-1|2|1|55|0|", L"S3B9|P-1,L-2|2|1|55|0|",
                     L"S002|CVT60sq E14 (FEP80)|2|1|55|0|"}));
  for (AcDbObjectId id : {r_, t_, b_}) EXPECT_EQ(RecordsOf(id), UntouchedRecords()) << Hex(id);
}

TEST_F(ManualAssignTest, EachGroupOfTheSegmentIsWalkedOnItsOwn) {
  // S and A in two groups; B, beyond A, only in the second. The first group's walk writes A;
  // the second walks through A again and reaches B.
  StartSession([&](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT100", 100);
    s_ = b.AddRouteElement(L"RT100", {0, 0});
    a_ = b.AddRouteElement(L"RT100", {100, 0});
    b_ = b.AddRouteElement(L"RT100", {200, 0});
    b.AddGroup(L"G1", {s_, a_});
    b.AddGroup(L"G2", {s_, a_, b_});
  });
  OpenSamplePalette();
  ASSERT_EQ(Run(L"click 238\nclick 336\npick " + Hex(s_) + L"\n"), 0) << session().stop_reason();
  for (AcDbObjectId id : {s_, a_, b_})
    EXPECT_EQ(RecordsOf(id)[1], L"S004|1L-1|2|1|55|0|") << Hex(id);
}

class ExampleDrawingManualTest : public attributes_test::AssignmentTest {
 protected:
  AcDbObjectId Id(uint64_t handle) {
    AcDbObjectId id;
    EXPECT_EQ(session().database()->getAcDbObjectId(id, false, AcDbHandle(handle)), Acad::eOk);
    return id;
  }
};

TEST_F(ExampleDrawingManualTest, TheRiserSegmentSpreadsToThePullBoxAndTheCorridorUpToThePanels) {
  StartSessionOnFile(tools::BundledExampleDrawingPath());
  OpenSamplePalette();
  ASSERT_EQ(Run(L"click 238\nclick 239\nclick 240\nclick 336\npick 7E\n"), 0)
      << session().stop_reason();
  EXPECT_NE(Transcript().find(kDone), std::wstring::npos) << Transcript();
  // ROUTE01 from the terminal segment 7E: down, the pull box KK_PB 75 (written, the end); up,
  // 87 and the tee 8A; west 93, the elbow 96 and 9F up to the lighting panel A2 (a part
  // block); east AB, the elbow AE and B7 up to the hatched power panel BA (RBT).
  for (uint64_t h : {0x7E, 0x75, 0x87, 0x8A, 0x93, 0x96, 0x9F, 0xAB, 0xAE, 0xB7}) {
    const Records records = RecordsOf(Id(h));
    ASSERT_GE(records.size(), 6u) << std::hex << h;
    EXPECT_EQ(Records(records.begin(), records.begin() + 6), kThreeRows) << std::hex << h;
  }
  // The lighting panel is a part block: it keeps its one record.
  EXPECT_EQ(RecordsOf(Id(0xA2)), Records{L"S001|1F-L1|2|1|55|0|"});
  // Beyond the power panel, and the lighting panel's own route ROUTE02: untouched.
  for (uint64_t h : {0xBA, 0xC3, 0xF9, 0x105, 0x126, 0x13E}) {
    const Records records = RecordsOf(Id(h));
    ASSERT_GE(records.size(), 4u) << std::hex << h;
    EXPECT_EQ(records[0], L"S501||2|1|55|0|") << std::hex << h;
    EXPECT_EQ(records.size(), 4u) << std::hex << h;
  }
}

}  // namespace
