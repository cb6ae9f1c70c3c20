// Colour recovery through the command RQ_HARNEX_RECOVERCOLOR: which elements get their saved
// colour back, that "$P13" is emptied in place, that nothing is rewritten when nothing is saved,
// and the user's break.
#include "attributes/colour_recovery.h"

#include <gtest/gtest.h>

#include <acdocman.h>
#include <actrans.h>
#include <dbents.h>
#include "platform/acad/dbhost.h"
#include "platform/acad/status_bar.h"

#include <string>
#include <vector>

#include "attributes/element_colour.h"
#include "attributes_support.h"

namespace {

using attributes_test::BreakAt;

using attributes_test::AttributeColoursOf;
using attributes_test::ColourOf;
using attributes_test::XDataStrings;
using tools::DrawingBuilder;
using Strings = std::vector<std::wstring>;
namespace steps = host::steps;

const std::wstring kEcho = L"\nコマンド: RQ_HARNEX_RECOVERCOLOR\n";

// The records of a route element as the route tools make them, with "$P13" holding `saved`.
Strings RecordsSaving(const std::wstring& saved) {
  return {L"S501||2|1|55|0|", L"S004||2|1|55|0|", L"S3B9||2|1|55|0|", L"S002||2|1|55|0|",
          L"$P13|" + saved + L"|2|1|55|0|"};
}

class ColourRecoveryTest : public attributes_test::RouteDrawingTest {
 protected:
  // Three marked route elements (saved ByLayer, 3 and 7), one with an empty "$P13", a marked
  // RBT panel that recovery must pass over, a line; the marked ones show colour 1 now.
  void StartWithMarkedElements() {
    StartSession([this](DrawingBuilder& b) {
      b.DefineSegment(L"RT1", 100);
      b.DefinePart(L"RBT_P", 20, true);
      first_ = b.AddRouteElement(L"RT1", {0, 0});
      b.SetStrings(first_, L"RQ_ATTR", RecordsSaving(L"256"));
      second_ = b.AddRouteElement(L"RT1", {100, 0});
      b.SetStrings(second_, L"RQ_ATTR", RecordsSaving(L"3"));
      unsaved_ = b.AddRouteElement(L"RT1", {200, 0});
      b.SetStrings(unsaved_, L"RQ_ATTR", RecordsSaving(L""));
      panel_ = b.AddRouteElement(L"RBT_P", {300, 0});
      b.SetStrings(panel_, L"RQ_ATTR", RecordsSaving(L"5"));
      third_ = b.AddRouteElement(L"RT1", {400, 0});
      b.SetStrings(third_, L"RQ_ATTR", RecordsSaving(L"7"));
      b.AddLine(0, 50, 400, 50);
    });
    for (AcDbObjectId id : {first_, second_, unsaved_, panel_, third_}) {
      attributes_test::SetColour(id, 1);
    }
    platform::acad::ResetProgressMeter();
    actrTransactionManager->resetCounts();
  }

