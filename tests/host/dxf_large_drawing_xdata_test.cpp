// The DXF reader makes a large drawing's XData items on the lexer's thread, ahead of the
// database: what arrives, what is kept as read and what fails is as when they are made in place.
#include <acutads.h>
#include <dbmain.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "dxf_test_support.h"
#include "host/dxf/dxf_reader.h"
#include "large_drawing_support.h"

namespace host {
namespace {

using Groups = std::vector<std::pair<int, std::string>>;
using testing::DxfText;
using testing::Hex;
using testing::kRefs;
using testing::LineOf;
using testing::References;
using testing::RefHandle;
using testing::SmallDrawing;
using testing::XDataText;

// The XData of a large drawing's entities is made on the lexer's thread: what arrives, what is
// kept as read and what fails is as when the database's thread makes it.
TEST(DxfLargeDrawingXDataTest, XDataMadeAheadArrivesAndItsFaultsAreAsWhenMadeInPlace) {
  auto after = [](Groups& g, const std::string& text, std::pair<int, std::string> added) {
    for (size_t i = 0; i < g.size(); ++i) {
      if (g[i].first == 1000 && g[i].second == text) {
        g.insert(g.begin() + static_cast<std::ptrdiff_t>(i) + 1, added);
        return;
      }
    }
    ADD_FAILURE() << text;
  };
  Groups g = References(kRefs);
  after(g, "E100", {1040, "0.25"});
  after(g, "E200", {62, "1"});  // no XData group: the XData is kept as read
  // An entity the drawing keeps as read, XData and all, among them.
  const Groups kept_ray = {{0, "RAY"},        {5, Hex(RefHandle(kRefs) + 16)},
                           {330, "1F"},       {100, "AcDbEntity"},
                           {8, "0"},          {100, "AcDbRay"},
                           {10, "0.0"},       {20, "0.0"},
                           {30, "0.0"},       {11, "1.0"},
                           {21, "0.0"},       {31, "0.0"},
                           {1001, "RQ_LINK"}, {1000, "RAY"}};
  for (size_t i = 0; i < g.size(); ++i) {
    if (g[i].first == 0 && g[i].second == "INSERT" && g[i + 1].second == Hex(RefHandle(150))) {
      g.insert(g.begin() + static_cast<std::ptrdiff_t>(i), kept_ray.begin(), kept_ray.end());
      break;
    }
  }
  const std::string text = DxfText(SmallDrawing(g));
  DxfReadResult r = ReadDxf(text);
  ASSERT_TRUE(r.ok()) << r.error;
  AcDbDatabase& db = *r.database;
  AcDbObject* obj = nullptr;
  ASSERT_EQ(acdbOpenObject(obj, AcDbObjectId(db.stubFor(AcDbHandle(RefHandle(100)), false)),
                           AcDb::kForRead),
            Acad::eOk);
  resbuf* rb = obj->xData(L"RQ_LINK");
  obj->close();
  ASSERT_NE(rb, nullptr);
  ASSERT_NE(rb->rbnext, nullptr);
  ASSERT_NE(rb->rbnext->rbnext, nullptr);
  EXPECT_EQ(rb->rbnext->rbnext->restype, 1040);
  EXPECT_EQ(rb->rbnext->rbnext->resval.rreal, 0.25);
  acutRelRb(rb);
  EXPECT_EQ(XDataText(AcDbObjectId(db.stubFor(AcDbHandle(RefHandle(200)), false))), L"(none)");
  EXPECT_EQ(XDataText(AcDbObjectId(db.stubFor(AcDbHandle(RefHandle(201)), false))), L"E201");
  for (int i : {149, 150, 151})
    EXPECT_EQ(XDataText(AcDbObjectId(db.stubFor(AcDbHandle(RefHandle(i)), false))),
              L"E" + std::to_wstring(i));
  EXPECT_NE(text.find("RAY\n"), std::string::npos);
  const std::wstring kept =
      L"line " +
      std::to_wstring(LineOf(
          text, std::string("  0\nINSERT\n  5\n").append(Hex(RefHandle(200))).append("\n"))) +
      L": XData kept as read: the drawing refuses it as XData";
  EXPECT_NE(std::find(r.warnings.begin(), r.warnings.end(), kept), r.warnings.end()) << kept;

  // A real that is none, in the XData of the last reference.
  Groups bad = References(kRefs);
  after(bad, testing::Named('E', kRefs - 1), {1040, "abc"});
  const std::string bad_text = DxfText(SmallDrawing(bad));
  r = ReadDxf(bad_text);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.error, L"line " + std::to_wstring(LineOf(bad_text, "\nabc\n") + 1) +
                         L": group 1040 needs a number, found \"abc\"");
}

// An attribute's XData is set as the attribute is made, on a drawing read on one thread and on
// one whose XData is made on the lexer's: it arrives, or is kept as read with its warning.
TEST(DxfLargeDrawingXDataTest, AttributesTakeTheirXData) {
  for (int count : {400, kRefs}) {
    Groups g = References(count);
    // At the end of the attribute of reference i (its handle is the reference's and one).
    auto at_attribute = [&](int i, const Groups& added) {
      const std::string handle = Hex(RefHandle(i) + 1);
      for (size_t k = 0; k + 1 < g.size(); ++k) {
        if (g[k].first == 0 && g[k].second == "ATTRIB" && g[k + 1].second == handle) {
          size_t end = k + 1;
          while (end < g.size() && g[end].first != 0) ++end;
          g.insert(g.begin() + static_cast<std::ptrdiff_t>(end), added.begin(), added.end());
          return;
        }
      }
      ADD_FAILURE() << handle;
    };
    at_attribute(300, {{1001, "RQ_LINK"}, {1000, "A300"}});
    at_attribute(301, {{1001, "RQ_LINK"}, {62, "1"}});  // no XData group: kept as read
    at_attribute(count - 1, {{1001, "RQ_LINK"}, {1000, "ALAST"}});
    const std::string text = DxfText(SmallDrawing(g));
    DxfReadResult r = ReadDxf(text);
    ASSERT_TRUE(r.ok()) << r.error;
    AcDbDatabase& db = *r.database;
    auto attribute = [&](int i) {
      return AcDbObjectId(db.stubFor(AcDbHandle(RefHandle(i) + 1), false));
    };
    EXPECT_EQ(XDataText(attribute(300)), L"A300") << count;
    EXPECT_EQ(XDataText(attribute(299)), L"(none)") << count;
    EXPECT_EQ(XDataText(attribute(301)), L"(none)") << count;
    EXPECT_EQ(XDataText(attribute(count - 1)), L"ALAST") << count;
    // The references keep theirs.
    EXPECT_EQ(XDataText(AcDbObjectId(db.stubFor(AcDbHandle(RefHandle(300)), false))), L"E300");
    const std::wstring kept =
        L"line " +
        std::to_wstring(LineOf(
            text, std::string("  0\nATTRIB\n  5\n").append(Hex(RefHandle(301) + 1)).append("\n"))) +
        L": XData kept as read: the drawing refuses it as XData";
    EXPECT_NE(std::find(r.warnings.begin(), r.warnings.end(), kept), r.warnings.end()) << kept;
  }
}

}  // namespace
}  // namespace host
