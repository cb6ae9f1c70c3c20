// The record list: values, further-wire records and their numbering, and the list on an element.
#include "attributes/attribute_record.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "attributes_support.h"

namespace {

using attributes_test::Fill;
using attributes_test::ToVector;
using attributes_test::XDataStrings;

TEST(RecordValueTest, IsTheTextBetweenTheFirstTwoBars) {
  const struct {
    const wchar_t* record;
    const wchar_t* value;
  } cases[] = {
      {L"$P13|7|2|1|55|0|", L"7"},
      {L"$P13||2|1|55|0|", L""},
      {L"$P13", L""},
      {L"S004|12", L""},  // one bar: no value field
      {L"S3B9|盤Ａ|2|1|55|0|", L"盤Ａ"},
      {L"PX02|1!IV2.0!P1!K01!|2|1|55|0|", L"1!IV2.0!P1!K01!"},
      {L"", L""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RecordValue(c.record), CString(c.value)) << c.record;
  }
}

TEST(WireRecordTest, FurtherWiresHaveFourFieldsEachEndedByAnExclamationMark) {
  EXPECT_EQ(MakeWireRecord(2, L"12", L"IV5.5 E19", L"動力盤１", L"K01"),
            CString(L"PX02|12!IV5.5 E19!動力盤１!K01!|2|1|55|0|"));
  EXPECT_EQ(MakeWireRecord(11, L"", L"", L"", L""), CString(L"PX11|!!!!|2|1|55|0|"));
  EXPECT_EQ(MakeRecord(L"$P13", L"256"), CString(L"$P13|256|2|1|55|0|"));
}

TEST(WireRecordTest, NextIndexFollowsTheHighestNumberedWire) {
  const struct {
    std::vector<std::wstring> list;
    int next;
  } cases[] = {
      {{}, 2},
      {{L"S501||2|1|55|0|", L"S004|3|2|1|55|0|"}, 2},
      {{L"PX02|a!b!c!d!|2|1|55|0|", L"PX05|a!b!c!d!|2|1|55|0|"}, 6},
      {{L"PX10|!!!!|2|1|55|0|", L"PX03|!!!!|2|1|55|0|"}, 11},
      {{L"PX|!!!!|2|1|55|0|", L"PXA1|!!!!|2|1|55|0|"}, 2},  // no number after PX
      {{L"px07|!!!!|2|1|55|0|"}, 2},                        // the prefix is exact
      {{L"PX01|!!!!|2|1|55|0|"}, 2},                        // below 2 changes nothing
      {{L"PX2x9|!!!!|2|1|55|0|"}, 3},                       // digits up to the first other
  };
  for (const auto& c : cases) {
    CStringArray list;
    Fill(list, c.list);
    EXPECT_EQ(NextWireIndex(list), c.next) << (c.list.empty() ? L"(empty)" : c.list[0]);
  }
}

TEST(WireRecordTest, RemovingWiresKeepsTheOtherRecordsInOrder) {
  CStringArray list;
  Fill(list, {L"S501|K1|2|1|55|0|", L"PX02|a!b!c!d!|2|1|55|0|", L"S004|7|2|1|55|0|",
              L"PX03|e!f!g!h!|2|1|55|0|", L"px04|kept|2|1|55|0|", L"$P13||2|1|55|0|"});
  RemoveWireRecords(list);
  EXPECT_EQ(ToVector(list),
            (std::vector<std::wstring>{L"S501|K1|2|1|55|0|", L"S004|7|2|1|55|0|",
                                       L"px04|kept|2|1|55|0|", L"$P13||2|1|55|0|"}));
}

class RecordListTest : public attributes_test::RouteDrawingTest {};

TEST_F(RecordListTest, AListWrittenToAnElementReadsBackInOrder) {
  AcDbObjectId element, bare;
  StartSession([&](tools::DrawingBuilder& b) {
    b.DefineSegment(L"RT1", 100);
    element = b.AddRouteElement(L"RT1", {0, 0});
    bare = b.AddRouteElement(L"RT1", {100, 0});
    b.SetStrings(bare, L"RQ_ATTR", {});
  });

  CStringArray list;
  ASSERT_TRUE(ReadAttributeRecords(element, list));
  EXPECT_EQ(ToVector(list), (std::vector<std::wstring>{L"S501||2|1|55|0|", L"S004||2|1|55|0|",
                                                       L"S3B9||2|1|55|0|", L"S002||2|1|55|0|"}));

  const std::vector<std::wstring> written = {L"S501|K1|2|1|55|0|", L"S004|A-1|2|1|55|0|",
                                             L"S3B9|分電盤|2|1|55|0|", L"S002|IV2.0 E19|2|1|55|0|",
                                             L"PX02|2!CV8!盤Ｂ!K2!|2|1|55|0|"};
  Fill(list, written);
  ASSERT_TRUE(WriteAttributeRecords(element, list));
  EXPECT_EQ(XDataStrings(element, L"RQ_ATTR"), written);
  CStringArray back;
  ASSERT_TRUE(ReadAttributeRecords(element, back));
  EXPECT_EQ(ToVector(back), written);

  back.Add(L"stale");
  EXPECT_FALSE(ReadAttributeRecords(bare, back));
  EXPECT_EQ(back.GetSize(), 0);
  EXPECT_FALSE(ReadAttributeRecords(AcDbObjectId::kNull, back));
}

}  // namespace
