// One linear pass over the projected vertices; it runs every main-loop pass
// while a picking tool is active, so it stays free of calls and divisions.
#include "tools/vertex_pick.h"

#include "render/rounding.h"

namespace qelvar {
namespace {

// Offsets at least this far off can never beat the starting distance
// (4000 * 4000 > 10000000); skipping them also keeps the squares in range.
constexpr float kFarOffset = 4000.0f;

}  // namespace

int32_t PickNearestVertex(const ModelStore& store, const PickPoint& at, int32_t previous) {
  const float cx = static_cast<float>(at.centreX), cy = static_cast<float>(at.centreY);
  const float mx = static_cast<float>(at.mouseX), my = static_cast<float>(at.mouseY);
  int32_t best = 10000000;
  int32_t picked = previous;
  const ScratchVertex* scratch = store.vertexScratch.data();
  for (int32_t i = 0; i < store.vertexCount; ++i) {
    const ScratchVertex& v = scratch[i];
    if (!(v.depth >= 1.0f && v.depth <= at.drawDepth)) continue;  // NaN fails too
    const float fx = v.column + cx - mx, fy = v.row + cy - my;
    if (!(fx > -kFarOffset && fx < kFarOffset && fy > -kFarOffset && fy < kFarOffset)) continue;
    const int32_t dx = RoundToInt(fx), dy = RoundToInt(fy);
    const int32_t d = dx * dx + dy * dy;
    if (d < best) {
      best = d;
      picked = i;
    }
  }
  return picked;
}

}  // namespace qelvar
