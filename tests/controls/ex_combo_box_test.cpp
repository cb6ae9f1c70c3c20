// Drop-down widening of CExComboBox and CXTipComboBox: the list opens as wide as the widest item
// in the box's font, plus a scroll bar, a "0" and 3 pixels, and never narrower than the box.
#include "controls/ex_combo_box.h"

#include <gtest/gtest.h>

#include "controls/xtip_combo_box.h"
#include "controls_support.h"
#include "platform/mfc/window_system.h"

namespace controls_test {
namespace {

template <typename Box>
class DropDownWideningTest : public ControlTest {};

using WideningBoxes = ::testing::Types<CExComboBox, CXTipComboBox>;
TYPED_TEST_SUITE(DropDownWideningTest, WideningBoxes);

TYPED_TEST(DropDownWideningTest, ListDropsAsWideAsTheWidestItemButNeverNarrowerThanTheBox) {
  TypeParam box;
  // 66 pixels wide (44 dialog units of the palette's font), 20 down from the owner's top.
  ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL,
                         CRect(10, 20, 76, 200), &this->owner, 230));
  auto dropped_width = [&box] {
    box.ShowDropDown(TRUE);
    const int width = box.GetDroppedWidth();
    box.ShowDropDown(FALSE);
    return width;
  };

  EXPECT_EQ(dropped_width(), 66) << "empty: 0 + 6 + 3 is less than the box";
  box.AddString(L"A");
  box.AddString(L"電灯");
  EXPECT_EQ(dropped_width(), 66) << "widest 24 + 17 + 6 + 3 = 50";

  // Four full-width characters (12 pixels each) and eight others (6 each): 96 pixels.
  box.AddString(L"動力幹線 CVT60sq");
  EXPECT_EQ(dropped_width(), 96 + 17 + 6 + 3);

  // The list the user sees is that wide, under the box, with the box's items.
  box.ShowDropDown(TRUE);
  HWND list = platform::mfc::FindWindowRecord(box.m_hWnd)->drop_list;
  ASSERT_TRUE(::IsWindowVisible(list));
  CRect shown;
  ::GetWindowRect(list, &shown);
  EXPECT_EQ(shown.left, 100 + 10);
  EXPECT_EQ(shown.top, 50 + 200);
  EXPECT_EQ(shown.Width(), 122);
  EXPECT_EQ(::SendMessage(list, LB_GETCOUNT, 0, 0), 3);
  box.ShowDropDown(FALSE);
  EXPECT_FALSE(::IsWindowVisible(list));

  // Measured in the box's own font: at 18 points full-width characters take 24 pixels, the
  // others (the "0" too) 12.
  CFont big;
  big.CreatePointFont(180, L"ＭＳ Ｐゴシック");
  box.SetFont(&big);
  EXPECT_EQ(dropped_width(), 4 * 24 + 8 * 12 + 17 + 12 + 3);
}

}  // namespace
}  // namespace controls_test
