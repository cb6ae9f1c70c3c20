// Automatic assignment as the user does it: panel/load names typed into the palette's rows, rows
// ticked, "自動付与" pressed, the terminal segment picked; the records and run markers of every
// element afterwards and the command line. Expected records are written out by hand from the
// sample pattern's rows (assignment_support.h) with the names typed here.
#include "attributes/auto_assign.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "assignment_support.h"

namespace {

using attributes_test::CountOf;
using attributes_test::Records;
using attributes_test::RecordsOf;
using attributes_test::UntouchedRecords;
using attributes_test::XDataStrings;
using Strings = std::vector<std::wstring>;

constexpr wchar_t kDone[] = L"\n配線情報設定中...設定が終了しました。\n";

std::wstring Hex(AcDbObjectId id) {
  wchar_t text[32];
  std::swprintf(text, 32, L"%llX", static_cast<unsigned long long>(tools::HandleOf(id)));
  return text;
}

// The four "S" records of one row: code, system number, panel/load name, size text.
Records Row(const std::wstring& code, const std::wstring& system, const std::wstring& name,
            const std::wstring& size) {
  return {L"S501|" + code + L"|2|1|55|0|", L"S004|" + system + L"|2|1|55|0|",
          L"S3B9|" + name + L"|2|1|55|0|", L"S002|" + size + L"|2|1|55|0|"};
}
// Rows 0 to 2 of the sample pattern (conduit underground) with the panel/load name `name`.
Records Row0(const std::wstring& name) {
  return Row(L"DK", L"1L-1", name, L"CV22sq-3C E8 (FEP50)");
}
Records Row1(const std::wstring& name) {
  return Row(L"DR", L"1P-1", name, L"CVT60sq E14 (FEP80)");
}
Records Row2(const std::wstring& name) {
  return Row(L"HJ", L"E-1", name, L"FP14sq-3C E8 (FEP50)");
}
Records With(Records records, const std::wstring& extra) {
  records.push_back(extra);
  return records;
}
Records PartRecords(const std::wstring& part) {
  return {L"S001|" + part + L"|2|1|55|0|"};
}

class AutoAssignTest : public attributes_test::AssignmentTest {
 protected:
  void Define(tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT100", 100);
    b.DefinePart(L"LOAD", 20);
    b.DefineSegment(L"PS100", 100);  // a part block that a route passes through
    b.DefineTee(L"RBT50", 50, /*hatched=*/true);
    b.DefineTee(L"RBT_OPEN50", 50);
  }
  // Types the panel/load names of rows 0 to 2 (empty: left as it is), ticks the rows `ticks`,
  // presses "自動付与" and picks `terminal`.
  int Assign(const Strings& names, const std::vector<int>& ticks, AcDbObjectId terminal) {
    std::wstring script;
    for (int r = 0; r < 3; ++r) {
      if (!names[r].empty())
        script += L"type " + std::to_wstring(258 + r) + L" " + names[r] + L"\n";
    }
    for (int r : ticks) script += L"click " + std::to_wstring(238 + r) + L"\n";
    script += L"click 387\npick " + Hex(terminal) + L"\n";
    return Run(script);
  }
  int PickAgain(AcDbObjectId terminal) { return Run(L"click 387\npick " + Hex(terminal) + L"\n"); }
  static std::wstring Flag(AcDbObjectId id) {
    const Strings s = XDataStrings(id, L"RQPX_AUTOFLAG");
    return s.empty() ? L"" : s[0];
  }
};

// A load straight to the terminal segment, with side branches to loads that must start nothing:
//
//        L ── S1 ── S2 ── T ── X ── Y        L "A,B" at (0,0); S1, S2, T, X, Y along y = 0
//                │     │    │                V to M "Q" at (100,-100); U to N "C,D" at
//                V     U    W                (200,-100); W (ETAT empty) down from (300,0)
//                M     N
TEST_F(AutoAssignTest, ALoadStraightToTheTerminalWritesThePathTheTerminalAndItsFarEnd) {
  AcDbObjectId l, s1, s2, t, x, y, v, m, u, n, w;
  StartSession([&](tools::DrawingBuilder& b) {
    Define(b);
    l = b.AddPart(L"LOAD", {0, 0}, L"A,B");
    s1 = b.AddRouteElement(L"RT100", {0, 0});
    s2 = b.AddRouteElement(L"RT100", {100, 0});
    t = b.AddRouteElement(L"RT100", {200, 0});
    x = b.AddRouteElement(L"RT100", {300, 0});
    y = b.AddRouteElement(L"RT100", {400, 0});
    v = b.AddRouteElement(L"RT100", {100, -100, 90});
    m = b.AddPart(L"LOAD", {100, -100}, L"Q");
    u = b.AddRouteElement(L"RT100", {200, -100, 90});
    n = b.AddPart(L"LOAD", {200, -100}, L"C,D");
    w = b.AddRouteElement(L"RT100", {300, 0, -90}, L"");
    b.AddGroup(L"G", {l, s1, s2, t, x, y, v, m, u, n, w});
  });
  OpenSamplePalette();
  // Row 0 " b , a" matches "A,B"; row 1 "Q" matches M but is not ticked; row 2 "C,D,E" is ticked
  // but has one name more than N's "C,D".
  ASSERT_EQ(Assign({L" b , a", L"Q", L"C,D,E"}, {0, 2}, t), 0) << session().stop_reason();
  EXPECT_NE(Transcript().find(L"\n末端経路を選択:\n" + std::wstring(kDone)), std::wstring::npos)
      << Transcript();
  EXPECT_EQ(Transcript().find(L"ERROR"), std::wstring::npos) << Transcript();

  for (AcDbObjectId id : {s1, s2, t, x}) {
    EXPECT_EQ(RecordsOf(id), Row0(L"b , a")) << Hex(id);
    EXPECT_EQ(Flag(id), L"1") << Hex(id);
  }
  // Beyond the far end, the element with no state, the branches: untouched; the load too.
  for (AcDbObjectId id : {y, w, v, u}) EXPECT_EQ(RecordsOf(id), UntouchedRecords()) << Hex(id);
  EXPECT_EQ(Flag(y), L"");
  EXPECT_EQ(RecordsOf(l), PartRecords(L"A,B"));
  EXPECT_EQ(RecordsOf(m), PartRecords(L"Q"));
  EXPECT_EQ(RecordsOf(n), PartRecords(L"C,D"));
  EXPECT_EQ(LockCount(), 0);
}

// L "A" ── S3 ── P "Z" ── S4 ── T: a part block with two connection points on the way.
TEST_F(AutoAssignTest, APartBlockOnTheWayEndsTheWritesButNotTheTrace) {
  AcDbObjectId l, s3, p, s4, t, x;
  StartSession([&](tools::DrawingBuilder& b) {
    Define(b);
    l = b.AddPart(L"LOAD", {0, 0}, L"A");
    s3 = b.AddRouteElement(L"RT100", {0, 0});
    p = b.AddPart(L"PS100", {100, 0}, L"Z");
    s4 = b.AddRouteElement(L"RT100", {200, 0});
    t = b.AddRouteElement(L"RT100", {300, 0});
    x = b.AddRouteElement(L"RT100", {400, 0});
    b.AddGroup(L"G", {l, s3, p, s4, t, x});
  });
  OpenSamplePalette();
  ASSERT_EQ(Assign({L"A", L"", L""}, {0}, t), 0) << session().stop_reason();
  EXPECT_NE(Transcript().find(kDone), std::wstring::npos) << Transcript();
  EXPECT_EQ(RecordsOf(s3), Row0(L"A"));
  for (AcDbObjectId id : {s4, t, x}) EXPECT_EQ(RecordsOf(id), UntouchedRecords()) << Hex(id);
  EXPECT_EQ(RecordsOf(p), PartRecords(L"Z"));
}

// Two loads through one hatched panel H (three points: (100,0), (200,0), (150,50)):
//
//                 B "B" (150,150)
//                 SB
//   A "A" ── SA ── H ── SC ── T ── X
TEST_F(AutoAssignTest, AHatchedPanelCollectsTheNamesAndTheSecondPassWritesFromIt) {
  AcDbObjectId a, sa, h, bl, sb, sc, t, x;
  StartSession([&](tools::DrawingBuilder& b) {
    Define(b);
    a = b.AddPart(L"LOAD", {0, 0}, L"A");
    sa = b.AddRouteElement(L"RT100", {0, 0});
    h = b.AddRouteElement(L"RBT50", {150, 0});
    bl = b.AddPart(L"LOAD", {150, 150}, L"B");
    sb = b.AddRouteElement(L"RT100", {150, 150, -90});
    sc = b.AddRouteElement(L"RT100", {200, 0});
    t = b.AddRouteElement(L"RT100", {300, 0});
    x = b.AddRouteElement(L"RT100", {400, 0});
    b.AddGroup(L"G", {a, sa, h, bl, sb, sc, t, x});
  });
  OpenSamplePalette();
  ASSERT_EQ(Assign({L"A", L"B", L"B,A"}, {0, 1, 2}, t), 0) << session().stop_reason();
  EXPECT_NE(Transcript().find(kDone), std::wstring::npos) << Transcript();
  // Pass 1 writes each load's row up to the panel, not the panel, nothing beyond it.
  EXPECT_EQ(RecordsOf(sa), Row0(L"A"));
  EXPECT_EQ(RecordsOf(sb), Row1(L"B"));
  EXPECT_EQ(RecordsOf(h), UntouchedRecords());
  EXPECT_EQ(XDataStrings(h, L"RQPX_BANLINK"), Strings{L"A,B"});
  // Pass 2 traces from the panel with the row named "B,A".
  for (AcDbObjectId id : {sc, t, x}) EXPECT_EQ(RecordsOf(id), Row2(L"B,A")) << Hex(id);
  EXPECT_EQ(RecordsOf(a), PartRecords(L"A"));
  EXPECT_EQ(RecordsOf(bl), PartRecords(L"B"));
}

// A part block in state 3 on the way is not written itself, but the row goes on beyond it:
// L "A" ── S1 ── P3 "Z" (ETAT 3) ── S2 ── T.
TEST_F(AutoAssignTest, APartBlockInStateThreeIsPassedOverAndTheWritesGoOn) {
  AcDbObjectId l, s1, p3, s2, t;
  StartSession([&](tools::DrawingBuilder& b) {
    Define(b);
    l = b.AddPart(L"LOAD", {0, 0}, L"A");
    s1 = b.AddRouteElement(L"RT100", {0, 0});
    p3 = b.AddPart(L"PS100", {100, 0}, L"Z", L"3");
    s2 = b.AddRouteElement(L"RT100", {200, 0});
    t = b.AddRouteElement(L"RT100", {300, 0});
    b.AddGroup(L"G", {l, s1, p3, s2, t});
  });
  OpenSamplePalette();
  ASSERT_EQ(Assign({L"A", L"", L""}, {0}, t), 0) << session().stop_reason();
  for (AcDbObjectId id : {s1, s2, t}) EXPECT_EQ(RecordsOf(id), Row0(L"A")) << Hex(id);
  EXPECT_EQ(RecordsOf(p3), PartRecords(L"Z"));
}

// Two hatched panels in a row: A "A" ── SA ── H1 ── S ── H2 ── SC ── T. Each panel lists the
// row's name once, in its own link ("A", not the first panel's list run together with its own),
// and pass 2 goes on from each panel: from H1 with the row named "A" up to H2, from H2 with the
// same row up to the terminal. Every segment holds the row once; the panels none.
TEST_F(AutoAssignTest, CascadedPanelsListTheNamesOnceAndTheRowReachesTheTerminalThroughBoth) {
  AcDbObjectId a, sa, h1, s, h2, sc, t;
  StartSession([&](tools::DrawingBuilder& b) {
    Define(b);
    a = b.AddPart(L"LOAD", {0, 0}, L"A");
    sa = b.AddRouteElement(L"RT100", {0, 0});
    h1 = b.AddRouteElement(L"RBT50", {150, 0});
    s = b.AddRouteElement(L"RT100", {200, 0});
    h2 = b.AddRouteElement(L"RBT50", {350, 0});
    sc = b.AddRouteElement(L"RT100", {400, 0});
    t = b.AddRouteElement(L"RT100", {500, 0});
    b.AddGroup(L"G", {a, sa, h1, s, h2, sc, t});
  });
  OpenSamplePalette();
  ASSERT_EQ(Assign({L"A", L"", L""}, {0}, t), 0) << session().stop_reason();
  EXPECT_NE(Transcript().find(kDone), std::wstring::npos) << Transcript();
  EXPECT_EQ(XDataStrings(h1, L"RQPX_BANLINK"), Strings{L"A"});
  EXPECT_EQ(XDataStrings(h2, L"RQPX_BANLINK"), Strings{L"A"});
  // SA in pass 1, S in pass 2 from H1, SC and T in pass 2 from H2.
  for (AcDbObjectId id : {sa, s, sc, t}) {
    EXPECT_EQ(RecordsOf(id), Row0(L"A")) << Hex(id);
    EXPECT_EQ(Flag(id), L"1") << Hex(id);
  }
  for (AcDbObjectId id : {h1, h2}) EXPECT_EQ(RecordsOf(id), UntouchedRecords()) << Hex(id);
}

// A panel of class RBT without hatch is an ordinary route element: the rows pass it.
TEST_F(AutoAssignTest, AnUnhatchedPanelIsWrittenLikeAnyElement) {
  AcDbObjectId a, sa, h, sc, t;
  StartSession([&](tools::DrawingBuilder& b) {
    Define(b);
    a = b.AddPart(L"LOAD", {0, 0}, L"A");
    sa = b.AddRouteElement(L"RT100", {0, 0});
    h = b.AddRouteElement(L"RBT_OPEN50", {150, 0});
    sc = b.AddRouteElement(L"RT100", {200, 0});
    t = b.AddRouteElement(L"RT100", {300, 0});
    b.AddGroup(L"G", {a, sa, h, sc, t});
  });
  OpenSamplePalette();
  ASSERT_EQ(Assign({L"A", L"", L""}, {0}, t), 0) << session().stop_reason();
  for (AcDbObjectId id : {sa, h, sc, t}) EXPECT_EQ(RecordsOf(id), Row0(L"A")) << Hex(id);
  EXPECT_FALSE(attributes_test::HasXData(h, L"RQPX_BANLINK"));
}

// A "A" ── SA ──┬── SC ── T      B "B" at (100,-100), SB up to (100,0)
//               SB
//               B
TEST_F(AutoAssignTest, AnElementReachedByTwoRowsHoldsBothAndASecondRunGivesTheSame) {
  AcDbObjectId a, sa, bl, sb, sc, t;
  StartSession([&](tools::DrawingBuilder& b) {
    Define(b);
    a = b.AddPart(L"LOAD", {0, 0}, L"A");
    sa = b.AddRouteElement(L"RT100", {0, 0});
    bl = b.AddPart(L"LOAD", {100, -100}, L"B");
    sb = b.AddRouteElement(L"RT100", {100, -100, 90});
    sc = b.AddRouteElement(L"RT100", {100, 0});
    t = b.AddRouteElement(L"RT100", {200, 0});
    b.AddGroup(L"G", {a, sa, bl, sb, sc, t});
  });
  OpenSamplePalette();
  const std::wstring px02 = L"PX02|1P-1!CVT60sq E14 (FEP80)!B!DR!|2|1|55|0|";
  for (int run = 1; run <= 2; ++run) {
    if (run == 1) {
      ASSERT_EQ(Assign({L"A", L"B", L""}, {0, 1}, t), 0) << session().stop_reason();
    } else {
      ASSERT_EQ(PickAgain(t), 0) << session().stop_reason();
    }
    EXPECT_EQ(CountOf(Transcript(), kDone), run) << Transcript();
    EXPECT_EQ(RecordsOf(sa), Row0(L"A")) << "run " << run;
    EXPECT_EQ(RecordsOf(sb), Row1(L"B")) << "run " << run;
    for (AcDbObjectId id : {sc, t}) {
      EXPECT_EQ(RecordsOf(id), With(Row0(L"A"), px02)) << "run " << run << " " << Hex(id);
      EXPECT_EQ(Flag(id), L"3");
    }
  }
}

// A ring: L "A" at (0,0); RA (0,0)-(100,0), RB up to (100,100), RC back to (0,100), RD down to
// (0,0); the terminal T from (100,100) to (200,100) and X beyond it. Both ways round the ring
// reach T, each ending where it would re-enter an element of its own path. The one wire that
// reaches T and X two ways round is one wire there: written once.
TEST_F(AutoAssignTest, ARingEndsAndItsWireIsWrittenOnceOnTheTerminal) {
  AcDbObjectId l, ra, rb, rc, rd, t, x;
  StartSession([&](tools::DrawingBuilder& b) {
    Define(b);
    l = b.AddPart(L"LOAD", {0, 0}, L"A");
    ra = b.AddRouteElement(L"RT100", {0, 0});
    rb = b.AddRouteElement(L"RT100", {100, 0, 90});
    rc = b.AddRouteElement(L"RT100", {100, 100, 180});
    rd = b.AddRouteElement(L"RT100", {0, 100, 270});
    t = b.AddRouteElement(L"RT100", {100, 100});
    x = b.AddRouteElement(L"RT100", {200, 100});
    b.AddGroup(L"RING", {l, ra, rb, rc, rd, t, x});
  });
  OpenSamplePalette();
  ASSERT_EQ(Assign({L"A", L"", L""}, {0}, t), 0) << session().stop_reason();
  EXPECT_NE(Transcript().find(kDone), std::wstring::npos) << Transcript();
  for (AcDbObjectId id : {ra, rb, rc, rd}) EXPECT_EQ(RecordsOf(id), Row0(L"A")) << Hex(id);
  for (AcDbObjectId id : {t, x}) {
    EXPECT_EQ(RecordsOf(id), Row0(L"A")) << Hex(id);
    EXPECT_EQ(Flag(id), L"1") << Hex(id);
  }
  EXPECT_EQ(RecordsOf(l), PartRecords(L"A"));
}

// A loop that the first load's path closes: A "A" ── SA ── E ── T ── X, and from E's far end
// a square back to E's near end, Y1 up to B "B", Y2 across, Y3 down:
//
//              Y2
//   (100,100) ──── B (200,100)
//       Y3 │       │ Y1
//   A ── SA ── E ──┴── T ── X
//  (0,0)  (100,0) (200,0)
//
// A's trace meets the loop twice with its own path blocking the way round (SA and E, or SA and
// Y3); B's trace must still find both ways round, through the elements that blocked A's.
// A reaches T twice (through E, then round the square), and so does B (through Y1, then
// through Y2, Y3 and E); the square and E hold A's row, then B's, and so do T and X: each wire
// once, however many ways it came.
TEST_F(AutoAssignTest, ALoopBlockedByOneLoadsPathIsStillWalkedFromAnotherLoad) {
  AcDbObjectId a, sa, e, y1, y2, y3, bl, t, x;
  StartSession([&](tools::DrawingBuilder& b) {
    Define(b);
    a = b.AddPart(L"LOAD", {0, 0}, L"A");
    sa = b.AddRouteElement(L"RT100", {0, 0});
    e = b.AddRouteElement(L"RT100", {100, 0});
    y1 = b.AddRouteElement(L"RT100", {200, 0, 90});
    y2 = b.AddRouteElement(L"RT100", {200, 100, 180});
    y3 = b.AddRouteElement(L"RT100", {100, 100, 270});
    bl = b.AddPart(L"LOAD", {200, 100}, L"B");
    t = b.AddRouteElement(L"RT100", {200, 0});
    x = b.AddRouteElement(L"RT100", {300, 0});
    b.AddGroup(L"G", {a, sa, e, y1, y2, y3, bl, t, x});
  });
  OpenSamplePalette();
  ASSERT_EQ(Assign({L"A", L"B", L""}, {0, 1}, t), 0) << session().stop_reason();
  EXPECT_NE(Transcript().find(kDone), std::wstring::npos) << Transcript();
  EXPECT_EQ(Transcript().find(L"ERROR"), std::wstring::npos) << Transcript();
  const std::wstring b02 = L"PX02|1P-1!CVT60sq E14 (FEP80)!B!DR!|2|1|55|0|";
  EXPECT_EQ(RecordsOf(sa), Row0(L"A"));
  EXPECT_EQ(Flag(sa), L"1");
  for (AcDbObjectId id : {e, y1, y2, y3}) {
    EXPECT_EQ(RecordsOf(id), With(Row0(L"A"), b02)) << Hex(id);
    EXPECT_EQ(Flag(id), L"3") << Hex(id);
  }
  for (AcDbObjectId id : {t, x}) {
    EXPECT_EQ(RecordsOf(id), With(Row0(L"A"), b02)) << Hex(id);
    EXPECT_EQ(Flag(id), L"3") << Hex(id);
  }
  EXPECT_EQ(RecordsOf(a), PartRecords(L"A"));
  EXPECT_EQ(RecordsOf(bl), PartRecords(L"B"));
}

// A loop back to the start: P "A" is a part block from (0,0) to (100,0) that a route passes
// through; S1 ── T ── X go on from (100,0), and L1 up, L2 across, L3 down lead from (0,0) round to
// (100,0). The start is on its own path, so a trace that comes round to it passes it over (it
// is no part block on the way), and the row goes on to T.
//
//   L2 (0,100)-(100,100)
//   L1 │          │ L3
//      P ──────── ┴ S1 ── T ── X
//   (0,0)     (100,0)
//
// From P's first point: round the loop, past P, on through S1 to T: L1, L2, L3, S1, T, X get
// the row. From its second point: S1 to T again, the same wire, which S1, T and X hold once
// already; round the loop the other way it comes back to P and ends there.
TEST_F(AutoAssignTest, ALoopBackToTheStartPassesTheStartOver) {
  AcDbObjectId p, s1, t, x, l1, l2, l3;
  StartSession([&](tools::DrawingBuilder& b) {
    Define(b);
    p = b.AddPart(L"PS100", {0, 0}, L"A");
    s1 = b.AddRouteElement(L"RT100", {100, 0});
    t = b.AddRouteElement(L"RT100", {200, 0});
    x = b.AddRouteElement(L"RT100", {300, 0});
    l1 = b.AddRouteElement(L"RT100", {0, 0, 90});
    l2 = b.AddRouteElement(L"RT100", {0, 100});
    l3 = b.AddRouteElement(L"RT100", {100, 100, 270});
    b.AddGroup(L"G", {p, s1, t, x, l1, l2, l3});
  });
  OpenSamplePalette();
  ASSERT_EQ(Assign({L"A", L"", L""}, {0}, t), 0) << session().stop_reason();
  EXPECT_NE(Transcript().find(kDone), std::wstring::npos) << Transcript();
  for (AcDbObjectId id : {l1, l2, l3, s1, t, x}) {
    EXPECT_EQ(RecordsOf(id), Row0(L"A")) << Hex(id);
    EXPECT_EQ(Flag(id), L"1") << Hex(id);
  }
  EXPECT_EQ(RecordsOf(p), PartRecords(L"A"));
}

TEST_F(AutoAssignTest, APickThatIsNoRouteSegmentAsksAgainAndNoPaletteStopsAtOnce) {
  AcDbObjectId l, s, h;
  StartSession([&](tools::DrawingBuilder& b) {
    Define(b);
    l = b.AddPart(L"LOAD", {0, 0}, L"A");
    s = b.AddRouteElement(L"RT100", {0, 0});
    h = b.AddRouteElement(L"RBT50", {150, 0});
    b.AddGroup(L"G", {l, s, h});
  });
  ASSERT_EQ(Run(L"command RQ_HARNEX_AUTOSET\n"), 0) << session().stop_reason();
  EXPECT_NE(Transcript().find(L"\nERROR:設定画面を表示して下さい。"), std::wstring::npos)
      << Transcript();
  EXPECT_EQ(Transcript().find(L"末端経路を選択"), std::wstring::npos);
  OpenSamplePalette();
  ASSERT_EQ(Run(L"click 238\nclick 387\npick " + Hex(l) + L"\npick " + Hex(h) + L"\npick " +
                Hex(s) + L"\n"),
            0)
      << session().stop_reason();
  EXPECT_NE(
      Transcript().find(L"\n末端経路を選択:\n\nERROR:配線経路ではありません。\n末端経路を選択:\n"
                        L"\nERROR:経路ではありません。\n末端経路を選択:\n"),
      std::wstring::npos)
      << Transcript();
  EXPECT_EQ(CountOf(Transcript(), kDone), 1) << Transcript();
  EXPECT_EQ(LockCount(), 0);
}

}  // namespace
