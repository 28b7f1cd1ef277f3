// One linear pass over the projected vertices; it runs every main-loop pass
// while a picking tool is active, on models of a million vertices, so four
// vertices are measured at a time where the processor allows it.
#include "tools/vertex_pick.h"

#include "render/rounding.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qelvar {
namespace {

// Offsets at least this far off can never beat the starting distance
// (4000 * 4000 > 10000000); a vertex that does not count is put there, which
// also keeps every square in range.
constexpr float kFarOffset = 4000.0f;

struct Search {
  float cx, cy, mx, my, drawDepth;
  int32_t best;    // squared pixels
  int32_t picked;  // index, or the previous pick
};

void Consider(Search& s, const ScratchVertex& v, int32_t i) {
  const float fx = v.column + s.cx - s.mx, fy = v.row + s.cy - s.my;
  // NaN fails every comparison.
  const bool counts = v.depth >= 1.0f && v.depth <= s.drawDepth && fx > -kFarOffset &&
                      fx < kFarOffset && fy > -kFarOffset && fy < kFarOffset;
  if (!counts) return;
  const int32_t dx = RoundToInt(fx), dy = RoundToInt(fy);
  const int32_t d = dx * dx + dy * dy;
  if (d < s.best) {
    s.best = d;
    s.picked = i;
  }
}

#if defined(__SSE2__)
// Vertices [0, count - count % 4): the same test and distances four at a
// time. Whole-number squares below 2^24 are exact in floats, and a larger
// sum can only round to another value above the starting distance.
int32_t ConsiderFours(Search& s, const ScratchVertex* v, int32_t count) {
  const __m128 cx = _mm_set1_ps(s.cx), cy = _mm_set1_ps(s.cy);
  const __m128 mx = _mm_set1_ps(s.mx), my = _mm_set1_ps(s.my);
  const __m128 one = _mm_set1_ps(1.0f), far = _mm_set1_ps(4000.0f);
  const __m128 nearLimit = _mm_set1_ps(-4000.0f), drawDepth = _mm_set1_ps(s.drawDepth);
  const int32_t end = count - count % 4;
  for (int32_t i = 0; i < end; i += 4) {
    // Four (column, row, depth) records are twelve floats in three registers.
    const float* p = &v[i].column;
    const __m128 a = _mm_loadu_ps(p), b = _mm_loadu_ps(p + 4), c = _mm_loadu_ps(p + 8);
    const __m128 columns =
        _mm_shuffle_ps(a, _mm_shuffle_ps(b, c, _MM_SHUFFLE(1, 1, 2, 2)), _MM_SHUFFLE(2, 0, 3, 0));
    const __m128 rows =
        _mm_shuffle_ps(_mm_shuffle_ps(a, b, _MM_SHUFFLE(0, 0, 1, 1)),
                       _mm_shuffle_ps(b, c, _MM_SHUFFLE(2, 2, 3, 3)), _MM_SHUFFLE(2, 0, 2, 0));
    const __m128 depths =
        _mm_shuffle_ps(_mm_shuffle_ps(a, b, _MM_SHUFFLE(1, 1, 2, 2)),
                       _mm_shuffle_ps(c, c, _MM_SHUFFLE(3, 3, 0, 0)), _MM_SHUFFLE(2, 0, 2, 0));
    const __m128 fx = _mm_sub_ps(_mm_add_ps(columns, cx), mx);
    const __m128 fy = _mm_sub_ps(_mm_add_ps(rows, cy), my);
    __m128 counts = _mm_and_ps(_mm_cmpge_ps(depths, one), _mm_cmple_ps(depths, drawDepth));
    counts = _mm_and_ps(counts, _mm_and_ps(_mm_cmpgt_ps(fx, nearLimit), _mm_cmplt_ps(fx, far)));
    counts = _mm_and_ps(counts, _mm_and_ps(_mm_cmpgt_ps(fy, nearLimit), _mm_cmplt_ps(fy, far)));
    const __m128 rx = _mm_cvtepi32_ps(
        _mm_cvtps_epi32(_mm_or_ps(_mm_and_ps(counts, fx), _mm_andnot_ps(counts, far))));
    const __m128 ry = _mm_cvtepi32_ps(
        _mm_cvtps_epi32(_mm_or_ps(_mm_and_ps(counts, fy), _mm_andnot_ps(counts, far))));
    const __m128 d = _mm_add_ps(_mm_mul_ps(rx, rx), _mm_mul_ps(ry, ry));
    const __m128 best = _mm_set1_ps(static_cast<float>(s.best));
    if (_mm_movemask_ps(_mm_cmplt_ps(d, best)) == 0) continue;
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, d);
    for (int k = 0; k < 4; ++k) {  // in index order: an equal distance keeps the lower index
      if (lanes[k] < static_cast<float>(s.best)) {
        s.best = static_cast<int32_t>(lanes[k]);
        s.picked = i + k;
      }
    }
  }
  return end;
}
#else
int32_t ConsiderFours(Search&, const ScratchVertex*, int32_t) { return 0; }
#endif

}  // namespace

int32_t PickNearestVertex(const ModelStore& store, const PickPoint& at, int32_t previous) {
  Search s{static_cast<float>(at.centreX),
           static_cast<float>(at.centreY),
           static_cast<float>(at.mouseX),
           static_cast<float>(at.mouseY),
           at.drawDepth,
           10000000,
           previous};
  const ScratchVertex* scratch = store.vertexScratch.data();
  for (int32_t i = ConsiderFours(s, scratch, store.vertexCount); i < store.vertexCount; ++i)
    Consider(s, scratch[i], i);
  return s.picked;
}

}  // namespace qelvar
