// The DXF lexer seen through the reader: reals of every form, lines of any length, either line
// end, and a file that ends after a group code.
#include <dbents.h>
#include "platform/acad/kept_groups.h"
#include <gtest/gtest.h>
#include "platform/win/text_encoding.h"

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "dxf_test_support.h"
#include "host/dxf/dxf_reader.h"

namespace host {
namespace {

using testing::DxfText;
using testing::IdOf;
using testing::SmallDrawing;

// A point whose x is `x`, as an entity of the small drawing.
std::vector<std::pair<int, std::string>> PointAt(const std::string& x) {
  return {{0, "POINT"},       {5, "50"}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"},
          {100, "AcDbPoint"}, {10, x},   {20, "0.0"}, {30, "0.0"}};
}

TEST(DxfReaderTest, RealsAreReadWhateverTheirForm) {
  struct Real {
    std::string text;
    double value;
  };
  const Real fine[] = {{"12.5", 12.5},
                       {"-0.25", -0.25},
                       {"+3", 3},
                       {"1e3", 1000},
                       {".5", 0.5},
                       {"7", 7},
                       {"  2.5\t", 2.5},
                       {"1" + std::string(300, '0'), 1e300},
                       {"1" + std::string(301, '0'), 1e301},
                       {"0." + std::string(299, '0') + "1", 1e-300},
                       {"0." + std::string(301, '0') + "1", 1e-302}};
  for (const Real& c : fine) {
    DxfReadResult r = ReadDxf(DxfText(SmallDrawing(PointAt(c.text))));
    ASSERT_TRUE(r.ok()) << c.text << ": " << platform::WideToUtf8(r.error);
    AcDbPoint* point = nullptr;
    ASSERT_EQ(acdbOpenObject(point, IdOf(*r.database, L"50"), AcDb::kForRead), Acad::eOk);
    EXPECT_DOUBLE_EQ(point->position().x, c.value) << c.text;
    point->close();
  }
  // 1e309 is no double; the others are no numbers.
  const std::string refused[] = {"1e400", "1.2.3", "-",   "--1",
                                 "0x10",  "1,5",   "1 5", "1" + std::string(309, '0')};
  for (const std::string& text : refused) {
    DxfReadResult r = ReadDxf(DxfText(SmallDrawing(PointAt(text))));
    EXPECT_FALSE(r.ok()) << text;
    EXPECT_NE(
        r.error.find(L": group 10 needs a number, found \"" + platform::Utf8ToWide(text) + L"\""),
        std::wstring::npos)
        << platform::WideToUtf8(r.error);
  }
}

TEST(DxfReaderTest, LinesOfAnyLengthAndEitherLineEnd) {
  // Line ends found in the first sixteen bytes, just after them, after sixty-four and beyond.
  const size_t lengths[] = {0, 1, 15, 16, 17, 63, 64, 65, 300};
  for (bool crlf : {false, true}) {
    std::vector<std::pair<int, std::string>> mtext = {
        {0, "MTEXT"}, {5, "50"}, {330, "1F"}, {100, "AcDbEntity"}, {8, "0"}, {100, "AcDbMText"}};
    for (size_t n : lengths) mtext.push_back({3, std::string(n, static_cast<char>('a' + n % 26))});
    std::string text = DxfText(SmallDrawing(mtext));
    if (crlf) {
      std::string with_cr;
      for (char c : text) {
        if (c == '\n') with_cr.push_back('\r');
        with_cr.push_back(c);
      }
      text = with_cr;
    }
    DxfReadResult r = ReadDxf(text);
    ASSERT_TRUE(r.ok()) << platform::WideToUtf8(r.error);
    AcDbEntity* e = nullptr;
    ASSERT_EQ(acdbOpenAcDbEntity(e, IdOf(*r.database, L"50"), AcDb::kForRead), Acad::eOk);
    const auto& raw = platform::acad::KeptGroups(*e);
    ASSERT_EQ(raw.size(), 5u + std::size(lengths)) << crlf;
    for (size_t i = 0; i < std::size(lengths); ++i) {
      EXPECT_EQ(raw[5 + i].code, 3);
      EXPECT_EQ(raw[5 + i].value.utf8(),
                std::string(lengths[i], static_cast<char>('a' + lengths[i] % 26)))
          << crlf << " " << lengths[i];
    }
    e->close();
  }
  // A file that ends after a group code, its value missing, with a long line before that code
  // or a short one, with or without a line end after it.
  for (const std::string& before : {std::string("x"), std::string(40, 'x')}) {
    for (const std::string& end : {std::string(""), std::string("\n"), std::string("\r\n")}) {
      const std::string text =
          DxfText({{0, "SECTION"}, {2, "ENTITIES"}, {999, before}}) + " 10" + end;
      EXPECT_EQ(ReadDxf(text).error, L"line 7: the file ends after group code 10 without its value")
          << before.size() << " " << end.size();
    }
  }
}

}  // namespace
}  // namespace host
