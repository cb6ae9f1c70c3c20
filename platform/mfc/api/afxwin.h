// The core MFC header: windows with message maps, dialogs and data exchange, the standard
// controls as headless models, menus, the recording device context and message boxes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include <afxcoll.h>
#include <afxstr.h>
#include <atltypes.h>

#define afx_msg
#define AFX_EXT_CLASS
#define AFX_CDECL
#define PASCAL
#define AFXAPI
#define AFX_MANAGE_STATE(p)
#define AfxGetStaticModuleState() nullptr
#define AFX_IDW_PANE_FIRST 0xE900
#define WM_REFLECT_BASE 0xBC00
#define WM_CTLCOLOR 0x0019
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6
#define ASSERT(x) ((void)0)
#define VERIFY(x) ((void)(x))
#define TRACE(...) ((void)0)
#define ASSERT_VALID(x) ((void)0)

class CWnd;
class CDC;
class CMenu;
class CDataExchange;
class CCmdTarget;

// A message map entry: which message (and for commands and notifications which code and id
// range) and the function that calls the handler on the object.
struct AFX_MSGMAP_ENTRY {
  UINT nMessage;
  UINT nCode;
  UINT nID;
  UINT nLastID;
  LRESULT (*pfn)(CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam);
};
struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

class CObject {
 public:
  virtual ~CObject() = default;
};

class CCmdTarget : public CObject {
 public:
  // Finds the first entry of the map chain (most derived first) for this message, code and id;
  // null when none.
  const AFX_MSGMAP_ENTRY* FindEntry(UINT message, UINT code, UINT id) const;
  // Runs the handler of a WM_COMMAND (code, id); FALSE when no entry takes it.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const AFX_MSGMAP* GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)        \
  const AFX_MSGMAP* theClass::GetMessageMap() const { \
    return GetThisMessageMap();                       \
  }                                                   \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {   \
    typedef theClass ThisClass [[maybe_unused]];      \
    typedef baseClass TheBaseClass;                   \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                       \
  { 0, 0, 0, 0, nullptr }                                                                       \
  }                                                                                             \
  ;                                                                                             \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                           \
  }

#define HARNEX_THUNK(body)                                        \
  +[](CCmdTarget* t_, UINT m_, WPARAM w_, LPARAM l_) -> LRESULT { \
    auto* p_ = static_cast<ThisClass*>(t_);                       \
    (void)p_;                                                     \
    (void)m_;                                                     \
    (void)w_;                                                     \
    (void)l_;                                                     \
    body                                                          \
  }

#define ON_COMMAND(id, memberFxn)                                                          \
  { WM_COMMAND, 0, (UINT)(id), (UINT)(id), HARNEX_THUNK((p_->*(memberFxn))(); return 0;) } \
  ,
#define ON_CONTROL(code, id, memberFxn)               \
  {                                                   \
    WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(id), \
        HARNEX_THUNK((p_->*(memberFxn))(); return 0;) \
  }                                                   \
  ,
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                       \
  {                                                                   \
    WM_COMMAND, 0, (UINT)(id), (UINT)(idLast),                        \
        HARNEX_THUNK((p_->*(memberFxn))((UINT)LOWORD(w_)); return 0;) \
  }                                                                   \
  ,
#define ON_CONTROL_RANGE(code, id, idLast, memberFxn)                 \
  {                                                                   \
    WM_COMMAND, (UINT)(code), (UINT)(id), (UINT)(idLast),             \
        HARNEX_THUNK((p_->*(memberFxn))((UINT)LOWORD(w_)); return 0;) \
  }                                                                   \
  ,
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn)                                                \
  {                                                                                   \
    WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(id),                                  \
        HARNEX_THUNK(LRESULT r_ = 0; (p_->*(memberFxn))((NMHDR*)l_, &r_); return r_;) \
  }                                                                                   \
  ,
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                                              \
  {                                                                                               \
    WM_NOTIFY, (UINT)(code), (UINT)(id), (UINT)(idLast),                                          \
        HARNEX_THUNK(LRESULT r_ = 0;                                                              \
                     (p_->*(memberFxn))((UINT)((NMHDR*)l_)->idFrom, (NMHDR*)l_, &r_); return r_;) \
  }                                                                                               \
  ,
