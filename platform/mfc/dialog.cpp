// CDialog: windows built from resource templates, the modal loop over the user session, and
// dialog data exchange.
#include <cwchar>

#include "platform/mfc/resource_module.h"
#include "platform/win/user_session.h"
#include "platform/mfc/window_system.h"

using platform::mfc::FindWindowRecord;

namespace {

int Scale(int units, int base, int per) {
  return (units * base + per / 2) / per;
}

std::wstring ResultName(int result) {
  static const wchar_t* names[] = {L"0",       L"IDOK",     L"IDCANCEL", L"IDABORT",
                                   L"IDRETRY", L"IDIGNORE", L"IDYES",    L"IDNO"};
  if (result >= 0 && result <= 7) return names[result];
  return std::to_wstring(result);
}

}  // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOKCommand)
ON_COMMAND(IDCANCEL, &CDialog::OnCancelCommand)
END_MESSAGE_MAP()

CDialog::CDialog(LPCTSTR name, CWnd* parent) : m_pParentWnd(parent) {
  m_nIDHelp = static_cast<UINT>(reinterpret_cast<uintptr_t>(name) & 0xFFFF);
}

bool CDialog::CreateFromTemplate(UINT id, CWnd* parent, bool modal) {
  const platform::mfc::DialogTemplate* t = platform::mfc::FindDialogTemplate(static_cast<int>(id));
  if (!t || m_hWnd) return false;
  m_nIDHelp = id;
  SIZE base = platform::mfc::DialogBaseUnits(t->font_face, t->font_size ? t->font_size : 9);
  auto px = [&](int x, int y, int cx, int cy) {
    int l = Scale(x, base.cx, 4), tp = Scale(y, base.cy, 8);
    return RECT{l, tp, l + Scale(cx, base.cx, 4), tp + Scale(cy, base.cy, 8)};
  };
  DWORD style = t->style & ~WS_VISIBLE;
  RECT frame = px(t->x, t->y, t->cx, t->cy);
  // A modal dialog is owned by the top-level window of the one it was given, as MFC's DoModal
  // finds its owner: a control or a dialog inside a palette cannot own a popup.
  if (modal && parent && parent->m_hWnd) {
    HWND top = parent->m_hWnd;
    while ((::GetWindowLongPtrW(top, GWL_STYLE) & WS_CHILD) && ::GetParent(top))
      top = ::GetParent(top);
    parent = CWnd::FromHandle(top);
  }
  // A popup dialog's position is relative to its owner's client area, as Windows places it; the
  // window then keeps it in screen coordinates.
  if (parent && parent->m_hWnd && !(style & WS_CHILD)) {
    POINT origin{0, 0};
    ::ClientToScreen(parent->m_hWnd, &origin);
    frame.left += origin.x;
    frame.right += origin.x;
    frame.top += origin.y;
    frame.bottom += origin.y;
  }
  HWND h = platform::mfc::CreateWindowRecord(L"#32770", t->caption.c_str(), style, t->ex_style,
                                             frame, parent ? parent->m_hWnd : nullptr, 0);
  FindWindowRecord(h)->template_id = static_cast<int>(id);
  Attach(h);
  for (const auto& c : t->controls) {
    platform::mfc::CreateWindowRecord(c.class_name.c_str(), c.text.c_str(), c.style, c.ex_style,
                                      px(c.x, c.y, c.cx, c.cy), h, c.id);
  }
  ended_ = false;
  in_modal_ = modal;
  SendMessage(WM_INITDIALOG, 0, 0);
  if (!m_hWnd) return false;
  if (modal || (t->style & WS_VISIBLE)) ::ShowWindow(m_hWnd, SW_SHOW);
  return true;
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    // The first tab stop takes the focus unless OnInitDialog says otherwise (FALSE).
    BOOL default_focus = OnInitDialog();
    if (default_focus && m_hWnd && !::GetFocus()) {
      auto* r = FindWindowRecord(m_hWnd);
      for (HWND c : r->children) {
        auto* cr = FindWindowRecord(c);
        if ((cr->style & WS_TABSTOP) && !(cr->style & WS_DISABLED) && (cr->style & WS_VISIBLE)) {
          ::SetFocus(c);
          break;
        }
      }
    }
    return default_focus;
  }
  return CWnd::DefWindowProc(message, wParam, lParam);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
  result_ = nResult;
  ended_ = true;
  // A modeless dialog is hidden; its owner destroys it.
  if (!in_modal_ && m_hWnd) ::ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::Create(UINT id, CWnd* parent) {
  if (!parent) parent = m_pParentWnd;
  if (!CreateFromTemplate(id, parent, false)) return FALSE;
  std::wstring caption = platform::mfc::FindWindowRecord(m_hWnd)->text;
  platform::PrintEvent(L"[window " + std::to_wstring(id) + L" " + caption + L"]");
  return TRUE;
}

