// XData of entities: one application's chain, replacement, removal, registration and the limit.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include <acutads.h>
#include <dbents.h>
#include <dbsymtb.h>
#include "platform/acad/dbhost.h"

namespace {

class XDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterApp(L"RQ_ATTR");
    RegisterApp(L"RQ_LINK");
    AcDbBlockTable* table = nullptr;
    ASSERT_EQ(db_.getBlockTable(table), Acad::eOk);
    AcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(table->getAt(ACDB_MODEL_SPACE, space, AcDb::kForWrite), Acad::eOk);
    table->close();
    auto* point = new AcDbPoint(AcGePoint3d(1, 2, 0));
    ASSERT_EQ(space->appendAcDbEntity(id_, point), Acad::eOk);
    point->close();
    space->close();
  }
  void TearDown() override {
    platform::acad::ClearFaults();
    EXPECT_EQ(platform::acad::DescribeOpenObjects(db_), L"");
  }

  void RegisterApp(const ACHAR* name) {
    AcDbRegAppTable* apps = nullptr;
    ASSERT_EQ(db_.getRegAppTable(apps, AcDb::kForWrite), Acad::eOk);
    auto* record = new AcDbRegAppTableRecord;
    record->setName(name);
    ASSERT_EQ(apps->add(record), Acad::eOk);
    record->close();
    apps->close();
  }

  // The applications of the entity's XData in their order, each followed by ";".
  std::wstring Apps() {
    AcDbObject* obj = nullptr;
    EXPECT_EQ(acdbOpenObject(obj, id_, AcDb::kForRead), Acad::eOk);
    resbuf* all = obj->xData();
    obj->close();
    std::wstring apps;
    for (resbuf* p = all; p != nullptr; p = p->rbnext)
      if (p->restype == 1001) apps += std::wstring(p->resval.rstring) + L";";
    acutRelRb(all);
    return apps;
  }

  // The strings (1000 groups) of an application's XData, each followed by "|"; "none" when
  // the entity has no XData of it.
  std::wstring Strings(const ACHAR* app) {
    AcDbObject* obj = nullptr;
    EXPECT_EQ(acdbOpenObject(obj, id_, AcDb::kForRead), Acad::eOk);
    resbuf* rb = obj->xData(app);
    obj->close();
    if (rb == nullptr) return L"none";
    std::wstring text;
    EXPECT_EQ(rb->restype, 1001);
    for (resbuf* p = rb->rbnext; p != nullptr; p = p->rbnext)
      if (p->restype == 1000) text += std::wstring(p->resval.rstring) + L"|";
    acutRelRb(rb);
    return text;
  }

  Acad::ErrorStatus Set(resbuf* chain) {
    AcDbObject* obj = nullptr;
    EXPECT_EQ(acdbOpenObject(obj, id_, AcDb::kForWrite), Acad::eOk);
    Acad::ErrorStatus es = obj->setXData(chain);
    obj->close();
    acutRelRb(chain);
    return es;
  }

  AcDbDatabase db_;
  AcDbObjectId id_;
};

TEST_F(XDataTest, RoundTripReplaceAndRemovePerApplication) {
  EXPECT_EQ(Strings(L"RQ_ATTR"), L"none");
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 1000, L"S501||2|1|55|0|", 1000, L"S004|A1|", 0)),
            Acad::eOk);
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_LINK", 1000, L"3", 1070, 7, 0)), Acad::eOk);
  EXPECT_EQ(Strings(L"RQ_ATTR"), L"S501||2|1|55|0||S004|A1||");
  EXPECT_EQ(Strings(L"rq_link"), L"3|");  // application names ignore case

  // Replacing one application leaves the other alone.
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 1000, L"X", 0)), Acad::eOk);
  EXPECT_EQ(Strings(L"RQ_ATTR"), L"X|");
  EXPECT_EQ(Strings(L"RQ_LINK"), L"3|");

  // All applications, in the order they were first set.
  EXPECT_EQ(Apps(), L"RQ_ATTR;RQ_LINK;");

  // A chain with only the 1001 group removes that application's XData.
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 0)), Acad::eOk);
  EXPECT_EQ(Strings(L"RQ_ATTR"), L"none");
  EXPECT_EQ(Strings(L"RQ_LINK"), L"3|");
}

