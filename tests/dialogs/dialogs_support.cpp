// A host session for the dialog tests: project files, steps, transcript events and list rows.
#include "dialogs_support.h"

#include <afxcmn.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win/text_encoding.h"
#include "platform/mfc/window_system.h"
#include "tools/harnex_session.h"

namespace dialogs_test {

void DialogSessionTest::SetUp() {
  std::string error;
  folder_ = tools::SystemFolderCopy::Create("", &error);
  ASSERT_NE(folder_, nullptr) << error;
  for (const auto& entry : std::filesystem::directory_iterator(ProjectPosix())) {
    std::filesystem::remove(entry.path());
  }
  host::Session::Options options = tools::HarnexSessionOptions();
  options.config_path = folder_->config_path();
  session_ = std::make_unique<host::Session>(options);
  ASSERT_TRUE(session_->Start());
  owner.CreateEx(0, L"AfxFrameOrView", L"", WS_POPUP | WS_VISIBLE, CRect(130, 70, 930, 670),
                 nullptr, 0);
}

void DialogSessionTest::TearDown() {
  owner.DestroyWindow();
  if (session_) {
    // A handler that left an object open (or any other host error) fails the test that ran it;
    // the message names the object. The windows close first, as at the end of a session, so
    // that their closing handlers are checked too.
    session_->CloseWindows();
    for (const auto& error : session_->host_errors()) {
      ADD_FAILURE() << "host error: " << platform::WideToUtf8(error);
    }
  }
  session_.reset();
  folder_.reset();
}

CString DialogSessionTest::ProjectFolder() const {
  std::wstring posix = platform::Utf8ToWide(ProjectPosix());
  std::replace(posix.begin(), posix.end(), L'/', L'\\');
  return CString(posix.c_str());
}

std::string DialogSessionTest::ProjectPosix(const std::wstring& file) const {
  std::string folder = folder_->system_folder() + "/プロジェクト";
  return file.empty() ? folder : folder + "/" + platform::WideToUtf8(file);
}

void DialogSessionTest::AddProject(const std::wstring& name, const std::wstring& created,
                                   const std::wstring& updated) {
  CString file = ProjectFolder() + L"\\" + name.c_str() + L".tpr";
  WritePrivateProfileStringW(L"PROJECT", L"NAME", name.c_str(), file);
  WritePrivateProfileStringW(L"PROJECT", L"CREATEDATE", created.c_str(), file);
  if (!updated.empty())
    WritePrivateProfileStringW(L"PROJECT", L"UPDATEDATE", updated.c_str(), file);
  WritePrivateProfileStringW(L"PROJECT", L"PATTERN-001", L"照明系", file);
  ASSERT_TRUE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, file)) << GetLastError();
}

std::vector<std::wstring> DialogSessionTest::ProjectFiles() const {
  std::vector<std::wstring> names;
  for (const auto& entry : std::filesystem::directory_iterator(ProjectPosix())) {
    names.push_back(platform::Utf8ToWide(entry.path().filename().string()));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::map<std::string, std::string> DialogSessionTest::Disk() const {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder_->root())) {
    std::string bytes;
    if (entry.is_regular_file()) {
      std::ifstream in(entry.path(), std::ios::binary);
      bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    files[entry.path().string()] = bytes;
  }
  return files;
}

std::string DialogSessionTest::Read(const std::wstring& file) const {
  std::ifstream in(ProjectPosix(file), std::ios::binary);
  if (!in) return "<missing>";
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void DialogSessionTest::Queue(std::vector<host::ScriptStep> steps) {
  session_->user().Add(std::move(steps));
}

std::vector<std::wstring> DialogSessionTest::Events() const {
  std::vector<std::wstring> events;
  std::wistringstream lines(session_->transcript());
  bool in_box = false;
  for (std::wstring line; std::getline(lines, line);) {
    if (line.starts_with(L"[")) {
      events.push_back(line);
      in_box = line.starts_with(L"[box ");
    } else if (in_box) {
      events.back() += L"\n" + line;  // a box text with "\n" goes on over several lines
    }
  }
  return events;
}

std::vector<std::wstring> DialogSessionTest::EventsSince(size_t count) const {
  std::vector<std::wstring> events = Events();
  events.erase(events.begin(), events.begin() + std::min(count, events.size()));
  return events;
}

std::vector<std::wstring> DialogSessionTest::Boxes() const {
  std::vector<std::wstring> boxes;
  for (const auto& e : Events()) {
    if (e.starts_with(L"[box ")) boxes.push_back(e);
  }
  return boxes;
}

void DialogSessionTest::ExpectAllStepsTaken() {
  EXPECT_EQ(session_->user().remaining(), 0u);
  EXPECT_EQ(session_->stop_reason(), L"");
}

std::ostream& operator<<(std::ostream& out, const ListRow& row) {
  return out << platform::WideToUtf8(row.name) << " | " << platform::WideToUtf8(row.created)
             << " | " << platform::WideToUtf8(row.updated) << (row.selected ? " (selected)" : "");
}

std::vector<ListRow> RowsOf(HWND list) {
  std::vector<ListRow> rows;
  const platform::mfc::WindowRecord* r = platform::mfc::FindWindowRecord(list);
  if (r == nullptr) return rows;
  for (const auto& item : r->items) {
    ListRow row{item.text, L"", L"", (item.state & LVIS_SELECTED) != 0};
    if (item.subitems.size() > 0) row.created = item.subitems[0];
    if (item.subitems.size() > 1) row.updated = item.subitems[1];
    rows.push_back(row);
  }
  return rows;
}

std::string OverlappingControls(HWND dialog) {
  std::string overlaps;
  const auto* d = platform::mfc::FindWindowRecord(dialog);
  for (size_t i = 0; d && i < d->children.size(); ++i) {
    for (size_t k = i + 1; k < d->children.size(); ++k) {
      const auto* a = platform::mfc::FindWindowRecord(d->children[i]);
      const auto* b = platform::mfc::FindWindowRecord(d->children[k]);
      CRect both;
      if (both.IntersectRect(&a->rect, &b->rect)) {
        overlaps += std::to_string(a->id) + " and " + std::to_string(b->id) + "; ";
      }
    }
  }
  return overlaps;
}

}  // namespace dialogs_test
