// Code pages, file decoding, UTF-16 order, case-blind comparison and East Asian width.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/win/text_encoding.h"
#include "platform/win/wide_string.h"
#include <windows.h>

namespace {

using platform::TextEncoding;

// Bytes of a literal, zeros included.
template <size_t N>
std::string Bytes(const char (&s)[N]) {
  return std::string(s, N - 1);
}

TEST(CodePage932, RoundTripRuleRefusesLookAlikes) {
  struct Case {
    std::wstring text;
    bool representable;
  };
  const std::vector<Case> cases = {
      {L"配線サイズ", true},  {L"ｼｽﾃﾑ", true},        {L"\uFF5E", true},  {L"\uFF0D", true},
      {L"\u301C", false},     {L"\u2212", false},     {L"\u00A5", false}, {L"\u2016", false},
      {L"\U0002000B", false}, {L"ab\u301Ccd", false}, {L"", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::IsCp932Representable(c.text), c.representable) << c.text.size();
  EXPECT_EQ(platform::WideToCp932(L"あｱ1"),
            "\x82\xa0\xb1"
            "1");
  EXPECT_EQ(platform::Cp932ToWide("\x8a\xc2\x8b\xab\x81\x60"), L"環境\uFF5E");
  bool lossy = false;
  EXPECT_EQ(platform::WideToCp932(L"a\u301C", &lossy), "a?");
  EXPECT_TRUE(lossy);
}

TEST(CodePage932, BadBytesBecomeOneUnknownCharacterEach) {
  // Single bytes, half-width katakana and pairs mixed; the same character read twice comes out
  // the same (the decoder remembers characters it has seen).
  EXPECT_EQ(platform::Cp932ToWide("A\xb1\x93\x64\x93\x64z"), L"A\uFF71\u96FB\u96FBz");
  // A lead byte with a second byte that makes no pair: the lead is unknown, the next byte is
  // read on its own.
  EXPECT_EQ(platform::Cp932ToWide("\x81\x20x"), L"\u30FB x");
  // A lead byte cut off at the end.
  EXPECT_EQ(platform::Cp932ToWide("ab\x93"), L"ab\u30FB");
  // Encoding the same text twice gives the same bytes, and a look-alike is refused every time.
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(platform::WideToCp932(L"電\uFF71"), "\x93\x64\xb1");
    EXPECT_FALSE(platform::IsCp932Representable(L"\u301C"));
  }
}

TEST(DecodeText, TellsTheEncodingOfAFile) {
  struct Case {
    std::string bytes;
    TextEncoding encoding;
    std::wstring text;
  };
  const std::vector<Case> cases = {
      {Bytes("\xFF\xFE"
             "A\x00\x42\x30\x3D\xD8\x00\xDE"),
       TextEncoding::kUtf16Le, L"A\u3042\U0001F600"},
      {"\xEF\xBB\xBF\xE3\x81\x82", TextEncoding::kUtf8Bom, L"\u3042"},
      {"\xE3\x81\x82x", TextEncoding::kUtf8, L"\u3042x"},
      {"plain", TextEncoding::kUtf8, L"plain"},
      {"\x82\xa0\xbc", TextEncoding::kCp932, L"\u3042\uFF7C"},
  };
  for (const Case& c : cases) {
    TextEncoding found;
    EXPECT_EQ(platform::DecodeText(c.bytes, &found), c.text) << c.bytes;
    EXPECT_EQ(found, c.encoding) << c.bytes;
  }
  EXPECT_EQ(platform::EncodeText(L"\U0001F600", TextEncoding::kUtf16Le),
            Bytes("\xFF\xFE\x3D\xD8\x00\xDE"));
  EXPECT_EQ(platform::Utf16Length(L"a\U0001F600"), 3u);
}

TEST(Utf16Order, CharactersAboveTheBmpSortBelowPrivateUse) {
  EXPECT_LT(platform::CompareUtf16(L"\U0001F600", L"\uFF5E"), 0);
  EXPECT_GT(platform::CompareUtf16(L"\uE000", L"\U00010000"), 0);
  EXPECT_LT(platform::CompareUtf16(L"\uD7FF", L"\U00010000"), 0);
  EXPECT_LT(platform::CompareUtf16(L"ab", L"abc"), 0);
  EXPECT_EQ(platform::CompareUtf16(L"x", L"x"), 0);
  std::vector<std::wstring> names = {L"\uFF21", L"\U00020000", L"B", L"a"};
  std::sort(names.begin(), names.end(), [](const std::wstring& x, const std::wstring& y) {
    return platform::CompareUtf16(x, y) < 0;
  });
  EXPECT_EQ(names, (std::vector<std::wstring>{L"B", L"a", L"\U00020000", L"\uFF21"}));
}

TEST(NoCase, ComparesAsWindows) {
  EXPECT_EQ(_wcsicmp(L"Project", L"PROJECT"), 0);
  EXPECT_EQ(_wcsicmp(L"\uFF41", L"\uFF21"), 0);  // full-width letters have case too
  EXPECT_LT(_wcsicmp(L"a", L"B"), 0);
  EXPECT_EQ(lstrcmpiW(L"Ärger", L"äRGER"), 0);
  EXPECT_NE(_wcsicmp(L"\u3042", L"\u30A2"), 0);  // kana are not letters with case
  EXPECT_EQ(_wcsnicmp(L"abcX", L"ABCy", 3), 0);
}

TEST(Width, FullWidthCharacters) {
  for (char32_t c : {U'あ', U'ア', U'漢', U'Ａ', U'　', U'￥', U'\U00020000'})
    EXPECT_TRUE(platform::IsFullWidthChar(c)) << static_cast<uint32_t>(c);
  for (char32_t c : {U'A', U'ｱ', U'ﾟ', U'｡', U'○', U'α', U'¥', U' '})
    EXPECT_FALSE(platform::IsFullWidthChar(c)) << static_cast<uint32_t>(c);
}

TEST(Win32CodePages, ConvertLikeWindows) {
  wchar_t wide[8] = {};
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0,
                                "\x82\xa0"
                                "b",
                                -1, wide, 8),
            3);
  EXPECT_EQ(std::wstring(wide), L"\u3042b");
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xE3\x81\x82", 3, nullptr, 0), 1);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xE3\x81", 2, wide, 8), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, wide, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  char bytes[8] = {};
  BOOL used = FALSE;
  EXPECT_EQ(WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, L"\u301C", 1, bytes, 8, nullptr, &used),
            1);
  EXPECT_EQ(bytes[0], '?');
  EXPECT_TRUE(used);
  EXPECT_EQ(WideCharToMultiByte(932, 0, L"\u301C", 1, bytes, 8, nullptr, &used), 2);
  EXPECT_EQ(std::string(bytes, 2), "\x81\x60");
  EXPECT_FALSE(used);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, L"\u3042", -1, bytes, 8, nullptr, nullptr), 4);
  EXPECT_EQ(std::string(bytes), "\xE3\x81\x82");
}

TEST(MsCrt, FormatsAndCopiesAsTheMicrosoftRuntime) {
  wchar_t buf[32];
  EXPECT_EQ(swprintf_s(buf, L"%s\\%s.tpr", L"\u30D7\u30ED", L"A"), 8);
  EXPECT_EQ(std::wstring(buf), L"\u30D7\u30ED\\A.tpr");
  swprintf_s(buf, L"%03d|%hs|%S|%c|%I64d", 7, "n", "m", L'\u3042', static_cast<int64_t>(1) << 40);
  EXPECT_EQ(std::wstring(buf), L"007|n|m|\u3042|1099511627776");
  wchar_t small[4];
  EXPECT_EQ(wcscpy_s(small, L"abcd"), ERANGE);
  EXPECT_EQ(small[0], L'\0');
  EXPECT_EQ(wcsncpy_s(small, 4, L"abcd", _TRUNCATE), STRUNCATE);
  EXPECT_EQ(std::wstring(small), L"abc");
  EXPECT_EQ(_wtoi(L"  -42abc"), -42);
  EXPECT_EQ(_wtoi(L"x1"), 0);
}

}  // namespace
