// A host session with Harnex loaded on a copy of the system folder, for the tests of the project
// list and name dialogs: project files made in the project folder, dialogs run modally against
// the scripted user's steps, and what the user saw (boxes, dialogs, list rows) read back.
#pragma once

#include <gtest/gtest.h>

#include <afxwin.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/session/session.h"
#include "tools/system_folder.h"

namespace dialogs_test {

class DialogSessionTest : public ::testing::Test {
 protected:
  // Starts the session on an empty project folder and makes the window the dialogs are opened
  // over: a top-level window at (130, 70)-(930, 670).
  void SetUp() override;
  void TearDown() override;

  // The project folder, Windows form and POSIX (UTF-8).
  CString ProjectFolder() const;
  std::string ProjectPosix(const std::wstring& file = L"") const;
  // Writes "<name>.tpr" through the profile functions: NAME, CREATEDATE, and UPDATEDATE when
  // `updated` is not empty, and one pattern key.
  void AddProject(const std::wstring& name, const std::wstring& created,
                  const std::wstring& updated = L"");
  // The names of the files of the project folder, sorted.
  std::vector<std::wstring> ProjectFiles() const;
  // Every file below the session's root with its bytes: what must not change.
  std::map<std::string, std::string> Disk() const;
  std::string Read(const std::wstring& file) const;

  // Queues the user's steps; the next modal dialog takes them.
  void Queue(std::vector<host::ScriptStep> steps);
  // The window events of the transcript ("[...]" lines, a box's text with its line breaks), in
  // order.
  std::vector<std::wstring> Events() const;
  // Those after the first `count`.
  std::vector<std::wstring> EventsSince(size_t count) const;
  // Only the message boxes among them.
  std::vector<std::wstring> Boxes() const;
  // The session took every step and did not stop.
  void ExpectAllStepsTaken();

  CWnd owner;

 private:
  std::unique_ptr<tools::SystemFolderCopy> folder_;
  std::unique_ptr<host::Session> session_;
};

// One row of a list view: its texts and whether it is selected.
struct ListRow {
  std::wstring name, created, updated;
  bool selected = false;
  bool operator==(const ListRow&) const = default;
};
std::ostream& operator<<(std::ostream& out, const ListRow& row);
std::vector<ListRow> RowsOf(HWND list);

// Pairs of child windows of `dialog` whose rectangles overlap ("" when none do).
std::string OverlappingControls(HWND dialog);

}  // namespace dialogs_test
