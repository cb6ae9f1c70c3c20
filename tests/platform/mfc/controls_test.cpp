// The standard controls as models: combo box rules, edits with the clipboard and undo, list
// views (selection, sort, column clicks), context menus and the recording device context.
#include <gtest/gtest.h>

#include <afxcmn.h>
#include "mfc_support.h"
#include "platform/mfc/window_system.h"

namespace {

using namespace mfc_test;

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent.Create(L"Frame", L"", WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0);
  }
  void TearDown() override { platform::mfc::ResetWindowSystem(); }
  CWnd parent;
};

TEST_F(ControlsTest, ComboBoxRules) {
  CComboBox box;
  ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(0, 0, 100, 20), &parent, 5));
  EXPECT_EQ(box.AddString(L"Alpha"), 0);
  EXPECT_EQ(box.AddString(L"beta"), 1);
  EXPECT_EQ(box.AddString(L"ALPHA"), 2);
  EXPECT_EQ(box.InsertString(0, L"gamma"), 0);
  EXPECT_EQ(box.GetCount(), 4);
  // Whole-text search ignores case and starts after the given index, wrapping round.
  EXPECT_EQ(box.FindStringExact(-1, L"alpha"), 1);
  EXPECT_EQ(box.FindStringExact(1, L"alpha"), 3);
  EXPECT_EQ(box.FindStringExact(3, L"alpha"), 1);
  EXPECT_EQ(box.FindStringExact(-1, L"alp"), CB_ERR);
  EXPECT_EQ(box.FindString(-1, L"BE"), 2);
  EXPECT_EQ(box.SetCurSel(2), 2);
  CString text;
  box.GetWindowText(text);
  EXPECT_EQ(text, L"beta");
  EXPECT_EQ(box.SetCurSel(-1), CB_ERR);
  box.GetWindowText(text);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(box.GetCurSel(), CB_ERR);
  EXPECT_EQ(box.SelectString(-1, L"gam"), 0);
  EXPECT_EQ(box.SelectString(-1, L"zzz"), CB_ERR);
  EXPECT_EQ(box.GetCurSel(), 0);
  box.SetItemData(1, 77);
  EXPECT_EQ(box.GetItemData(1), 77u);
  EXPECT_EQ(box.DeleteString(0), 3);
  EXPECT_EQ(box.GetCurSel(), CB_ERR);  // the selected item went
  EXPECT_EQ(box.GetItemData(0), 77u);
  EXPECT_EQ(box.GetLBTextLen(9), CB_ERR);
  // The dropped list is never narrower than the box.
  EXPECT_EQ(box.SetDroppedWidth(40), 100);
  EXPECT_EQ(box.SetDroppedWidth(180), 180);
  EXPECT_EQ(box.GetDroppedWidth(), 180);
  EXPECT_FALSE(box.GetDroppedState());
  box.ShowDropDown(TRUE);
  EXPECT_TRUE(box.GetDroppedState());
  EXPECT_TRUE(box.SetEditSel(1, 3));
  EXPECT_EQ(box.GetEditSel(), static_cast<DWORD>(MAKELONG(1, 3)));
  box.ResetContent();
  EXPECT_EQ(box.GetCount(), 0);

  CComboBox sorted;
  sorted.Create(WS_CHILD | CBS_DROPDOWNLIST | CBS_SORT, CRect(0, 0, 50, 20), &parent, 6);
  sorted.AddString(L"b");
  sorted.AddString(L"C");
  EXPECT_EQ(sorted.AddString(L"a"), 0);
  EXPECT_EQ(sorted.AddString(L"c"), 3);  // after the equal one
  EXPECT_EQ(sorted.GetEditSel(), static_cast<DWORD>(CB_ERR));
}

