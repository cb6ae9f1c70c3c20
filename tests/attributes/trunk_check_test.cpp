// The trunk-number check through the command RQ_HARNEX_CHECKATT: which elements are marked,
// the saved colours, the two closing messages, the pick-first selection and the user's break.
#include "attributes/trunk_check.h"

#include <gtest/gtest.h>

#include <acdocman.h>
#include <actrans.h>
#include <dbapserv.h>
#include "platform/acad/dbhost.h"
#include <dbsymtb.h>
#include "platform/acad/status_bar.h"

#include <string>
#include <vector>

#include "attributes_support.h"

namespace {

using attributes_test::BreakAt;

using attributes_test::ColourOf;
using attributes_test::XDataStrings;
using tools::DrawingBuilder;
using Strings = std::vector<std::wstring>;
namespace steps = host::steps;

const std::wstring kEcho = L"\nコマンド: RQ_HARNEX_CHECKATT\n";
const std::wstring kFound = L"\n幹線番号が設定されていない要素が見つかりました.\n";
const std::wstring kNoneFound = L"\n幹線番号が設定されていない要素はありません.\n";

// Route tool records with "S004" holding `trunk`, and "$P13" when `saved` is given.
Strings Records(const std::wstring& trunk, const wchar_t* saved = nullptr) {
  Strings records = {L"S501||2|1|55|0|", L"S004|" + trunk + L"|2|1|55|0|", L"S3B9||2|1|55|0|",
                     L"S002||2|1|55|0|"};
  if (saved != nullptr) records.push_back(std::wstring(L"$P13|") + saved + L"|2|1|55|0|");
  return records;
}

bool HasLayer(const wchar_t* name) {
  AcDbLayerTable* layers = nullptr;
  if (acdbHostApplicationServices()->workingDatabase()->getLayerTable(layers) != Acad::eOk) {
    return false;
  }
  const bool has = layers->has(name);
  layers->close();
  return has;
}

class TrunkCheckTest : public attributes_test::RouteDrawingTest {
 protected:
  // In drawing order: a fresh element (empty "S004", colour 5), one with "-", one with "0",
  // one with "A-1", an RBT panel with empty "S004", a part block standing in a route (ETAT 1)
  // with an empty "S004", a part block not in a route, an element without "S004", a line.
  void StartWithElements() {
    StartSession([this](DrawingBuilder& b) {
      b.DefineSegment(L"RT1", 100);
      b.DefinePart(L"RBT_P", 20, true);
      b.DefinePart(L"KK_P", 20);
      empty_ = b.AddRouteElement(L"RT1", {0, 0});
      dash_ = b.AddRouteElement(L"RT1", {100, 0});
      b.SetStrings(dash_, L"RQ_ATTR", Records(L"-"));
      zero_ = b.AddRouteElement(L"RT1", {200, 0});
      b.SetStrings(zero_, L"RQ_ATTR", Records(L"0"));
      set_ = b.AddRouteElement(L"RT1", {300, 0});
      b.SetStrings(set_, L"RQ_ATTR", Records(L"A-1"));
      panel_ = b.AddRouteElement(L"RBT_P", {400, 0});
      routePart_ = b.AddPart(L"KK_P", {500, 0}, L"P-1", L"1");
      b.SetStrings(routePart_, L"RQ_ATTR", Records(L""));
      loosePart_ = b.AddPart(L"KK_P", {600, 0}, L"P-2", L"");
      b.SetStrings(loosePart_, L"RQ_ATTR", Records(L""));
      noTrunk_ = b.AddRouteElement(L"RT1", {700, 0});
      b.SetStrings(noTrunk_, L"RQ_ATTR", {L"S501||2|1|55|0|"});
      b.AddLine(0, 50, 700, 50);
    });
    attributes_test::SetColour(empty_, 5);
    platform::acad::ResetProgressMeter();
    actrTransactionManager->resetCounts();
  }

  std::vector<AcDbObjectId> All() const {
    return {empty_, dash_, zero_, set_, panel_, routePart_, loosePart_, noTrunk_};
  }

