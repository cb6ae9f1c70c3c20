// CXTipListBox: the tip over an item too narrow for its text.
#include "controls/xtip_list_box.h"

#include <windows.h>

#include "controls/tip_window.h"

namespace {
constexpr UINT_PTR kTipTimer = 1;
constexpr UINT kTipTimerMs = 80;
}  // namespace

BEGIN_MESSAGE_MAP(CXTipListBox, CListBox)
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
END_MESSAGE_MAP()

void CXTipListBox::PreSubclassWindow() {
  CListBox::PreSubclassWindow();
  toolTip_ = CreateTipWindow(*this, toolInfo_);
  const LONG_PTR style = ::GetWindowLongPtr(toolTip_, GWL_STYLE);
  ::SetWindowLongPtr(toolTip_, GWL_STYLE, style & ~WS_BORDER);
}

void CXTipListBox::OnMouseMove(UINT nFlags, CPoint point) {
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(point)) {
    HideTip(toolTip_, toolInfo_);
  } else {
    BOOL outside = FALSE;
    const int index = static_cast<int>(ItemFromPoint(point, outside));
    if (!outside && index >= 0 && index < GetCount()) {
      CString text;
      GetText(index, text);
      const int width = TextWidthIn(*this, text);
      CRect item;
      GetItemRect(index, &item);
      ClientToScreen(&item);
      if (width <= item.Width() - 3) {
        HideTip(toolTip_, toolInfo_);
      } else {
        ShowTip(toolTip_, toolInfo_, text, item.TopLeft());
        SetTimer(kTipTimer, kTipTimerMs, nullptr);
      }
    }
  }
  CListBox::OnMouseMove(nFlags, point);
}

void CXTipListBox::OnTimer(UINT_PTR nIDEvent) {
  CPoint cursor;
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  CRect client;
  GetClientRect(&client);
  if (!client.PtInRect(cursor) || !(GetStyle() & WS_VISIBLE)) {
    KillTimer(nIDEvent);
    HideTip(toolTip_, toolInfo_);
  }
}
