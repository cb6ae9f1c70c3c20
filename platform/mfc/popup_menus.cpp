// Popup menus: their items, and TrackPopupMenu answered by the user's `menu` action, which names
// the item to pick or leaves the menu open for the user's next action.
#include <map>

#include <afxwin.h>
#include "platform/mfc/window_system.h"
#include "platform/win/user_session.h"

namespace {

struct MenuItem {
  UINT flags = 0;
  UINT_PTR id = 0;
  std::wstring text;
};

struct MenuState {
  std::map<HMENU, std::vector<MenuItem>> menus;
  uintptr_t next_menu = 0x7000000;
  // The `menu` action being carried out: the item it names (empty: the menu stays open) and
  // whether a TrackPopupMenu took it.
  bool pending = false;
  std::wstring pick;
  int line = 0;
  bool consumed = false;
  // The menu that waits for the user, while it does, and its items.
  const platform::mfc::OpenMenuView* open = nullptr;
  const std::vector<MenuItem>* open_items = nullptr;
};

MenuState& M() {
  static MenuState s;
  return s;
}

// "[menu 364] サイズ詳細(&S) | - | 元に戻す(&U) (greyed) | ...": the menu as the user sees it,
// with the owner's control id.
std::wstring MenuLine(const std::vector<MenuItem>& items, HWND owner) {
  std::wstring line = L"[menu";
  if (int id = ::GetDlgCtrlID(owner); id != 0) line += L" " + std::to_wstring(id);
  line += L"]";
  for (size_t i = 0; i < items.size(); ++i) {
    line += i == 0 ? L" " : L" | ";
    if (items[i].flags & MF_SEPARATOR) {
      line += L"-";
      continue;
    }
    line += items[i].text;
    if (items[i].flags & (MF_GRAYED | MF_DISABLED)) line += L" (greyed)";
  }
  return line;
}

// The item of `items` that `want` names, and why it cannot be picked (empty when it can).
std::wstring FindItem(const std::vector<MenuItem>& items, const std::wstring& want,
                      const MenuItem** picked) {
  *picked = nullptr;
  for (const auto& m : items) {
    if (m.flags & MF_SEPARATOR) continue;
    if (m.text == want || platform::mfc::StripMnemonic(m.text) == want) {
      *picked = &m;
      break;
    }
  }
  if (*picked == nullptr) return L"no such item";
  if ((*picked)->flags & (MF_GRAYED | MF_DISABLED)) {
    return L"the item \"" + (*picked)->text + L"\" is greyed";
  }
  return L"";
}

// The menu stays open until the user's next action: `menu CTRL ITEM` for its owner picks ITEM,
// `esc` closes it, and anything else closes it and goes on to whatever takes it (as a click
// elsewhere closes a menu). Returns the item's text to pick, empty when the menu closes.
std::wstring WaitForPick(const std::vector<MenuItem>& items, HWND owner, POINT at) {
  platform::mfc::OpenMenuView view;
  view.owner = owner;
  view.at = at;
  for (const MenuItem& m : items) {
    view.items.push_back(
        {m.text, (m.flags & (MF_GRAYED | MF_DISABLED)) != 0, (m.flags & MF_SEPARATOR) != 0});
  }
  M().open = &view;
  M().open_items = &items;
  platform::Wait wait;
  wait.kind = platform::WaitKind::kMenu;
  wait.control = ::GetDlgCtrlID(owner);
  const platform::ScopedWait waiting(wait);
  std::wstring pick;
  if (const platform::UserAction* next = platform::PeekAction()) {
    if (next->kind == platform::ActionKind::kMenu && next->control == wait.control &&
        !next->text.empty()) {
      pick = next->text;
      M().line = next->line;
      platform::TakeAction();
    } else if (next->kind == platform::ActionKind::kEsc) {
      platform::TakeAction();
    }
  }
  M().open = nullptr;
  M().open_items = nullptr;
  return pick;
}

}  // namespace

namespace platform::mfc {

std::wstring StripMnemonic(const std::wstring& s) {
  std::wstring out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'&' && i + 1 < s.size()) {
      if (s[i + 1] == L'&') out += L'&';
      ++i;
      if (s[i] != L'&') out += s[i];
      continue;
    }
    out += s[i];
  }
  // "サイズ詳細(&S)": the mnemonic in parentheses goes too.
  if (out.size() >= 3 && out[out.size() - 3] == L'(' && out.back() == L')' &&
      s.find(L"(&") != std::wstring::npos) {
    out.erase(out.size() - 3);
  }
  return out;
}

