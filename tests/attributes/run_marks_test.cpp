// The run markers of an automatic assignment on elements of a test drawing.
#include "attributes/run_marks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "attributes_support.h"

namespace {

using attributes_test::HasXData;
using attributes_test::XDataStrings;
using Strings = std::vector<std::wstring>;

class RunMarksTest : public attributes_test::RouteDrawingTest {
 protected:
  void StartWithElements() {
    StartSession([this](tools::DrawingBuilder& b) {
      b.DefineSegment(L"RT1", 100);
      b.DefinePart(L"RBT_PANEL", 20, true);
      first_ = b.AddRouteElement(L"RT1", {0, 0});
      second_ = b.AddRouteElement(L"RT1", {100, 0});
      panel_ = b.AddRouteElement(L"RBT_PANEL", {200, 0});
    });
  }
  AcDbObjectId first_, second_, panel_;
};

TEST_F(RunMarksTest, TheAutoFlagIsOneDecimalString) {
  StartWithElements();
  EXPECT_EQ(ReadAutoFlag(first_), 0) << "no marker: not written in this run";
  ASSERT_TRUE(WriteAutoFlag(first_, 1));
  EXPECT_EQ(XDataStrings(first_, L"RQPX_AUTOFLAG"), Strings{L"1"});
  ASSERT_TRUE(WriteAutoFlag(first_, 12));
  EXPECT_EQ(XDataStrings(first_, L"RQPX_AUTOFLAG"), Strings{L"12"});
  EXPECT_EQ(ReadAutoFlag(first_), 12);
  EXPECT_EQ(ReadAutoFlag(second_), 0);
}

TEST_F(RunMarksTest, TheBanLinkIsOneStringOfNames) {
  StartWithElements();
  EXPECT_EQ(ReadBanLink(panel_), CString(L""));
  ASSERT_TRUE(WriteBanLink(panel_, L"動力盤１"));
  ASSERT_TRUE(WriteBanLink(panel_, L"動力盤１,電灯盤"));
  EXPECT_EQ(XDataStrings(panel_, L"RQPX_BANLINK"), Strings{L"動力盤１,電灯盤"});
  EXPECT_EQ(ReadBanLink(panel_), CString(L"動力盤１,電灯盤"));
}

TEST_F(RunMarksTest, ClearingRemovesBothMarkersAndNothingElse) {
  StartWithElements();
  ASSERT_TRUE(WriteAutoFlag(first_, 3));
  ASSERT_TRUE(WriteBanLink(first_, L"P1"));
  ASSERT_TRUE(WriteBanLink(panel_, L"P1,P2"));
  const Strings records = XDataStrings(first_, L"RQ_ATTR");

  AcDbObjectIdArray ids;
  ids.append(first_);
  ids.append(second_);  // has no markers: passed over
  ids.append(panel_);
  ClearRunMarks(ids);

  for (AcDbObjectId id : {first_, second_, panel_}) {
    EXPECT_FALSE(HasXData(id, L"RQPX_AUTOFLAG"));
    EXPECT_FALSE(HasXData(id, L"RQPX_BANLINK"));
    EXPECT_EQ(XDataStrings(id, L"RQ_LINK"), Strings{L"3"});
  }
  EXPECT_EQ(XDataStrings(first_, L"RQ_ATTR"), records);
  EXPECT_EQ(ReadAutoFlag(first_), 0);
  EXPECT_EQ(ReadBanLink(panel_), CString(L""));
}

}  // namespace
