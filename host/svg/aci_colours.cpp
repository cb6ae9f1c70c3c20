// The AutoCAD Color Index as the screen shows it: the nine named colours, the greys and the
// 24 hues of ten shades each.
#include <cmath>

#include "host/svg/svg_renderer.h"

namespace host {

Rgb AciToRgb(int index) {
  static const Rgb kFirst[10] = {{0, 0, 0},       {255, 0, 0},    {255, 255, 0}, {0, 255, 0},
                                 {0, 255, 255},   {0, 0, 255},    {255, 0, 255}, {0, 0, 0},
                                 {128, 128, 128}, {192, 192, 192}};
  if (index >= 1 && index <= 9) return kFirst[index];
  if (index >= 250 && index <= 255) {
    static const int kGreys[6] = {51, 91, 132, 173, 214, 255};
    const int g = kGreys[index - 250];
    return {g, g, g};
  }
  if (index < 10 || index > 249) return {};
  // 10..249: 24 hues 15° apart, ten shades each: five brightnesses, each at full saturation
  // (even) and at half saturation (odd).
  static const double kValues[5] = {255, 165, 127, 76, 38};
  const double hue = (index - 10) / 10 * 15.0;
  const int shade = index % 10;
  const double value = kValues[shade / 2];
  const double saturation = shade % 2 == 0 ? 1.0 : 0.5;
  const double chroma = value * saturation;
  const double low = value - chroma;
  const double sector = hue / 60.0;
  const double x = chroma * (1 - std::abs(std::fmod(sector, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(sector)) {
    case 0:
      r = chroma;
      g = x;
      break;
    case 1:
      r = x;
      g = chroma;
      break;
    case 2:
      g = chroma;
      b = x;
      break;
    case 3:
      g = x;
      b = chroma;
      break;
    case 4:
      r = x;
      b = chroma;
      break;
    default:
      r = chroma;
      b = x;
      break;
  }
  return {static_cast<int>(r + low), static_cast<int>(g + low), static_cast<int>(b + low)};
}

}  // namespace host