TEST_F(XDataTest, RefusalsKeepTheOldXData) {
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 1000, L"old", 0)), Acad::eOk);

  EXPECT_EQ(Set(acutBuildList(1001, L"NOT_REGISTERED", 1000, L"x", 0)), Acad::eRegappIdNotFound);
  EXPECT_EQ(Strings(L"NOT_REGISTERED"), L"none");
  EXPECT_EQ(Set(acutBuildList(1000, L"no application first", 0)), Acad::eInvalidInput);
  // Links that are no XData groups, though of the kinds XData holds.
  EXPECT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 8, L"layer", 0)), Acad::eInvalidInput);
  EXPECT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 1000, L"new", 70, 3, 0)), Acad::eInvalidInput);
  EXPECT_EQ(Strings(L"RQ_ATTR"), L"old|");

  platform::acad::FailNextSetXData(Acad::eOutOfMemory);
  EXPECT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 1000, L"new", 0)), Acad::eOutOfMemory);
  EXPECT_EQ(Strings(L"RQ_ATTR"), L"old|");
  EXPECT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 1000, L"new", 0)), Acad::eOk);
  EXPECT_EQ(Strings(L"RQ_ATTR"), L"new|");
}

TEST_F(XDataTest, SixteenKilobyteLimitCountsAllApplications) {
  // Each 1000 group of n characters takes 1 + 2 + 2n bytes; each application 10 bytes more.
  // RQ_LINK with "3": 10 + 1 + 2 + 2 = 15 bytes.
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_LINK", 1000, L"3", 0)), Acad::eOk);
  // RQ_ATTR with one string of n characters: 10 + 3 + 2n. Total 15 + 13 + 2n <= 16383
  // gives n <= 8177.
  std::wstring fits(8177, L'a');
  std::wstring too_long(8178, L'a');
  EXPECT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 1000, too_long.c_str(), 0)),
            Acad::eXdataSizeExceeded);
  EXPECT_EQ(Strings(L"RQ_ATTR"), L"none");
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 1000, fits.c_str(), 0)), Acad::eOk);
  EXPECT_EQ(Strings(L"RQ_ATTR"), fits + L"|");

  // With RQ_ATTR full, one more character for RQ_LINK does not fit; the old value stays.
  EXPECT_EQ(Set(acutBuildList(1001, L"RQ_LINK", 1000, L"34", 0)), Acad::eXdataSizeExceeded);
  EXPECT_EQ(Strings(L"RQ_LINK"), L"3|");
}

TEST_F(XDataTest, VisitGivesEachItemInOrderWithTextAsUtf8) {
  // Nothing to visit before any XData is set.
  AcDbObject* obj = nullptr;
  int visits = 0;
  ASSERT_EQ(acdbOpenObject(obj, id_, AcDb::kForRead), Acad::eOk);
  obj->visitXData([&](const AcDbXDataItem&) { ++visits; });
  obj->close();
  EXPECT_EQ(visits, 0);

  char bytes[] = {'\x00', '\xAB', '\x7F'};
  ads_binary binary{3, bytes};
  ads_point point = {1.5, -2, 1e-7};
  // "café" fits one byte a character, "ａé" (U+FF41) does not: both come out as UTF-8.
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 1000, L"caf\u00E9", 1000, L"\uFF41\u00E9", 1002,
                              L"{", 1004, &binary, 1010, point, 1040, 0.25, 1070, -7, 1071,
                              static_cast<int32_t>(70000), 1005, L"1F", 0)),
            Acad::eOk);
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_LINK", 1000, L"", 0)), Acad::eOk);

  std::string seen;
  ASSERT_EQ(acdbOpenObject(obj, id_, AcDb::kForRead), Acad::eOk);
  obj->visitXData([&](const AcDbXDataItem& item) {
    seen += std::to_string(item.code) + "=";
    if (item.code == 1010) {
      seen += std::to_string(item.point[0]) + "," + std::to_string(item.point[1]) + "," +
              std::to_string(item.point[2] * 1e7);
    } else if (item.code == 1040) {
      seen += std::to_string(item.real);
    } else if (item.code == 1070 || item.code == 1071) {
      seen += std::to_string(item.integer);
    } else {
      seen += std::string(item.text);
    }
    seen += ";";
  });
  obj->close();
  EXPECT_EQ(seen, std::string("1001=RQ_ATTR;1000=caf\xC3\xA9;1000=\xEF\xBD\x81\xC3\xA9;1002={;") +
                      std::string("1004=\x00\xAB\x7F;", 9) +
                      "1010=1.500000,-2.000000,1.000000;1040=0.250000;1070=-7;1071=70000;"
                      "1005=1F;1001=RQ_LINK;1000=;");
}

