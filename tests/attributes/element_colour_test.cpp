// Marking elements with a colour and giving the colour back, on elements of a test drawing.
#include "attributes/element_colour.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "attributes_support.h"
#include <ApiComn.h>

namespace {

using attributes_test::AttributeColoursOf;
using attributes_test::ColourOf;
using attributes_test::HasXData;
using attributes_test::XDataStrings;

const std::vector<std::wstring> kFreshRecords = {L"S501||2|1|55|0|", L"S004||2|1|55|0|",
                                                 L"S3B9||2|1|55|0|", L"S002||2|1|55|0|"};

std::vector<std::wstring> With(std::vector<std::wstring> records, const std::wstring& last) {
  records.push_back(last);
  return records;
}

class ElementColourTest : public attributes_test::RouteDrawingTest {
 protected:
  void StartWithElements() {
    StartSession([this](tools::DrawingBuilder& b) {
      b.DefineSegment(L"RT1", 100);
      element_ = b.AddRouteElement(L"RT1", {0, 0});
      coloured_ = b.AddRouteElement(L"RT1", {100, 0});
      bare_ = b.AddRouteElement(L"RT1", {200, 0});
      b.SetStrings(bare_, L"RQ_ATTR", {});
      line_ = b.AddLine(0, 50, 100, 50);
    });
    attributes_test::SetColour(coloured_, 4);
  }
  AcDbObjectId element_, coloured_, bare_, line_;
};

TEST_F(ElementColourTest, MarkingSavesTheFormerColourOnceAndRestoringGivesItBack) {
  StartWithElements();
  ASSERT_EQ(ColourOf(element_), 256);  // ByLayer, as the route tools draw

  ASSERT_TRUE(MarkElement(element_, 1));
  EXPECT_EQ(ColourOf(element_), 1);
  EXPECT_EQ(AttributeColoursOf(element_), (std::vector<int>{1, 1}));
  EXPECT_EQ(XDataStrings(element_, L"RQ_ATTR"), With(kFreshRecords, L"$P13|256|2|1|55|0|"));

  // A second check with another colour keeps the colour saved first.
  ASSERT_TRUE(MarkElement(element_, 3));
  EXPECT_EQ(ColourOf(element_), 3);
  EXPECT_EQ(XDataStrings(element_, L"RQ_ATTR"), With(kFreshRecords, L"$P13|256|2|1|55|0|"));

  RestoreElementColour(element_);
  EXPECT_EQ(ColourOf(element_), 256);
  EXPECT_EQ(AttributeColoursOf(element_), (std::vector<int>{256, 256}));
  EXPECT_EQ(XDataStrings(element_, L"RQ_ATTR"), With(kFreshRecords, L"$P13||2|1|55|0|"));

  // Restoring again finds nothing saved: the colour set since then stays.
  attributes_test::SetColour(element_, 6);
  RestoreElementColour(element_);
  EXPECT_EQ(ColourOf(element_), 6);

  // The empty record is filled in place by the next check.
  ASSERT_TRUE(MarkElement(element_, 2));
  EXPECT_EQ(XDataStrings(element_, L"RQ_ATTR"), With(kFreshRecords, L"$P13|6|2|1|55|0|"));
}

TEST_F(ElementColourTest, AnExplicitColourIsSavedAndRestored) {
  StartWithElements();
  ASSERT_TRUE(MarkElement(coloured_, 1));
  EXPECT_EQ(XDataStrings(coloured_, L"RQ_ATTR"), With(kFreshRecords, L"$P13|4|2|1|55|0|"));
  RestoreElementColour(coloured_);
  EXPECT_EQ(ColourOf(coloured_), 4);
}

TEST_F(ElementColourTest, AnElementWithoutRecordsIsRecolouredAndGetsNone) {
  StartWithElements();
  EXPECT_TRUE(MarkElement(bare_, 1));
  EXPECT_EQ(ColourOf(bare_), 1);
  EXPECT_FALSE(HasXData(bare_, L"RQ_ATTR"));
  RestoreElementColour(bare_);
  EXPECT_EQ(ColourOf(bare_), 1);
  EXPECT_FALSE(HasXData(bare_, L"RQ_ATTR"));
}

TEST_F(ElementColourTest, OnlyBlockReferencesAreMarked) {
  StartWithElements();
  EXPECT_FALSE(MarkElement(line_, 1));
  EXPECT_EQ(ColourOf(line_), 256);
  EXPECT_FALSE(MarkElement(AcDbObjectId::kNull, 1));
}

TEST_F(ElementColourTest, AFullElementIsStillRecolouredAndLosesNothing) {
  StartWithElements();
  // Grow one record until the drawing refuses one more character: the element's XData is then
  // as full as the 16 KiB limit allows.
  std::vector<std::wstring> full;
  for (int length = 7000; length < 9000; ++length) {
    std::vector<std::wstring> candidate =
        With(kFreshRecords, L"MEMO|" + std::wstring(length, L'x') + L"|2|1|55|0|");
    CStringArray list;
    attributes_test::Fill(list, candidate);
    if (ApiComn_appendAttributesArray(element_, L"RQ_ATTR", list, 1) != 0) break;
    full = candidate;
  }
  ASSERT_FALSE(full.empty());
  ASSERT_EQ(XDataStrings(element_, L"RQ_ATTR"), full);

  EXPECT_TRUE(MarkElement(element_, 5));
  EXPECT_EQ(ColourOf(element_), 5);
  EXPECT_EQ(XDataStrings(element_, L"RQ_ATTR"), full) << "the refused write lost records";
}

}  // namespace
