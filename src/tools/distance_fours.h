// Pointer distances of projected vertices, four at a time: the inner loop the
// nearest-vertex search and the auto triangle share.
#pragma once

#include "model/model_store.h"

#if defined(__SSE2__)
#include <emmintrin.h>

namespace qelvar {

// Offsets this far from the pointer never count: their squared distance
// (4000 * 4000) lies above every starting distance of the searches.
constexpr float kFarOffset = 4000.0f;

// The pointer and the depth range, spread over four lanes once per search.
struct FourLaneProbe {
  __m128 cx, cy, mx, my, one, drawDepth, far, nearLimit;
};

inline FourLaneProbe MakeFourLaneProbe(float cx, float cy, float mx, float my, float drawDepth) {
  return {_mm_set1_ps(cx),         _mm_set1_ps(cy),         _mm_set1_ps(mx),
          _mm_set1_ps(my),         _mm_set1_ps(1.0f),       _mm_set1_ps(drawDepth),
          _mm_set1_ps(kFarOffset), _mm_set1_ps(-kFarOffset)};
}

// Squared distances of vertices v[0..3] from the pointer, from offsets rounded
// to whole pixels; a vertex outside the depth range or too far off gets the
// far offset. Squares of whole numbers below 4000 are exact in floats, and a
// sum that rounds lies above the starting distances anyway, so comparing these
// equals comparing the scalar integer distances.
inline __m128 SquaredDistancesOfFour(const FourLaneProbe& k, const ScratchVertex* v) {
  // Four (column, row, depth) records are twelve floats in three registers.
  const float* p = &v->column;
  const __m128 a = _mm_loadu_ps(p), b = _mm_loadu_ps(p + 4), c = _mm_loadu_ps(p + 8);
  const __m128 columns =
      _mm_shuffle_ps(a, _mm_shuffle_ps(b, c, _MM_SHUFFLE(1, 1, 2, 2)), _MM_SHUFFLE(2, 0, 3, 0));
  const __m128 rows =
      _mm_shuffle_ps(_mm_shuffle_ps(a, b, _MM_SHUFFLE(0, 0, 1, 1)),
                     _mm_shuffle_ps(b, c, _MM_SHUFFLE(2, 2, 3, 3)), _MM_SHUFFLE(2, 0, 2, 0));
  const __m128 depths =
      _mm_shuffle_ps(_mm_shuffle_ps(a, b, _MM_SHUFFLE(1, 1, 2, 2)),
                     _mm_shuffle_ps(c, c, _MM_SHUFFLE(3, 3, 0, 0)), _MM_SHUFFLE(2, 0, 2, 0));
  const __m128 fx = _mm_sub_ps(_mm_add_ps(columns, k.cx), k.mx);
  const __m128 fy = _mm_sub_ps(_mm_add_ps(rows, k.cy), k.my);
  __m128 counts = _mm_and_ps(_mm_cmpge_ps(depths, k.one), _mm_cmple_ps(depths, k.drawDepth));
  counts = _mm_and_ps(counts, _mm_and_ps(_mm_cmpgt_ps(fx, k.nearLimit), _mm_cmplt_ps(fx, k.far)));
  counts = _mm_and_ps(counts, _mm_and_ps(_mm_cmpgt_ps(fy, k.nearLimit), _mm_cmplt_ps(fy, k.far)));
  const __m128 rx = _mm_cvtepi32_ps(
      _mm_cvtps_epi32(_mm_or_ps(_mm_and_ps(counts, fx), _mm_andnot_ps(counts, k.far))));
  const __m128 ry = _mm_cvtepi32_ps(
      _mm_cvtps_epi32(_mm_or_ps(_mm_and_ps(counts, fy), _mm_andnot_ps(counts, k.far))));
  return _mm_add_ps(_mm_mul_ps(rx, rx), _mm_mul_ps(ry, ry));
}

}  // namespace qelvar
#else
namespace qelvar {
constexpr float kFarOffset = 4000.0f;
}  // namespace qelvar
#endif
