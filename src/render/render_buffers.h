// The renderer's own colour and depth buffers and its clip rectangle.
#pragma once

#include <cstdint>
#include <vector>

namespace qelvar {

struct RenderBuffers {
  int width = 0, height = 0;
  std::vector<uint32_t> colour;  // 0x00RRGGBB, or triangle indices in selection mode
  std::vector<float> depth;      // reciprocal camera depth; larger is nearer
  int clipLeft = 0, clipTop = 0, clipRight = -1, clipBottom = -1;  // inclusive
};

// A loaded backdrop image, 0x00RRGGBB pixels row by row from the top.
struct Backdrop {
  bool loaded = false;
  int lastColumn = -1, lastRow = -1;  // width - 1, height - 1
  std::vector<uint32_t> pixels;
};

}  // namespace qelvar
