// CXTipComboBox: the tip over a text too wide for the box, the tip list and the wide drop-down.
#include "controls/xtip_combo_box.h"

#include <windows.h>

#include "controls/ex_combo_box.h"
#include "controls/tip_window.h"

namespace {
constexpr UINT_PTR kTipTimer = 1;
constexpr UINT kTipTimerMs = 80;
}  // namespace

BEGIN_MESSAGE_MAP(CXTipComboBox, CComboBox)
ON_CONTROL_REFLECT(CBN_DROPDOWN, &CXTipComboBox::OnDropDown)
ON_WM_CTLCOLOR()
ON_WM_DESTROY()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
END_MESSAGE_MAP()

void CXTipComboBox::PreSubclassWindow() {
  CComboBox::PreSubclassWindow();
  toolTip_ = CreateTipWindow(*this, toolInfo_);
}

void CXTipComboBox::OnDropDown() {
  WidenDropDown(*this);
}

HBRUSH CXTipComboBox::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  if (nCtlColor == CTLCOLOR_LISTBOX && list_.m_hWnd == nullptr && pWnd != nullptr) {
    list_.SubclassWindow(pWnd->m_hWnd);
  }
  return CComboBox::OnCtlColor(pDC, pWnd, nCtlColor);
}

void CXTipComboBox::OnDestroy() {
  if (list_.m_hWnd != nullptr) list_.UnsubclassWindow();
  CComboBox::OnDestroy();
}

CRect CXTipComboBox::TestRect() const {
  CRect rect;
  GetClientRect(&rect);
  rect.right -= ::GetSystemMetrics(SM_CXHTHUMB) + 2;
  return rect;
}

void CXTipComboBox::OnMouseMove(UINT nFlags, CPoint point) {
  CRect rect = TestRect();
  if (!rect.PtInRect(point)) {
    HideTip(toolTip_, toolInfo_);
  } else {
    ClientToScreen(&rect);
    CString text;
    GetWindowText(text);
    if (TextWidthIn(*this, text) <= rect.Width() - 6) {
      HideTip(toolTip_, toolInfo_);
    } else {
      const bool focused = ::GetFocus() == m_hWnd;
      ::SendMessage(toolTip_, TTM_SETTIPTEXTCOLOR,
                    GetSysColor(focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT), 0);
      ::SendMessage(toolTip_, TTM_SETTIPBKCOLOR,
                    GetSysColor(focused ? COLOR_HIGHLIGHT : COLOR_WINDOW), 0);
      ShowTip(toolTip_, toolInfo_, text, CPoint(rect.left + 1, rect.top + 3));
      SetTimer(kTipTimer, kTipTimerMs, nullptr);
    }
  }
  CComboBox::OnMouseMove(nFlags, point);
}

void CXTipComboBox::OnTimer(UINT_PTR nIDEvent) {
  CPoint cursor;
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  if (!TestRect().PtInRect(cursor)) {
    KillTimer(nIDEvent);
    HideTip(toolTip_, toolInfo_);
  }
}
