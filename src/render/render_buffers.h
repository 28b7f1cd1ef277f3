// The renderer's own colour and depth buffers, its clip rectangle, the record
// of what a frame drew (so that the next clear touches only that), and the
// working memory and worker threads of one frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/backdrop.h"
#include "model/model_store.h"

namespace qelvar {

class RenderWorkers;

// A corner after projection and rounding: integer pixel, reciprocal depth,
// and the real row, which decides the order of the corners.
struct Corner {
  int32_t x, y;
  float w, row;
};

// A rectangle of pixels, empty when left > right.
struct PixelRect {
  int32_t left = INT32_MAX, top = INT32_MAX, right = INT32_MIN, bottom = INT32_MIN;
};

// The filled triangles of one range of the triangle table, drawn by a thread
// of their own against nothing (depth minus infinity wherever the range drew
// nothing) and merged into the frame afterwards.
struct TriangleLayer {
  Table<uint32_t> colour;
  Table<float> depth;
  PixelRect drawn;  // what the range wrote, inside the clip rectangle
};

// Per-frame working memory, kept between frames so that nothing is allocated
// once the model stops growing.
struct FrameScratch {
  Table<Corner> corners;              // one per vertex, not cleared: projection writes each
  PixelRect cornerBounds;             // where the usable corners lie
  std::vector<PixelRect> partBounds;  // the same for each part of the projection
  std::vector<TriangleLayer> layers;  // ranges 1, 2, ... of a frame filled on several threads
};

struct RenderBuffers {
  int width = 0, height = 0;
  std::vector<uint32_t> colour;  // 0x00RRGGBB, or triangle indices in selection mode
  std::vector<float> depth;      // reciprocal camera depth; larger is nearer
  int clipLeft = 0, clipTop = 0, clipRight = -1, clipBottom = -1;  // inclusive

  // Columns [touchedLeft[y], touchedRight[y]] of row y hold everything written
  // since the last clear (empty when left > right); `clearedTo` is the depth
  // the untouched pixels hold, valid only when `clearKnown`.
  std::vector<int32_t> touchedLeft, touchedRight;
  float clearedTo = 0.0f;
  bool clearKnown = false;
  // Rows cleared since the buffer was last presented (besides the touched
  // ones, which are presented anyway); one byte per row.
  std::vector<uint8_t> unpresented;

  FrameScratch scratch;
  // Threads a frame is drawn with: 0 for one per core on frames with enough
  // work, else exactly this many. The pool is started by the first frame that
  // needs it and kept.
  int threads = 0;
  std::shared_ptr<RenderWorkers> workers;
};

// Where drawing goes: raw buffer pointers and a clip rectangle, so that bands
// of one frame can draw at once, each with its own rows as clip rectangle.
struct RenderTarget {
  uint32_t* colour;
  float* depth;
  int32_t* touchedLeft;  // null: writes are not recorded
  int32_t* touchedRight;
  size_t width;
  int32_t clipLeft, clipTop, clipRight, clipBottom;

  // Records that row y was written from column `left` to `right`.
  void Touch(int32_t y, int32_t left, int32_t right) const {
    if (!touchedLeft) return;
    if (left < touchedLeft[y]) touchedLeft[y] = left;
    if (right > touchedRight[y]) touchedRight[y] = right;
  }
  // The same for every row from `top` to `bottom`.
  void Touch(int32_t top, int32_t bottom, int32_t left, int32_t right) const {
    for (int32_t y = top; y <= bottom; ++y) Touch(y, left, right);
  }
};

inline RenderTarget TargetOf(RenderBuffers& b) {
  const bool tracked = b.touchedLeft.size() == static_cast<size_t>(b.height) &&
                       b.touchedRight.size() == static_cast<size_t>(b.height);
  return {b.colour.data(),
          b.depth.data(),
          tracked ? b.touchedLeft.data() : nullptr,
          tracked ? b.touchedRight.data() : nullptr,
          static_cast<size_t>(b.width),
          b.clipLeft,
          b.clipTop,
          b.clipRight,
          b.clipBottom};
}

}  // namespace qelvar