#define ON_MESSAGE(message, memberFxn)                                           \
  { (UINT)(message), 0, 0, 0, HARNEX_THUNK(return (p_->*(memberFxn))(w_, l_);) } \
  ,
#define ON_CONTROL_REFLECT(code, memberFxn)           \
  {                                                   \
    WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0, \
        HARNEX_THUNK((p_->*(memberFxn))(); return 1;) \
  }                                                   \
  ,
#define ON_CONTROL_REFLECT_EX(code, memberFxn)             \
  {                                                        \
    WM_REFLECT_BASE + WM_COMMAND, (UINT)(code), 0, 0,      \
        HARNEX_THUNK(return (p_->*(memberFxn))() ? 1 : 0;) \
  }                                                        \
  ,
#define ON_NOTIFY_REFLECT(code, memberFxn)                                                     \
  {                                                                                            \
    WM_REFLECT_BASE + WM_NOTIFY, (UINT)(code), 0, 0,                                           \
        HARNEX_THUNK(LRESULT r_ = 0; (p_->*(memberFxn))((NMHDR*)l_, &r_); (void)r_; return 1;) \
  }                                                                                            \
  ,
#define ON_CBN_DROPDOWN_REFLECT(memberFxn) ON_CONTROL_REFLECT(CBN_DROPDOWN, memberFxn)
#define ON_WM_CTLCOLOR_REFLECT()                                                        \
  {                                                                                     \
    WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0,                                             \
        HARNEX_THUNK(return (LRESULT)p_->CtlColor(CDC::FromHandle((HDC)w_), (UINT)m_);) \
  }                                                                                     \
  ,
#define ON_WM_CTLCOLOR()                                                              \
  {                                                                                   \
    WM_CTLCOLOR, 0, 0, 0,                                                             \
        HARNEX_THUNK(return (LRESULT)p_->OnCtlColor(CDC::FromHandle((HDC)w_),         \
                                                    CWnd::FromHandle((HWND)l_),       \
                                                    (UINT)(m_ - WM_CTLCOLORMSGBOX));) \
  }                                                                                   \
  ,
#define ON_WM_TIMER()                                                       \
  { WM_TIMER, 0, 0, 0, HARNEX_THUNK(p_->OnTimer((UINT_PTR)w_); return 0;) } \
  ,
#define ON_WM_DESTROY()                                             \
  { WM_DESTROY, 0, 0, 0, HARNEX_THUNK(p_->OnDestroy(); return 0;) } \
  ,
#define ON_WM_CLOSE()                                           \
  { WM_CLOSE, 0, 0, 0, HARNEX_THUNK(p_->OnClose(); return 0;) } \
  ,
#define ON_WM_SIZE()                                                                        \
  {                                                                                         \
    WM_SIZE, 0, 0, 0,                                                                       \
        HARNEX_THUNK(p_->OnSize((UINT)w_, (short)LOWORD(l_), (short)HIWORD(l_)); return 0;) \
  }                                                                                         \
  ,
#define ON_WM_CONTEXTMENU()                                                                \
  {                                                                                        \
    WM_CONTEXTMENU, 0, 0, 0,                                                               \
        HARNEX_THUNK(p_->OnContextMenu(CWnd::FromHandle((HWND)w_), CPoint(l_)); return 0;) \
  }                                                                                        \
  ,
#define ON_WM_DRAWITEM()                                                          \
  {                                                                               \
    WM_DRAWITEM, 0, 0, 0,                                                         \
        HARNEX_THUNK(p_->OnDrawItem((int)w_, (LPDRAWITEMSTRUCT)l_); return TRUE;) \
  }                                                                               \
  ,
#define ON_WM_MOUSEMOVE()                                                                   \
  { WM_MOUSEMOVE, 0, 0, 0, HARNEX_THUNK(p_->OnMouseMove((UINT)w_, CPoint(l_)); return 0;) } \
  ,