  AcDbObjectId empty_, dash_, zero_, set_, panel_, routePart_, loosePart_, noTrunk_;
};

TEST_F(TrunkCheckTest, ElementsWithoutATrunkNumberAreMarkedRedAndKeepTheirColour) {
  StartWithElements();
  ASSERT_FALSE(HasLayer(L"_RQTemp_PXCheck"));
  EXPECT_EQ(session().Run({steps::Command(L"RQ_HARNEX_CHECKATT")}), 0);
  EXPECT_EQ(session().transcript(), kEcho + kFound);

  // Empty and "-" count as not set, as does the empty number of a part block in a route.
  EXPECT_EQ(ColourOf(empty_), 1);
  EXPECT_EQ(XDataStrings(empty_, L"RQ_ATTR"), Records(L"", L"5"));
  EXPECT_EQ(ColourOf(dash_), 1);
  EXPECT_EQ(XDataStrings(dash_, L"RQ_ATTR"), Records(L"-", L"256"));
  EXPECT_EQ(ColourOf(routePart_), 1);
  // "0" and "A-1" are set; RBT panels, part blocks outside routes and elements without "S004"
  // are never looked at.
  for (AcDbObjectId id : {zero_, set_, panel_, loosePart_, noTrunk_}) {
    EXPECT_EQ(ColourOf(id), 256) << "handle " << tools::HandleOf(id);
  }
  EXPECT_EQ(XDataStrings(zero_, L"RQ_ATTR"), Records(L"0"));
  EXPECT_EQ(XDataStrings(panel_, L"RQ_ATTR"), Records(L""));

  EXPECT_TRUE(HasLayer(L"_RQTemp_PXCheck"));
  const auto& meter = platform::acad::ProgressMeter();
  EXPECT_EQ(meter.label, L"配線確認中...");
  EXPECT_EQ(meter.max, 8) << "every entity with route XData; the line has none";
  EXPECT_EQ(meter.pos, 8);
  EXPECT_FALSE(meter.active);
  EXPECT_EQ(actrTransactionManager->queuedFlushes(), 1);
  EXPECT_EQ(actrTransactionManager->flushes(), 1);
  EXPECT_EQ(acDocManager->curDocument()->lockCount(), 0);
}

TEST_F(TrunkCheckTest, ThePickFirstSelectionAloneIsChecked) {
  StartWithElements();
  session().Run({steps::Preselect({tools::HandleOf(dash_), tools::HandleOf(zero_)}),
                 steps::Command(L"RQ_HARNEX_CHECKATT")});
  EXPECT_EQ(session().transcript(), kEcho + kFound);
  EXPECT_EQ(ColourOf(dash_), 1);
  EXPECT_EQ(ColourOf(empty_), 5) << "not selected";
  EXPECT_EQ(ColourOf(routePart_), 256) << "not selected";
  EXPECT_EQ(platform::acad::ProgressMeter().max, 2);

  // A selection with nothing to mark says so.
  session().ClearTranscript();
  session().Run({steps::Preselect({tools::HandleOf(set_), tools::HandleOf(panel_)}),
                 steps::Command(L"RQ_HARNEX_CHECKATT")});
  EXPECT_EQ(session().transcript(), kEcho + kNoneFound);
}

TEST_F(TrunkCheckTest, RedThenBlueKeepsTheFirstSavedColourAndOneRecoveryRestoresIt) {
  StartWithElements();
  session().Run({steps::Command(L"RQ_HARNEX_CHECKATT")});
  RunCheck(5, CheckLocking::kDialog);
  EXPECT_EQ(ColourOf(dash_), 5);
  EXPECT_EQ(XDataStrings(dash_, L"RQ_ATTR"), Records(L"-", L"256"));
  EXPECT_EQ(XDataStrings(empty_, L"RQ_ATTR"), Records(L"", L"5"));
  EXPECT_EQ(acDocManager->curDocument()->lockCount(), 0);

  session().Run({steps::Command(L"RQ_HARNEX_RECOVERCOLOR")});
  EXPECT_EQ(ColourOf(dash_), 256);
  EXPECT_EQ(ColourOf(empty_), 5);
  EXPECT_EQ(ColourOf(routePart_), 256);
  EXPECT_EQ(XDataStrings(dash_, L"RQ_ATTR"), Records(L"-", L""));
}

TEST_F(TrunkCheckTest, ABreakInTheMiddleStopsMarkingButStillReports) {
  StartWithElements();
  {
    BreakAt esc(session(), 3);
    session().Run({steps::Command(L"RQ_HARNEX_CHECKATT")});
  }
  EXPECT_EQ(session().transcript(), kEcho + kFound);
  EXPECT_EQ(ColourOf(empty_), 1);
  EXPECT_EQ(ColourOf(dash_), 1);
  EXPECT_EQ(ColourOf(routePart_), 256) << "came after the break";
  const auto& meter = platform::acad::ProgressMeter();
  EXPECT_EQ(meter.pos, 3);
  EXPECT_FALSE(meter.active);
  EXPECT_EQ(actrTransactionManager->flushes(), 1);
  EXPECT_EQ(acDocManager->curDocument()->lockCount(), 0);

  // A break pressed right after the command stops at the first element: nothing is found.
  session().ClearTranscript();
  EXPECT_EQ(session().RunScript(L"command RQ_HARNEX_CHECKATT\nbreak\n"), 0);
  EXPECT_EQ(session().transcript(), kEcho + kNoneFound);
}

TEST_F(TrunkCheckTest, ALockThatFailsIsReportedAndTheCheckRunsAnyway) {
  StartWithElements();
  platform::acad::FailNextLock(Acad::eLockViolation);
  session().Run({steps::Command(L"RQ_HARNEX_CHECKATT")});
  platform::acad::ClearFaults();
  const std::wstring transcript = session().transcript();
  EXPECT_NE(transcript.find(L"\nERROR:ﾄﾞｷｭﾒﾝﾄをﾛｯｸ出来ません。("), std::wstring::npos)
      << transcript;
  EXPECT_NE(transcript.find(kFound), std::wstring::npos) << transcript;
  EXPECT_EQ(ColourOf(dash_), 1);
}

TEST_F(TrunkCheckTest, ADrawingWithoutRouteElementsHasNothingToCheck) {
  StartSession([](DrawingBuilder& b) { b.AddLine(0, 0, 100, 0); });
  platform::acad::ResetProgressMeter();
  EXPECT_EQ(session().Run({steps::Command(L"RQ_HARNEX_CHECKATT")}), 0);
  EXPECT_EQ(session().transcript(), kEcho + L"\n確認する要素はありません.\n");
  EXPECT_EQ(platform::acad::ProgressMeter().shown_count, 0);
  EXPECT_FALSE(HasLayer(L"_RQTemp_PXCheck"));
}

}  // namespace
