// The palette's scenario tests: a session on a copy of the example system folder.
#include "palette_test_support.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "app/harnex_module.h"
#include "palette/main_dialog.h"
#include "resources/resource.h"
#include "platform/win/text_encoding.h"
#include "platform/mfc/window_system.h"
#include "tools/harnex_session.h"

namespace palette_test {

void PaletteSessionTest::SetUp() {
  std::string error;
  folder_ = tools::SystemFolderCopy::Create("", &error);
  ASSERT_NE(folder_, nullptr) << error;
}

void PaletteSessionTest::Start() {
  host::Session::Options options = tools::HarnexSessionOptions();
  options.config_path = folder_->config_path();
  session_ = std::make_unique<host::Session>(options);
  ASSERT_TRUE(session_->Start());
}

void PaletteSessionTest::TearDown() {
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

int PaletteSessionTest::Run(const std::wstring& script) {
  return session_->RunScript(script);
}

std::vector<std::wstring> PaletteSessionTest::EventsStartingWith(const wchar_t* prefix) const {
  std::vector<std::wstring> events;
  std::wistringstream lines(session_->transcript());
  for (std::wstring line; std::getline(lines, line);) {
    if (line.starts_with(prefix)) events.push_back(line);
  }
  return events;
}

CString PaletteSessionTest::ProjectFolder() const {
  std::wstring path = platform::Utf8ToWide(folder_->system_folder() + "/プロジェクト");
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return CString(path.c_str());
}

CString PaletteSessionTest::ProjectFile(const std::wstring& name) const {
  return ProjectFolder() + L"\\" + name.c_str() + L".tpr";
}

bool PaletteSessionTest::ProjectExists(const std::wstring& name) const {
  return GetFileAttributesW(ProjectFile(name)) != INVALID_FILE_ATTRIBUTES;
}

void PaletteSessionTest::RemoveProject(const std::wstring& name) const {
  ASSERT_TRUE(DeleteFileW(ProjectFile(name))) << GetLastError();
}

std::wstring PaletteSessionTest::ProfileValue(const CString& file, const wchar_t* section,
                                              const wchar_t* key) const {
  wchar_t buffer[512] = {};
  GetPrivateProfileStringW(section, key, L"", buffer, 512, file);
  return buffer;
}

std::wstring PaletteSessionTest::LastProject(const wchar_t* key) const {
  return ProfileValue(ProjectFolder() + L"\\LastProj.ini", L"KORMAN_CABLIX", key);
}

void PaletteSessionTest::SetLastProject(const wchar_t* key, const wchar_t* value) const {
  const CString file = ProjectFolder() + L"\\LastProj.ini";
  WritePrivateProfileStringW(L"KORMAN_CABLIX", key, value, file);
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file);
}

void PaletteSessionTest::WriteProject(const std::wstring& name, int patterns) const {
  const CString file = ProjectFile(name);
  WritePrivateProfileStringW(L"PROJECT", L"NAME", name.c_str(), file);
  for (int i = 1; i <= patterns; ++i) {
    CString key, pattern;
    key.Format(L"PATTERN-%03d", i);
    pattern.Format(L"P%02d", i);
    WritePrivateProfileStringW(L"PROJECT", key, pattern, file);
    WritePrivateProfileStringW(key, L"TYPE", L"幹線", file);
    WritePrivateProfileStringW(key, L"KEITOU-001", pattern, file);
  }
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file);
}

CMainDlg* PaletteSessionTest::Palette() {
  return PaletteInstance;
}

std::wstring PaletteSessionTest::ControlText(int id) {
  CString text;
  if (PaletteInstance) PaletteInstance->GetDlgItemText(id, text);
  return text.GetString();
}

bool PaletteSessionTest::IsChecked(int id) {
  return PaletteInstance && PaletteInstance->IsDlgButtonChecked(id) == BST_CHECKED;
}

bool PaletteSessionTest::IsEnabled(int id) {
  return PaletteInstance && ::IsWindowEnabled(::GetDlgItem(PaletteInstance->m_hWnd, id));
}

std::vector<std::wstring> PaletteSessionTest::Items(int id) {
  std::vector<std::wstring> items;
  if (!PaletteInstance) return items;
  const auto* r = platform::mfc::FindWindowRecord(::GetDlgItem(PaletteInstance->m_hWnd, id));
  if (r) {
    for (const auto& item : r->items) items.push_back(item.text);
  }
  return items;
}

}  // namespace palette_test
