// Shared pieces of the project tests.
#include "project/project_test_support.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "platform/win/file_system.h"
#include "platform/win/text_encoding.h"
#include <windows.h>

namespace projecttest {

namespace fs = std::filesystem;

TempProjectFolder::TempProjectFolder() {
  std::string pattern = (fs::temp_directory_path() / "harnex-project-XXXXXX").string();
  root_ = mkdtemp(pattern.data()) ? pattern : "";
  fs::create_directories(root_ + "/system/プロジェクト");
}

TempProjectFolder::~TempProjectFolder() {
  platform::FlushProfileFiles();
  std::error_code ec;
  fs::remove_all(root_, ec);
}

CString TempProjectFolder::Win() const {
  std::wstring path = platform::Utf8ToWide(root_ + "/system/プロジェクト");
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return CString(path);
}

std::string TempProjectFolder::Posix(const std::string& name) const {
  return root_ + "/system/プロジェクト/" + name;
}

void TempProjectFolder::Write(const std::string& name, const std::string& bytes) const {
  const std::wstring path = std::wstring(Win().GetString()) + L"\\" + platform::Utf8ToWide(name);
  platform::WriteFileBytes(path.c_str(), bytes);
}

std::string TempProjectFolder::Read(const std::string& name) const {
  platform::FlushProfileFiles();
  std::string bytes;
  if (platform::DiskFileSystem().Read(Posix(name), &bytes) != ERROR_SUCCESS) return "<missing>";
  return bytes;
}

bool TempProjectFolder::Exists(const std::string& name) const {
  platform::FlushProfileFiles();
  return fs::exists(Posix(name));
}

std::vector<std::string> TempProjectFolder::Tree() const {
  platform::FlushProfileFiles();
  std::vector<std::string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(root_))
    paths.push_back(entry.path().string().substr(root_.size()));
  std::sort(paths.begin(), paths.end());
  return paths;
}

MessageLog::MessageLog() : scoped_(&session_) {
  // Every box of a save has only OK: an empty queue acknowledges it.
}

MessageLog::~MessageLog() = default;

bool MessageLog::HasWriteError(unsigned long code) const {
  const std::wstring line = L"[box stop] ファイル書込みエラー(" + std::to_wstring(code) + L") → OK";
  return Text().find(line) != std::wstring::npos;
}

FixedClock::FixedClock(int year, int month, int day, int hour, int minute, int second) {
  Set(year, month, day, hour, minute, second);
}

FixedClock::~FixedClock() {
  platform::SetClockForTesting(nullptr);
}

void FixedClock::Set(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME t = {};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  t.wSecond = static_cast<WORD>(second);
  platform::SetClockForTesting(&t);
}

void SetRow(PatternData& pattern, int row, const Row& values) {
  pattern.kouji[row] = values.kouji;
  pattern.keitou[row] = values.keitou;
  pattern.ban[row] = values.ban;
  pattern.hsize1[row] = values.hsize1;
  pattern.hsize2[row] = values.hsize2;
  pattern.hsize3[row] = values.hsize3;
  pattern.hsize4[row] = values.hsize4;
  pattern.onRack[row] = values.onRack;
  pattern.memo[row] = values.memo;
}

std::unique_ptr<PatternData> MakePattern(const wchar_t* name, int type, int pipeSel,
                                         const std::vector<Row>& rows) {
  auto pattern = std::make_unique<PatternData>();
  pattern->name = name;
  pattern->type = type;
  pattern->pipeSel = pipeSel;
  for (size_t i = 0; i < rows.size() && i < kPatternRows; ++i)
    SetRow(*pattern, static_cast<int>(i), rows[i]);
  return pattern;
}

std::unique_ptr<PatternData> MakeFullPattern(const wchar_t* name) {
  auto pattern = std::make_unique<PatternData>();
  pattern->name = name;
  pattern->type = kPatternTypeGeneral;
  pattern->pipeSel = kConduitOutdoor;
  for (int row = 0; row < kPatternRows; ++row) {
    const std::wstring n = std::to_wstring(row + 1);
    pattern->kouji[row] = (L"電灯" + n).c_str();
    pattern->keitou[row] = (L"L-" + n).c_str();
    pattern->ban[row] = (L"分電盤" + n + L",L-" + n + L"b").c_str();
    pattern->hsize1[row] = (L"CV5.5sq-" + n).c_str();
    pattern->hsize2[row] = (L"E" + n).c_str();
    pattern->hsize3[row] = (L"G" + n).c_str();
    pattern->hsize4[row] = (L"FEP" + n).c_str();
    pattern->onRack[row] = row % 2;
    pattern->memo[row] = (L"ﾒﾓ" + n).c_str();
  }
  return pattern;
}

std::string PatternDifference(const PatternData& a, const PatternData& b) {
  std::ostringstream out;
  if (a.name != b.name)
    out << "name " << Utf8(a.name.str()) << " vs " << Utf8(b.name.str()) << "; ";
  if (a.type != b.type) out << "type " << a.type << " vs " << b.type << "; ";
  if (a.pipeSel != b.pipeSel) out << "pipeSel " << a.pipeSel << " vs " << b.pipeSel << "; ";
  for (int row = 0; row < kPatternRows; ++row) {
    for (int c = 0; c < kPatternColumns; ++c) {
      const PatternColumn column = PatternColumn(c);
      if (column == kColumnOnRack) {
        if (a.onRack[row] != b.onRack[row])
          out << "row " << row << " ONRACK " << a.onRack[row] << " vs " << b.onRack[row] << "; ";
      } else if (a.Text(column, row) != b.Text(column, row)) {
        out << "row " << row << " " << Utf8(PatternColumnKey(column)) << " "
            << Utf8(a.Text(column, row).str()) << " vs " << Utf8(b.Text(column, row).str()) << "; ";
      }
    }
  }
  return out.str();
}

std::string Cp932(const std::wstring& text) {
  return platform::WideToCp932(text);
}

std::string Utf8(const std::wstring& text) {
  return platform::WideToUtf8(text);
}

std::wstring Key(const TempProjectFolder& dir, const wchar_t* file, const wchar_t* section,
                 const wchar_t* key) {
  wchar_t value[1024];
  const CString path = dir.Win() + L"\\" + file;
  GetPrivateProfileStringW(section, key, L"<none>", value, 1024, path);
  return value;
}

}  // namespace projecttest
