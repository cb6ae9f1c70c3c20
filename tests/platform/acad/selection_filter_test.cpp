// AutoCAD's wildcard patterns as selection filters use them.
#include <gtest/gtest.h>

#include <string>

#include "platform/acad/selection_filter.h"

namespace {

TEST(SelectionFilterTest, WildcardPatterns) {
  struct Case {
    const wchar_t* text;
    const wchar_t* pattern;
    bool match;
  } const cases[] = {
      {L"RQ_LINK", L"RQ_LINK,RQ_ATTR", true},
      {L"RQ_ATTR", L"RQ_LINK,RQ_ATTR", true},
      {L"RQ_OTHER", L"RQ_LINK,RQ_ATTR", false},
      {L"rq_link", L"RQ_LINK", true},
      {L"INSERT", L"INS*", true},
      {L"LINE", L"INS*", false},
      {L"RT01", L"RT##", true},
      {L"RTA1", L"RT##", false},
      {L"KK", L"@@", true},
      {L"K1", L"@@", false},
      {L"A-B", L"A.B", true},
      {L"AXB", L"A?B", true},
      {L"AXB", L"~A?B", false},
      {L"CDE", L"~A?B", true},
      {L"B", L"[ABC]", true},
      {L"D", L"[~ABC]", true},
      {L"A,B", L"A`,B", true},
      {L"A", L"A`,B", false},
      {L"", L"*", true},
      {L"PXNT0002", L"PXNT*2", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::acad::WildcardMatch(c.text, c.pattern), c.match)
        << std::wstring(c.text) << L" ~ " << c.pattern;
  }
}

}  // namespace