BOOL CDialog::Create(LPCTSTR name, CWnd* parent) {
  return Create(static_cast<UINT>(reinterpret_cast<uintptr_t>(name) & 0xFFFF), parent);
}

INT_PTR CDialog::DoModal() {
  if (!CreateFromTemplate(m_nIDHelp, m_pParentWnd, true)) return -1;
  HWND h = m_hWnd;
  std::wstring caption = FindWindowRecord(h)->text;
  platform::PrintEvent(L"[dialog " + std::to_wstring(m_nIDHelp) + L" " + caption + L"]");
  platform::mfc::PushModal(h);
  const platform::ScopedWait wait(platform::WaitKind::kDialog);
  while (!ended_ && m_hWnd) {
    platform::mfc::RunIdle();
    if (ended_ || !m_hWnd) break;
    const platform::UserAction* action = platform::PeekAction();
    if (!action) {
      // The end of the input (or a stopped session): the user's Esc.
      OnCancel();
      if (!ended_) EndDialog(IDCANCEL);
      break;
    }
    if (action->IsWindowAction()) {
      platform::UserAction taken = *action;
      platform::TakeAction();
      if (!platform::mfc::DispatchWindowAction(taken)) {
        platform::StopSession(platform::kExitScriptMismatch,
                              L"line " + std::to_wstring(taken.line) + L": no window can take \"" +
                                  taken.Describe() + L"\"");
      }
      continue;
    }
    if (action->kind == platform::ActionKind::kEnter) {
      // The Enter key: the dialog manager turns it into a button's command.
      platform::TakeAction();
      platform::mfc::PressEnter(h);
      continue;
    }
    platform::StopSession(platform::kExitScriptMismatch,
                          L"line " + std::to_wstring(action->line) + L": \"" + action->Describe() +
                              L"\" cannot be taken while dialog " + std::to_wstring(m_nIDHelp) +
                              L" waits");
  }
  platform::mfc::PopModal(h);
  int result = result_;
  in_modal_ = false;
  if (m_hWnd) ::DestroyWindow(m_hWnd);
  platform::PrintEvent(L"[end dialog " + std::to_wstring(m_nIDHelp) + L" " + ResultName(result) +
                       L"]");
  return result;
}

void CDialog::NextDlgCtrl() const {
  auto* r = FindWindowRecord(m_hWnd);
  if (!r || r->children.empty()) return;
  HWND focus = ::GetFocus();
  size_t n = r->children.size(), start = 0;
  for (size_t i = 0; i < n; ++i) {
    if (r->children[i] == focus) start = i + 1;
  }
  for (size_t k = 0; k < n; ++k) {
    HWND c = r->children[(start + k) % n];
    auto* cr = FindWindowRecord(c);
    if ((cr->style & WS_TABSTOP) && (cr->style & WS_VISIBLE) && !(cr->style & WS_DISABLED)) {
      ::SetFocus(c);
      return;
    }
  }
}

void CDialog::PrevDlgCtrl() const {
  auto* r = FindWindowRecord(m_hWnd);
  if (!r || r->children.empty()) return;
  HWND focus = ::GetFocus();
  size_t n = r->children.size(), start = n - 1;
  for (size_t i = 0; i < n; ++i) {
    if (r->children[i] == focus) start = (i + n - 1) % n;
  }
  for (size_t k = 0; k < n; ++k) {
    HWND c = r->children[(start + n - k) % n];
    auto* cr = FindWindowRecord(c);
    if ((cr->style & WS_TABSTOP) && (cr->style & WS_VISIBLE) && !(cr->style & WS_DISABLED)) {
      ::SetFocus(c);
      return;
    }
  }
}

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (!control) return;
  ::SetFocus(control->m_hWnd);
  // Edits get their whole text selected, as the dialog manager does.
  auto* r = FindWindowRecord(control->m_hWnd);
  if (r && r->class_name == L"Edit") ::SendMessageW(control->m_hWnd, EM_SETSEL, 0, -1);
}

// Dialog data exchange.

