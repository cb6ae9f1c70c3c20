// CString: MFC's Unicode Format rules, searching, trimming, editing and buffer access.
#include <afxstr.h>

#include <gtest/gtest.h>

#include <afxcoll.h>
#include <atltypes.h>

namespace {

std::wstring Fmt(const CString& s) {
  return s.GetString();
}

TEST(CStringFormat, WideAndNarrowStringsFollowUnicodeMfc) {
  CString s;
  s.Format(L"%s|%S|%hs|%ls|%c|%C", L"配線", "abc", "xyz", L"幹線", L'線', 'q');
  EXPECT_EQ(Fmt(s), L"配線|abc|xyz|幹線|線|q");
  CString name(L"プロジェクト");
  s.Format(L"%s\\%s.tpr", L"C:\\sys", name);  // a CString passed by value reads as its text
  EXPECT_EQ(Fmt(s), L"C:\\sys\\プロジェクト.tpr");
  s.Format(L"[%5s][%-5s][%.2s]", L"ab", L"ab", L"abcd");
  EXPECT_EQ(Fmt(s), L"[   ab][ab   ][ab]");
}

// Unicode MFC widens narrow text with the ANSI code page of the system, 932 where Harnex runs:
// Shift_JIS double bytes, half-width katakana as single bytes, 0x5C as the backslash.
TEST(CStringFormat, NarrowTextIsReadInTheAnsiCodePage) {
  CString s;
  s.Format(L"%S|%hs|%S", "\x94\x7a\x90\xfc", "\xbc\xbd\xc3\xd1", "C:\\sys");  // 配線 ｼｽﾃﾑ
  EXPECT_EQ(Fmt(s), L"配線|ｼｽﾃﾑ|C:\\sys");
  s.Format(L"%C%hc", '\xb1', 'A');  // one byte of a narrow character: ｱ
  EXPECT_EQ(Fmt(s), L"ｱA");
  EXPECT_EQ(Fmt(CString("\x83\x76\x83\x8d\x83\x57\x83\x46\x83\x4e\x83\x67")), L"プロジェクト");
}

TEST(CStringFormat, NumbersWidthsAndFlags) {
  CString s;
  s.Format(L"%d %5d %-4d| %05d %+d %x %X %u", 42, -7, 3, 12, 5, 255, 255, 4000000000u);
  EXPECT_EQ(Fmt(s), L"42    -7 3   | 00012 +5 ff FF 4000000000");
  s.Format(L"%ld %lu %lld %I64d %I64u", static_cast<LONG>(-3), static_cast<ULONG>(9),
           -12345678901LL, 9000000000LL, 18000000000ULL);
  EXPECT_EQ(Fmt(s), L"-3 9 -12345678901 9000000000 18000000000");
  s.Format(L"%f %.1f %.3f %g %g %6.2f", 1.5, 2.26, 1.0 / 3, 0.0001, 100000.0, 3.14159);
  EXPECT_EQ(Fmt(s), L"1.500000 2.3 0.333 0.0001 100000   3.14");
  s.Format(L"%*d|%-*d|%%|%.*f", 4, 1, 3, 2, 2, 0.5);
  EXPECT_EQ(Fmt(s), L"   1|2  |%|0.50");
  s.Format(L"%p", reinterpret_cast<void*>(0x12FF7C));
  EXPECT_EQ(Fmt(s), L"000000000012FF7C");
  s = L"A";
  s.AppendFormat(L"-%d-%s", 7, L"B");
  EXPECT_EQ(Fmt(s), L"A-7-B");
}

TEST(CStringCompare, OrdinalInUtf16CodeUnitOrder) {
  // U+1F4C1 is the pair D83D DCC1 in UTF-16: below U+FF5E there, above it as a code point.
  EXPECT_LT(CString(L"\U0001F4C1").Compare(L"\uFF5E"), 0);
  EXPECT_GT(CString(L"\uFF5E").Compare(L"\U0001F4C1"), 0);
  EXPECT_LT(CString(L"B").Compare(L"a"), 0);  // case-sensitive: 'B' < 'a'
  EXPECT_LT(CString(L"ab").Compare(L"abc"), 0);
  EXPECT_EQ(CString(L"工事").Compare(L"工事"), 0);
  EXPECT_TRUE(CString(L"\U0001F4C1") < CString(L"\uFF5E"));
}

TEST(CStringSearch, FindReverseFindFindOneOf) {
  CString s(L"S501|値|S501|");
  EXPECT_EQ(s.Find(L'|'), 4);
  EXPECT_EQ(s.Find(L'|', 5), 6);
  EXPECT_EQ(s.Find(L"S501", 1), 7);
  EXPECT_EQ(s.Find(L"none"), -1);
  EXPECT_EQ(s.Find(L'|', 100), -1);
  EXPECT_EQ(s.ReverseFind(L'|'), 11);
  EXPECT_EQ(s.ReverseFind(L'x'), -1);
  EXPECT_EQ(s.FindOneOf(L"値|"), 4);
  EXPECT_EQ(s.FindOneOf(L"xyz"), -1);
  EXPECT_EQ(Fmt(s.Mid(5, 1)), L"値");
  EXPECT_EQ(Fmt(s.Mid(7)), L"S501|");
  EXPECT_EQ(Fmt(s.Mid(20)), L"");
  EXPECT_EQ(Fmt(s.Left(4)), L"S501");
  EXPECT_EQ(Fmt(s.Left(99)), Fmt(s));
  EXPECT_EQ(Fmt(s.Right(5)), L"S501|");
  EXPECT_EQ(Fmt(CString(L"123abc").SpanIncluding(L"0123456789")), L"123");
  EXPECT_EQ(Fmt(CString(L"key=value").SpanExcluding(L"=;")), L"key");
}

TEST(CStringSearch, TokenizeSkipsEmptyFieldsAndEndsWithMinusOne) {
  CString s(L",,a,b,,c,");
  int pos = 0;
  std::vector<std::wstring> tokens;
  for (CString t = s.Tokenize(L",", pos); pos != -1; t = s.Tokenize(L",", pos)) {
    tokens.push_back(t.GetString());
  }
  EXPECT_EQ(tokens, (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_EQ(pos, -1);
}

TEST(CStringEdit, TrimFamily) {
  CString s(L" \t値\u3000 \r\n");
  EXPECT_EQ(Fmt(CString(s).Trim()), L"値");
  EXPECT_EQ(Fmt(CString(s).TrimLeft()), L"値\u3000 \r\n");
  EXPECT_EQ(Fmt(CString(s).TrimRight()), L" \t値");
  EXPECT_EQ(Fmt(CString(L"xx値xyx").Trim(L'x')), L"値xy");
  EXPECT_EQ(Fmt(CString(L"xy値yx").Trim(L"xy")), L"値");
  EXPECT_EQ(Fmt(CString(L"0012").TrimLeft(L'0')), L"12");
  EXPECT_EQ(Fmt(CString(L"1.500").TrimRight(L"0")), L"1.5");
}

TEST(CStringEdit, ReplaceRemoveInsertDeleteCase) {
  CString s(L"a-b-c");
  EXPECT_EQ(s.Replace(L'-', L'+'), 2);
  EXPECT_EQ(Fmt(s), L"a+b+c");
  EXPECT_EQ(s.Replace(L"+", L"::"), 2);
  EXPECT_EQ(Fmt(s), L"a::b::c");
  EXPECT_EQ(s.Replace(L"zz", L"y"), 0);
  EXPECT_EQ(s.Remove(L':'), 4);
  EXPECT_EQ(Fmt(s), L"abc");
  EXPECT_EQ(s.Insert(1, L"XY"), 5);
  EXPECT_EQ(s.Insert(99, L'!'), 6);
  EXPECT_EQ(Fmt(s), L"aXYbc!");
  EXPECT_EQ(s.Delete(1, 2), 4);
  EXPECT_EQ(Fmt(s), L"abc!");
  EXPECT_EQ(Fmt(s.MakeUpper()), L"ABC!");
  EXPECT_EQ(Fmt(CString(L"ＡｂC").MakeLower()), L"ａｂc");
  EXPECT_EQ(CString(L"abc").CompareNoCase(L"ABC"), 0);
  EXPECT_LT(CString(L"abc").CompareNoCase(L"ABD"), 0);
  EXPECT_LT(CString(L"ABC").Compare(L"abc"), 0);
  EXPECT_TRUE(CString(L"x") == L"x");
  EXPECT_TRUE(CString(L"a") < CString(L"b"));
  EXPECT_EQ(Fmt(CString(L"a") + L"b" + CString(L'c', 2)), L"abcc");
}

TEST(CStringBuffer, GetBufferAndReleaseBuffer) {
  CString s(L"abc");
  wchar_t* p = s.GetBuffer(10);
  wcscpy(p, L"配線情報");
  s.ReleaseBuffer();
  EXPECT_EQ(s.GetLength(), 4);
  p = s.GetBufferSetLength(2);
  p[1] = L'X';
  s.ReleaseBuffer(2);
  EXPECT_EQ(Fmt(s), L"配X");
  EXPECT_TRUE(CString(static_cast<LPCWSTR>(nullptr)).IsEmpty());
}

TEST(Collections, StringArrayInsertRemoveAndCopy) {
  CStringArray a;
  EXPECT_EQ(a.Add(L"b"), 0);
  a.Add(CString(L"d"));
  a.InsertAt(0, L"a");
  a.InsertAt(2, L"c");
  ASSERT_EQ(a.GetSize(), 4);
  EXPECT_EQ(Fmt(a[2]), L"c");
  a.RemoveAt(1, 2);
  EXPECT_EQ(Fmt(a.GetAt(1)), L"d");
  CStringArray b;
  b.Copy(a);
  b.Append(a);
  EXPECT_EQ(b.GetCount(), 4);
  b.SetSize(1);
  EXPECT_EQ(Fmt(b[0]), L"a");
  CUIntArray u;
  u.SetAtGrow(3, 9);
  EXPECT_EQ(u.GetSize(), 4);
  EXPECT_EQ(u[0], 0u);
}

TEST(Geometry, RectArithmetic) {
  CRect r(10, 20, 110, 70);
  EXPECT_EQ(r.Width(), 100);
  EXPECT_EQ(r.Height(), 50);
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_FALSE(r.PtInRect(CPoint(110, 20)));
  CRect i;
  EXPECT_TRUE(i.IntersectRect(&r, CRect(100, 0, 200, 30)));
  EXPECT_EQ(i, CRect(100, 20, 110, 30));
  EXPECT_FALSE(i.IntersectRect(&r, CRect(0, 0, 5, 5)));
  CPoint p(MAKELPARAM(-5, 7));
  EXPECT_EQ(p.x, -5);
  EXPECT_EQ(p.y, 7);
}

}  // namespace
