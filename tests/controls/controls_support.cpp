// Shared helpers of the editing controls' tests.
#include "controls_support.h"

#include <sstream>

#include "platform/mfc/window_system.h"

namespace controls_test {

LRESULT OwnerWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER) received.push_back({message, wParam, lParam});
  return CWnd::WindowProc(message, wParam, lParam);
}

void ControlTest::SetUp() {
  ASSERT_TRUE(owner.CreateEx(0, L"Owner", L"", WS_VISIBLE, CRect(100, 50, 500, 350), nullptr, 0));
  platform::mfc::SetPaletteWindow(&owner);
}

void ControlTest::TearDown() {
  platform::mfc::ResetWindowSystem();
}

bool ControlTest::PickFromMenu(int id, const std::wstring& item) {
  platform::UserAction action;
  action.kind = platform::ActionKind::kMenu;
  action.control = id;
  action.text = item;
  action.line = 1;
  return platform::DeliverWindowAction(action);
}

std::vector<std::wstring> ControlTest::MenuLines() const {
  std::vector<std::wstring> lines;
  std::wistringstream in(session.transcript());
  for (std::wstring line; std::getline(in, line);) {
    if (line.starts_with(L"[menu")) lines.push_back(line);
  }
  return lines;
}

std::vector<std::wstring> GreyedItems(const std::wstring& menu_line) {
  std::wstring items = menu_line.substr(menu_line.find(L']') + 1);
  items = items.substr(0, items.rfind(L" → "));
  std::vector<std::wstring> greyed;
  const std::wstring mark = L" (greyed)";
  size_t start = 0;
  while (start <= items.size()) {
    size_t end = items.find(L" | ", start);
    if (end == std::wstring::npos) end = items.size();
    std::wstring item = items.substr(start, end - start);
    while (!item.empty() && item.front() == L' ') item.erase(item.begin());
    if (item.ends_with(mark)) greyed.push_back(item.substr(0, item.size() - mark.size()));
    start = end + 3;
  }
  return greyed;
}

}  // namespace controls_test