TEST_F(ControlsTest, EditSelectionUndoAndClipboard) {
  CEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 20), &parent, 7));
  edit.SetWindowText(L"配線サイズ");
  EXPECT_FALSE(edit.CanUndo());
  edit.SetSel(0, 2);
  int a = 0, b = 0;
  edit.GetSel(a, b);
  EXPECT_EQ(a, 0);
  EXPECT_EQ(b, 2);
  edit.Copy();
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  edit.SetSel(5, -1);
  edit.Paste();
  CString text;
  edit.GetWindowText(text);
  EXPECT_EQ(text, L"配線サイズ配線");
  EXPECT_TRUE(edit.CanUndo());
  edit.Undo();
  edit.GetWindowText(text);
  EXPECT_EQ(text, L"配線サイズ");
  edit.SetSel(0, -1);
  edit.Cut();
  edit.GetWindowText(text);
  EXPECT_TRUE(text.IsEmpty());
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE h = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(GlobalLock(h))), L"配線サイズ");
  EXPECT_TRUE(EmptyClipboard());
  CloseClipboard();
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  edit.SetWindowText(L"abc");
  edit.SetReadOnly(TRUE);
  edit.SetSel(0, -1);
  edit.Cut();
  edit.GetWindowText(text);
  EXPECT_EQ(text, L"abc");
  edit.LimitText(2);
  edit.SetReadOnly(FALSE);
  edit.SetSel(3, 3);
  edit.ReplaceSel(L"d");
  edit.GetWindowText(text);
  EXPECT_EQ(text, L"abc");  // over the limit: refused
}

int CALLBACK ByData(LPARAM a, LPARAM b, LPARAM descending) {
  int r = a < b ? -1 : a > b ? 1 : 0;
  return descending ? -r : r;
}

class CListHost : public CWnd {
 public:
  std::vector<std::wstring> log;

 protected:
  afx_msg void OnColumn(NMHDR* nm, LRESULT* result) {
    auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
    log.push_back(L"column " + std::to_wstring(lv->iSubItem));
  }
  afx_msg void OnChanged(NMHDR* nm, LRESULT* result) {
    auto* lv = reinterpret_cast<NMLISTVIEW*>(nm);
    log.push_back(L"changed " + std::to_wstring(lv->iItem) + L" " + std::to_wstring(lv->uNewState));
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CListHost, CWnd)
ON_NOTIFY(LVN_COLUMNCLICK, 9, &CListHost::OnColumn)
ON_NOTIFY(LVN_ITEMCHANGED, 9, &CListHost::OnChanged)
END_MESSAGE_MAP()

TEST_F(ControlsTest, ListViewSortSelectionAndHeaderClicks) {
  CListHost host;
  host.Create(L"Host", L"", WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0);
  platform::mfc::SetPaletteWindow(&host);
  CListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 200, 100), &host, 9));
  list.InsertColumn(0, L"名前", LVCFMT_LEFT, 80);
  list.InsertColumn(1, L"サイズ", LVCFMT_LEFT, 60);
  const wchar_t* names[] = {L"c", L"a", L"b"};
  for (int i = 0; i < 3; ++i) {
    list.InsertItem(i, names[i]);
    list.SetItemText(i, 1, CString(names[i]) + L"1");
    list.SetItemData(i, 10 - i);
  }
  list.SortItems(&ByData, 0);
  EXPECT_EQ(list.GetItemText(0, 0), L"b");
  EXPECT_EQ(list.GetItemText(0, 1), L"b1");
  EXPECT_EQ(list.GetItemText(2, 0), L"c");
  list.SortItems(&ByData, 1);
  EXPECT_EQ(list.GetItemText(0, 0), L"c");
  EXPECT_EQ(list.GetColumnWidth(1), 60);
  ASSERT_TRUE(platform::DeliverWindowAction(Rows(9, {0, 2})));
  EXPECT_EQ(list.GetSelectedCount(), 2u);
  std::vector<int> selected;
  for (POSITION pos = list.GetFirstSelectedItemPosition(); pos;) {
    selected.push_back(list.GetNextSelectedItem(pos));
  }
  EXPECT_EQ(selected, (std::vector<int>{0, 2}));
  ASSERT_TRUE(platform::DeliverWindowAction(Rows(9, {2})));
  ASSERT_TRUE(platform::DeliverWindowAction(Header(9, 1)));
  EXPECT_EQ(host.log, (std::vector<std::wstring>{L"changed 0 2", L"changed 2 2", L"changed 0 0",
                                                 L"column 1"}));
  list.DeleteColumn(0);
  EXPECT_EQ(list.GetItemText(0, 0), L"c1");
  EXPECT_TRUE(list.DeleteItem(0));
  EXPECT_EQ(list.GetItemCount(), 2);
  host.DestroyWindow();
}

// A comparison that reads the rows' texts through the list, as callers of LVM_SORTITEMS do
// after setting each row's item data to its index.
HWND g_sorted_list = nullptr;
int CALLBACK ByTextOfRow(LPARAM a, LPARAM b, LPARAM) {
  auto* list = static_cast<CListCtrl*>(CWnd::FromHandlePermanent(g_sorted_list));
  return list->GetItemText(static_cast<int>(a), 0)
      .Compare(list->GetItemText(static_cast<int>(b), 0));
}

