// Profile files: the reading and writing rules of GetPrivateProfileStringW and
// WritePrivateProfileStringW, their encodings, and the cache's view of changes on disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/file_system.h"
#include "platform/win/win_test_support.h"
#include "platform/win/profile_cache.h"
#include "platform/win/text_encoding.h"
#include <windows.h>

namespace {

using wintest::TempFolder;
using wintest::Utf16Le;

struct ReadCase {
  const char* what;
  std::string file;
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* def;
  DWORD size;
  std::wstring expected;
};

TEST(ProfileRead, FollowsWindowsRules) {
  const std::vector<ReadCase> cases = {
      {"section and key ignore case", "[Sec]\r\nKey=v\r\n", L"SEC", L"kEY", L"d", 64, L"v"},
      {"missing key gives the default", "[S]\r\nk=1\r\n", L"S", L"other", L"def", 64, L"def"},
      {"missing section gives the default", "[S]\r\nk=1\r\n", L"T", L"k", L"def", 64, L"def"},
      {"null default is empty", "[S]\r\n", L"S", L"k", nullptr, 64, L""},
      {"trailing spaces of the default go", "", L"S", L"k", L"abc  ", 64, L"abc"},
      {"blanks around key and value", "[S]\r\n  key \t=  a value \t\r\n", L"S", L"key", L"", 64,
       L"a value"},
      {"double quotes removed", "[S]\r\nk=\" quoted \"\r\n", L"S", L"k", L"", 64, L" quoted "},
      {"single quotes removed", "[S]\r\nk='x'\r\n", L"S", L"k", L"", 64, L"x"},
      {"unmatched quotes kept", "[S]\r\nk=\"x'\r\n", L"S", L"k", L"", 64, L"\"x'"},
      {"value cut to size - 1", "[S]\r\nk=abcdef\r\n", L"S", L"k", L"", 4, L"abc"},
      {"default cut to size - 1", "", L"S", L"k", L"abcdef", 3, L"ab"},
      {"first of equal keys wins", "[S]\r\nk=1\r\nK=2\r\n", L"S", L"k", L"", 64, L"1"},
      {"first of equal sections wins", "[S]\r\nk=1\r\n[s]\r\nk=2\r\nj=3\r\n", L"S", L"j", L"-", 64,
       L"-"},
      {"a line without = is no key", "[S]\r\nk\r\n", L"S", L"k", L"none", 64, L"none"},
      {"comment lines are no keys", "[S]\r\n;k=1\r\n", L"S", L";k", L"none", 64, L"none"},
      {"empty value is not the default", "[S]\r\nk=\r\n", L"S", L"k", L"def", 64, L""},
      {"value keeps its inner =", "[S]\r\nk=a=b\r\n", L"S", L"k", L"", 64, L"a=b"},
      {"LF line ends", "[S]\nk=lf\n", L"S", L"k", L"", 64, L"lf"},
      {"keys before any section are in none", "k=0\r\n[S]\r\n", L"S", L"k", L"d", 64, L"d"},
      {"code page 932", "[\x8a\xc2\x8b\xab\x90\xdd\x92\xe8]\r\n\xbc\xbd\xc3\xd1=\x82\xa0\r\n",
       L"環境設定", L"ｼｽﾃﾑ", L"", 64, L"あ"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF[S]\r\nk=\xE3\x80\x9C\r\n", L"S", L"k", L"", 64, L"\u301C"},
      {"UTF-8 without BOM", "[S]\r\nk=\xE2\x88\x92\r\n", L"S", L"k", L"", 64, L"\u2212"},
      {"UTF-16LE with BOM", "\xFF\xFE" + Utf16Le(u"[S]\r\nk=\u301C\U0002000B\r\n"), L"S", L"k", L"",
       64, L"\u301C\U0002000B"},
      {"a pair is not split", "[S]\r\nk=a\U0002000Bb\r\n", L"S", L"k", L"", 3, L"a"},
      {"a pair takes two units", "[S]\r\nk=a\U0002000Bb\r\n", L"S", L"k", L"", 4, L"a\U0002000B"},
  };
  TempFolder dir;
  int n = 0;
  for (const ReadCase& c : cases) {
    const std::string name = "read" + std::to_string(n++) + ".ini";
    if (!c.file.empty()) dir.WriteBytes(name, c.file);
    std::vector<wchar_t> buf(c.size + 8, L'#');
    DWORD got = GetPrivateProfileStringW(c.section, c.key, c.def, buf.data(), c.size,
                                         dir.Win(platform::Utf8ToWide(name)).c_str());
    EXPECT_EQ(std::wstring(buf.data()), c.expected) << c.what;
    EXPECT_EQ(got, c.expected.size()) << c.what;
    for (size_t i = c.size; i < buf.size(); ++i) ASSERT_EQ(buf[i], L'#') << c.what << " overran";
  }
}

TEST(ProfileRead, ListsSectionAndKeyNames) {
  TempFolder dir;
  dir.WriteBytes("l.ini", "[A]\r\nx=1\r\ny=2\r\nX=3\r\n[B]\r\n[a]\r\nz=4\r\n");
  const std::wstring path = dir.Win(L"l.ini");
  wchar_t buf[64];
  DWORD n = GetPrivateProfileStringW(nullptr, nullptr, L"", buf, 64, path.c_str());
  EXPECT_EQ(std::wstring(buf, n + 1), std::wstring(L"A\0B\0", 5));
  n = GetPrivateProfileStringW(L"a", nullptr, L"", buf, 64, path.c_str());
  EXPECT_EQ(std::wstring(buf, n + 1), std::wstring(L"x\0y\0", 5));
  // A list that does not fit is cut and ends with two zeros.
  std::fill(std::begin(buf), std::end(buf), L'#');
  n = GetPrivateProfileStringW(nullptr, nullptr, L"", buf, 3, path.c_str());
  EXPECT_EQ(n, 1u);
  EXPECT_EQ(std::wstring(buf, 4), std::wstring(L"A\0\0#", 4));
  EXPECT_EQ(GetPrivateProfileIntW(L"A", L"y", 7, path.c_str()), 2u);
  EXPECT_EQ(GetPrivateProfileIntW(L"A", L"none", 7, path.c_str()), 7u);
}

struct WriteStep {
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* value;
};

struct WriteCase {
  const char* what;
  std::optional<std::string> before;  // none: the file does not exist
  std::vector<WriteStep> steps;
  std::string after;
};

TEST(ProfileWrite, ChangesOnlyTheLineConcerned) {
  const std::string kUtf16Bom = "\xFF\xFE";
  const std::vector<WriteCase> cases = {
      {"a new file", std::nullopt, {{L"S", L"K", L"V"}}, "[S]\r\nK=V\r\n"},
      {"new keys in order, new sections at the end",
       std::nullopt,
       {{L"A", L"x", L"1"}, {L"B", L"y", L"2"}, {L"a", L"z", L"3"}},
       "[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=2\r\n"},
      {"a new key goes before the blank lines that end its section",
       "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n",
       {{L"A", L"z", L"3"}},
       "[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n"},
      {"a replaced value keeps comments and blank lines",
       "; head\r\n\r\n[A]\r\n; note\r\nx = 1\r\n\r\n",
       {{L"a", L"X", L"2"}},
       "; head\r\n\r\n[A]\r\n; note\r\nX=2\r\n\r\n"},
      {"a new section after a last line without line end",
       "[A]\r\nx=1",
       {{L"B", L"y", L"2"}},
       "[A]\r\nx=1\r\n[B]\r\ny=2\r\n"},
      {"other lines keep their LF",
       "[A]\nx=1\n; c\n",
       {{L"A", L"y", L"2"}},
       "[A]\nx=1\n; c\ny=2\r\n"},
      {"a null value deletes the key",
       "[A]\r\nx=1\r\ny=2\r\n",
       {{L"A", L"X", nullptr}},
       "[A]\r\ny=2\r\n"},
      {"a null key deletes the section",
       "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n",
       {{L"a", nullptr, nullptr}},
       "[B]\r\ny=2\r\n"},
      {"deleting what is missing changes nothing",
       "[A]\r\nx=1\r\n",
       {{L"A", L"q", nullptr}, {L"Q", nullptr, nullptr}},
       "[A]\r\nx=1\r\n"},
      {"an empty value stands after =", std::nullopt, {{L"S", L"K", L""}}, "[S]\r\nK=\r\n"},
      {"a new file is code page 932",
       std::nullopt,
       {{L"環境設定", L"ｼｽﾃﾑ", L"あ"}},
       "[\x8a\xc2\x8b\xab\x90\xdd\x92\xe8]\r\n\xbc\xbd\xc3\xd1=\x82\xa0\r\n"},
      {"a value code page 932 cannot hold makes the file UTF-16LE",
       "; \x82\xa0\r\n[A]\r\nx=1\r\n",
       {{L"A", L"y", L"\u301C"}},
       kUtf16Bom + Utf16Le(u"; \u3042\r\n[A]\r\nx=1\r\ny=\u301C\r\n")},
      {"a new file with such a value is UTF-16LE",
       std::nullopt,
       {{L"S", L"k", L"\u2212"}},
       kUtf16Bom + Utf16Le(u"[S]\r\nk=\u2212\r\n")},
      {"a new file whose code page 932 bytes would read as UTF-8 is UTF-16LE",
       std::nullopt,
       {{L"S", L"k", L"ﾃｰ"}},
       kUtf16Bom + Utf16Le(u"[S]\r\nk=ﾃｰ\r\n")},
      {"a code page 932 file that loses its only line that is not UTF-8 becomes UTF-16LE",
       "[S]\r\na=\xC3\xB0\r\nb=\x82\xA0\r\n",
       {{L"S", L"b", L"1"}},
       kUtf16Bom + Utf16Le(u"[S]\r\na=ﾃｰ\r\nb=1\r\n")},
      {"so does one that has that line deleted",
       "[S]\r\na=\xC3\xB0\r\nb=\x82\xA0\r\n",
       {{L"S", L"b", nullptr}},
       kUtf16Bom + Utf16Le(u"[S]\r\na=ﾃｰ\r\n")},
      {"a UTF-16LE file stays UTF-16LE",
       kUtf16Bom + Utf16Le(u"[S]\r\nk=1\r\n"),
       {{L"S", L"k", L"2"}},
       kUtf16Bom + Utf16Le(u"[S]\r\nk=2\r\n")},
      {"a UTF-8 file stays UTF-8",
       "[S]\r\nk=\xE3\x81\x82\r\n",
       {{L"S", L"j", L"\u00A5"}},
       "[S]\r\nk=\xE3\x81\x82\r\nj=\xC2\xA5\r\n"},
  };
  TempFolder dir;
  int n = 0;
  for (const WriteCase& c : cases) {
    const std::string name = "write" + std::to_string(n++) + ".ini";
    if (c.before) dir.WriteBytes(name, *c.before);
    const std::wstring path = dir.Win(platform::Utf8ToWide(name));
    for (const WriteStep& s : c.steps)
      EXPECT_TRUE(WritePrivateProfileStringW(s.section, s.key, s.value, path.c_str())) << c.what;
    EXPECT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str())) << c.what;
    EXPECT_EQ(dir.ReadBytes(name), c.after) << c.what;
  }
}

