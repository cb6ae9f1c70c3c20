// CCmdTarget and CWnd: message maps, the window procedure, reflection and window attachment.
#include <vector>

#include "platform/mfc/window_system.h"

using platform::mfc::FindWindowRecord;
using platform::mfc::WindowRecord;

namespace {

struct CurrentMessage {
  CWnd* wnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<CurrentMessage>& MessageStack() {
  static std::vector<CurrentMessage> stack;
  return stack;
}

bool IsCtlColor(UINT m) {
  return m >= WM_CTLCOLORMSGBOX && m <= WM_CTLCOLORSTATIC;
}

}  // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
  return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindEntry(UINT message, UINT code, UINT id) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      if (e->nMessage != message || e->nCode != code) continue;
      if (message == WM_COMMAND || message == WM_NOTIFY) {
        if (id < e->nID || id > e->nLastID) continue;
      }
      return e;
    }
  }
  return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, void*) {
  const AFX_MSGMAP_ENTRY* e = FindEntry(WM_COMMAND, static_cast<UINT>(nCode), nID);
  if (!e) return FALSE;
  e->pfn(this, WM_COMMAND, MAKEWPARAM(nID, nCode), 0);
  return TRUE;
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

const CWnd CWnd::wndTop;

CWnd::~CWnd() {
  // A window whose object goes away keeps living with its class behaviour only.
  if (WindowRecord* r = FindWindowRecord(m_hWnd); r && r->wnd == this) r->wnd = nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  WindowRecord* r = FindWindowRecord(hWnd);
  return r ? r->wnd : nullptr;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r) return nullptr;
  if (r->wnd) return r->wnd;
  if (!r->wrapper) {
    r->wrapper = std::make_unique<CWnd>();
    r->wrapper->m_hWnd = hWnd;
  }
  return r->wrapper.get();
}

BOOL CWnd::Attach(HWND hWnd) {
  WindowRecord* r = FindWindowRecord(hWnd);
  if (!r || (r->wnd && r->wnd != this)) return FALSE;
  r->wnd = this;
  m_hWnd = hWnd;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (WindowRecord* r = FindWindowRecord(h); r && r->wnd == this) r->wnd = nullptr;
  m_hWnd = nullptr;
  return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  return pParent && SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

BOOL CWnd::Create(LPCTSTR cls, LPCTSTR name, DWORD style, const RECT& rect, CWnd* parent, UINT id,
                  void*) {
  return CreateEx(0, cls, name, style, rect, parent, id);
}

BOOL CWnd::CreateEx(DWORD ex, LPCTSTR cls, LPCTSTR name, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID) {
  if (m_hWnd) return FALSE;
  HWND h =
      platform::mfc::CreateWindowRecord(cls ? cls : L"", name, style, ex, rect,
                                        parent ? parent->m_hWnd : nullptr, static_cast<int>(id));
  Attach(h);
  PreSubclassWindow();
  SendMessage(WM_CREATE);
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  return m_hWnd && ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::GetDlgItem(int nID) const {
  return FromHandle(::GetDlgItem(m_hWnd, nID));
}

void CWnd::GetWindowText(CString& text) const {
  int n = GetWindowTextLength();
  ::GetWindowTextW(m_hWnd, text.GetBuffer(n + 1), n + 1);
  text.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& text) const {
  CWnd* w = GetDlgItem(nID);
  text.Empty();
  if (w) w->GetWindowText(text);
  return text.GetLength();
}

void CWnd::CheckRadioButton(int first, int last, int check) {
  for (int id = first; id <= last; ++id)
    CheckDlgButton(id, id == check ? BST_CHECKED : BST_UNCHECKED);
}

BOOL CWnd::SetWindowPos(const CWnd* after, int x, int y, int cx, int cy, UINT flags) {
  return ::SetWindowPos(m_hWnd, after ? after->m_hWnd : nullptr, x, y, cx, cy, flags);
}

void CWnd::ScreenToClient(LPRECT r) const {
  POINT a{r->left, r->top}, b{r->right, r->bottom};
  ::ScreenToClient(m_hWnd, &a);
  ::ScreenToClient(m_hWnd, &b);
  *r = RECT{a.x, a.y, b.x, b.y};
}

void CWnd::ClientToScreen(LPRECT r) const {
  POINT a{r->left, r->top}, b{r->right, r->bottom};
  ::ClientToScreen(m_hWnd, &a);
  ::ClientToScreen(m_hWnd, &b);
  *r = RECT{a.x, a.y, b.x, b.y};
}

CWnd* CWnd::SetFocus() {
  return FromHandle(::SetFocus(m_hWnd));
}
CWnd* CWnd::GetFocus() {
  return FromHandle(::GetFocus());
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  DoDataExchange(&dx);
  return dx.m_bFailed ? FALSE : TRUE;
}

void CWnd::CenterWindow(CWnd* alternate) {
  RECT me{}, around{};
  GetWindowRect(&me);
  HWND owner = alternate ? alternate->m_hWnd : ::GetParent(m_hWnd);
  if (!owner || !::GetWindowRect(owner, &around)) {
    around = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  POINT p{(around.left + around.right - (me.right - me.left)) / 2,
          (around.top + around.bottom - (me.bottom - me.top)) / 2};
  if (HWND parent = ::GetParent(m_hWnd); parent && (GetStyle() & WS_CHILD))
    ::ScreenToClient(parent, &p);
  ::SetWindowPos(m_hWnd, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT) {
  DWORD old = GetStyle();
  DWORD style = (old & ~remove) | add;
  if (style == old) return FALSE;
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style);
  return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT) {
  DWORD old = GetExStyle();
  DWORD style = (old & ~remove) | add;
  if (style == old) return FALSE;
  ::SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, style);
  return TRUE;
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? static_cast<HFONT>(*font) : nullptr),
              redraw);
}

