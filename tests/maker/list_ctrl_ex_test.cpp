// CListCtrlEx: rows by sub-item and the selected rows.
#include <gtest/gtest.h>

#include <ListCtrlEx.h>

namespace {

TEST(ListCtrlExTest, AddItemInsertsOrSetsAndGetSelectedListsRows) {
  CWnd parent;
  ASSERT_TRUE(parent.Create(nullptr, L"parent", 0, RECT{0, 0, 200, 200}, nullptr, 0));
  CListCtrlEx list;
  ASSERT_TRUE(list.Create(LVS_REPORT, RECT{0, 0, 100, 100}, &parent, 360));
  ASSERT_EQ(0, list.InsertColumn(0, L"プロジェクト名", LVCFMT_LEFT, 120, -1));
  ASSERT_EQ(1, list.InsertColumn(1, L"更新日時", LVCFMT_LEFT, 80, -1));

  EXPECT_EQ(0, list.AddItem(0, 0, L"B", 0, -1));
  EXPECT_EQ(0, list.AddItem(0, 0, L"A", 0, -1));  // inserted before B
  EXPECT_EQ(2, list.AddItem(2, 0, L"C", 0, -1));
  EXPECT_EQ(0, list.AddItem(0, 1, L"2024/01/02", 0, -1));
  EXPECT_EQ(-1, list.AddItem(9, 1, L"x", 0, -1));
  ASSERT_EQ(3, list.GetItemCount());
  EXPECT_STREQ(L"A", list.GetItemText(0, 0));
  EXPECT_STREQ(L"2024/01/02", list.GetItemText(0, 1));
  EXPECT_STREQ(L"B", list.GetItemText(1, 0));
  EXPECT_TRUE(list.GetItemText(1, 1).IsEmpty());

  CUIntArray rows;
  rows.Add(42);
  EXPECT_FALSE(list.GetSelected(rows));
  EXPECT_EQ(0, rows.GetSize());
  list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
  list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_TRUE(list.GetSelected(rows));
  ASSERT_EQ(2, rows.GetSize());
  EXPECT_EQ(0u, rows[0]);
  EXPECT_EQ(2u, rows[1]);
  parent.DestroyWindow();
}

}  // namespace
