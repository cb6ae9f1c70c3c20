// String lists stored as XData: round trips, appending, removal and the 16 KiB limit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <dbmain.h>

#include <ApiComn.h>
#include "drawing_support.h"

namespace {

std::vector<std::wstring> Strings(const CStringArray& list) {
  std::vector<std::wstring> out;
  for (INT_PTR i = 0; i < list.GetSize(); ++i) out.push_back(list[i].GetString());
  return out;
}

void Fill(CStringArray& list, const std::vector<std::wstring>& items) {
  list.RemoveAll();
  for (const auto& item : items) list.Add(item.c_str());
}

class XDataTest : public ::testing::Test {
 protected:
  maker_test::TestDrawing drawing_;
  AcDbObjectId element_ = [this] {
    drawing_.AddBlock(L"RT1", {AcGePoint3d(0, 0, 0), AcGePoint3d(10, 0, 0)});
    return drawing_.AddReference(L"RT1", AcGePoint3d(0, 0, 0), 0.0, 1.0, -1);
  }();
};

TEST_F(XDataTest, AnyListRoundTripsInOrder) {
  const std::vector<std::wstring> records = {
      L"S501||2|1|55|0|", L"", L"PX02|a!b!c!d!|2|1|55|0|", L"|", L"!", L"幹線ｹｰﾌﾞﾙ　CV-3C", L""};
  CStringArray list;
  Fill(list, records);
  ASSERT_EQ(0, ApiComn_appendAttributesArray(element_, L"RQ_ATTR", list, 1));
  CStringArray back;
  ASSERT_EQ(0, ApiComn_extractAttributesArrayID(element_, L"RQ_ATTR", back, 0));
  EXPECT_EQ(records, Strings(back));

  // Writing an empty list leaves no XData of the application, as in the host: it reads as none.
  CStringArray empty;
  ASSERT_EQ(0, ApiComn_appendAttributesArray(element_, L"RQ_ATTR", empty, 1));
  back.Add(L"left over");
  EXPECT_NE(0, ApiComn_extractAttributesArrayID(element_, L"RQ_ATTR", back, 0));
  EXPECT_TRUE(Strings(back).empty());
  EXPECT_EQ(0, drawing_.OpenObjects());
}

TEST_F(XDataTest, ReplaceAppendReadOpenAndRemove) {
  CStringArray list;
  Fill(list, {L"1"});
  ASSERT_EQ(0, ApiComn_appendAttributesArray(element_, L"RQPX_AUTOFLAG", list, 1));
  Fill(list, {L"2", L"3"});
  ASSERT_EQ(0, ApiComn_appendAttributesArray(element_, L"RQPX_AUTOFLAG", list, 0));
  CStringArray back;
  ASSERT_EQ(0, ApiComn_extractAttributesArrayID(element_, L"RQPX_AUTOFLAG", back, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"1", L"2", L"3"}), Strings(back));
  Fill(list, {L"9"});
  ASSERT_EQ(0, ApiComn_appendAttributesArray(element_, L"RQPX_AUTOFLAG", list, 1));

  // Other applications are left alone; the open form reads the same.
  Fill(list, {L"3"});
  ASSERT_EQ(0, ApiComn_appendAttributesArray(element_, L"RQ_LINK", list, 1));
  AcDbObject* object = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(object, element_, AcDb::kForRead));
  EXPECT_EQ(0, ApiComn_extractAttributesArray(object, L"RQPX_AUTOFLAG", back));
  EXPECT_EQ((std::vector<std::wstring>{L"9"}), Strings(back));
  EXPECT_NE(0, ApiComn_extractAttributesArray(object, L"RQ_ATTR", back));
  object->close();

  EXPECT_EQ(0, ApiComn_removeXData(element_, L"RQPX_AUTOFLAG"));
  EXPECT_NE(0, ApiComn_extractAttributesArrayID(element_, L"RQPX_AUTOFLAG", back, 0));
  EXPECT_EQ(0, ApiComn_removeXData(element_, L"RQPX_AUTOFLAG"));  // none left: still fine
  EXPECT_EQ(0, ApiComn_extractAttributesArrayID(element_, L"RQ_LINK", back, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"3"}), Strings(back));
  EXPECT_NE(0, ApiComn_extractAttributesArrayID(AcDbObjectId(), L"RQ_LINK", back, 0));
  EXPECT_EQ(0, drawing_.OpenObjects());
}

