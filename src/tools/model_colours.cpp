// Colour commands on the selected triangles.
#include "tools/model_colours.h"

#include <algorithm>

namespace qelvar {
namespace {

// Colour word of position k on a circle of six ramps of `segment` triangles each.
uint16_t RainbowColour(int32_t k, int32_t segment) {
  int q = 0;
  int32_t t = k;
  while (t >= segment && q < 5) {
    t -= segment;
    ++q;
  }
  const int64_t ramp = int64_t{t} * 28 / segment;
  const int64_t up = ramp + 2, down = 30 - ramp;
  int64_t red = 2, green = 2, blue = 2;
  switch (q) {
    case 0:
      red = 30, green = up;
      break;
    case 1:
      green = 30, red = down;
      break;
    case 2:
      green = 30, blue = up;
      break;
    case 3:
      blue = 30, green = down;
      break;
    case 4:
      blue = 30, red = up;
      break;
    default:
      red = 30, blue = down;
      break;
  }
  const auto bound = [](int64_t c) { return static_cast<int>(std::clamp<int64_t>(c, 0, 31)); };
  return static_cast<uint16_t>(bound(red) << 10 | bound(green) << 5 | bound(blue));
}

}  // namespace

bool ApplyChangeColour(ModelStore& model, const ValueCells& cells) {
  if (model.triangleCount == 0) return false;
  const uint16_t word = ComposeColour(cells.Int(kCellChangeRed), cells.Int(kCellChangeGreen),
                                      cells.Int(kCellChangeBlue));
  for (int32_t i = 0; i < model.triangleCount; ++i) {
    if (model.triangleFlags[i] & kSelectedBit) model.triangleColours[i] = word;
  }
  return true;
}

bool ApplyRainbow(ModelStore& model) {
  const int32_t selected = CountSelected(model);
  if (selected == 0) return false;
  // Fewer than six selected would give ramps of length 0; ramps of one
  // triangle give each of them a distinct hue instead.
  const int32_t segment = std::max(selected / 6, 1);
  int32_t k = 0;
  for (int32_t i = 0; i < model.triangleCount; ++i) {
    if (model.triangleFlags[i] & kSelectedBit)
      model.triangleColours[i] = RainbowColour(k++, segment);
  }
  return true;
}

}  // namespace qelvar
