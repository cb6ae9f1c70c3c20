// The scripted user's window actions (click, type, choose, rows, header, menu) turned into what
// a user's mouse and keyboard would make the controls do, and the popup menus they pick from.
#include <algorithm>
#include <map>

#include <afxcmn.h>
#include "platform/win/user_session.h"
#include "platform/mfc/window_system.h"

using platform::mfc::FindWindowRecord;
using platform::mfc::WindowRecord;

namespace {

struct MenuItem {
  UINT flags = 0;
  UINT_PTR id = 0;
  std::wstring text;
};

struct ActionState {
  std::vector<HWND> modal;
  HWND last_acted = nullptr;
  HWND palette = nullptr;  // by handle: the object may go before its window does
  bool installed = false;
  std::map<HMENU, std::vector<MenuItem>> menus;
  uintptr_t next_menu = 0x7000000;
  bool menu_pending = false;
  std::wstring menu_pick;
  int menu_line = 0;
  bool menu_consumed = false;
};

ActionState& A() {
  static ActionState s;
  return s;
}

bool Mismatch(const platform::UserAction& a, const std::wstring& why) {
  platform::StopSession(platform::kExitScriptMismatch, L"line " + std::to_wstring(a.line) +
                                                           L": \"" + a.Describe() + L"\": " + why);
  return true;  // taken (and refused)
}

HWND TargetWindow(const platform::UserAction& a) {
  if (a.template_id != 0) {
    std::vector<HWND> all = platform::mfc::AllWindows();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
      WindowRecord* r = FindWindowRecord(*it);
      if (r->template_id == a.template_id) return *it;
    }
    return nullptr;
  }
  return platform::mfc::ActiveActionWindow();
}

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

// Auto radio buttons: check this one, clear the others of its group.
void CheckInGroup(HWND button) {
  WindowRecord* r = FindWindowRecord(button);
  WindowRecord* parent = FindWindowRecord(r->parent);
  if (!parent) return;
  const auto& kids = parent->children;
  auto at = std::find(kids.begin(), kids.end(), button) - kids.begin();
  int first = static_cast<int>(at);
  while (first > 0 && !(FindWindowRecord(kids[first])->style & WS_GROUP)) --first;
  int last = static_cast<int>(at) + 1;
  while (last < static_cast<int>(kids.size()) &&
         !(FindWindowRecord(kids[last])->style & WS_GROUP)) {
    ++last;
  }
  for (int i = first; i < last; ++i) {
    WindowRecord* c = FindWindowRecord(kids[i]);
    if (c->class_name == L"Button" && (c->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
      ::SendMessageW(kids[i], BM_SETCHECK, kids[i] == button ? BST_CHECKED : BST_UNCHECKED, 0);
    }
  }
}

bool Click(const platform::UserAction& a, HWND target, HWND control) {
  if (a.control == IDOK || a.control == IDCANCEL) {
    // Enter and Esc: the dialog manager sends the command even when the button is hidden.
    ::SendMessageW(target, WM_COMMAND, MAKEWPARAM(a.control, BN_CLICKED),
                   reinterpret_cast<LPARAM>(control));
    return true;
  }
  WindowRecord* r = FindWindowRecord(control);
  if (r->class_name != L"Button") return Mismatch(a, L"not a button");
  if ((r->style & BS_TYPEMASK) == BS_GROUPBOX) return Mismatch(a, L"a group box");
  ::SetFocus(control);
  switch (r->style & BS_TYPEMASK) {
    case BS_AUTOCHECKBOX:
      ::SendMessageW(control, BM_SETCHECK, r->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED,
                     0);
      break;
    case BS_AUTO3STATE:
      ::SendMessageW(control, BM_SETCHECK, (r->check + 1) % 3, 0);
      break;
    case BS_AUTORADIOBUTTON:
      CheckInGroup(control);
      break;
  }
  platform::mfc::NotifyParent(control, BN_CLICKED);
  return true;
}

bool Type(const platform::UserAction& a, HWND control) {
  WindowRecord* r = FindWindowRecord(control);
  bool combo = r->class_name == L"ComboBox";
  if (r->class_name != L"Edit" && !combo) return Mismatch(a, L"not an edit or combo box");
  if (combo && (r->style & 3) == CBS_DROPDOWNLIST) return Mismatch(a, L"a drop-down list");
  if (!combo && (r->style & ES_READONLY)) return Mismatch(a, L"a read-only edit");
  ::SetFocus(control);
  if (!(r = FindWindowRecord(control))) return true;
  r->undo_text = r->text;
  r->can_undo = true;
  r->modified = true;
  r->text = a.text;
  int limit = r->limit > 0 ? r->limit : 30000;
  if (static_cast<int>(r->text.size()) > limit) r->text.resize(limit);
  r->sel_start = r->sel_end = static_cast<int>(r->text.size());
  if (combo) {
    // The list follows what is typed only through the notification's handler.
    platform::mfc::NotifyParent(control, CBN_EDITUPDATE);
    platform::mfc::NotifyParent(control, CBN_EDITCHANGE);
  } else {
    platform::mfc::NotifyParent(control, EN_UPDATE);
    platform::mfc::NotifyParent(control, EN_CHANGE);
  }
  // The user moves on: the focus leaves the control.
  if (::GetFocus() == control) ::SetFocus(nullptr);
  return true;
}

bool Choose(const platform::UserAction& a, HWND control) {
  WindowRecord* r = FindWindowRecord(control);
  if (r->class_name == L"ListBox") {
    int i = static_cast<int>(::SendMessageW(control, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(a.text.c_str())));
    if (i < 0) return Mismatch(a, L"no such item");
    ::SendMessageW(control, LB_SETCURSEL, i, 0);
    platform::mfc::NotifyParent(control, LBN_SELCHANGE);
    return true;
  }
  if (r->class_name != L"ComboBox") return Mismatch(a, L"not a combo box");
  // The exact text first, then the same text without regard to case.
  int index = -1;
  for (size_t i = 0; i < r->items.size(); ++i) {
    if (r->items[i].text == a.text) {
      index = static_cast<int>(i);
      break;
    }
  }
  if (index < 0) {
    index = static_cast<int>(::SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(a.text.c_str())));
  }
  if (index < 0) return Mismatch(a, L"no such item");
  ::SetFocus(control);
  ::SendMessageW(control, CB_SHOWDROPDOWN, TRUE, 0);
  ::SendMessageW(control, CB_SETCURSEL, index, 0);
  platform::mfc::NotifyParent(control, CBN_SELCHANGE);
  ::SendMessageW(control, CB_SHOWDROPDOWN, FALSE, 0);
  platform::mfc::NotifyParent(control, CBN_SELENDOK);
  return true;
}

