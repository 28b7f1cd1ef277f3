// The compiled-in code page 437 glyphs, generated at build time from the
// console fonts: one byte per pixel row, top row first, bit 7 the leftmost
// pixel of the 8-pixel-wide cell.
#pragma once

#include <cstdint>

namespace qelvar {

extern const uint8_t kGlyphs8x8[256][8];
extern const uint8_t kGlyphs8x16[256][16];

}  // namespace qelvar
