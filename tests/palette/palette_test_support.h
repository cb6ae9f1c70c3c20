// A host session with Harnex loaded on a copy of the example system folder, for the palette's
// scenario tests: scripts run as a user would type them, and what the palette, the transcript and
// the project folder hold afterwards.
#pragma once

#include <gtest/gtest.h>

#include <afx.h>

#include <memory>
#include <string>
#include <vector>

#include "host/session/session.h"
#include "tools/system_folder.h"

class CMainDlg;

namespace palette_test {

class PaletteSessionTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the session (after the test has prepared the folder).
  void Start();
  // Runs script text (one action a line); the result is the session's exit status.
  int Run(const std::wstring& script);
  // The message boxes of the transcript ("[box icon] text → answer") and the dialogs opened
  // ("[dialog id caption]"), in order, since the last ClearTranscript.
  std::vector<std::wstring> Boxes() const { return EventsStartingWith(L"[box "); }
  std::vector<std::wstring> Dialogs() const { return EventsStartingWith(L"[dialog "); }
  std::vector<std::wstring> EventsStartingWith(const wchar_t* prefix) const;
  void ClearTranscript() { session_->ClearTranscript(); }
  const std::wstring& Transcript() const { return session_->transcript(); }
  std::wstring StopReason() const { return session_->stop_reason(); }

  // The project folder in the Windows form, and a project file's path in it.
  CString ProjectFolder() const;
  CString ProjectFile(const std::wstring& name) const;
  bool ProjectExists(const std::wstring& name) const;
  void RemoveProject(const std::wstring& name) const;
  // A value of a project file or of LastProj.ini ("" when missing).
  std::wstring ProfileValue(const CString& file, const wchar_t* section, const wchar_t* key) const;
  std::wstring LastProject(const wchar_t* key) const;
  void SetLastProject(const wchar_t* key, const wchar_t* value) const;
  // Writes a project of `patterns` patterns named P01, P02 ..., each with one row.
  void WriteProject(const std::wstring& name, int patterns) const;

  // The palette and its controls.
  static CMainDlg* Palette();
  static std::wstring ControlText(int id);
  static bool IsChecked(int id);
  static bool IsEnabled(int id);
  // The items of a combo box.
  static std::vector<std::wstring> Items(int id);

  host::Session& session() { return *session_; }

 private:
  std::unique_ptr<tools::SystemFolderCopy> folder_;
  std::unique_ptr<host::Session> session_;
};

}  // namespace palette_test