#define ON_WM_KEYDOWN()                                                                           \
  {                                                                                               \
    WM_KEYDOWN, 0, 0, 0, HARNEX_THUNK(p_->OnKeyDown((UINT)w_, LOWORD(l_), HIWORD(l_)); return 0;) \
  }                                                                                               \
  ,
#define ON_WM_CHAR()                                                                          \
  { WM_CHAR, 0, 0, 0, HARNEX_THUNK(p_->OnChar((UINT)w_, LOWORD(l_), HIWORD(l_)); return 0;) } \
  ,
#define ON_WM_SETFOCUS()                                                                        \
  { WM_SETFOCUS, 0, 0, 0, HARNEX_THUNK(p_->OnSetFocus(CWnd::FromHandle((HWND)w_)); return 0;) } \
  ,
#define ON_WM_KILLFOCUS()                                                                         \
  { WM_KILLFOCUS, 0, 0, 0, HARNEX_THUNK(p_->OnKillFocus(CWnd::FromHandle((HWND)w_)); return 0;) } \
  ,
#define ON_WM_ACTIVATE()                                                                 \
  {                                                                                      \
    WM_ACTIVATE, 0, 0, 0,                                                                \
        HARNEX_THUNK(p_->OnActivate(LOWORD(w_), CWnd::FromHandle((HWND)l_), HIWORD(w_)); \
                     return 0;)                                                          \
  }                                                                                      \
  ,
#define ON_WM_SHOWWINDOW()                                                                  \
  { WM_SHOWWINDOW, 0, 0, 0, HARNEX_THUNK(p_->OnShowWindow((BOOL)w_, (UINT)l_); return 0;) } \
  ,
#define ON_WM_PAINT()                                           \
  { WM_PAINT, 0, 0, 0, HARNEX_THUNK(p_->OnPaint(); return 0;) } \
  ,

