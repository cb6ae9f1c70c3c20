// The common controls in use: the list view in report view (CListCtrl) and its notifications.
#pragma once

#include <afxwin.h>

#define LVS_ICON 0x0000
#define LVS_REPORT 0x0001
#define LVS_SINGLESEL 0x0004
#define LVS_SHOWSELALWAYS 0x0008
#define LVS_NOSORTHEADER 0x8000
#define LVS_EX_GRIDLINES 0x00000001
#define LVS_EX_CHECKBOXES 0x00000004
#define LVS_EX_FULLROWSELECT 0x00000020
#define LVS_EX_DOUBLEBUFFER 0x00010000
#define LVIS_FOCUSED 0x0001
#define LVIS_SELECTED 0x0002
#define LVIF_TEXT 0x0001
#define LVIF_STATE 0x0008
#define LVIF_PARAM 0x0004
#define LVCFMT_LEFT 0x0000
#define LVCFMT_RIGHT 0x0001
#define LVCFMT_CENTER 0x0002
#define LVN_FIRST (0U - 100U)
#define LVN_ITEMCHANGING (LVN_FIRST - 0)
#define LVN_ITEMCHANGED (LVN_FIRST - 1)
#define LVN_COLUMNCLICK (LVN_FIRST - 8)
#define LVNI_SELECTED 0x0002

// Tooltips ("tooltips_class32"): styles, tool flags, messages and the tool description.
#define TOOLTIPS_CLASS L"tooltips_class32"
#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02
#define TTF_IDISHWND 0x0001
#define TTF_CENTERTIP 0x0002
#define TTF_SUBCLASS 0x0010
#define TTF_TRACK 0x0020
#define TTF_ABSOLUTE 0x0080
#define TTF_TRANSPARENT 0x0100
#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_TRACKACTIVATE (WM_USER + 17)
#define TTM_TRACKPOSITION (WM_USER + 18)
#define TTM_SETTIPBKCOLOR (WM_USER + 19)
#define TTM_SETTIPTEXTCOLOR (WM_USER + 20)
#define TTM_GETTIPBKCOLOR (WM_USER + 22)
#define TTM_GETTIPTEXTCOLOR (WM_USER + 23)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_GETMAXTIPWIDTH (WM_USER + 25)
#define TTM_SETMARGIN (WM_USER + 26)
#define TTM_GETMARGIN (WM_USER + 27)
#define TTM_POP (WM_USER + 28)
#define TTM_ADDTOOLW (WM_USER + 50)
#define TTM_DELTOOLW (WM_USER + 51)
#define TTM_GETTEXTW (WM_USER + 56)
#define TTM_UPDATETIPTEXTW (WM_USER + 57)
#define TTM_ADDTOOL TTM_ADDTOOLW
#define TTM_DELTOOL TTM_DELTOOLW
#define TTM_GETTEXT TTM_GETTEXTW
#define TTM_UPDATETIPTEXT TTM_UPDATETIPTEXTW

// One tool of a tooltip: the window (and id) it belongs to, where, and its text. The tooltip
// keeps a copy of the text when the tool is added or its text updated.
struct TTTOOLINFOW {
  UINT cbSize;
  UINT uFlags;
  HWND hwnd;
  UINT_PTR uId;
  RECT rect;
  HINSTANCE hinst;
  LPWSTR lpszText;
  LPARAM lParam;
  void* lpReserved;
};
typedef TTTOOLINFOW TOOLINFOW;
typedef TTTOOLINFOW TOOLINFO;
typedef TTTOOLINFOW* LPTOOLINFO;

struct NMLISTVIEW {
  NMHDR hdr;
  int iItem;
  int iSubItem;
  UINT uNewState;
  UINT uOldState;
  UINT uChanged;
  POINT ptAction;
  LPARAM lParam;
};
typedef NMLISTVIEW* LPNMLISTVIEW;
typedef void* POSITION;
typedef int(CALLBACK* PFNLVCOMPARE)(LPARAM, LPARAM, LPARAM);

namespace platform::mfc {
// Changes the masked state bits of a list view item; when they change, LVN_ITEMCHANGED goes to
// the parent. FALSE for a bad item (-1: every item).
BOOL SetListItemState(HWND list, int item, UINT state, UINT mask);
}  // namespace platform::mfc

// A list view in report view, as a headless model: columns, rows of texts, per-row data and
// state. Indices out of range give FALSE, -1 or empty text.
class CListCtrl : public CWnd {
 public:
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT nID);
  // With extended window styles (WS_EX_*); the list's own extended styles are SetExtendedStyle's.
  BOOL CreateEx(DWORD dwExStyle, DWORD style, const RECT& rect, CWnd* parent, UINT nID);
  int InsertColumn(int nCol, LPCTSTR heading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                   int nSubItem = -1);
  BOOL DeleteColumn(int nCol);
  BOOL SetColumnWidth(int nCol, int cx);
  int GetColumnWidth(int nCol) const;
  int InsertItem(int nItem, LPCTSTR text);
  BOOL SetItemText(int nItem, int nSubItem, LPCTSTR text);
  CString GetItemText(int nItem, int nSubItem) const;
  BOOL DeleteItem(int nItem);
  BOOL DeleteAllItems();
  int GetItemCount() const;
  BOOL SetItemData(int nItem, DWORD_PTR data);
  DWORD_PTR GetItemData(int nItem) const;
  BOOL SetItemState(int nItem, UINT nState, UINT nMask) {
    return platform::mfc::SetListItemState(m_hWnd, nItem, nState, nMask);
  }
  UINT GetItemState(int nItem, UINT nMask) const;
  UINT GetSelectedCount() const;
  POSITION GetFirstSelectedItemPosition() const;
  // The selected row at pos; pos moves on to the next one (null after the last).
  int GetNextSelectedItem(POSITION& pos) const;
  int GetNextItem(int nItem, int nFlags) const;
  DWORD SetExtendedStyle(DWORD dwNewStyle);
  DWORD GetExtendedStyle() const;
  // Sorts the rows with the callback over their item data; the callback gets lParamSort. While
  // the sort runs the rows stay where they were, so that the callback may read an item's text by
  // its index (the item data callers set to the row index for this); they move when it ends.
  BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR lParamSort);
  BOOL EnsureVisible(int nItem, BOOL bPartialOK) const {
    return nItem >= 0 && nItem < GetItemCount();
  }
};
