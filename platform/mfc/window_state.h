// What the files of the headless window system share: the process's window records and
// posted messages, and its clipboard. Only the window system's own files include it.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/mfc/window_system.h"

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

// Small facts about a window record that the class procedures share.
bool IsCombo(const WindowRecord& r);
DWORD ComboKind(const WindowRecord& r);  // CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST
int Len(const std::wstring& s);
// Replaces an edit's (or a combo box's edit part's) text and puts the caret at its start.
void SetEditText(WindowRecord& r, std::wstring text);

// The class procedure of list boxes, combo boxes and combo boxes' drop lists; *handled is false
// for messages it leaves to the common window behaviour.
LRESULT ListProc(HWND h, WindowRecord& r, UINT msg, WPARAM wp, LPARAM lp, bool* handled);

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