// A window: the C++ object attached to a window of the window system. Windows are not copyable;
// the object may outlive its window (m_hWnd is then null) but not the other way round: a window
// whose object is deleted loses its message map.
class CWnd : public CCmdTarget {
 public:
  CWnd() = default;
  ~CWnd() override;
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }  // NOLINT: implicit as in MFC
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The object attached to the window, else a wrapper object that lives as long as the window;
  // null for null or dead handles.
  static CWnd* FromHandle(HWND hWnd);
  static CWnd* FromHandlePermanent(HWND hWnd);
  // Attaches this object to an existing window; FALSE when the window is dead or taken.
  BOOL Attach(HWND hWnd);
  HWND Detach();
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow() { return Detach(); }

  // Virtual in MFC; here no window overrides it, and a virtual one would be hidden by every
  // control's and dialog's own Create overloads (as clang's -Woverloaded-virtual says).
  BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                      const RECT& rect, CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  virtual BOOL DestroyWindow();

  CWnd* GetDlgItem(int nID) const;
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  void SetWindowText(LPCTSTR text) { ::SetWindowTextW(m_hWnd, text); }
  void GetWindowText(CString& text) const;
  int GetWindowText(LPTSTR buffer, int max) const { return ::GetWindowTextW(m_hWnd, buffer, max); }
  int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
  void SetDlgItemText(int nID, LPCTSTR text) { ::SetDlgItemTextW(m_hWnd, nID, text); }
  int GetDlgItemText(int nID, CString& text) const;
  void CheckDlgButton(int nID, UINT nCheck) { ::CheckDlgButton(m_hWnd, nID, nCheck); }
  UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }
  void CheckRadioButton(int nIDFirst, int nIDLast, int nIDCheck);
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
  BOOL GetWindowPlacement(WINDOWPLACEMENT* placement) const {
    return ::GetWindowPlacement(m_hWnd, placement);
  }
  BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
  void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
  void MoveWindow(int x, int y, int cx, int cy, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, x, y, cx, cy, bRepaint);
  }
  void MoveWindow(LPCRECT r, BOOL bRepaint = TRUE) {
    MoveWindow(r->left, r->top, r->right - r->left, r->bottom - r->top, bRepaint);
  }
  void ScreenToClient(LPPOINT p) const { ::ScreenToClient(m_hWnd, p); }
  void ScreenToClient(LPRECT r) const;
  void ClientToScreen(LPPOINT p) const { ::ClientToScreen(m_hWnd, p); }
  void ClientToScreen(LPRECT r) const;
  CWnd* SetFocus();
  static CWnd* GetFocus();
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
  }
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(::GetDlgItem(m_hWnd, nID), message, wParam, lParam);
  }
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
  CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
  CWnd* GetOwner() const { return GetParent(); }
  void Invalidate(BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
  void InvalidateRect(LPCRECT r, BOOL bErase = TRUE) { ::InvalidateRect(m_hWnd, r, bErase); }
  BOOL RedrawWindow(LPCRECT r = nullptr, void* rgn = nullptr, UINT flags = RDW_INVALIDATE) {
    return ::RedrawWindow(m_hWnd, r, rgn, flags);
  }
  void UpdateWindow() {}
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  void CenterWindow(CWnd* pAlternateOwner = nullptr);
  DWORD GetStyle() const { return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_STYLE); }
  DWORD GetExStyle() const { return (DWORD)::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE); }
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  void SetFont(class CFont* pFont, BOOL bRedraw = TRUE);
  class CFont* GetFont() const;
  int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);
  CDC* GetDC();
  int ReleaseDC(CDC* pDC);
  CMenu* GetMenu() const { return nullptr; }
  BOOL IsWindowEnabledAndVisible() const { return IsWindowEnabled() && IsWindowVisible(); }
  BOOL SetForegroundWindow() { return TRUE; }
  CWnd* SetActiveWindow() { return this; }
  void BringWindowToTop() {}
  // SetWindowPos's insert-after value for the top of the window order (HWND_TOP).
  static const CWnd wndTop;

  // The window procedure: the message map first, then the class's default behaviour.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Called for queued messages before they are dispatched (from the target up to its
  // top-level parent); TRUE swallows the message.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // A notification from this control to its parent, offered to this control's reflected
  // entries first; TRUE when a reflected handler took it.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual void PreSubclassWindow() {}
  virtual void PostNcDestroy() {}
  virtual void DrawItem(LPDRAWITEMSTRUCT) {}

  // Default handlers of the ON_WM_ entries: they run the class's default behaviour.
  afx_msg void OnTimer(UINT_PTR nIDEvent) { Default(); }
  afx_msg void OnDestroy() { Default(); }
  afx_msg void OnClose() { Default(); }
  afx_msg void OnSize(UINT nType, int cx, int cy) { Default(); }
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point) { Default(); }
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point) { Default(); }
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) { Default(); }
  afx_msg void OnSetFocus(CWnd* pOldWnd) { Default(); }
  afx_msg void OnKillFocus(CWnd* pNewWnd) { Default(); }
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) { Default(); }
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus) { Default(); }
  afx_msg void OnPaint() { Default(); }
  HBRUSH CtlColor(CDC* pDC, UINT nCtlColor) { return nullptr; }

 protected:
  virtual void DoDataExchange(CDataExchange* pDX) {}
  // The class's default behaviour for the message being handled.
  LRESULT Default();
  // Runs the message map; TRUE when an entry handled the message.
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

  DECLARE_MESSAGE_MAP()

 private:
  friend struct WindowAccess;
};

// Dialog data exchange: the direction and the dialog; a failed validation stops the exchange.
class CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
      : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  bool m_bFailed = false;
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC) { return PrepareCtrl(nIDC); }
  // Marks the exchange failed and gives the focus to the last prepared control.
  void Fail();

 private:
  HWND last_control_ = nullptr;
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);

