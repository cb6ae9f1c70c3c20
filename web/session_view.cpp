// The session's view for the page: what waits, the prompt and the windows.
#include "web/session_view.h"

#include <acui.h>
#include "host/user/typed_line.h"
#include "platform/mfc/window_system.h"
#include "platform/win/text_encoding.h"
#include "platform/win/user_session.h"
#include "web/window_view.h"

namespace web {
namespace {

using platform::WaitKind;

const char* KindName(WaitKind kind) {
  switch (kind) {
    case WaitKind::kCommandPrompt:
      return "command";
    case WaitKind::kPrompt:
      return "prompt";
    case WaitKind::kDialog:
      return "dialog";
    case WaitKind::kBox:
      return "box";
    case WaitKind::kMenu:
      return "menu";
    case WaitKind::kColour:
      return "colour";
  }
  return "command";
}

nlohmann::json MenuView(const platform::mfc::OpenMenuView& menu) {
  nlohmann::json items = nlohmann::json::array();
  for (const auto& item : menu.items) {
    items.push_back({{"text", platform::WideToUtf8(item.text)},
                     {"label", platform::WideToUtf8(platform::mfc::StripMnemonic(item.text))},
                     {"greyed", item.greyed},
                     {"separator", item.separator}});
  }
  // The window whose template an action names: the owner's dialog.
  HWND window = ::GetParent(menu.owner);
  const platform::mfc::WindowRecord* r = platform::mfc::FindWindowRecord(window);
  return {{"ctrl", ::GetDlgCtrlID(menu.owner)},
          {"window", r != nullptr ? r->template_id : 0},
          {"x", menu.at.x},
          {"y", menu.at.y},
          {"items", std::move(items)}};
}

nlohmann::json ColourView(const platform::Wait& wait) {
  nlohmann::json table = nlohmann::json::array();
  for (int i = 0; i < 256; ++i) {
    table.push_back(HtmlColour(CAcUiColorComboBox::GetColorFromIndex(i)));
  }
  return {{"colour", wait.colour}, {"allow_meta", wait.allow_meta}, {"table", std::move(table)}};
}

}  // namespace

nlohmann::json SessionView(const std::wstring& transcript) {
  const platform::Wait wait = platform::CurrentWait();
  nlohmann::json view;
  view["wait"] = {{"kind", KindName(wait.kind)}};
  if (wait.kind == WaitKind::kPrompt) view["wait"]["input"] = wait.input.empty() ? "value" : wait.input;
  if (wait.kind == WaitKind::kBox) {
    nlohmann::json answers = nlohmann::json::array();
    for (const auto& a : host::BoxAnswers(wait.box_type))
      answers.push_back(platform::WideToUtf8(a));
    view["box"] = {{"text", platform::WideToUtf8(wait.text)},
                   {"icon", platform::WideToUtf8(platform::mfc::MessageBoxIconName(wait.box_type))},
                   {"answers", std::move(answers)}};
  }
  if (wait.kind == WaitKind::kMenu) {
    if (const platform::mfc::OpenMenuView* menu = platform::mfc::OpenMenu()) {
      view["menu"] = MenuView(*menu);
    }
  }
  if (wait.kind == WaitKind::kColour) view["colour"] = ColourView(wait);
  const size_t newline = transcript.rfind(L'\n');
  view["prompt"] = platform::WideToUtf8(
      newline == std::wstring::npos ? transcript : transcript.substr(newline + 1));
  view["windows"] = WindowsView();
  return view;
}

}  // namespace web
