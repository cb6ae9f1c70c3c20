// The program's side of the end of a session: the notices it sends the palette.
#include "cli/session_end.h"

#include <windows.h>

#include <iterator>

#include "palette/recovery_notice.h"
#include "platform/mfc/window_system.h"
#include "platform/win/win_path.h"
#include "resources/palette_ids.h"

namespace cli {
namespace {

HWND PaletteWindow() {
  for (HWND window : platform::mfc::AllWindows()) {
    const platform::mfc::WindowRecord* record = platform::mfc::FindWindowRecord(window);
    if (record != nullptr && record->template_id == IDD_PALETTE) return window;
  }
  return nullptr;
}

}  // namespace

bool PaletteIsOpen() {
  return PaletteWindow() != nullptr;
}

bool PaletteHasUnsavedEdits() {
  HWND palette = PaletteWindow();
  return palette != nullptr &&
         SendMessageW(palette, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP) == FALSE;
}

bool WritePaletteRecovery(std::string* path, std::wstring* error) {
  error->clear();
  HWND palette = PaletteWindow();
  if (palette == nullptr) return false;
  wchar_t buffer[MAX_PATH * 4] = {};
  const LRESULT result = SendMessageW(palette, RegisterWindowMessageW(kRecoveryNoticeName),
                                      std::size(buffer), reinterpret_cast<LPARAM>(buffer));
  switch (result) {
    case kRecoveryWritten:
      *path = platform::ResolvePath(buffer).posix;
      return true;
    case kRecoveryNotWritten:
      *error = L"cannot write the recovery file " + std::wstring(buffer);
      return false;
    case kRecoveryNoFreeName:
      *error = L"no free name for a recovery file beside " + std::wstring(buffer);
      return false;
    default:
      return false;
  }
}

}  // namespace cli