class CDialog : public CWnd {
 public:
  CDialog() = default;
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
      : m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);

  // Runs the dialog modally: actions of the user session go to its controls until EndDialog.
  // Result: the EndDialog code, or -1 when the template cannot be found or built.
  virtual INT_PTR DoModal();
  // Creates the dialog modeless; FALSE when the template cannot be found or built.
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  void EndDialog(int nResult);
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  void NextDlgCtrl() const;
  void PrevDlgCtrl() const;
  void GotoDlgCtrl(CWnd* pWndCtrl);
  void SetDefID(UINT nID) { def_id_ = nID; }
  DWORD GetDefID() const { return def_id_; }
  UINT GetTemplateID() const { return m_nIDHelp; }
  bool IsModal() const { return in_modal_; }

  UINT m_nIDHelp = 0;
  CWnd* m_pParentWnd = nullptr;

 protected:
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  DECLARE_MESSAGE_MAP()

 private:
  afx_msg void OnOKCommand() { OnOK(); }
  afx_msg void OnCancelCommand() { OnCancel(); }
  bool CreateFromTemplate(UINT id, CWnd* parent, bool modal);

  bool in_modal_ = false;
  bool ended_ = false;
  int result_ = 0;
  UINT def_id_ = IDOK;
};

class CButton : public CWnd {
 public:
  BOOL Create(LPCTSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT nID);
  int GetCheck() const { return (int)SendMessage(BM_GETCHECK); }
  void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, nCheck); }
  UINT GetState() const { return (UINT)SendMessage(BM_GETSTATE); }
  UINT GetButtonStyle() const { return GetStyle() & 0xFFFF; }
  void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) {
    SendMessage(BM_SETSTYLE, nStyle, bRedraw);
  }
};

class CStatic : public CWnd {
 public:
  BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT nID = 0xffff);
};

class CEdit : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);
  void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE) {
    SendMessage(EM_SETSEL, nStartChar, nEndChar);
  }
  void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE) {
    SendMessage(EM_SETSEL, (short)LOWORD(dwSelection), (short)HIWORD(dwSelection));
  }
  DWORD GetSel() const { return (DWORD)SendMessage(EM_GETSEL); }
  void GetSel(int& nStartChar, int& nEndChar) const;
  void ReplaceSel(LPCTSTR text, BOOL bCanUndo = FALSE) {
    SendMessage(EM_REPLACESEL, bCanUndo, (LPARAM)text);
  }
  BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)SendMessage(EM_SETREADONLY, bReadOnly); }
  BOOL Undo() { return (BOOL)SendMessage(EM_UNDO); }
  BOOL CanUndo() const { return (BOOL)SendMessage(EM_CANUNDO); }
  void EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
  void Cut() { SendMessage(WM_CUT); }
  void Copy() { SendMessage(WM_COPY); }
  void Paste() { SendMessage(WM_PASTE); }
  void Clear() { SendMessage(WM_CLEAR); }
  void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, nChars); }
  void SetLimitText(UINT nMax) { SendMessage(EM_LIMITTEXT, nMax); }
  UINT GetLimitText() const { return (UINT)SendMessage(EM_GETLIMITTEXT); }
  BOOL GetModify() const { return (BOOL)SendMessage(EM_GETMODIFY); }
  void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, bModified); }
};

class CComboBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);
  int AddString(LPCTSTR s) { return (int)SendMessage(CB_ADDSTRING, 0, (LPARAM)s); }
  int InsertString(int i, LPCTSTR s) { return (int)SendMessage(CB_INSERTSTRING, i, (LPARAM)s); }
  int DeleteString(UINT i) { return (int)SendMessage(CB_DELETESTRING, i); }
  void ResetContent() { SendMessage(CB_RESETCONTENT); }
  int GetCount() const { return (int)SendMessage(CB_GETCOUNT); }
  int GetCurSel() const { return (int)SendMessage(CB_GETCURSEL); }
  int SetCurSel(int i) { return (int)SendMessage(CB_SETCURSEL, i); }
  int GetLBText(int i, LPTSTR buf) const { return (int)SendMessage(CB_GETLBTEXT, i, (LPARAM)buf); }
  void GetLBText(int i, CString& s) const;
  int GetLBTextLen(int i) const { return (int)SendMessage(CB_GETLBTEXTLEN, i); }
  int FindString(int start, LPCTSTR s) const {
    return (int)SendMessage(CB_FINDSTRING, start, (LPARAM)s);
  }
  int FindStringExact(int start, LPCTSTR s) const {
    return (int)SendMessage(CB_FINDSTRINGEXACT, start, (LPARAM)s);
  }
  int SelectString(int start, LPCTSTR s) {
    return (int)SendMessage(CB_SELECTSTRING, start, (LPARAM)s);
  }
  int SetItemData(int i, DWORD_PTR data) { return (int)SendMessage(CB_SETITEMDATA, i, data); }
  DWORD_PTR GetItemData(int i) const { return (DWORD_PTR)SendMessage(CB_GETITEMDATA, i); }
  int SetItemDataPtr(int i, void* p) { return SetItemData(i, (DWORD_PTR)p); }
  void* GetItemDataPtr(int i) const { return (void*)GetItemData(i); }
  BOOL GetDroppedState() const { return (BOOL)SendMessage(CB_GETDROPPEDSTATE); }
  void ShowDropDown(BOOL bShow = TRUE) { SendMessage(CB_SHOWDROPDOWN, bShow); }
  int SetDroppedWidth(UINT w) { return (int)SendMessage(CB_SETDROPPEDWIDTH, w); }
  int GetDroppedWidth() const { return (int)SendMessage(CB_GETDROPPEDWIDTH); }
  DWORD GetEditSel() const { return (DWORD)SendMessage(CB_GETEDITSEL); }
  BOOL SetEditSel(int nStartChar, int nEndChar) {
    return (BOOL)SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(nStartChar, nEndChar));
  }
  BOOL LimitText(int nMaxChars) { return (BOOL)SendMessage(CB_LIMITTEXT, nMaxChars); }
  void GetDroppedControlRect(LPRECT r) const {
    SendMessage(CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)r);
  }
};

class CListBox : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);
  int AddString(LPCTSTR s) { return (int)SendMessage(LB_ADDSTRING, 0, (LPARAM)s); }
  int InsertString(int i, LPCTSTR s) { return (int)SendMessage(LB_INSERTSTRING, i, (LPARAM)s); }
  int DeleteString(UINT i) { return (int)SendMessage(LB_DELETESTRING, i); }
  void ResetContent() { SendMessage(LB_RESETCONTENT); }
  int GetCount() const { return (int)SendMessage(LB_GETCOUNT); }
  int GetCurSel() const { return (int)SendMessage(LB_GETCURSEL); }
  int SetCurSel(int i) { return (int)SendMessage(LB_SETCURSEL, i); }
  int GetSel(int i) const { return (int)SendMessage(LB_GETSEL, i); }
  int SetSel(int i, BOOL bSelect = TRUE) { return (int)SendMessage(LB_SETSEL, bSelect, i); }
  int GetSelCount() const { return (int)SendMessage(LB_GETSELCOUNT); }
  int GetText(int i, LPTSTR buf) const { return (int)SendMessage(LB_GETTEXT, i, (LPARAM)buf); }
  void GetText(int i, CString& s) const;
  int GetTextLen(int i) const { return (int)SendMessage(LB_GETTEXTLEN, i); }
  int FindString(int start, LPCTSTR s) const {
    return (int)SendMessage(LB_FINDSTRING, start, (LPARAM)s);
  }
  int FindStringExact(int start, LPCTSTR s) const {
    return (int)SendMessage(LB_FINDSTRINGEXACT, start, (LPARAM)s);
  }
  int SelectString(int start, LPCTSTR s) {
    return (int)SendMessage(LB_SELECTSTRING, start, (LPARAM)s);
  }
  int SetItemData(int i, DWORD_PTR data) { return (int)SendMessage(LB_SETITEMDATA, i, data); }
  DWORD_PTR GetItemData(int i) const { return (DWORD_PTR)SendMessage(LB_GETITEMDATA, i); }
  int GetItemRect(int i, LPRECT r) const { return (int)SendMessage(LB_GETITEMRECT, i, (LPARAM)r); }
  int GetItemHeight(int i) const { return (int)SendMessage(LB_GETITEMHEIGHT, i); }
  int GetTopIndex() const { return (int)SendMessage(LB_GETTOPINDEX); }
  // The nearest item to the point (client coordinates); bOutside is TRUE when the point lies
  // outside every item.
  UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
};