void SetPendingMenuPick(const std::wstring& item_text, int line) {
  M().pending = true;
  M().pick = item_text;
  M().line = line;
  M().consumed = false;
}

bool EndMenuPick() {
  const bool consumed = M().consumed;
  M().pending = false;
  return consumed;
}

const OpenMenuView* OpenMenu() {
  return M().open;
}

std::wstring OpenMenuRefusal(const std::wstring& item) {
  if (M().open_items == nullptr) return L"";
  const MenuItem* picked = nullptr;
  return FindItem(*M().open_items, item, &picked);
}

}  // namespace platform::mfc

HMENU CreatePopupMenu() {
  HMENU h = reinterpret_cast<HMENU>(M().next_menu);
  M().next_menu += 0x10;
  M().menus[h];
  return h;
}

BOOL DestroyMenu(HMENU h) {
  return M().menus.erase(h) > 0;
}

BOOL InsertMenuW(HMENU h, UINT pos, UINT flags, UINT_PTR id, LPCWSTR text) {
  auto it = M().menus.find(h);
  if (it == M().menus.end()) return FALSE;
  auto& items = it->second;
  size_t at = items.size();
  if (flags & MF_BYPOSITION) {
    if (pos != static_cast<UINT>(-1) && pos < items.size()) at = pos;
  } else {
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i].id == pos) at = i;
    }
  }
  items.insert(items.begin() + at, MenuItem{flags & ~static_cast<UINT>(MF_BYPOSITION), id,
                                            (flags & MF_SEPARATOR) || !text ? L"" : text});
  return TRUE;
}

BOOL AppendMenuW(HMENU h, UINT flags, UINT_PTR id, LPCWSTR text) {
  return InsertMenuW(h, static_cast<UINT>(-1), flags | MF_BYPOSITION, id, text);
}

UINT EnableMenuItem(HMENU h, UINT item, UINT enable) {
  auto it = M().menus.find(h);
  if (it == M().menus.end()) return static_cast<UINT>(-1);
  auto& items = it->second;
  MenuItem* target = nullptr;
  if (enable & MF_BYPOSITION) {
    if (item < items.size()) target = &items[item];
  } else {
    for (auto& m : items) {
      if (m.id == item && !(m.flags & MF_SEPARATOR)) {
        target = &m;
        break;
      }
    }
  }
  if (!target) return static_cast<UINT>(-1);
  UINT old = target->flags & (MF_GRAYED | MF_DISABLED);
  target->flags =
      (target->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
  return old;
}

int GetMenuItemCount(HMENU h) {
  auto it = M().menus.find(h);
  return it == M().menus.end() ? -1 : static_cast<int>(it->second.size());
}

BOOL TrackPopupMenu(HMENU h, UINT flags, int x, int y, int, HWND hWnd, const RECT*) {
  auto it = M().menus.find(h);
  if (it == M().menus.end()) return FALSE;
  const std::wstring shown = MenuLine(it->second, hWnd);
  if (!M().pending || M().consumed) {  // the user dismisses it
    platform::PrintEvent(shown + L" → Esc");
    return 0;
  }
  M().consumed = true;
  const std::wstring want =
      M().pick.empty() ? WaitForPick(it->second, hWnd, POINT{x, y}) : M().pick;
  if (want.empty()) {
    platform::PrintEvent(shown + L" → Esc");
    return 0;
  }
  const MenuItem* picked = nullptr;
  if (const std::wstring why = FindItem(it->second, want, &picked); !why.empty()) {
    platform::PrintEvent(shown + L" → Esc");
    platform::StopSession(platform::kExitScriptMismatch, L"line " + std::to_wstring(M().line) +
                                                             L": menu \"" + want + L"\": " + why);
    return 0;
  }
  platform::PrintEvent(shown + L" → " + picked->text);
  UINT_PTR id = picked->id;
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(id);
  ::PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
  return TRUE;
}

BOOL CMenu::CreatePopupMenu() {
  if (m_hMenu) return FALSE;
  m_hMenu = ::CreatePopupMenu();
  return TRUE;
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  return TRUE;
}
