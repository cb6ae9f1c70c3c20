// Shared pieces of the master-list tests.
#include "project/master_lists_test_support.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>

#include "platform/win/text_encoding.h"
#include "platform/mfc/window_system.h"
#include <windows.h>

namespace masterlisttest {

namespace fs = std::filesystem;

namespace {

std::string Joined(const std::vector<std::wstring>& lines) {
  std::wstring text;
  for (const std::wstring& line : lines) text += line + L"\r\n";
  return platform::WideToUtf8(text);
}

}  // namespace

TempSystemFolder::TempSystemFolder() {
  std::string pattern = (fs::temp_directory_path() / "harnex-lists-XXXXXX").string();
  root_ = mkdtemp(pattern.data()) ? pattern : "";
  fs::create_directories(root_ + "/system");
  SetSystemValue(SystemWin());
}

TempSystemFolder::~TempSystemFolder() {
  platform::FlushProfileFiles();
  std::error_code ec;
  fs::remove_all(root_, ec);
}

std::wstring TempSystemFolder::SystemWin() const {
  std::wstring path = platform::Utf8ToWide(root_ + "/system");
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

std::wstring TempSystemFolder::ConfigPath() const {
  return platform::Utf8ToWide(root_ + "/harnex.ini");
}

void TempSystemFolder::SetSystemValue(const std::wstring& value) const {
  const std::wstring text = L"[環境設定]\r\nｼｽﾃﾑ=" + value + L"\r\n";
  platform::WriteFileBytes(ConfigPath().c_str(), platform::WideToCp932(text));
}

void TempSystemFolder::WriteBytes(const std::string& relative, const std::string& bytes) const {
  const fs::path path = fs::path(root_) / "system" / relative;
  fs::create_directories(path.parent_path());
  platform::WriteFileBytes(platform::Utf8ToWide(path.string()).c_str(), bytes);
}

void TempSystemFolder::WriteCp932(const std::string& relative,
                                  const std::vector<std::wstring>& lines) const {
  std::wstring text;
  for (const std::wstring& line : lines) text += line + L"\r\n";
  WriteBytes(relative, platform::WideToCp932(text));
}

void TempSystemFolder::WriteUtf8(const std::string& relative,
                                 const std::vector<std::wstring>& lines) const {
  WriteBytes(relative, Joined(lines));
}

void TempSystemFolder::Remove(const std::string& relative) const {
  std::error_code ec;
  fs::remove(fs::path(root_) / "system" / relative, ec);
}

ComboBoxSet::ComboBoxSet(int count, int firstId, DWORD style) {
  frame_.Create(L"Frame", L"", WS_VISIBLE, CRect(0, 0, 400, 600), nullptr, 0);
  for (int i = 0; i < count; ++i) {
    auto box = std::make_unique<CComboBox>();
    box->Create(WS_CHILD | WS_VISIBLE | style, CRect(0, 20 * i, 120, 20 * i + 18), &frame_,
                firstId + i);
    boxes_.push_back(std::move(box));
  }
}

ComboBoxSet::~ComboBoxSet() {
  boxes_.clear();
  frame_.DestroyWindow();
  platform::mfc::ResetWindowSystem();
}

std::vector<CComboBox*> ComboBoxSet::Pointers() const {
  std::vector<CComboBox*> pointers;
  for (const auto& box : boxes_) pointers.push_back(box.get());
  return pointers;
}

std::vector<std::wstring> Items(const CComboBox& box) {
  std::vector<std::wstring> items;
  for (int i = 0; i < box.GetCount(); ++i) {
    CString text;
    box.GetLBText(i, text);
    items.emplace_back(text.GetString());
  }
  return items;
}

std::wstring Shown(const CComboBox& box) {
  CString text;
  box.GetWindowText(text);
  return text.GetString();
}

void Prepare(CComboBox& box, const std::vector<std::wstring>& items, const std::wstring& shown) {
  box.ResetContent();
  for (const std::wstring& item : items) box.AddString(item.c_str());
  const int at = box.FindStringExact(-1, shown.c_str());
  if (at != CB_ERR && !shown.empty()) {
    box.SetCurSel(at);
  } else {
    box.SetWindowText(shown.c_str());
  }
}

}  // namespace masterlisttest