CFont* CWnd::GetFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
}

int CWnd::MessageBox(LPCTSTR text, LPCTSTR caption, UINT type) {
  return ::MessageBoxW(m_hWnd, text, caption, type);
}

CDC* CWnd::GetDC() {
  return new CClientDC(this);
}

int CWnd::ReleaseDC(CDC* dc) {
  delete dc;
  return 1;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  MessageStack().push_back({this, message, wParam, lParam});
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  MessageStack().pop_back();
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return platform::mfc::ClassWindowProc(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  if (MessageStack().empty()) return 0;
  CurrentMessage m = MessageStack().back();
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) {
  return FALSE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    LRESULT r = 0;
    if (!OnNotify(wParam, lParam, &r)) return FALSE;
    *pResult = r;
    return TRUE;
  }
  if (message == WM_DRAWITEM) {
    // Owner-drawn controls draw themselves (DrawItem) unless the parent's map takes the message.
    const AFX_MSGMAP_ENTRY* e = FindEntry(WM_DRAWITEM, 0, 0);
    if (e) {
      *pResult = e->pfn(this, message, wParam, lParam);
      return TRUE;
    }
    OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *pResult = TRUE;
    return TRUE;
  }
  if (IsCtlColor(message)) {
    const AFX_MSGMAP_ENTRY* e = FindEntry(WM_CTLCOLOR, 0, 0);
    if (e) {
      *pResult = e->pfn(this, message, wParam, lParam);
    } else {
      *pResult = reinterpret_cast<LRESULT>(
          OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                     FromHandle(reinterpret_cast<HWND>(lParam)), message - WM_CTLCOLORMSGBOX));
    }
    return TRUE;
  }
  const AFX_MSGMAP_ENTRY* e = FindEntry(message, 0, 0);
  if (!e) return FALSE;
  *pResult = e->pfn(this, message, wParam, lParam);
  return TRUE;
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT dis) {
  CWnd* control = dis ? FromHandlePermanent(dis->hwndItem) : nullptr;
  if (control && control != this) {
    control->DrawItem(dis);
    return;
  }
  Default();
}

HBRUSH CWnd::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  // The control gets the first word on its colours (reflection), then the class default.
  if (pWnd && pWnd != this) {
    CWnd* control = FromHandlePermanent(pWnd->m_hWnd);
    if (control) {
      const AFX_MSGMAP_ENTRY* e = control->FindEntry(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0);
      if (e) {
        LRESULT brush = e->pfn(control, nCtlColor, reinterpret_cast<WPARAM>(pDC->m_hDC), 0);
        if (brush) return reinterpret_cast<HBRUSH>(brush);
      }
    }
  }
  return reinterpret_cast<HBRUSH>(Default());
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_COMMAND) {
    const AFX_MSGMAP_ENTRY* e = FindEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0);
    return e && e->pfn(this, message, wParam, lParam) != 0;
  }
  if (message == WM_NOTIFY) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    const AFX_MSGMAP_ENTRY* e = FindEntry(WM_REFLECT_BASE + WM_NOTIFY, nm->code, 0);
    if (!e) return FALSE;
    LRESULT r = e->pfn(this, message, wParam, lParam);
    if (pResult) *pResult = 0;
    return r != 0;
  }
  return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  HWND control = reinterpret_cast<HWND>(lParam);
  if (control) {
    CWnd* child = FromHandlePermanent(control);
    if (child && child != this && child->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr)) {
      return TRUE;
    }
  }
  return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMHDR*>(lParam);
  if (!nm) return FALSE;
  CWnd* child = FromHandlePermanent(nm->hwndFrom);
  if (child && child != this && child->OnChildNotify(WM_NOTIFY, wParam, lParam, pResult)) {
    return TRUE;
  }
  const AFX_MSGMAP_ENTRY* e = FindEntry(WM_NOTIFY, nm->code, static_cast<UINT>(nm->idFrom));
  if (!e) return FALSE;
  *pResult = e->pfn(this, WM_NOTIFY, wParam, lParam);
  return TRUE;
}
