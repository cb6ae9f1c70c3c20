// The clipboard of the process and the Win32 clipboard and global-memory functions over it.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/mfc/window_state.h"
#include "platform/mfc/window_system.h"

namespace platform::mfc {

Clipboard& Clip() {
  static Clipboard c;
  return c;
}

std::wstring ClipboardText() {
  auto it = Clip().data.find(CF_UNICODETEXT);
  if (it == Clip().data.end()) return L"";
  return std::wstring(reinterpret_cast<const wchar_t*>(it->second.data()));
}

void SetClipboardText(const std::wstring& text) {
  std::vector<char> bytes((text.size() + 1) * sizeof(wchar_t));
  std::memcpy(bytes.data(), text.c_str(), bytes.size());
  Clip().data.clear();
  Clip().data[CF_UNICODETEXT] = std::move(bytes);
}

}  // namespace platform::mfc

BOOL OpenClipboard(HWND) {
  if (platform::mfc::Clip().open) return FALSE;
  platform::mfc::Clip().open = true;
  return TRUE;
}

BOOL CloseClipboard() {
  bool was = platform::mfc::Clip().open;
  platform::mfc::Clip().open = false;
  return was;
}

BOOL EmptyClipboard() {
  if (!platform::mfc::Clip().open) return FALSE;
  platform::mfc::Clip().data.clear();
  return TRUE;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  auto& data = platform::mfc::Clip().data;
  // Windows converts between its text formats on demand.
  if (format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT) {
    return data.count(CF_TEXT) || data.count(CF_UNICODETEXT) || data.count(CF_OEMTEXT);
  }
  return data.count(format) > 0;
}

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  auto block = std::make_unique<std::vector<char>>(bytes, 0);
  HGLOBAL h = block->data() ? static_cast<HGLOBAL>(block.get()) : nullptr;
  if (!h) return nullptr;
  platform::mfc::Clip().blocks[h] = std::move(block);
  return h;
}

LPVOID GlobalLock(HGLOBAL h) {
  auto& blocks = platform::mfc::Clip().blocks;
  auto it = blocks.find(h);
  return it == blocks.end() ? nullptr : it->second->data();
}

BOOL GlobalUnlock(HGLOBAL) {
  return FALSE;
}

HGLOBAL GlobalFree(HGLOBAL h) {
  platform::mfc::Clip().blocks.erase(h);
  return nullptr;
}

SIZE_T GlobalSize(HGLOBAL h) {
  auto& blocks = platform::mfc::Clip().blocks;
  auto it = blocks.find(h);
  return it == blocks.end() ? 0 : it->second->size();
}

HANDLE GetClipboardData(UINT format) {
  auto& clip = platform::mfc::Clip();
  if (!clip.open) return nullptr;
  std::wstring text;
  if (format == CF_UNICODETEXT && !clip.data.count(CF_UNICODETEXT) && clip.data.count(CF_TEXT)) {
    const auto& bytes = clip.data[CF_TEXT];
    text = platform::mfc::WidenNarrow(bytes.data(), std::strlen(bytes.data()));
    platform::mfc::SetClipboardText(text);
  }
  auto it = clip.data.find(format);
  if (it == clip.data.end()) return nullptr;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, it->second.size());
  std::memcpy(GlobalLock(h), it->second.data(), it->second.size());
  return h;
}

HANDLE SetClipboardData(UINT format, HANDLE hMem) {
  auto& clip = platform::mfc::Clip();
  if (!clip.open) return nullptr;
  auto it = clip.blocks.find(hMem);
  if (it == clip.blocks.end()) return nullptr;
  clip.data[format] = *it->second;
  clip.blocks.erase(it);
  return hMem;
}
