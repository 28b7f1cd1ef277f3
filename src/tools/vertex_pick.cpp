// One linear pass over the projected vertices; it runs every main-loop pass
// while a picking tool is active, on models of a million vertices, so four
// vertices are measured at a time where the processor allows it.
#include "tools/vertex_pick.h"

#include "render/rounding.h"
#include "tools/distance_fours.h"

namespace qelvar {
namespace {

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
// Vertices [0, count - count % 4): the same test and distances four at a time.
int32_t ConsiderFours(Search& s, const ScratchVertex* v, int32_t count) {
  const FourLaneProbe probe = MakeFourLaneProbe(s.cx, s.cy, s.mx, s.my, s.drawDepth);
  const int32_t end = count - count % 4;
  for (int32_t i = 0; i < end; i += 4) {
    const __m128 d = SquaredDistancesOfFour(probe, v + i);
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
