// Presentation of the colour buffer on the screen in every colour depth and
// detail level.
#pragma once

#include <cstdint>

#include "core/screen_geometry.h"
#include "render/render_buffers.h"

namespace qelvar {

class Screen;

// Pixel formats of one 0x00RRGGBB value.
inline uint16_t ToDepth16(uint32_t p) {
  return static_cast<uint16_t>(((p >> 19) & 31) << 11 | ((p >> 10) & 63) << 5 | ((p >> 3) & 31));
}
inline uint16_t ToDepth15(uint32_t p) {
  return static_cast<uint16_t>(((p >> 19) & 31) << 10 | ((p >> 11) & 31) << 5 | ((p >> 3) & 31));
}
inline uint8_t ToDepth8(uint32_t p) {
  return static_cast<uint8_t>(((p >> 16) & 0xC0) | ((p >> 12) & 15) << 2 | ((p >> 6) & 3));
}
// Two horizontally adjacent buffer pixels filtered into one screen pixel.
inline uint32_t BoxFilter(uint32_t left, uint32_t right) {
  return ((left >> 1) & 0x7F7F7Fu) + ((right >> 1) & 0x7F7F7Fu);
}

// Writes the colour buffer into `screen`, rows of screenWidth pixels back to
// back in the depth's format: detail 1 one pixel per buffer pixel, detail 0
// each buffer pixel twice, detail 2 each screen pixel filtered from two buffer
// pixels. Screen pixels the buffer does not cover stay as they are.
void PresentFrame(const RenderBuffers& buffers, int detail, int depth, const ColourTables& tables,
                  uint8_t* screen, int screenWidth, int screenHeight);

// PresentFrame for the rows y with only[y] non-zero (every row when null).
void PresentRows(const RenderBuffers& buffers, int detail, int depth, const ColourTables& tables,
                 uint8_t* screen, int screenWidth, int screenHeight, const uint8_t* only);

// The same onto the platform screen, for the rows that can differ from what
// the screen shows: rows the buffers changed in since the last presentation
// and rows drawn on over the frame. The screen's record of printed text is
// reset, since the frame covers it.
void PresentFrame(RenderBuffers& buffers, const ScreenGeometry& geometry,
                  const ColourTables& tables, Screen& screen);

}  // namespace qelvar