// One application's items, strings wide: what a chain of xData(app) would hold, without one.
TEST_F(XDataTest, VisitOfOneApplicationGivesItsItemsWithTextAsWide) {
  // "é" fits one byte a character, "ａ" (U+FF41) does not; the null character ends a string as
  // it ends a chain's.
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_LINK", 1000, L"3", 0)), Acad::eOk);
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 1000, L"caf\u00E9", 1070, 12, 1000, L"\uFF41", 1000,
                              L"", 0)),
            Acad::eOk);
  AcDbObject* obj = nullptr;
  ASSERT_EQ(acdbOpenObject(obj, id_, AcDb::kForWrite), Acad::eOk);
  platform::acad::XDataBuilder items;
  items.AddText(1001, L"RQ_LINK");
  items.AddText(1000, L"3");
  items.AddText(1000, std::string_view("ab\0cd", 5));
  EXPECT_EQ(platform::acad::SetXData(obj, items), Acad::eOk);
  obj->close();

  auto visit = [&](const ACHAR* app) {
    std::wstring seen;
    AcDbObject* read = nullptr;
    EXPECT_EQ(acdbOpenObject(read, id_, AcDb::kForRead), Acad::eOk);
    const bool found = read->visitXData(app, [&](const AcDbXDataItem& item) {
      seen += std::to_wstring(item.code) + L"=";
      seen += item.code == 1070 ? std::to_wstring(item.integer) : std::wstring(item.wide);
      seen += L";";
    });
    read->close();
    return found ? seen : L"none";
  };
  EXPECT_EQ(visit(L"rq_attr"), L"1001=RQ_ATTR;1000=caf\u00E9;1070=12;1000=\uFF41;1000=;");
  // The first application's items stop where the next one starts.
  EXPECT_EQ(visit(L"RQ_LINK"), L"1001=RQ_LINK;1000=3;1000=ab;");
  EXPECT_EQ(visit(L"NOT_THERE"), L"none");
  EXPECT_EQ(visit(L"RQ"), L"none");  // a name's start is no name
}

// Items given to the builder land as the same items given as a chain would.
TEST_F(XDataTest, BuilderSetsEveryKindAsAChainWould) {
  platform::acad::XDataBuilder items;
  items.AddText(1001, std::string_view("RQ_ATTR"));
  items.AddText(1000, std::string_view("S501||2|1|55|0|"));
  items.AddText(1000, std::string_view("caf\xC3\xA9 \xE9\x85\x8D\xE7\xB7\x9A"));  // café 配線
  items.AddText(1000, std::string_view("\xC3\xA9t\xC3\xA9"));                     // été
  items.AddText(1002, std::string_view("{"));
  items.AddText(1000, static_cast<const ACHAR*>(L"wide \u914D"));
  items.AddText(1002, std::string_view("}"));
  const char bytes[] = {'\x01', '\x00', '\xFF'};
  items.AddBinary(1004, bytes, 3);
  items.AddPoint(1011, 1.5, -2.5, 3.25);
  items.AddReal(1041, 0.125);
  items.AddShort(1070, -7);
  items.AddLong(1071, 70000);
  items.AddText(1001, std::string_view("RQ_LINK"));
  items.AddText(1000, std::string_view("3"));
  AcDbObject* obj = nullptr;
  ASSERT_EQ(acdbOpenObject(obj, id_, AcDb::kForWrite), Acad::eOk);
  ASSERT_EQ(platform::acad::SetXData(obj, items), Acad::eOk);
  obj->close();

  EXPECT_EQ(Strings(L"RQ_ATTR"),
            L"S501||2|1|55|0||caf\u00E9 \u914D\u7DDA|\u00E9t\u00E9|wide \u914D|");
  EXPECT_EQ(Strings(L"RQ_LINK"), L"3|");
  ASSERT_EQ(acdbOpenObject(obj, id_, AcDb::kForRead), Acad::eOk);
  resbuf* rb = obj->xData(L"RQ_ATTR");
  obj->close();
  std::vector<int> codes;
  for (resbuf* p = rb; p != nullptr; p = p->rbnext) {
    codes.push_back(p->restype);
    if (p->restype == 1004) {
      ASSERT_EQ(p->resval.rbinary.clen, 3);
      EXPECT_EQ(std::string(p->resval.rbinary.buf, 3), std::string("\x01\x00\xFF", 3));
    }
    if (p->restype == 1011) {
      EXPECT_EQ(p->resval.rpoint[0], 1.5);
      EXPECT_EQ(p->resval.rpoint[1], -2.5);
      EXPECT_EQ(p->resval.rpoint[2], 3.25);
    }
    if (p->restype == 1041) {
      EXPECT_EQ(p->resval.rreal, 0.125);
    }
    if (p->restype == 1070) {
      EXPECT_EQ(p->resval.rint, -7);
    }
    if (p->restype == 1071) {
      EXPECT_EQ(p->resval.rlong, 70000);
    }
    if (p->restype == 1002) {
      EXPECT_TRUE(std::wstring(p->resval.rstring) == L"{" ||
                  std::wstring(p->resval.rstring) == L"}");
    }
  }
  acutRelRb(rb);
  EXPECT_EQ(codes, (std::vector<int>{1001, 1000, 1000, 1000, 1002, 1000, 1002, 1004, 1011, 1041,
                                     1070, 1071}));
}