TEST(ProfileWrite, ValueThatCodePage932CannotHoldReadsBackUnchanged) {
  TempFolder dir;
  const std::wstring path = dir.Win(L"jp.ini");
  const std::wstring value = L"\u301C\u2212\u00A5 \U0002000B 配線";
  ASSERT_TRUE(WritePrivateProfileStringW(L"PROJECT", L"NAME", L"A棟", path.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(L"PROJECT", L"MEMO", value.c_str(), path.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str()));
  EXPECT_EQ(dir.ReadBytes("jp.ini").substr(0, 2), "\xFF\xFE");
  platform::ScopedFileSystem fresh(nullptr);  // drops the cache: read from disk
  wchar_t buf[64];
  GetPrivateProfileStringW(L"project", L"memo", L"", buf, 64, path.c_str());
  EXPECT_EQ(std::wstring(buf), value);
  GetPrivateProfileStringW(L"project", L"name", L"", buf, 64, path.c_str());
  EXPECT_EQ(std::wstring(buf), L"A棟");
}

TEST(ProfileWrite, MissingFolderFails) {
  TempFolder dir;
  SetLastError(0);
  EXPECT_FALSE(WritePrivateProfileStringW(L"S", L"k", L"v", dir.Win(L"none\\x.ini").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(WritePrivateProfileStringW(L"S", L"k", L"v", dir.Win(L"a|b.ini").c_str()));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

// A clock that stands still until a test moves it, so that "later" needs no sleep.
int64_t g_fake_now = 0;
int64_t FakeNow() {
  return g_fake_now;
}

class FakeProfileClock {
 public:
  FakeProfileClock() { platform::SetProfileClockForTesting(&FakeNow); }
  ~FakeProfileClock() { platform::SetProfileClockForTesting(nullptr); }
  FakeProfileClock(const FakeProfileClock&) = delete;
  FakeProfileClock& operator=(const FakeProfileClock&) = delete;
  // Past the time for which a checked file is trusted without a look at the disk.
  void PassRecheckTime() { g_fake_now += platform::kProfileRecheckNs; }
};

std::wstring Read(const std::wstring& path, const wchar_t* def = L"") {
  wchar_t buf[32];
  GetPrivateProfileStringW(L"S", L"k", def, buf, 32, path.c_str());
  return buf;
}

TEST(ProfileCache, SeesChangesMadeOnDisk) {
  FakeProfileClock clock;
  TempFolder dir;
  const std::wstring path = dir.Win(L"c.ini");
  dir.WriteBytes("c.ini", "[S]\r\nk=one\r\n");
  EXPECT_EQ(Read(path), L"one");
  // Same size, other content: only the last-write time tells.
  dir.WriteBytes("c.ini", "[S]\r\nk=two\r\n");
  struct timespec times[2] = {{0, UTIME_OMIT}, {1000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, dir.Posix("c.ini").c_str(), times, 0), 0);
  clock.PassRecheckTime();
  EXPECT_EQ(Read(path), L"two");
  dir.WriteBytes("c.ini", "[S]\r\nk=three\r\n");
  clock.PassRecheckTime();
  EXPECT_EQ(Read(path), L"three");
  // Replaced by another file of the same size and time: only its identity tells.
  const std::string other = dir.Posix("other.ini");
  dir.WriteBytes("other.ini", "[S]\r\nk=four!\r\n");
  struct timespec same[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, dir.Posix("c.ini").c_str(), same, 0), 0);
  EXPECT_EQ(Read(path), L"three");  // still within the time of the last check
  clock.PassRecheckTime();
  EXPECT_EQ(Read(path), L"three");  // checked again, unchanged: the new stamp is kept
  ASSERT_EQ(utimensat(AT_FDCWD, other.c_str(), same, 0), 0);
  ASSERT_EQ(rename(other.c_str(), dir.Posix("c.ini").c_str()), 0);
  clock.PassRecheckTime();
  EXPECT_EQ(Read(path), L"four!");
  ASSERT_TRUE(DeleteFileW(path.c_str()));
  EXPECT_EQ(Read(path, L"gone"), L"gone");
}

TEST(ProfileCache, LooksAtTheDiskOncePerRecheckTime) {
  FakeProfileClock clock;
  TempFolder dir;
  dir.WriteBytes("p.ini", "[S]\r\nk=1\r\n");
  const std::wstring path = dir.Win(L"p.ini");
  platform::FaultInjectingFileSystem counting(&platform::CurrentFileSystem());
  platform::ScopedFileSystem installed(&counting);
  for (int i = 0; i < 100; ++i) ASSERT_EQ(Read(path), L"1") << i;
  EXPECT_EQ(counting.CallCount(platform::FileOp::kRead), 1);
  EXPECT_EQ(counting.CallCount(platform::FileOp::kStat), 1);
  counting.ResetCalls();
  clock.PassRecheckTime();
  for (int i = 0; i < 100; ++i) ASSERT_EQ(Read(path), L"1") << i;
  EXPECT_EQ(counting.CallCount(platform::FileOp::kStat), 1);
  EXPECT_EQ(counting.CallCount(platform::FileOp::kRead), 0);
}

TEST(ProfileCache, SeesItsOwnFileChangesAtOnce) {
  // The clock stands still: only the file operations themselves can make the cache look again.
  FakeProfileClock clock;
  TempFolder dir;
  dir.WriteBytes("a.ini", "[S]\r\nk=old\r\n");
  const std::wstring path = dir.Win(L"a.ini");
  EXPECT_EQ(Read(path), L"old");

  platform::FileSystem& fs = platform::CurrentFileSystem();
  ASSERT_EQ(fs.Write(dir.Posix("a.ini"), "[S]\r\nk=written through the seam\r\n"), 0u);
  EXPECT_EQ(Read(path), L"written through the seam");

  dir.WriteBytes("b.ini", "[S]\r\nk=renamed\r\n");
  ASSERT_EQ(fs.Rename(dir.Posix("b.ini"), dir.Posix("a.ini"), true), 0u);
  EXPECT_EQ(Read(path), L"renamed");

  dir.WriteBytes("c.ini", "[S]\r\nk=copied\r\n");
  ASSERT_EQ(fs.Copy(dir.Posix("c.ini"), dir.Posix("a.ini"), false), 0u);
  EXPECT_EQ(Read(path), L"copied");

  ASSERT_EQ(fs.Delete(dir.Posix("a.ini")), 0u);
  EXPECT_EQ(Read(path, L"deleted"), L"deleted");

  dir.WriteBytes("d.ini", "[S]\r\nk=moved\r\n");
  ASSERT_TRUE(MoveFileW(dir.Win(L"d.ini").c_str(), path.c_str()));
  EXPECT_EQ(Read(path), L"moved");

  dir.WriteBytes("e.ini", "[S]\r\nk=copied by Win32\r\n");
  ASSERT_TRUE(CopyFileW(dir.Win(L"e.ini").c_str(), path.c_str(), FALSE));
  EXPECT_EQ(Read(path), L"copied by Win32");

  // A file written by the profile functions and then replaced through the seam.
  ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"k", L"cached", path.c_str()));
  ASSERT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str()));
  EXPECT_EQ(Read(path), L"cached");
  ASSERT_EQ(fs.Write(dir.Posix("a.ini"), "[S]\r\nk=replaced\r\n"), 0u);
  EXPECT_EQ(Read(path), L"replaced");
}