HWND CDataExchange::PrepareCtrl(int nIDC) {
  last_control_ = ::GetDlgItem(m_pDlgWnd ? m_pDlgWnd->m_hWnd : nullptr, nIDC);
  return last_control_;
}

void CDataExchange::Fail() {
  m_bFailed = true;
  if (last_control_) ::SetFocus(last_control_);
}

namespace {
CString ControlText(HWND h) {
  CString s;
  int n = ::GetWindowTextLengthW(h);
  ::GetWindowTextW(h, s.GetBuffer(n + 1), n + 1);
  s.ReleaseBuffer();
  return s;
}
}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = ControlText(h);
  } else {
    ::SetWindowTextW(h, value);
  }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareCtrl(nIDC);
  if (!pDX->m_bSaveAndValidate) {
    CString s;
    s.Format(L"%d", value);
    ::SetWindowTextW(h, s);
    return;
  }
  CString s = ControlText(h).Trim();
  wchar_t* end = nullptr;
  long v = std::wcstol(s, &end, 10);
  if (s.IsEmpty() || *end != 0) {
    AfxMessageBox(L"整数を入力してください。", MB_ICONEXCLAMATION);
    pDX->Fail();
    return;
  }
  value = static_cast<int>(v);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value) {
  int v = static_cast<int>(value);
  DDX_Text(pDX, nIDC, v);
  if (!pDX->m_bFailed) value = static_cast<UINT>(v);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareCtrl(nIDC);
  if (!pDX->m_bSaveAndValidate) {
    CString s;
    s.Format(L"%.*g", 15, value);  // MFC's DBL_DIG digits
    ::SetWindowTextW(h, s);
    return;
  }
  CString s = ControlText(h).Trim();
  wchar_t* end = nullptr;
  double v = std::wcstod(s, &end);
  if (s.IsEmpty() || *end != 0) {
    AfxMessageBox(L"数値を入力してください。", MB_ICONEXCLAMATION);
    pDX->Fail();
    return;
  }
  value = v;
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(::SendMessageW(h, BM_GETCHECK, 0, 0));
  } else {
    ::SendMessageW(h, BM_SETCHECK, value, 0);
  }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
  if (pDX->m_bFailed) return;
  HWND first = pDX->PrepareCtrl(nIDC);
  auto* r = FindWindowRecord(first);
  if (!r) return;
  auto* parent = FindWindowRecord(r->parent);
  // The group: this radio button and the ones after it up to the next WS_GROUP.
  std::vector<HWND> group;
  bool in = false;
  for (HWND c : parent->children) {
    auto* cr = FindWindowRecord(c);
    if (c == first) {
      in = true;
    } else if (in && (cr->style & WS_GROUP)) {
      break;
    }
    if (in && cr->class_name == L"Button" &&
        ((cr->style & BS_TYPEMASK) == BS_RADIOBUTTON ||
         (cr->style & BS_TYPEMASK) == BS_AUTORADIOBUTTON)) {
      group.push_back(c);
    }
  }
  if (pDX->m_bSaveAndValidate) {
    value = -1;
    for (size_t i = 0; i < group.size(); ++i) {
      if (::SendMessageW(group[i], BM_GETCHECK, 0, 0) == BST_CHECKED) value = static_cast<int>(i);
    }
  } else {
    for (size_t i = 0; i < group.size(); ++i) {
      ::SendMessageW(group[i], BM_SETCHECK, static_cast<int>(i) == value ? BST_CHECKED : 0, 0);
    }
  }
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    value = ControlText(h);
    return;
  }
  // Selects the first item that starts with the value; a drop-down also shows the value itself.
  if (::SendMessageW(h, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(value.GetString())) == CB_ERR) {
    ::SetWindowTextW(h, value);
  }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
  if (pDX->m_bFailed) return;
  HWND h = pDX->PrepareCtrl(nIDC);
  if (pDX->m_bSaveAndValidate) {
    index = static_cast<int>(::SendMessageW(h, CB_GETCURSEL, 0, 0));
  } else {
    ::SendMessageW(h, CB_SETCURSEL, index, 0);
  }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;
  HWND h = pDX->PrepareCtrl(nIDC);
  rControl.SubclassWindow(h);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
  if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) {
    if (!pDX->m_bSaveAndValidate && pDX->m_pDlgWnd) {
      // Limits the edit the value came from, as MFC does when loading.
    }
    return;
  }
  if (value.GetLength() > nChars) {
    CString text;
    text.Format(L"%d 文字以下で入力してください。", nChars);
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
  }
}
