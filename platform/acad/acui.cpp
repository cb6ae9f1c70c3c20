// The host's windows (main frame, drawing window, command line) and the AcUi/AdUi classes.
#include <acui.h>

#include <memory>

#include "platform/win/user_session.h"
#include "platform/mfc/window_system.h"

namespace {

// The command line: Esc typed into it cancels the prompt that is waiting.
class CommandLineWindow : public CWnd {
 protected:
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_ESCAPE) platform::RequestCancel();
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CommandLineWindow, CWnd)
ON_WM_CHAR()
END_MESSAGE_MAP()

struct HostWindows {
  HostWindows() {
    frame.Create(L"AfxMDIFrame", L"AutoCAD", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                 CRect(0, 0, 1920, 1040), nullptr, 0);
    drawing.Create(L"AfxMDIChild", L"Drawing1.dwg", WS_CHILD | WS_VISIBLE, CRect(0, 80, 1920, 880),
                   &frame, AFX_IDW_PANE_FIRST);
    command_line.Create(L"AcCmdLine", L"", WS_CHILD | WS_VISIBLE, CRect(0, 880, 1920, 1000), &frame,
                        0xE800);
  }
  CMDIFrameWnd frame;
  CWnd drawing;
  CommandLineWindow command_line;
};

// The host's windows live as long as the process; made again when something (a test's reset of
// the window system) destroyed them.
HostWindows& Host() {
  static std::unique_ptr<HostWindows> windows;
  if (!windows || !::IsWindow(windows->frame.m_hWnd)) windows = std::make_unique<HostWindows>();
  return *windows;
}

}  // namespace

void InitAcUiDLL() {}
HWND adsw_acadMainWnd() {
  return Host().frame.m_hWnd;
}
HWND adsw_acadDocWnd() {
  return Host().drawing.m_hWnd;
}
CMDIFrameWnd* acedGetAcadFrame() {
  return &Host().frame;
}
CWnd* acedGetAcadTextCmdLine() {
  return &Host().command_line;
}

BOOL CAdUiPaletteSet::Create(LPCTSTR title, DWORD style, const RECT& rect, CWnd* parent, DWORD) {
  if (m_hWnd) return FALSE;
  return CWnd::Create(L"AdUiPaletteSet", title, style & ~WS_VISIBLE, rect, parent, 0);
}

BOOL CAdUiPaletteSet::HostDialog(CWnd* dialog) {
  if (!dialog || !::IsWindow(dialog->m_hWnd) || !m_hWnd) return FALSE;
  ::SetParent(dialog->m_hWnd, m_hWnd);
  dialog->ModifyStyle(WS_POPUP, WS_CHILD);
  // The palette fills the set's client area from its corner, wherever its template placed it.
  dialog->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  dialog->ShowWindow(SW_SHOW);
  hosted_ = dialog;
  // The user's actions without a window named go to the palette when nothing else is active.
  platform::mfc::SetPaletteWindow(dialog);
  return TRUE;
}

BOOL CAdUiPaletteSet::SetOpacity(int opacity) {
  if (opacity < 0 || opacity > 100) return FALSE;
  opacity_ = opacity;
  return TRUE;
}

CString CAdUiPaletteSet::GetName() const {
  CString name;
  GetWindowText(name);
  return name;
}