bool Rows(const platform::UserAction& a, HWND control) {
  WindowRecord* r = FindWindowRecord(control);
  if (r->class_name != L"SysListView32") return Mismatch(a, L"not a list view");
  for (int row : a.numbers) {
    if (row < 0 || row >= static_cast<int>(r->items.size())) return Mismatch(a, L"no such row");
  }
  // Clicking rows puts the focus into the list.
  ::SetFocus(control);
  for (int i = 0; i < static_cast<int>(r->items.size()); ++i) {
    bool want = std::find(a.numbers.begin(), a.numbers.end(), i) != a.numbers.end();
    platform::mfc::SetListItemState(control, i, want ? LVIS_SELECTED : 0, LVIS_SELECTED);
    if (!(r = FindWindowRecord(control))) return true;
  }
  return true;
}

bool Header(const platform::UserAction& a, HWND control) {
  WindowRecord* r = FindWindowRecord(control);
  if (r->class_name != L"SysListView32") return Mismatch(a, L"not a list view");
  int column = a.numbers.empty() ? -1 : a.numbers[0];
  if (column < 0 || column >= static_cast<int>(r->columns.size()))
    return Mismatch(a, L"no such column");
  NMLISTVIEW nm{};
  nm.hdr.hwndFrom = control;
  nm.hdr.idFrom = r->id;
  nm.hdr.code = LVN_COLUMNCLICK;
  nm.iItem = -1;
  nm.iSubItem = column;
  ::SendMessageW(r->parent, WM_NOTIFY, r->id, reinterpret_cast<LPARAM>(&nm));
  return true;
}

bool Menu(const platform::UserAction& a, HWND control) {
  RECT rc{};
  ::GetWindowRect(control, &rc);
  A().menu_pending = true;
  A().menu_pick = a.text;
  A().menu_line = a.line;
  A().menu_consumed = false;
  ::SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
  bool consumed = A().menu_consumed;
  A().menu_pending = false;
  if (!consumed) return Mismatch(a, L"no context menu opened");
  platform::mfc::RunIdle();
  return true;
}

}  // namespace