// GDI objects: headless records of what was asked for.
class CGdiObject : public CObject {
 public:
  HGDIOBJ m_hObject = nullptr;
  BOOL DeleteObject() {
    m_hObject = nullptr;
    return TRUE;
  }
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  int kind = 0;  // 1 pen, 2 brush, 3 font
};
class CPen : public CGdiObject {
 public:
  CPen() { kind = 1; }
  CPen(int nPenStyle, int nWidth, COLORREF crColor) : CPen() {
    CreatePen(nPenStyle, nWidth, crColor);
  }
  BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
  int style = 0, width = 0;
  COLORREF color = 0;
};
class CBrush : public CGdiObject {
 public:
  CBrush() { kind = 2; }
  explicit CBrush(COLORREF crColor) : CBrush() { CreateSolidBrush(crColor); }
  BOOL CreateSolidBrush(COLORREF crColor);
  static CBrush* FromHandle(HBRUSH h) { return reinterpret_cast<CBrush*>(h); }
  operator HBRUSH() const { return (HBRUSH)m_hObject; }  // NOLINT
  COLORREF color = 0;
};
class CFont : public CGdiObject {
 public:
  CFont() { kind = 3; }
  // Height in tenths of a point.
  BOOL CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC = nullptr);
  static CFont* FromHandle(HFONT h) { return reinterpret_cast<CFont*>(h); }
  operator HFONT() const { return (HFONT)m_hObject; }  // NOLINT
  int point_tenths = 90;
  CString face = L"ＭＳ Ｐゴシック";
};

#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_NULL 5
#define TRANSPARENT 1
#define OPAQUE 2
#define DT_LEFT 0x0000
#define DT_CENTER 0x0001
#define DT_RIGHT 0x0002
#define DT_VCENTER 0x0004
#define DT_SINGLELINE 0x0020
#define DT_NOPREFIX 0x0800
#define DT_CALCRECT 0x0400
#define NULL_BRUSH 5
#define NULL_PEN 8

// One recorded drawing operation: its name and its numbers and text, e.g. {"LineTo", {x, y}}.
struct DrawOp {
  std::string op;
  std::vector<long> args;
  std::wstring text;
};

// A device context that records what is drawn instead of painting pixels. Text extents use the
// 9-point metric scaled by the selected font: full-width characters 12 pixels, others 6.
class CDC : public CObject {
 public:
  CDC();
  HDC m_hDC = nullptr;
  static CDC* FromHandle(HDC h) { return reinterpret_cast<CDC*>(h); }
  operator HDC() const { return m_hDC; }  // NOLINT
  HDC GetSafeHdc() const { return m_hDC; }
  BOOL Attach(HDC h) { return h != nullptr; }
  HDC Detach() { return m_hDC; }

  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CGdiObject* SelectStockObject(int index);
  int SaveDC();
  BOOL RestoreDC(int saved);
  COLORREF SetTextColor(COLORREF c);
  COLORREF SetBkColor(COLORREF c);
  COLORREF GetTextColor() const { return text_color_; }
  COLORREF GetBkColor() const { return bk_color_; }
  int SetBkMode(int mode);
  BOOL Rectangle(int l, int t, int r, int b);
  BOOL Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }
  void FillSolidRect(LPCRECT r, COLORREF c);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF c);
  void FillRect(LPCRECT r, CBrush* brush);
  CPoint MoveTo(int x, int y);
  BOOL LineTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  BOOL TextOut(int x, int y, const CString& text);
  int DrawText(const CString& text, LPRECT rect, UINT format);
  void DrawFocusRect(LPCRECT r);
  CSize GetTextExtent(const CString& text) const;
  CSize GetTextExtent(LPCTSTR text, int count) const;
  CPen* GetCurrentPen() const { return pen_; }
  CBrush* GetCurrentBrush() const { return brush_; }
  CFont* GetCurrentFont() const { return font_; }

  std::vector<DrawOp> ops;  // what was drawn, in order

 private:
  void Record(const char* op, std::vector<long> args, std::wstring text = {});
  CPen* pen_ = nullptr;
  CBrush* brush_ = nullptr;
  CFont* font_ = nullptr;
  COLORREF text_color_ = 0;
  COLORREF bk_color_ = 0xFFFFFF;
  int bk_mode_ = OPAQUE;
  struct Saved {
    CPen* pen;
    CBrush* brush;
    CFont* font;
    COLORREF text, bk;
    int mode;
  };
  std::vector<Saved> saved_;
  CPen default_pen_;
  CBrush default_brush_;
};

