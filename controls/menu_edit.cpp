// CMenuEdit: the context menu with the size detail, and the highlight colours.
#include "controls/menu_edit.h"

#include <windows.h>

BEGIN_MESSAGE_MAP(CMenuEdit, CEdit)
ON_WM_CONTEXTMENU()
ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CMenuEdit::CMenuEdit()
    : highlightText_(RGB(0, 0, 0)),
      highlightBack_(RGB(255, 255, 0)),
      normalText_(GetSysColor(COLOR_WINDOWTEXT)),
      normalBack_(GetSysColor(COLOR_WINDOW)),
      disabledBack_(GetSysColor(COLOR_BTNFACE)),
      disabledText_(GetSysColor(COLOR_GRAYTEXT)) {
  highlightBrush_.CreateSolidBrush(highlightBack_);
  normalBrush_.CreateSolidBrush(normalBack_);
  disabledBrush_.CreateSolidBrush(disabledBack_);
}

CMenuEdit::~CMenuEdit() = default;

void CMenuEdit::SetOwnerRow(CWnd* owner, int row) {
  owner_ = owner;
  row_ = row;
}

void CMenuEdit::ClearHighlight() {
  highlighted_ = false;
  RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

void CMenuEdit::OnContextMenu(CWnd*, CPoint point) {
  SetFocus();
  const bool readOnly = (GetStyle() & ES_READONLY) != 0;
  const bool noUndo = !CanUndo() || readOnly;
  const bool noPaste = !IsClipboardFormatAvailable(CF_TEXT) || readOnly;
  int start = 0;
  int end = 0;
  GetSel(start, end);
  const int length = GetWindowTextLength();
  const bool nothingToSelect = length == 0 || (start == 0 && end == length);
  auto item = [](bool greyed) -> UINT {
    return MF_BYPOSITION | MF_STRING | (greyed ? MF_GRAYED : MF_ENABLED);
  };

  CMenu menu;
  menu.CreatePopupMenu();
  menu.InsertMenu(0, item(readOnly), kSizeDetailCommand, L"サイズ詳細(&S)");
  menu.InsertMenu(1, MF_BYPOSITION | MF_SEPARATOR);
  menu.InsertMenu(2, item(noUndo), EM_UNDO, L"元に戻す(&U)");
  menu.InsertMenu(3, MF_BYPOSITION | MF_SEPARATOR);
  menu.InsertMenu(4, item(noUndo), WM_CUT, L"切り取り(&T)");
  menu.InsertMenu(5, item(start == end), WM_COPY, L"コピー(&C)");
  menu.InsertMenu(6, item(noPaste), WM_PASTE, L"貼り付け(&P)");
  menu.InsertMenu(7, item(noPaste), WM_CLEAR, L"削除(&D)");
  menu.InsertMenu(8, MF_BYPOSITION | MF_SEPARATOR);
  menu.InsertMenu(9, item(nothingToSelect), kSelectAllCommand, L"すべて選択(&A)");
  menu.TrackPopupMenu(TPM_RIGHTBUTTON, point.x, point.y, this);
  menu.DestroyMenu();
}

BOOL CMenuEdit::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  switch (id) {
    case EM_UNDO:
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
      return static_cast<BOOL>(SendMessage(id, 0, 0));
    case kSelectAllCommand:
      return static_cast<BOOL>(SendMessage(EM_SETSEL, 0, -1));
    case kSizeDetailCommand:
      if (owner_) {
        SendMessage(EM_SETSEL, 0, -1);
        owner_->PostMessage(kSizeDetailMessage, static_cast<WPARAM>(row_), 0);
        highlighted_ = true;
      }
      break;
  }
  return CEdit::OnCommand(wParam, lParam);
}

HBRUSH CMenuEdit::CtlColor(CDC* pDC, UINT) {
  if (!IsWindowEnabled()) {
    pDC->SetTextColor(disabledText_);
    pDC->SetBkColor(disabledBack_);
    return disabledBrush_;
  }
  if (highlighted_) {
    pDC->SetTextColor(highlightText_);
    pDC->SetBkColor(highlightBack_);
    return highlightBrush_;
  }
  pDC->SetTextColor(normalText_);
  pDC->SetBkColor(normalBack_);
  return normalBrush_;
}
