// The scripted user's window actions (click, type, choose, rows, header, menu) turned into what
// a user's mouse and keyboard would make the controls do, and the popup menus they pick from.
#include <algorithm>
#include <map>

#include <afxcmn.h>
#include "platform/mfc/window_system.h"
#include "platform/win/user_session.h"

using platform::ActionKind;
using platform::mfc::FindWindowRecord;
using platform::mfc::WindowRecord;

namespace {

struct ActionState {
  std::vector<HWND> modal;
  HWND last_acted = nullptr;
  HWND palette = nullptr;  // by handle: the object may go before its window does
  bool installed = false;
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

}  // namespace

std::wstring platform::mfc::CaptionOfActionWindow(const platform::UserAction& a) {
  HWND window = TargetWindow(a);
  WindowRecord* r = window ? FindWindowRecord(window) : nullptr;
  while (r != nullptr && (r->style & WS_CHILD) && r->parent != nullptr) {
    WindowRecord* parent = FindWindowRecord(r->parent);
    if (parent == nullptr) break;
    r = parent;
  }
  return r ? r->text : std::wstring();
}

namespace {

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
  const bool combo = r->class_name == L"ComboBox";
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

// The item of a list box or combo box that `choose TEXT` selects: the exact text first, then
// (combo boxes) the same text without regard to case; -1 when there is none.
int ChosenItem(HWND control, const WindowRecord& r, const std::wstring& text) {
  if (r.class_name == L"ListBox") {
    return static_cast<int>(::SendMessageW(control, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>(text.c_str())));
  }
  for (size_t i = 0; i < r.items.size(); ++i) {
    if (r.items[i].text == text) return static_cast<int>(i);
  }
  return static_cast<int>(::SendMessageW(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str())));
}

bool Choose(const platform::UserAction& a, HWND control) {
  WindowRecord* r = FindWindowRecord(control);
  const int index = ChosenItem(control, *r, a.text);
  if (r->class_name == L"ListBox") {
    ::SendMessageW(control, LB_SETCURSEL, index, 0);
    platform::mfc::NotifyParent(control, LBN_SELCHANGE);
    return true;
  }
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
  NMLISTVIEW nm{};
  nm.hdr.hwndFrom = control;
  nm.hdr.idFrom = r->id;
  nm.hdr.code = LVN_COLUMNCLICK;
  nm.iItem = -1;
  nm.iSubItem = a.numbers[0];
  ::SendMessageW(r->parent, WM_NOTIFY, r->id, reinterpret_cast<LPARAM>(&nm));
  return true;
}

bool Menu(const platform::UserAction& a, HWND control) {
  RECT rc{};
  ::GetWindowRect(control, &rc);
  platform::mfc::SetPendingMenuPick(a.text, a.line);
  ::SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
  if (!platform::mfc::EndMenuPick()) return Mismatch(a, L"no context menu opened");
  platform::mfc::RunIdle();
  return true;
}

// Why the control refuses what `a` asks of it, by what the control is and holds; empty when it
// takes it. Asks nothing that changes the control.
std::wstring ControlRefusal(const platform::UserAction& a, HWND control) {
  const WindowRecord* r = FindWindowRecord(control);
  const DWORD type = r->style & BS_TYPEMASK;
  const bool combo = r->class_name == L"ComboBox";
  const bool list_view = r->class_name == L"SysListView32";
  switch (a.kind) {
    case ActionKind::kClick:
      if (r->class_name != L"Button") return L"not a button";
      if (type == BS_GROUPBOX) return L"a group box";
      return L"";
    case ActionKind::kType:
      if (r->class_name != L"Edit" && !combo) return L"not an edit or combo box";
      if (combo && (r->style & 3) == CBS_DROPDOWNLIST) return L"a drop-down list";
      if (!combo && (r->style & ES_READONLY)) return L"a read-only edit";
      return L"";
    case ActionKind::kChoose:
      if (r->class_name != L"ListBox" && !combo) return L"not a combo box";
      return ChosenItem(control, *r, a.text) < 0 ? L"no such item" : L"";
    case ActionKind::kRows:
      if (!list_view) return L"not a list view";
      for (int row : a.numbers) {
        if (row < 0 || row >= static_cast<int>(r->items.size())) return L"no such row";
      }
      return L"";
    case ActionKind::kHeader:
      if (!list_view) return L"not a list view";
      if (a.numbers.empty() || a.numbers[0] < 0 ||
          a.numbers[0] >= static_cast<int>(r->columns.size())) {
        return L"no such column";
      }
      return L"";
    default:
      return L"";
  }
}

// Why no window takes `a` now (empty: a window does). `*target` and `*control` get the window
// and control it goes to.
std::wstring Refusal(const platform::UserAction& a, HWND* target, HWND* control) {
  *target = TargetWindow(a);
  *control = nullptr;
  if (!*target) return L"no such window";
  // While a modal dialog is open, the windows below it take no input.
  if (!A().modal.empty() && ::IsWindow(A().modal.back()) && *target != A().modal.back()) {
    return L"another dialog is open";
  }
  *control = ::GetDlgItem(*target, a.control);
  const bool enter_or_esc =
      a.kind == ActionKind::kClick && (a.control == IDOK || a.control == IDCANCEL);
  if (enter_or_esc) return L"";
  if (!*control) return L"no such control";
  if (!::IsWindowVisible(*control)) return L"the control is hidden";
  if (!::IsWindowEnabled(*control)) return L"the control is disabled";
  return ControlRefusal(a, *control);
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

void InstallWindowActionDispatcher() {
  if (A().installed) return;
  A().installed = true;
  platform::SetWindowActionHandler(&DispatchWindowAction);
}

std::wstring WindowActionRefusal(const platform::UserAction& a) {
  HWND target = nullptr;
  HWND control = nullptr;
  return Refusal(a, &target, &control);
}

bool DispatchWindowAction(const platform::UserAction& a) {
  HWND target = nullptr;
  HWND control = nullptr;
  const std::wstring refusal = Refusal(a, &target, &control);
  if (!target) return false;
  if (refusal == L"another dialog is open") return Mismatch(a, refusal);
  A().last_acted = target;
  ObservedHandler observed([&a] { return a.Describe(); });
  if (!refusal.empty()) return Mismatch(a, refusal);
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
