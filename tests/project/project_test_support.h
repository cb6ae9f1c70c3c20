// Shared pieces of the project tests: a temporary system folder with its project folder, the
// message boxes of a save, a fixed clock and patterns built row by row.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "project/pattern_data.h"
#include "project/project_model.h"
#include "platform/win/user_session.h"

namespace projecttest {

// A temporary folder holding "system/プロジェクト", removed with everything in it at the end.
class TempProjectFolder {
 public:
  TempProjectFolder();
  ~TempProjectFolder();
  TempProjectFolder(const TempProjectFolder&) = delete;
  TempProjectFolder& operator=(const TempProjectFolder&) = delete;

  // The project folder in the Windows form that Harnex builds ("...\system\プロジェクト").
  CString Win() const;
  // POSIX paths (UTF-8) of the temporary root and of a file of the project folder.
  const std::string& Root() const { return root_; }
  std::string Posix(const std::string& name) const;
  // A file of the project folder through the file-system seam (so that the profile cache sees
  // the change); Read gives "<missing>" for a file that cannot be read.
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;
  bool Exists(const std::string& name) const;
  // Every path below the root, sorted: what a test compares to see that nothing appeared.
  std::vector<std::string> Tree() const;

 private:
  std::string root_;
};

// Installs a session that answers every message box with OK and keeps the transcript, in which
// a box shows as "[box stop] TEXT → OK".
class MessageLog {
 public:
  MessageLog();
  ~MessageLog();
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;

  std::wstring Text() const { return session_.transcript(); }
  void Clear() { session_.ClearTranscript(); }
  // True when the stop box "ファイル書込みエラー(code)" was shown.
  bool HasWriteError(unsigned long code) const;

 private:
  platform::ActionQueueSession session_;
  platform::ScopedUserSession scoped_;
};

// Fixes the local time for as long as it lives.
class FixedClock {
 public:
  FixedClock(int year, int month, int day, int hour, int minute, int second);
  ~FixedClock();
  FixedClock(const FixedClock&) = delete;
  FixedClock& operator=(const FixedClock&) = delete;
  void Set(int year, int month, int day, int hour, int minute, int second);
};

// One row's nine values in column order; onRack as a number.
struct Row {
  const wchar_t* kouji = L"";
  const wchar_t* keitou = L"";
  const wchar_t* ban = L"";
  const wchar_t* hsize1 = L"";
  const wchar_t* hsize2 = L"";
  const wchar_t* hsize3 = L"";
  const wchar_t* hsize4 = L"";
  int onRack = 0;
  const wchar_t* memo = L"";
};

// A pattern whose rows 0, 1, ... are `rows`.
std::unique_ptr<PatternData> MakePattern(const wchar_t* name, int type, int pipeSel,
                                         const std::vector<Row>& rows);
// A pattern with all 100 rows filled with distinct values.
std::unique_ptr<PatternData> MakeFullPattern(const wchar_t* name);
// Sets row `row` of a pattern.
void SetRow(PatternData& pattern, int row, const Row& values);

// A readable difference between two patterns ("" when they hold the same name, type, conduit
// selection and row values; check flags are not compared).
std::string PatternDifference(const PatternData& a, const PatternData& b);

// Code page 932 bytes of a text, as the stand-in encodes it (for expected file contents).
std::string Cp932(const std::wstring& text);
// UTF-8 of a wide text, for messages.
std::string Utf8(const std::wstring& text);

// A value of the saved file `file` in `dir`, read with the Windows profile function; "<none>"
// when missing.
std::wstring Key(const TempProjectFolder& dir, const wchar_t* file, const wchar_t* section,
                 const wchar_t* key);

// A project model on a temporary project folder, with the save's message boxes recorded and
// the clock fixed at 2016/04/01 09:30:00.
class ProjectFileTest : public ::testing::Test {
 protected:
  ProjectFileTest() : clock_(2016, 4, 1, 9, 30, 0), project_(dir_.Win()) {}

  TempProjectFolder dir_;
  MessageLog log_;
  FixedClock clock_;
  ProjectModel project_;
};

}  // namespace projecttest