TEST_F(XDataTest, BuilderFollowsTheChainsRules) {
  auto set = [&](const platform::acad::XDataBuilder& items) {
    AcDbObject* obj = nullptr;
    EXPECT_EQ(acdbOpenObject(obj, id_, AcDb::kForWrite), Acad::eOk);
    Acad::ErrorStatus es = platform::acad::SetXData(obj, items);
    obj->close();
    return es;
  };
  platform::acad::XDataBuilder items;
  items.AddText(1001, std::string_view("RQ_LINK"));
  items.AddText(1000, std::string_view("3"));
  ASSERT_EQ(set(items), Acad::eOk);

  // Refusals leave the old XData: nothing, no application first, a code of another kind, an
  // application not registered, the fault seam.
  items.Clear();
  EXPECT_EQ(set(items), Acad::eInvalidInput);
  items.AddText(1000, std::string_view("no application first"));
  EXPECT_EQ(set(items), Acad::eInvalidInput);
  items.Clear();
  items.AddText(1001, std::string_view("RQ_LINK"));
  items.AddReal(1070, 1.0);
  EXPECT_EQ(set(items), Acad::eInvalidInput);
  items.Clear();
  items.AddText(1001, std::string_view("RQ_LINK"));
  items.AddText(1000, std::string_view("x"));
  items.AddText(1001, std::string_view("NOT_REGISTERED"));
  items.AddText(1000, std::string_view("x"));
  EXPECT_EQ(set(items), Acad::eRegappIdNotFound);
  platform::acad::FailNextSetXData(Acad::eOutOfMemory);
  items.Clear();
  items.AddText(1001, std::string_view("RQ_LINK"));
  items.AddText(1000, std::string_view("4"));
  EXPECT_EQ(set(items), Acad::eOutOfMemory);
  EXPECT_EQ(Strings(L"RQ_LINK"), L"3|");

  // The limit, counted as for a chain: RQ_LINK "3" takes 15 bytes, RQ_ATTR with n characters
  // 13 + 2n: n = 8177 fits, 8178 does not.
  items.Clear();
  items.AddText(1001, std::string_view("RQ_ATTR"));
  items.AddText(1000, std::string(8178, 'a'));
  EXPECT_EQ(set(items), Acad::eXdataSizeExceeded);
  items.Clear();
  items.AddText(1001, std::string_view("rq_attr"));
  items.AddText(1000, std::string(8177, 'a'));
  ASSERT_EQ(set(items), Acad::eOk);
  EXPECT_EQ(Strings(L"RQ_ATTR"), std::wstring(8177, L'a') + L"|");

  // Per application: RQ_LINK given empty is removed, RQ_ATTR replaced (the first part of a name
  // given twice counts), a new application goes last.
  RegisterApp(L"RQ_NEW");
  items.Clear();
  items.AddText(1001, std::string_view("RQ_NEW"));
  items.AddText(1000, std::string_view("n"));
  items.AddText(1001, std::string_view("RQ_LINK"));
  items.AddText(1001, std::string_view("RQ_ATTR"));
  items.AddText(1000, std::string_view("first"));
  items.AddText(1001, std::string_view("RQ_ATTR"));
  items.AddText(1000, std::string_view("second"));
  ASSERT_EQ(set(items), Acad::eOk);
  EXPECT_EQ(Strings(L"RQ_LINK"), L"none");
  EXPECT_EQ(Strings(L"RQ_ATTR"), L"first|");
  EXPECT_EQ(Strings(L"RQ_NEW"), L"n|");
  EXPECT_EQ(Apps(), L"RQ_ATTR;RQ_NEW;");

  // The same items as a chain give the same XData, item for item.
  AcDbObject* obj = nullptr;
  ASSERT_EQ(acdbOpenObject(obj, id_, AcDb::kForRead), Acad::eOk);
  resbuf* by_builder = obj->xData();
  obj->close();
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 0)), Acad::eOk);
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_NEW", 0)), Acad::eOk);
  EXPECT_EQ(Strings(L"RQ_NEW"), L"none");
  ASSERT_EQ(Set(acutBuildList(1001, L"RQ_ATTR", 1000, L"first", 1001, L"RQ_NEW", 1000, L"n", 0)),
            Acad::eOk);
  ASSERT_EQ(acdbOpenObject(obj, id_, AcDb::kForRead), Acad::eOk);
  resbuf* by_chain = obj->xData();
  obj->close();
  const resbuf* a = by_builder;
  const resbuf* b = by_chain;
  for (; a != nullptr && b != nullptr; a = a->rbnext, b = b->rbnext) {
    EXPECT_EQ(a->restype, b->restype);
    EXPECT_STREQ(a->resval.rstring, b->resval.rstring);
  }
  EXPECT_TRUE(a == nullptr && b == nullptr);
  acutRelRb(by_builder);
  acutRelRb(by_chain);
}

