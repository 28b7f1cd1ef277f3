// Layers of filled triangles and their merge into the frame.
#include "render/triangle_layers.h"

#include <algorithm>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace qelvar {
namespace {

constexpr float kEmpty = -std::numeric_limits<float>::infinity();

// Columns [left, right] of one row: the layer's pixel where it is nearer,
// and the layer's row emptied. Both forms compare as `>` does (a NaN depth on
// either side keeps the frame's pixel).
void MergeRow(uint32_t* colour, float* depth, uint32_t* layerColour, float* layerDepth,
              int32_t left, int32_t right) {
  int32_t x = left;
#ifdef __SSE2__
  const __m128 empty = _mm_set1_ps(kEmpty);
  for (; x + 4 <= right + 1; x += 4) {
    const __m128 mine = _mm_loadu_ps(depth + x), theirs = _mm_loadu_ps(layerDepth + x);
    const __m128 nearer = _mm_cmpgt_ps(theirs, mine);
    if (_mm_movemask_ps(nearer) != 0) {
      const __m128i take = _mm_castps_si128(nearer);
      const auto* theirColour = reinterpret_cast<const __m128i*>(layerColour + x);
      auto* myColour = reinterpret_cast<__m128i*>(colour + x);
      const __m128i c = _mm_or_si128(_mm_and_si128(take, _mm_loadu_si128(theirColour)),
                                     _mm_andnot_si128(take, _mm_loadu_si128(myColour)));
      _mm_storeu_si128(myColour, c);
      _mm_storeu_ps(depth + x, _mm_or_ps(_mm_and_ps(nearer, theirs), _mm_andnot_ps(nearer, mine)));
    }
    _mm_storeu_ps(layerDepth + x, empty);
  }
#endif
  for (; x <= right; ++x) {
    if (layerDepth[x] > depth[x]) {
      depth[x] = layerDepth[x];
      colour[x] = layerColour[x];
    }
    layerDepth[x] = kEmpty;
  }
}

}  // namespace

int32_t BandTop(const RenderTarget& frame, int band, int parts) {
  const int64_t rows = int64_t{frame.clipBottom} - frame.clipTop + 1;
  return static_cast<int32_t>(frame.clipTop + rows * band / parts);
}

void PrepareLayers(RenderBuffers& buffers, int count) {
  const size_t cells = static_cast<size_t>(buffers.width) * static_cast<size_t>(buffers.height);
  std::vector<TriangleLayer>& layers = buffers.scratch.layers;
  if (layers.size() < static_cast<size_t>(count)) layers.resize(static_cast<size_t>(count));
  for (TriangleLayer& layer : layers) {
    if (layer.depth.size() == cells) continue;  // empty since its last merge
    layer.depth.clear(), layer.colour.clear();
    layer.depth.resize(cells, kEmpty);
    layer.colour.resize(cells);  // read only where the depth says a range drew
    layer.drawn = PixelRect{};
  }
}

RenderTarget LayerTarget(TriangleLayer& layer, const RenderTarget& frame) {
  return {layer.colour.data(), layer.depth.data(), nullptr,          nullptr,
          frame.width,         frame.clipLeft,     frame.clipTop,    frame.clipRight,
          frame.clipBottom};
}

void MergeLayers(const RenderTarget& band, std::vector<TriangleLayer>& layers, int count) {
  for (int k = 0; k < count; ++k) {
    TriangleLayer& layer = layers[static_cast<size_t>(k)];
    const PixelRect& d = layer.drawn;
    const int32_t top = std::max(d.top, band.clipTop), bottom = std::min(d.bottom, band.clipBottom);
    if (d.left > d.right || top > bottom) continue;
    for (int32_t y = top; y <= bottom; ++y) {
      const size_t row = static_cast<size_t>(y) * band.width;
      MergeRow(band.colour + row, band.depth + row, layer.colour.data() + row,
               layer.depth.data() + row, d.left, d.right);
    }
    band.Touch(top, bottom, d.left, d.right);
  }
}

}  // namespace qelvar
