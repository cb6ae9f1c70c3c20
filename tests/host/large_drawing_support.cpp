// Helpers of the large-drawing tests (see large_drawing_support.h).
#include "large_drawing_support.h"

#include <gtest/gtest.h>

#include <acutads.h>
#include <dbmain.h>

#include <algorithm>
#include <cstdio>

namespace host::testing {

std::string Hex(unsigned value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%X", value);
  return buf;
}

std::wstring W(const std::string& s) {
  return std::wstring(s.begin(), s.end());
}

std::string Named(char letter, int i) {
  std::string text(1, letter);
  text.append(std::to_string(i));
  return text;
}

unsigned RefHandle(int i) {
  return 0x100 + 3 * static_cast<unsigned>(i);
}

// Reference i at (i, 0) with attribute ETAT "T<i>" and RQ_LINK XData "E<i>".
std::vector<std::pair<int, std::string>> References(int count) {
  std::vector<std::pair<int, std::string>> g;
  for (int i = 0; i < count; ++i) {
    const std::string ref = Hex(RefHandle(i));
    const std::vector<std::pair<int, std::string>> one = {
        {0, "INSERT"},
        {5, ref},
        {330, "1F"},
        {100, "AcDbEntity"},
        {8, "0"},
        {100, "AcDbBlockReference"},
        {66, "1"},
        {2, "RT100"},
        {10, std::to_string(i) + ".0"},
        {20, "0.0"},
        {30, "0.0"},
        {1001, "RQ_LINK"},
        {1000, Named('E', i)},
        {0, "ATTRIB"},
        {5, Hex(RefHandle(i) + 1)},
        {330, ref},
        {100, "AcDbEntity"},
        {8, "0"},
        {100, "AcDbText"},
        {10, "0.0"},
        {20, "0.0"},
        {30, "0.0"},
        {40, "2.5"},
        {1, Named('T', i)},
        {100, "AcDbAttribute"},
        {2, "ETAT"},
        {70, "0"},
        {0, "SEQEND"},
        {5, Hex(RefHandle(i) + 2)},
        {330, ref},
        {100, "AcDbEntity"},
        {8, "0"},
    };
    g.insert(g.end(), one.begin(), one.end());
  }
  return g;
}

// The line (from 1) on which `needle` starts, after the first `after`.
int LineOf(const std::string& text, const std::string& needle, const std::string& after) {
  const size_t from = after.empty() ? 0 : text.find(after);
  const size_t at = text.find(needle, from);
  EXPECT_NE(at, std::string::npos) << needle;
  return static_cast<int>(std::count(text.begin(), text.begin() + at, '\n')) + 1;
}

std::wstring XDataText(AcDbObjectId id) {
  AcDbObject* obj = nullptr;
  if (acdbOpenObject(obj, id, AcDb::kForRead) != Acad::eOk) return L"(cannot open)";
  resbuf* rb = obj->xData(L"RQ_LINK");
  obj->close();
  std::wstring text =
      rb && rb->rbnext && rb->rbnext->restype == 1000 ? rb->rbnext->resval.rstring : L"(none)";
  acutRelRb(rb);
  return text;
}

}  // namespace host::testing
