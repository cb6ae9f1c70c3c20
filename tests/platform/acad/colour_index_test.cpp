// AutoCAD colour indexes to RGB and back, as the colour drop-down converts them.
#include <gtest/gtest.h>

#include <acui.h>

namespace {

TEST(ColourIndexTest, KnownIndexesHaveTheirColours) {
  struct Case {
    int index;
    COLORREF rgb;
  };
  // The seven named colours, the two greys, and some of the hue rows worked out by hand:
  // 20 is hue 15 degrees at full value (green 255 * 15 / 60), 21 the same at half saturation
  // (127 + 128 * 15 / 60), 34 hue 30 at value 153, 250 the darkest grey.
  const Case cases[] = {{1, RGB(255, 0, 0)},      {2, RGB(255, 255, 0)},    {3, RGB(0, 255, 0)},
                        {4, RGB(0, 255, 255)},    {5, RGB(0, 0, 255)},      {6, RGB(255, 0, 255)},
                        {7, RGB(255, 255, 255)},  {8, RGB(128, 128, 128)},  {9, RGB(192, 192, 192)},
                        {10, RGB(255, 0, 0)},     {11, RGB(255, 127, 127)}, {20, RGB(255, 63, 0)},
                        {21, RGB(255, 159, 127)}, {34, RGB(153, 76, 0)},    {250, RGB(51, 51, 51)}};
  for (const Case& c : cases) {
    EXPECT_EQ(CAcUiColorComboBox::GetColorFromIndex(c.index), c.rgb) << "index " << c.index;
  }
  // ByBlock and ByLayer have no colour of their own.
  EXPECT_EQ(CAcUiColorComboBox::GetColorFromIndex(0), RGB(255, 255, 255));
  EXPECT_EQ(CAcUiColorComboBox::GetColorFromIndex(256), RGB(255, 255, 255));
}

TEST(ColourIndexTest, AColourGivesTheFirstIndexWithItOrTheNearest) {
  EXPECT_EQ(CAcUiColorComboBox::GetColorIndex(RGB(255, 0, 0)), 1) << "not 10, its twin";
  EXPECT_EQ(CAcUiColorComboBox::GetColorIndex(RGB(0, 0, 255)), 5);
  EXPECT_EQ(CAcUiColorComboBox::GetColorIndex(RGB(255, 255, 255)), 7) << "not 255";
  EXPECT_EQ(CAcUiColorComboBox::GetColorIndex(RGB(250, 2, 1)), 1);
  // Black is nearer the darkest full red (76 * 76) than the darkest grey (3 * 51 * 51); the
  // darkest green and blue are as near but come later.
  EXPECT_EQ(CAcUiColorComboBox::GetColorIndex(RGB(0, 0, 0)), 18);
  // Every index maps back to itself or to an earlier index with the same colour.
  for (int i = 1; i <= 255; ++i) {
    const int back = CAcUiColorComboBox::GetColorIndex(CAcUiColorComboBox::GetColorFromIndex(i));
    EXPECT_LE(back, i);
    EXPECT_EQ(CAcUiColorComboBox::GetColorFromIndex(back), CAcUiColorComboBox::GetColorFromIndex(i))
        << "index " << i;
  }
}

}  // namespace
