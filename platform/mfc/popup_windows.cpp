// The small popups that controls own: tooltip windows and the drop-down list of a combo box,
// and the mouse that makes controls show them.
#include <algorithm>

#include <afxcmn.h>
#include "platform/mfc/window_system.h"

namespace platform::mfc {
namespace {

ToolRecord* FindTool(TooltipState& tip, const TOOLINFOW* info) {
  if (!info) return nullptr;
  for (ToolRecord& t : tip.tools) {
    if (t.hwnd == info->hwnd && t.id == info->uId) return &t;
  }
  return nullptr;
}

// The tip's window follows its state: shown at the track position while tracking a tool whose
// text is not empty, hidden otherwise.
void PlaceTip(HWND h, WindowRecord& r) {
  TooltipState& tip = r.tooltip;
  const bool show = tip.tracking && tip.tracked >= 0 &&
                    tip.tracked < static_cast<int>(tip.tools.size()) &&
                    !tip.tools[tip.tracked].text.empty();
  if (!show) {
    r.style &= ~WS_VISIBLE;
    return;
  }
  CDC dc;
  dc.SelectObject(CFont::FromHandle(r.font));
  const std::wstring& text = tip.tools[tip.tracked].text;
  CSize extent = dc.GetTextExtent(text.c_str(), static_cast<int>(text.size()));
  const int border = (r.style & WS_BORDER) ? 1 : 0;
  const int width = extent.cx + tip.margin.left + tip.margin.right + 2 * border;
  const int height = extent.cy + tip.margin.top + tip.margin.bottom + 2 * border;
  r.rect = RECT{tip.track_position.x, tip.track_position.y, tip.track_position.x + width,
                tip.track_position.y + height};
  r.style |= WS_VISIBLE;
}

}  // namespace

LRESULT TooltipProc(HWND h, WindowRecord& r, UINT msg, WPARAM wp, LPARAM lp, bool* handled) {
  *handled = true;
  TooltipState& tip = r.tooltip;
  auto* info = reinterpret_cast<TOOLINFOW*>(lp);
  switch (msg) {
    case TTM_ADDTOOLW: {
      if (!info || FindTool(tip, info)) return FALSE;
      ToolRecord tool;
      tool.flags = info->uFlags;
      tool.hwnd = info->hwnd;
      tool.id = info->uId;
      tool.rect = info->rect;
      if (info->lpszText) tool.text = info->lpszText;
      tip.tools.push_back(std::move(tool));
      return TRUE;
    }
    case TTM_DELTOOLW: {
      ToolRecord* tool = FindTool(tip, info);
      if (!tool) return 0;
      const int index = static_cast<int>(tool - tip.tools.data());
      tip.tools.erase(tip.tools.begin() + index);
      if (tip.tracked == index) tip.tracking = false;
      if (tip.tracked >= index) --tip.tracked;
      PlaceTip(h, r);
      return 0;
    }
    case TTM_GETTOOLCOUNT:
      return static_cast<LRESULT>(tip.tools.size());
    case TTM_UPDATETIPTEXTW:
      if (ToolRecord* tool = FindTool(tip, info)) {
        tool->text = info->lpszText ? info->lpszText : L"";
        PlaceTip(h, r);
      }
      return 0;
    case TTM_GETTEXTW:
      // wParam: the buffer's size in characters; the text goes to info->lpszText.
      if (ToolRecord* tool = FindTool(tip, info); tool && info->lpszText && wp > 0) {
        const size_t n = std::min<size_t>(tool->text.size(), wp - 1);
        std::copy_n(tool->text.begin(), n, info->lpszText);
        info->lpszText[n] = 0;
      }
      return 0;
    case TTM_TRACKPOSITION:
      tip.track_position = POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      PlaceTip(h, r);
      return 0;
    case TTM_TRACKACTIVATE:
      if (wp) {
        ToolRecord* tool = FindTool(tip, info);
        if (!tool || !(tool->flags & TTF_TRACK)) return 0;
        tip.tracked = static_cast<int>(tool - tip.tools.data());
        tip.tracking = true;
      } else {
        tip.tracking = false;
      }
      PlaceTip(h, r);
      return 0;
    case TTM_POP:
      r.style &= ~WS_VISIBLE;
      return 0;
    case TTM_SETTIPBKCOLOR:
      tip.background = static_cast<COLORREF>(wp);
      return 0;
    case TTM_SETTIPTEXTCOLOR:
      tip.text_colour = static_cast<COLORREF>(wp);
      return 0;
    case TTM_GETTIPBKCOLOR:
      return tip.background;
    case TTM_GETTIPTEXTCOLOR:
      return tip.text_colour;
    case TTM_SETMAXTIPWIDTH: {
      const int old = tip.max_width;
      tip.max_width = static_cast<int>(lp);
      PlaceTip(h, r);
      return old;
    }
    case TTM_GETMAXTIPWIDTH:
      return tip.max_width;
    case TTM_SETMARGIN:
      if (lp) tip.margin = *reinterpret_cast<const RECT*>(lp);
      PlaceTip(h, r);
      return 0;
    case TTM_GETMARGIN:
      if (lp) *reinterpret_cast<RECT*>(lp) = tip.margin;
      return 0;
    case WM_SETFONT:
      r.font = reinterpret_cast<HFONT>(wp);
      PlaceTip(h, r);
      return 0;
  }
  *handled = false;
  return 0;
}

void ShowComboDropList(HWND combo, bool show) {
  WindowRecord* r = FindWindowRecord(combo);
  if (!r || r->class_name != L"ComboBox" || show == r->dropped) return;
  if (!show) {
    r->dropped = false;
    if (WindowRecord* list = FindWindowRecord(r->drop_list)) list->style &= ~WS_VISIBLE;
    NotifyParent(combo, CBN_CLOSEUP);
    return;
  }
  NotifyParent(combo, CBN_DROPDOWN);
  if (!(r = FindWindowRecord(combo))) return;
  r->dropped = true;
  if (!FindWindowRecord(r->drop_list)) {
    r->drop_list = CreateWindowRecord(L"ComboLBox", L"", WS_POPUP | WS_BORDER | WS_VSCROLL,
                                      WS_EX_TOOLWINDOW, RECT{}, combo, 0);
  }
  HWND list_handle = r->drop_list;
  WindowRecord* list = FindWindowRecord(list_handle);
  RECT box{};
  ::GetWindowRect(combo, &box);
  const int width = std::max<LONG>(r->dropped_width, box.right - box.left);
  const int shown_items = std::clamp(static_cast<int>(r->items.size()), 1, 30);
  list->rect = RECT{box.left, box.bottom, box.left + width, box.bottom + 16 * shown_items + 2};
  list->items = r->items;
  list->cur_sel = r->cur_sel;
  list->font = r->font;
  list->style |= WS_VISIBLE;
  // Painting the list asks its owner, the box, for the colours.
  CDC dc;
  ::SendMessageW(combo, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc.m_hDC),
                 reinterpret_cast<LPARAM>(list_handle));
}

void MoveMouse(HWND window, POINT point) {
  POINT screen = point;
  ::ClientToScreen(window, &screen);
  ::SetCursorPos(screen.x, screen.y);
  ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
}

}  // namespace platform::mfc
