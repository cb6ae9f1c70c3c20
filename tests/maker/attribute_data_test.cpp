// Record access on "RQ_ATTR" lists.
#include <gtest/gtest.h>

#include <AttributeData.h>

namespace {

TEST(AttributeDataTest, GetAtAttFindsTheRecordByItsWholeTag) {
  CStringArray list;
  list.Add(L"S5011|x|");  // a longer tag must not match "S501"
  list.Add(L"S501|K1|2|1|55|0|");
  list.Add(L"S004||2|1|55|0|");
  list.Add(L"S501|second|");
  CString record;
  EXPECT_EQ(0, CAttributeData::GetAtAtt(list, L"S501", record));
  EXPECT_STREQ(L"S501|K1|2|1|55|0|", record);
  EXPECT_EQ(0, CAttributeData::GetAtAtt(list, L"S004", record));
  EXPECT_STREQ(L"S004||2|1|55|0|", record);
  EXPECT_NE(0, CAttributeData::GetAtAtt(list, L"s501", record));  // tags are case-sensitive
  EXPECT_TRUE(record.IsEmpty());
  EXPECT_NE(0, CAttributeData::GetAtAtt(list, L"S002", record));
}

TEST(AttributeDataTest, SetAtAttReplacesOnlyTheValue) {
  CStringArray list;
  list.Add(L"S004||2|1|55|0|");
  list.Add(L"S002|old|2|1|55|0|");
  list.Add(L"$P13");
  list.Add(L"PX02|");
  EXPECT_EQ(0, CAttributeData::SetAtAtt(list, L"S004", L"幹-1"));
  EXPECT_EQ(0, CAttributeData::SetAtAtt(list, L"S002", L""));
  EXPECT_EQ(0, CAttributeData::SetAtAtt(list, L"$P13", L"7"));
  EXPECT_EQ(0, CAttributeData::SetAtAtt(list, L"PX02", L"a!b!"));
  EXPECT_NE(0, CAttributeData::SetAtAtt(list, L"S501", L"K1"));  // missing: nothing added
  ASSERT_EQ(4, list.GetSize());
  EXPECT_STREQ(L"S004|幹-1|2|1|55|0|", list[0]);
  EXPECT_STREQ(L"S002||2|1|55|0|", list[1]);
  EXPECT_STREQ(L"$P13|7|", list[2]);
  EXPECT_STREQ(L"PX02|a!b!|", list[3]);
}

}  // namespace
