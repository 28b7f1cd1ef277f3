// Interface colours, the 8-bit palette and the 4-bit dither table.
#include "app/colour_tables.h"

namespace qelvar {
namespace {

constexpr std::array<uint32_t, 16> kInterfaceRgb = {
    0x000000, 0x404040, 0x808080, 0xC0C0C0, 0x000040, 0x80C080, 0xC08080, 0x8080C0,
    0xC0A080, 0xC060C0, 0xC000C0, 0, 0, 0, 0, 0};
constexpr std::array<uint32_t, 16> kInterfaceIndices4 = {0, 8, 7, 15, 1, 10, 12, 9,
                                                         14, 13, 5, 0, 0, 0, 0, 0};

// Models a 16-colour palette index as the sum the dither search works with.
void ModelColour(int c, int out[3]) {
  const int bright = (c & 8) ? 40 : 0;
  out[0] = ((c & 4) ? 84 : 0) + bright;
  out[1] = ((c & 2) ? 84 : 0) + bright;
  out[2] = ((c & 1) ? 84 : 0) + bright;
}

uint16_t BestPair(int r, int g, int b) {
  const int target[3] = {36 * r, 36 * g, 36 * b};
  int best = 20000000;
  uint16_t entry = 0;
  for (int i = 0; i < 16; ++i) {
    int mi[3];
    ModelColour(i, mi);
    for (int j = 0; j < 16; ++j) {
      int mj[3];
      ModelColour(j, mj);
      int distance = 0;
      for (int k = 0; k < 3; ++k) {
        const int d = mi[k] + mj[k] - target[k];
        distance += d * d;
      }
      if (distance < best) {
        best = distance;
        entry = static_cast<uint16_t>(j * 256 + i);
      }
    }
  }
  return entry;
}

}  // namespace

std::array<uint16_t, 512> ComputeDitherPairs() {
  std::array<uint16_t, 512> pairs{};
  for (int r = 0; r < 8; ++r)
    for (int g = 0; g < 8; ++g)
      for (int b = 0; b < 8; ++b) pairs[r * 64 + g * 8 + b] = BestPair(r, g, b);
  return pairs;
}

std::array<uint32_t, 16> InterfaceColoursForDepth(int depth) {
  if (depth == 4) return kInterfaceIndices4;
  std::array<uint32_t, 16> colours = kInterfaceRgb;
  if (depth == 8) {
    for (uint32_t& c : colours)
      c = ((c & 0xC00000) >> 16) + ((c & 0xF000) >> 10) + ((c & 0xFF) >> 6);
  }
  return colours;
}

}  // namespace qelvar
