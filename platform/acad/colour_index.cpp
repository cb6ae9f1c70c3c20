// AutoCAD colour indexes and their RGB colours (CAcUiColorComboBox's conversions).
#include <acui.h>

#include <array>

namespace {

// The colour with hue `hue` (degrees, multiple of 15), value `value` and saturation full or
// half, computed as HSV does; the remainder of the divisions is dropped.
COLORREF HueColour(int hue, int value, bool half) {
  const int low = half ? value / 2 : 0;
  const int sector = hue / 60;
  const int rising = low + (value - low) * (hue % 60) / 60;
  const int falling = value - (value - low) * (hue % 60) / 60;
  switch (sector) {
    case 0:
      return RGB(value, rising, low);
    case 1:
      return RGB(falling, value, low);
    case 2:
      return RGB(low, value, rising);
    case 3:
      return RGB(low, falling, value);
    case 4:
      return RGB(rising, low, value);
    default:
      return RGB(value, low, falling);
  }
}

std::array<COLORREF, 256> MakeTable() {
  std::array<COLORREF, 256> table{};
  table[0] = RGB(255, 255, 255);
  table[1] = RGB(255, 0, 0);
  table[2] = RGB(255, 255, 0);
  table[3] = RGB(0, 255, 0);
  table[4] = RGB(0, 255, 255);
  table[5] = RGB(0, 0, 255);
  table[6] = RGB(255, 0, 255);
  table[7] = RGB(255, 255, 255);
  table[8] = RGB(128, 128, 128);
  table[9] = RGB(192, 192, 192);
  constexpr int kValues[5] = {255, 204, 153, 127, 76};
  for (int i = 10; i <= 249; ++i) {
    const int hue = (i / 10 - 1) * 15;
    table[i] = HueColour(hue, kValues[(i % 10) / 2], i % 2 == 1);
  }
  constexpr int kGreys[6] = {51, 91, 132, 173, 214, 255};
  for (int i = 0; i < 6; ++i) table[250 + i] = RGB(kGreys[i], kGreys[i], kGreys[i]);
  return table;
}

const std::array<COLORREF, 256>& Table() {
  static const std::array<COLORREF, 256> table = MakeTable();
  return table;
}

}  // namespace

COLORREF CAcUiColorComboBox::GetColorFromIndex(int colorIndex) {
  if (colorIndex < 1 || colorIndex > 255) return RGB(255, 255, 255);
  return Table()[colorIndex];
}

int CAcUiColorComboBox::GetColorIndex(COLORREF color) {
  int best = 1;
  long bestDistance = -1;
  for (int i = 1; i <= 255; ++i) {
    const COLORREF c = Table()[i];
    const long dr = long(GetRValue(c)) - GetRValue(color);
    const long dg = long(GetGValue(c)) - GetGValue(color);
    const long db = long(GetBValue(c)) - GetBValue(color);
    const long distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      best = i;
      bestDistance = distance;
      if (distance == 0) break;
    }
  }
  return best;
}