// Writes a value without flushing and leaves the process the ordinary way: the cache writes it
// while the process ends.
[[noreturn]] void WriteAndExit(const std::wstring& path) {
  if (!WritePrivateProfileStringW(L"設定", L"灯", L"電灯", path.c_str())) std::_Exit(2);
  std::exit(0);
}

TEST(ProfileCache, UnflushedWritesReachTheDiskAtExit) {
  TempFolder dir;
  const std::wstring path = dir.Win(L"exit.ini");
  // Nothing of this process may wait in the cache, or the child would write it too.
  ASSERT_EQ(platform::FlushProfileFiles(), 0u);
  // The child converts text first, as a program would have long before it ends.
  const std::string warm = platform::WideToCp932(L"電灯");
  ASSERT_EQ(warm, "\x93\x64\x93\x94");
  std::fflush(nullptr);
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) WriteAndExit(path);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal "
                                 << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  // [設定] 灯=電灯 in code page 932.
  EXPECT_EQ(dir.ReadBytes("exit.ini"), "[\x90\xdd\x92\xe8]\r\n\x93\x94=\x93\x64\x93\x94\r\n");
}

TEST(ProfileCache, WritesReachTheDiskBeforeOtherFileFunctions) {
  TempFolder dir;
  const std::wstring path = dir.Win(L"new.ini");
  ASSERT_TRUE(WritePrivateProfileStringW(L"S", L"k", L"v", path.c_str()));
  wchar_t buf[8];
  GetPrivateProfileStringW(L"s", L"K", L"", buf, 8, path.c_str());
  EXPECT_EQ(std::wstring(buf), L"v");
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(dir.Win(L"*.ini").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::wstring(data.cFileName), L"new.ini");
  EXPECT_EQ(data.nFileSizeLow, 10u);
  FindClose(h);
  EXPECT_EQ(dir.ReadBytes("new.ini"), "[S]\r\nk=v\r\n");
}

}  // namespace