  AcDbObjectId first_, second_, unsaved_, panel_, third_;
};

TEST_F(ColourRecoveryTest, SavedColoursComeBackAndTheRecordsAreEmptiedWithoutAMessage) {
  StartWithMarkedElements();
  EXPECT_EQ(session().Run({steps::Command(L"RQ_HARNEX_RECOVERCOLOR")}), 0);
  EXPECT_EQ(session().transcript(), kEcho) << "recovery prints nothing";

  EXPECT_EQ(ColourOf(first_), 256);
  EXPECT_EQ(AttributeColoursOf(first_), (std::vector<int>{256, 256}));
  EXPECT_EQ(ColourOf(second_), 3);
  EXPECT_EQ(ColourOf(third_), 7);
  for (AcDbObjectId id : {first_, second_, third_}) {
    EXPECT_EQ(XDataStrings(id, L"RQ_ATTR"), RecordsSaving(L"")) << "the record stays, emptied";
  }
  // Nothing saved, and a panel whose block name begins with RBT: both keep colour and records.
  EXPECT_EQ(ColourOf(unsaved_), 1);
  EXPECT_EQ(ColourOf(panel_), 1);
  EXPECT_EQ(XDataStrings(panel_, L"RQ_ATTR"), RecordsSaving(L"5"));

  const auto& meter = platform::acad::ProgressMeter();
  EXPECT_EQ(meter.label, L"要素の色を復元しています...");
  EXPECT_EQ(meter.max, 5) << "the five entities with route XData; the line has none";
  EXPECT_EQ(meter.pos, 5);
  EXPECT_FALSE(meter.active);
  EXPECT_EQ(actrTransactionManager->queuedFlushes(), 1);
  EXPECT_EQ(actrTransactionManager->flushes(), 1);
}

TEST_F(ColourRecoveryTest, ASecondRecoveryWritesNoList) {
  StartWithMarkedElements();
  session().Run({steps::Command(L"RQ_HARNEX_RECOVERCOLOR")});
  attributes_test::SetColour(second_, 6);

  // Arm a refused XData write: were the second recovery to write any list, it would use it up.
  platform::acad::FailNextSetXData(Acad::eOutOfMemory);
  session().Run({steps::Command(L"RQ_HARNEX_RECOVERCOLOR")});
  EXPECT_EQ(ColourOf(second_), 6) << "nothing saved any more: the colour set since then stays";
  EXPECT_EQ(XDataStrings(first_, L"RQ_ATTR"), RecordsSaving(L""));

  // The fault is still armed: the next list written (by a check's marking) is refused.
  ASSERT_TRUE(MarkElement(first_, 2));
  EXPECT_EQ(XDataStrings(first_, L"RQ_ATTR"), RecordsSaving(L""))
      << "the second recovery wrote a list";
  platform::acad::ClearFaults();
}

TEST_F(ColourRecoveryTest, OnlyThePickFirstElementsAreRecovered) {
  StartWithMarkedElements();
  session().Run({steps::Preselect({tools::HandleOf(second_), tools::HandleOf(panel_)}),
                 steps::Command(L"RQ_HARNEX_RECOVERCOLOR")});
  EXPECT_EQ(ColourOf(second_), 3);
  EXPECT_EQ(XDataStrings(second_, L"RQ_ATTR"), RecordsSaving(L""));
  EXPECT_EQ(ColourOf(panel_), 1);
  for (AcDbObjectId id : {first_, third_}) {
    EXPECT_EQ(ColourOf(id), 1) << "not selected";
  }
  EXPECT_EQ(XDataStrings(first_, L"RQ_ATTR"), RecordsSaving(L"256"));
  EXPECT_EQ(platform::acad::ProgressMeter().max, 2);
}

TEST_F(ColourRecoveryTest, ASavedColourEqualToTheCurrentOneIsOnlyForgotten) {
  StartWithMarkedElements();
  // The reference shows 3 already, its attributes 4: a colour change would reach them too.
  {
    AcDbBlockReference* reference = nullptr;
    ASSERT_EQ(acdbOpenObject(reference, second_, AcDb::kForWrite), Acad::eOk);
    reference->setColorIndex(3, false);
    AcDbObjectIterator* it = reference->attributeIterator();
    for (; !it->done(); it->step()) attributes_test::SetColour(it->objectId(), 4);
    delete it;
    reference->close();
  }
  session().Run({steps::Command(L"RQ_HARNEX_RECOVERCOLOR")});
  EXPECT_EQ(ColourOf(second_), 3);
  EXPECT_EQ(AttributeColoursOf(second_), (std::vector<int>{4, 4}))
      << "no colour was set on an element that has its saved colour";
  EXPECT_EQ(XDataStrings(second_, L"RQ_ATTR"), RecordsSaving(L""));
}

TEST_F(ColourRecoveryTest, ABreakStopsTheLoopAndTheRestIsCleanedUp) {
  StartWithMarkedElements();
  {
    BreakAt esc(session(), 2);
    session().Run({steps::Command(L"RQ_HARNEX_RECOVERCOLOR")});
  }
  EXPECT_EQ(ColourOf(first_), 256);
  EXPECT_EQ(ColourOf(second_), 1) << "the break came before the second element";
  EXPECT_EQ(XDataStrings(second_, L"RQ_ATTR"), RecordsSaving(L"3"));
  EXPECT_EQ(ColourOf(third_), 1);
  const auto& meter = platform::acad::ProgressMeter();
  EXPECT_FALSE(meter.active);
  EXPECT_EQ(meter.pos, 2);
  EXPECT_EQ(actrTransactionManager->flushes(), 1);
  EXPECT_EQ(session().transcript(), kEcho);
  EXPECT_EQ(session().exit_status(), 0);
}

TEST_F(ColourRecoveryTest, AnElementThatCannotBeOpenedKeepsItsColour) {
  StartWithMarkedElements();
  platform::acad::FailNextOpen(Acad::eWasOpenedForWrite, second_);
  session().Run({steps::Command(L"RQ_HARNEX_RECOVERCOLOR")});
  platform::acad::ClearFaults();
  EXPECT_EQ(ColourOf(first_), 256);
  EXPECT_EQ(ColourOf(third_), 7);
  EXPECT_EQ(ColourOf(second_), 1);
  EXPECT_EQ(XDataStrings(second_, L"RQ_ATTR"), RecordsSaving(L"3"));
}

TEST_F(ColourRecoveryTest, ADrawingWithoutRouteElementsEndsSilentlyAndUnlocked) {
  StartSession([](DrawingBuilder& b) { b.AddLine(0, 0, 100, 0); });
  platform::acad::ResetProgressMeter();
  EXPECT_EQ(session().Run({steps::Command(L"RQ_HARNEX_RECOVERCOLOR")}), 0);
  EXPECT_EQ(session().transcript(), kEcho);
  EXPECT_EQ(platform::acad::ProgressMeter().shown_count, 0);
  EXPECT_EQ(acDocManager->curDocument()->lockCount(), 0);
}

}  // namespace
