// Shared helpers of the editing controls' tests: a window to put controls in that records what is
// posted to it, a scripted user, and reading the transcript's menu lines.
#pragma once

#include <gtest/gtest.h>

#include <afxwin.h>

#include <string>
#include <vector>

#include "platform/win/user_session.h"

namespace controls_test {

// A top-level window at (100, 50), 400 × 300, that keeps the private messages (WM_USER and up)
// it receives, in order.
class OwnerWindow : public CWnd {
 public:
  struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  std::vector<Received> received;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The user opens the context menu of the owner's control `id` and picks `item` (its text, with
  // or without the mnemonic). False when no window took the action.
  bool PickFromMenu(int id, const std::wstring& item);
  // The transcript's "[menu ...]" lines, in order.
  std::vector<std::wstring> MenuLines() const;

  platform::ActionQueueSession session;
  OwnerWindow owner;

 private:
  platform::ScopedUserSession use_{&session};
};

// "[menu 7] A | - | B (greyed) → Esc" → {"B"}: the texts of the greyed items of a menu line.
std::vector<std::wstring> GreyedItems(const std::wstring& menu_line);

}  // namespace controls_test