TEST_F(ControlsTest, ListViewSortCallbacksSeeTheRowsAsTheyWereBeforeTheSort) {
  CListCtrl list;
  ASSERT_TRUE(list.CreateEx(WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | LVS_REPORT,
                            CRect(0, 0, 200, 100), &parent, 9));
  EXPECT_EQ(list.GetExStyle(), static_cast<DWORD>(WS_EX_CLIENTEDGE));
  list.InsertColumn(0, L"名前", LVCFMT_LEFT, 80);
  const wchar_t* names[] = {L"e", L"b", L"g", L"a", L"f", L"c", L"h", L"d"};
  for (int i = 0; i < 8; ++i) {
    list.InsertItem(i, names[i]);
    list.SetItemData(i, i);
  }
  g_sorted_list = list.m_hWnd;
  ASSERT_TRUE(list.SortItems(&ByTextOfRow, 0));
  std::wstring order;
  for (int i = 0; i < list.GetItemCount(); ++i) order += list.GetItemText(i, 0).GetString();
  EXPECT_EQ(order, L"abcdefgh");
}

class CMenuHost : public CWnd {
 public:
  std::vector<UINT> picked;

 protected:
  afx_msg void OnContextMenu(CWnd* wnd, CPoint point) {
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, 0x3403, L"サイズ詳細(&S)");
    menu.AppendMenu(MF_SEPARATOR);
    menu.AppendMenu(MF_STRING | MF_GRAYED, 199, L"元に戻す(&U)");
    UINT id = menu.TrackPopupMenu(TPM_RIGHTBUTTON | TPM_RETURNCMD, point.x, point.y, this);
    if (id) picked.push_back(id);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMenuHost, CWnd)
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

TEST_F(ControlsTest, ContextMenusPickByTextAndRefuseGreyedItems) {
  platform::ActionQueueSession session;
  platform::ScopedUserSession use(&session);
  CMenuHost host;
  host.Create(L"Host", L"", WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0);
  platform::mfc::SetPaletteWindow(&host);
  CEdit edit;  // no handler of its own: the request goes to the parent
  edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &host, 12);
  ASSERT_TRUE(platform::DeliverWindowAction(Menu(12, L"サイズ詳細")));
  ASSERT_TRUE(platform::DeliverWindowAction(Menu(12, L"サイズ詳細(&S)")));
  EXPECT_EQ(host.picked, (std::vector<UINT>{0x3403, 0x3403}));
  EXPECT_FALSE(session.stopped());
  ASSERT_TRUE(platform::DeliverWindowAction(Menu(12, L"元に戻す")));
  EXPECT_TRUE(session.stopped());
  EXPECT_EQ(host.picked.size(), 2u);
  host.DestroyWindow();
}

TEST(RecordingDC, TextExtentsCountFullWidthCharactersTwice) {
  CDC dc;
  EXPECT_EQ(dc.GetTextExtent(CString(L"ABC")), CSize(18, 12));
  EXPECT_EQ(dc.GetTextExtent(CString(L"配線A")), CSize(30, 12));
  EXPECT_EQ(dc.GetTextExtent(CString(L"ｷｬﾝｾﾙ")), CSize(30, 12));  // half-width katakana
  EXPECT_EQ(dc.GetTextExtent(CString(L"")), CSize(0, 12));
  CFont big;
  big.CreatePointFont(180, L"ＭＳ Ｐゴシック");
  dc.SelectObject(&big);
  EXPECT_EQ(dc.GetTextExtent(CString(L"線")), CSize(24, 24));
}

TEST(RecordingDC, RecordsOperationsAndRestoresState) {
  CDC dc;
  CPen red(PS_SOLID, 0, RGB(255, 0, 0));
  int saved = dc.SaveDC();
  CPen* old = dc.SelectObject(&red);
  dc.MoveTo(1, 2);
  dc.LineTo(3, 4);
  dc.SetTextColor(RGB(0, 255, 255));
  dc.TextOut(5, 6, L"注記");
  dc.RestoreDC(saved);
  EXPECT_EQ(dc.GetCurrentPen(), old);
  EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
  ASSERT_EQ(dc.ops.size(), 5u);
  EXPECT_EQ(dc.ops[2].op, "LineTo");
  EXPECT_EQ(dc.ops[2].args, (std::vector<long>{3, 4, static_cast<long>(RGB(255, 0, 0)), PS_SOLID}));
  EXPECT_EQ(dc.ops[4].text, L"注記");
}

}  // namespace