namespace platform::mfc {

void PushModal(HWND dialog) {
  A().modal.push_back(dialog);
}
void PopModal(HWND dialog) {
  std::erase(A().modal, dialog);
}
void SetPaletteWindow(CWnd* window) {
  A().palette = window ? window->m_hWnd : nullptr;
}

int PressEnter(HWND dialog) {
  const WindowRecord* d = FindWindowRecord(dialog);
  if (d == nullptr) return 0;
  auto is_push_button = [](const WindowRecord* r, bool default_only) {
    if (r == nullptr || r->class_name != L"Button") return false;
    const DWORD type = r->style & BS_TYPEMASK;
    return type == BS_DEFPUSHBUTTON || (!default_only && type == BS_PUSHBUTTON);
  };
  HWND button = nullptr;
  HWND focus = ::GetFocus();
  if (std::find(d->children.begin(), d->children.end(), focus) != d->children.end() &&
      is_push_button(FindWindowRecord(focus), false)) {
    button = focus;
  }
  for (size_t i = 0; button == nullptr && i < d->children.size(); ++i) {
    if (is_push_button(FindWindowRecord(d->children[i]), true)) button = d->children[i];
  }
  const int id = button ? FindWindowRecord(button)->id : IDOK;
  if (button == nullptr) button = ::GetDlgItem(dialog, IDOK);
  if (button && !::IsWindowEnabled(button)) return 0;
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return id;
}

HWND ActiveActionWindow() {
  for (auto it = A().modal.rbegin(); it != A().modal.rend(); ++it) {
    if (::IsWindow(*it)) return *it;
  }
  if (::IsWindow(A().last_acted)) return A().last_acted;
  if (::IsWindow(A().palette)) return A().palette;
  return nullptr;
}

void SetPendingMenuPick(const std::wstring& item_text, int line) {
  A().menu_pending = true;
  A().menu_pick = item_text;
  A().menu_line = line;
  A().menu_consumed = false;
}

void InstallWindowActionDispatcher() {
  if (A().installed) return;
  A().installed = true;
  platform::SetWindowActionHandler(&DispatchWindowAction);
}

bool DispatchWindowAction(const platform::UserAction& a) {
  HWND target = TargetWindow(a);
  if (!target) return false;
  // While a modal dialog is open, the windows below it take no input.
  if (!A().modal.empty() && ::IsWindow(A().modal.back()) && target != A().modal.back()) {
    Mismatch(a, L"another dialog is open");
    return true;
  }
  A().last_acted = target;
  ObservedHandler observed([&a] { return a.Describe(); });
  HWND control = ::GetDlgItem(target, a.control);
  bool enter_or_esc = a.kind == ActionKind::kClick && (a.control == IDOK || a.control == IDCANCEL);
  if (!enter_or_esc) {
    if (!control) return Mismatch(a, L"no such control");
    if (!::IsWindowVisible(control)) return Mismatch(a, L"the control is hidden");
    if (!::IsWindowEnabled(control)) return Mismatch(a, L"the control is disabled");
  }
  switch (a.kind) {
    case ActionKind::kClick:
      return Click(a, target, control);
    case ActionKind::kType:
      return Type(a, control);
    case ActionKind::kChoose:
      return Choose(a, control);
    case ActionKind::kRows:
      return Rows(a, control);
    case ActionKind::kHeader:
      return Header(a, control);
    case ActionKind::kMenu:
      return Menu(a, control);
    default:
      return false;
  }
}

}  // namespace platform::mfc

// Menus.

HMENU CreatePopupMenu() {
  HMENU h = reinterpret_cast<HMENU>(A().next_menu);
  A().next_menu += 0x10;
  A().menus[h];
  return h;
}

BOOL DestroyMenu(HMENU h) {
  return A().menus.erase(h) > 0;
}

BOOL InsertMenuW(HMENU h, UINT pos, UINT flags, UINT_PTR id, LPCWSTR text) {
  auto it = A().menus.find(h);
  if (it == A().menus.end()) return FALSE;
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
  auto it = A().menus.find(h);
  if (it == A().menus.end()) return static_cast<UINT>(-1);
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
  auto it = A().menus.find(h);
  return it == A().menus.end() ? -1 : static_cast<int>(it->second.size());
}

namespace {

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

}  // namespace

BOOL TrackPopupMenu(HMENU h, UINT flags, int, int, int, HWND hWnd, const RECT*) {
  auto it = A().menus.find(h);
  if (it == A().menus.end()) return FALSE;
  const std::wstring shown = MenuLine(it->second, hWnd);
  if (!A().menu_pending || A().menu_consumed) {  // the user dismisses it
    platform::PrintEvent(shown + L" → Esc");
    return 0;
  }
  A().menu_consumed = true;
  const std::wstring want = A().menu_pick;
  const MenuItem* picked = nullptr;
  for (const auto& m : it->second) {
    if (m.flags & MF_SEPARATOR) continue;
    if (m.text == want || StripMnemonic(m.text) == want) {
      picked = &m;
      break;
    }
  }
  auto stop = [&](const std::wstring& why) {
    platform::PrintEvent(shown + L" → Esc");
    platform::StopSession(platform::kExitScriptMismatch, L"line " + std::to_wstring(A().menu_line) +
                                                             L": menu \"" + want + L"\": " + why);
    return 0;
  };
  if (!picked) return stop(L"no such item");
  if (picked->flags & (MF_GRAYED | MF_DISABLED)) {
    return stop(L"the item \"" + picked->text + L"\" is greyed");
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