TEST(AcutadsTest, BuildListTakesEachValueByItsType) {
  ads_point p = {1.5, 2.5, 3.5};
  resbuf* rb = acutBuildList(RTSTR, L"text", RTSHORT, 12, RTREAL, 0.25, RTPOINT, p, -3, 1001,
                             L"APP", 1071, static_cast<int32_t>(70000), 0);
  ASSERT_NE(rb, nullptr);
  EXPECT_STREQ(rb->resval.rstring, L"text");
  resbuf* n = rb->rbnext;
  EXPECT_EQ(n->restype, RTSHORT);
  EXPECT_EQ(n->resval.rint, 12);
  n = n->rbnext;
  EXPECT_DOUBLE_EQ(n->resval.rreal, 0.25);
  n = n->rbnext;
  EXPECT_DOUBLE_EQ(n->resval.rpoint[2], 3.5);
  n = n->rbnext;
  EXPECT_EQ(n->restype, -3);
  n = n->rbnext;
  EXPECT_STREQ(n->resval.rstring, L"APP");
  n = n->rbnext;
  EXPECT_EQ(n->resval.rlong, 70000);
  EXPECT_EQ(n->rbnext, nullptr);
  acutRelRb(rb);
}

TEST(AcutadsTest, XDataCodesTakeTheirValueKinds) {
  using platform::acad::RbValueKind;
  using platform::acad::ValueKindOf;
  for (int c = 1000; c <= 1009; ++c)
    EXPECT_EQ(ValueKindOf(c), c == 1004 ? RbValueKind::kBinary : RbValueKind::kString) << c;
  for (int c = 1010; c <= 1013; ++c) EXPECT_EQ(ValueKindOf(c), RbValueKind::kPoint) << c;
  for (int c = 1014; c <= 1059; ++c) EXPECT_EQ(ValueKindOf(c), RbValueKind::kReal) << c;
  for (int c = 1060; c <= 1070; ++c) EXPECT_EQ(ValueKindOf(c), RbValueKind::kShort) << c;
  EXPECT_EQ(ValueKindOf(1071), RbValueKind::kLong);
  EXPECT_EQ(ValueKindOf(1072), RbValueKind::kNone);
  EXPECT_EQ(ValueKindOf(999), RbValueKind::kString);
  EXPECT_EQ(ValueKindOf(10), RbValueKind::kPoint);
}

}  // namespace