// The open form writes on an entity the caller keeps open: two applications on one open, a
// refused list leaving the old one, appending, and no entity at all.
TEST_F(XDataTest, AnOpenEntityTakesSeveralListsAndStaysOpen) {
  CStringArray list;
  Fill(list, {L"S004|old|2|1|55|0|"});
  ASSERT_EQ(0, ApiComn_appendAttributesArray(element_, L"RQ_ATTR", list, 1));
  AcDbObject* object = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(object, element_, AcDb::kForWrite));
  Fill(list, {L"S004|new|2|1|55|0|", L"PX02|a!b!c!d!|2|1|55|0|"});
  EXPECT_EQ(0, ApiComn_appendAttributesArray(object, L"RQ_ATTR", list, 1));
  Fill(list, {L"3"});
  EXPECT_EQ(0, ApiComn_appendAttributesArray(object, L"RQPX_AUTOFLAG", list, 1));
  Fill(list, {L"4"});
  EXPECT_EQ(0, ApiComn_appendAttributesArray(object, L"RQPX_AUTOFLAG", list, 0));
  Fill(list, std::vector<std::wstring>(100, std::wstring(100, L'x')));
  EXPECT_EQ(Acad::eXdataSizeExceeded, ApiComn_appendAttributesArray(object, L"RQ_ATTR", list, 1));
  EXPECT_EQ(1, drawing_.OpenObjects());
  object->close();
  EXPECT_EQ(-1,
            ApiComn_appendAttributesArray(static_cast<AcDbObject*>(nullptr), L"RQ_ATTR", list, 1));

  CStringArray back;
  ASSERT_EQ(0, ApiComn_extractAttributesArrayID(element_, L"RQ_ATTR", back, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"S004|new|2|1|55|0|", L"PX02|a!b!c!d!|2|1|55|0|"}),
            Strings(back));
  ASSERT_EQ(0, ApiComn_extractAttributesArrayID(element_, L"RQPX_AUTOFLAG", back, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"3", L"4"}), Strings(back));
  EXPECT_EQ(0, drawing_.OpenObjects());
}

// Several applications in one change: each list replaces its application's XData, an empty
// list removes it, and a change that is too long as a whole leaves every list as it was.
TEST_F(XDataTest, SeveralListsGoInOneChangeOrNotAtAll) {
  CStringArray attr, flag, link;
  Fill(attr, {L"S004|old|2|1|55|0|"});
  Fill(link, {L"3"});
  ASSERT_EQ(0, ApiComn_appendAttributesArray(element_, L"RQ_ATTR", attr, 1));
  ASSERT_EQ(0, ApiComn_appendAttributesArray(element_, L"RQ_LINK", link, 1));
  AcDbObject* object = nullptr;
  ASSERT_EQ(Acad::eOk, acdbOpenObject(object, element_, AcDb::kForWrite));
  Fill(attr, {L"S004|new|2|1|55|0|", L"PX02|a!b!c!d!|2|1|55|0|"});
  Fill(flag, {L"3"});
  const wchar_t* const apps[] = {L"RQ_ATTR", L"RQPX_AUTOFLAG", L"RQ_LINK"};
  CStringArray none;
  const CStringArray* const lists[] = {&attr, &flag, &none};
  EXPECT_EQ(0, ApiComn_replaceAttributesArrays(object, apps, lists, 3));
  // Too long together: neither list changes.
  CStringArray big;
  Fill(big, std::vector<std::wstring>(100, std::wstring(100, L'x')));
  Fill(flag, {L"4"});
  const CStringArray* const too_long[] = {&flag, &big};
  EXPECT_EQ(Acad::eXdataSizeExceeded,
            ApiComn_replaceAttributesArrays(object, apps + 1, too_long, 2));
  EXPECT_EQ(-1, ApiComn_replaceAttributesArrays(object, apps, lists, 0));
  const wchar_t* const unnamed[] = {L"RQ_ATTR", L""};
  EXPECT_EQ(-1, ApiComn_replaceAttributesArrays(object, unnamed, lists, 2));
  EXPECT_EQ(-1, ApiComn_replaceAttributesArrays(nullptr, apps, lists, 3));
  object->close();

  CStringArray back;
  ASSERT_EQ(0, ApiComn_extractAttributesArrayID(element_, L"RQ_ATTR", back, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"S004|new|2|1|55|0|", L"PX02|a!b!c!d!|2|1|55|0|"}),
            Strings(back));
  ASSERT_EQ(0, ApiComn_extractAttributesArrayID(element_, L"RQPX_AUTOFLAG", back, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"3"}), Strings(back));
  EXPECT_NE(0, ApiComn_extractAttributesArrayID(element_, L"RQ_LINK", back, 0));
  EXPECT_EQ(0, drawing_.OpenObjects());
}

TEST_F(XDataTest, MoreThan16KiBIsRefusedAndTheOldListKept) {
  CStringArray list;
  Fill(list, {L"S004|old|2|1|55|0|"});
  ASSERT_EQ(0, ApiComn_appendAttributesArray(element_, L"RQ_ATTR", list, 1));
  // 100 records of 100 UTF-16 units take about 20 KiB as the drawing stores them.
  std::vector<std::wstring> big(100, std::wstring(100, L'x'));
  Fill(list, big);
  EXPECT_NE(0, ApiComn_appendAttributesArray(element_, L"RQ_ATTR", list, 1));
  CStringArray back;
  ASSERT_EQ(0, ApiComn_extractAttributesArrayID(element_, L"RQ_ATTR", back, 0));
  EXPECT_EQ((std::vector<std::wstring>{L"S004|old|2|1|55|0|"}), Strings(back));
  // Well below the limit the same kind of list is taken.
  Fill(list, std::vector<std::wstring>(30, std::wstring(100, L'x')));
  EXPECT_EQ(0, ApiComn_appendAttributesArray(element_, L"RQ_ATTR", list, 1));
  EXPECT_EQ(0, drawing_.OpenObjects());
}

}  // namespace
