// What the files of the headless window system share: the process's window records and
// posted messages, and its clipboard. Only the window system's own files include it.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "window_system.h"

namespace platform::mfc {

struct WindowState {
  std::unordered_map<HWND, std::unique_ptr<WindowRecord>> windows;
  std::vector<HWND> order;  // creation order
  std::deque<MSG> posted;
  HWND focus = nullptr;
  uintptr_t next_handle = 0x10000;
};

// The one window state of the process.
WindowState& S();

// The clipboard of the process: open or not, its data by format, and the memory blocks handed
// out by GlobalAlloc.
struct Clipboard {
  bool open = false;
  std::map<UINT, std::vector<char>> data;
  std::map<HGLOBAL, std::unique_ptr<std::vector<char>>> blocks;
};
Clipboard& Clip();

// The clipboard's CF_UNICODETEXT, empty when it has none; SetClipboardText replaces everything
// on it with `text`.
std::wstring ClipboardText();
void SetClipboardText(const std::wstring& text);

}  // namespace platform::mfc
