// The renderer's own colour and depth buffers and its clip rectangle.
#pragma once

#include <cstdint>
#include <vector>

#include "core/backdrop.h"

namespace qelvar {

struct RenderBuffers {
  int width = 0, height = 0;
  std::vector<uint32_t> colour;  // 0x00RRGGBB, or triangle indices in selection mode
  std::vector<float> depth;      // reciprocal camera depth; larger is nearer
  int clipLeft = 0, clipTop = 0, clipRight = -1, clipBottom = -1;  // inclusive
};

}  // namespace qelvar
