// AutoCAD's colour dialog answered by the scripted user's `colour` action, and acedUpdateDisplay.
#include "platform/acad/colour_dialog.h"

#include <string>

#include <aced.h>
#include "platform/win/user_session.h"

namespace platform::acad {
namespace {
int g_display_updates = 0;
}
int DisplayUpdateCount() {
  return g_display_updates;
}
void ResetDisplayUpdateCount() {
  g_display_updates = 0;
}
}  // namespace platform::acad

void acedUpdateDisplay() {
  ++platform::acad::g_display_updates;
}

bool acedSetColorDialog(int& nColor, Adesk::Boolean bAllowMetaColor, int /*nCurLayerColor*/) {
  using platform::ActionKind;
  platform::Wait wait;
  wait.kind = platform::WaitKind::kColour;
  wait.colour = nColor;
  wait.allow_meta = bAllowMetaColor;
  const platform::ScopedWait waiting(wait);
  const platform::UserAction* next = platform::PeekAction();
  if (next == nullptr) {
    // The input ended while the dialog was up: it is cancelled as every modal dialog is.
    platform::PrintEvent(L"[colour dialog] cancelled");
    return false;
  }
  const platform::UserAction action = *next;
  auto where = [&] {
    return action.line > 0 ? L"line " + std::to_wstring(action.line) + L": " : std::wstring();
  };
  if (action.kind != ActionKind::kColour) {
    platform::StopSession(platform::kExitScriptMismatch,
                          where() + action.Describe() + L" cannot answer the colour dialog");
    return false;
  }
  platform::TakeAction();
  if (action.numbers.empty()) {
    platform::PrintEvent(L"[colour dialog] cancelled");
    return false;
  }
  const int index = action.numbers.front();
  const bool meta = index == 0 || index == 256;
  if ((meta && !bAllowMetaColor) || index < 0 || index > 256) {
    // The dialog has no such colour to click: the script asks for something impossible.
    platform::StopSession(platform::kExitScriptMismatch,
                          where() + L"the colour dialog has no colour " + std::to_wstring(index));
    return false;
  }
  nColor = index;
  platform::PrintEvent(L"[colour dialog] " + std::to_wstring(index));
  return true;
}