class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* pWnd) : window_(pWnd ? pWnd->m_hWnd : nullptr) {}
  HWND window_;
};
class CPaintDC : public CClientDC {
 public:
  explicit CPaintDC(CWnd* pWnd) : CClientDC(pWnd) {}
};
class CWindowDC : public CClientDC {
 public:
  explicit CWindowDC(CWnd* pWnd) : CClientDC(pWnd) {}
};

class CMenu : public CObject {
 public:
  CMenu() = default;
  ~CMenu() override { DestroyMenu(); }
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;
  HMENU m_hMenu = nullptr;
  operator HMENU() const { return m_hMenu; }  // NOLINT
  BOOL CreatePopupMenu();
  BOOL CreateMenu() { return CreatePopupMenu(); }
  BOOL DestroyMenu();
  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr) {
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
  }
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0,
                  LPCTSTR lpszNewItem = nullptr) {
    return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
  }
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable);
  }
  UINT GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
  }
};

// Control bars and frames: enough for a frame to show and hide its docked bars.
class CControlBar : public CWnd {};
class CFrameWnd : public CWnd {
 public:
  // Shows or hides the bar's window; the delay is immaterial without a screen.
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay) {
    if (pBar && pBar->m_hWnd) pBar->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
  }
  void RecalcLayout(BOOL bNotify = TRUE) {}
};
class CMDIFrameWnd : public CFrameWnd {};

// The application object: one per module; this subset only keeps its instance handle.
class CWinApp : public CCmdTarget {
 public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  HINSTANCE m_hInstance = nullptr;
  CWnd* m_pMainWnd = nullptr;
  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance() { return 0; }
};
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();

// The hourglass while a handler works: without a screen there is no cursor to change, so the
// object only marks the span in the code, as it does in real MFC code.
class CWaitCursor {
 public:
  CWaitCursor() {}
  ~CWaitCursor() {}
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;
  void Restore() {}
};

// Message boxes answered by the user session: the transcript gets "[box ICON] TEXT → ANSWER".
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));

// Resource modules. The current resource handle names the module whose script dialog templates
// and strings come from first; extension modules added with CDynLinkLibrary are searched next.
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
#define MAKEINTRESOURCE(i) ((LPCTSTR)((ULONG_PTR)((WORD)(i))))
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)

struct AFX_EXTENSION_MODULE {
  BOOL bInitialized = FALSE;
  HMODULE hModule = nullptr;
  HMODULE hResource = nullptr;
};
// Records the module; TRUE.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Forgets the module and every CDynLinkLibrary made for it.
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// Makes an extension module's resources findable while it lives.
class CDynLinkLibrary : public CCmdTarget {
 public:
  explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
  CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource);
  ~CDynLinkLibrary() override;
  CDynLinkLibrary(const CDynLinkLibrary&) = delete;
  CDynLinkLibrary& operator=(const CDynLinkLibrary&) = delete;
  HMODULE m_hModule;
  HMODULE m_hResource;
};
