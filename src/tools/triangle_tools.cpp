// The triangle-building tools. The nearest-three search runs every pass on
// models of a million vertices: one linear pass, four vertices measured at a
// time where the processor allows it, and a group farther than the third
// candidate costs one comparison.
#include "tools/triangle_tools.h"

#include <cstddef>
#include <utility>

#include "render/rounding.h"
#include "tools/distance_fours.h"

namespace qelvar {
namespace {

constexpr int32_t kFarDistance = 10000000;  // squared pixels: farther counts as nothing
// kFarOffset (tools/distance_fours.h) can never come within kFarDistance
// (4000^2 is more), so the squares below never overflow.
static_assert(kFarOffset * kFarOffset > float(kFarDistance));

// Triangles the tools make are selected, in part group 0, in the default colour.
constexpr uint8_t kToolTriangleFlags = kSelectedBit;

bool IsVertex(const ModelStore& store, int32_t v) { return v >= 0 && v < store.vertexCount; }

bool MakeTriangle(ModelStore& store, int32_t a, int32_t b, int32_t c) {
  if (!IsVertex(store, a) || !IsVertex(store, b) || !IsVertex(store, c)) return false;
  if (!AppendTriangle(store, Triangle{{a, b, c}}, kToolTriangleFlags, store.defaultColour))
    return false;
  store.normalsDirty = true;
  return true;
}

struct NearestThree {
  std::array<int32_t, 3> index{-1, -1, -1};
  std::array<int32_t, 3> distance{kFarDistance, kFarDistance, kFarDistance};

  // Insertion: a strictly nearer vertex takes the slot, the one it displaces
  // moves on to the next slot.
  void Insert(int32_t d, int32_t candidate) {
    for (size_t slot = 0; slot < 3; ++slot) {
      if (d < distance[slot]) {
        std::swap(d, distance[slot]);
        std::swap(candidate, index[slot]);
      }
    }
  }
};

struct Pointer {
  float cx, cy, mx, my, drawDepth;
};

void ConsiderOne(NearestThree& n, const Pointer& at, const ScratchVertex& p, int32_t i) {
  // NaN fails every comparison and so never counts.
  if (!(p.depth >= 1.0f && p.depth <= at.drawDepth)) return;
  const float fx = p.column + at.cx - at.mx, fy = p.row + at.cy - at.my;
  if (!(fx > -kFarOffset && fx < kFarOffset && fy > -kFarOffset && fy < kFarOffset)) return;
  const int32_t dx = RoundToInt(fx), dy = RoundToInt(fy);
  const int32_t d = dx * dx + dy * dy;
  if (d < n.distance[2]) n.Insert(d, i);
}

#if defined(__SSE2__)
// Vertices [0, count - count % 4), four at a time with the same test and
// rounding as the scalar pass.
int32_t ConsiderFours(NearestThree& n, const Pointer& at, const ScratchVertex* v, int32_t count) {
  const FourLaneProbe probe = MakeFourLaneProbe(at.cx, at.cy, at.mx, at.my, at.drawDepth);
  const int32_t end = count - count % 4;
  for (int32_t i = 0; i < end; i += 4) {
    const __m128 d = SquaredDistancesOfFour(probe, v + i);
    const __m128 third = _mm_set1_ps(static_cast<float>(n.distance[2]));
    if (_mm_movemask_ps(_mm_cmplt_ps(d, third)) == 0) continue;
    alignas(16) float lanes[4];
    _mm_store_ps(lanes, d);
    for (int k = 0; k < 4; ++k)  // in index order, as the scalar pass
      if (lanes[k] < static_cast<float>(n.distance[2]))
        n.Insert(static_cast<int32_t>(lanes[k]), i + k);
  }
  return end;
}
#else
int32_t ConsiderFours(NearestThree&, const Pointer&, const ScratchVertex*, int32_t) { return 0; }
#endif

}  // namespace

std::array<int32_t, 3> NearestThreeVertices(const ModelStore& store, const PickPoint& at) {
  const Pointer p{static_cast<float>(at.centreX), static_cast<float>(at.centreY),
                  static_cast<float>(at.mouseX), static_cast<float>(at.mouseY), at.drawDepth};
  NearestThree n;
  const ScratchVertex* v = store.vertexScratch.data();
  for (int32_t i = ConsiderFours(n, p, v, store.vertexCount); i < store.vertexCount; ++i)
    ConsiderOne(n, p, v[i], i);
  return n.index;
}

bool AutoTriangleClick(ModelStore& store, const std::array<int32_t, 3>& candidates, int centreX,
                       int centreY) {
  for (const int32_t v : candidates)
    if (!IsVertex(store, v)) return false;
  const auto at = [&](int32_t v) {
    const ScratchVertex& p = store.vertexScratch[size_t(v)];
    return std::pair<float, float>{p.column + static_cast<float>(centreX),
                                   p.row + static_cast<float>(centreY)};
  };
  const auto [x0, y0] = at(candidates[0]);
  const auto [x1, y1] = at(candidates[1]);
  const auto [x2, y2] = at(candidates[2]);
  const float c = (y2 - y1) * (x1 - x0) - (x2 - x1) * (y1 - y0);
  if (c > 0.0f) return MakeTriangle(store, candidates[0], candidates[2], candidates[1]);
  return MakeTriangle(store, candidates[0], candidates[1], candidates[2]);
}

bool ManualTriangleClick(ModelStore& store, ToolState& tool, bool fan) {
  const int32_t picked = tool.pickedVertex;
  if (!IsVertex(store, picked)) return false;
  int32_t& first = tool.corners[0];
  int32_t& second = tool.corners[1];
  int& count = tool.cornerCount;
  if (count == 0) {
    first = picked;
    count = 1;
    return false;
  }
  if (picked == first) {  // the first corner again takes it back
    first = second;
    count -= 1;
    return false;
  }
  if (count == 1) {
    second = picked;
    count = 2;
    return false;
  }
  if (picked == second) {
    count = 1;
    return false;
  }
  if (!MakeTriangle(store, first, second, picked)) return false;
  count = 0;
  if (fan) {
    second = picked;
    count = 2;
  }
  return true;
}

void ForgetRemovedVertices(ToolState& tool, int32_t vertexCount) {
  const auto gone = [&](int32_t v) { return v >= vertexCount || v < -1; };
  if (gone(tool.pickedVertex)) tool.pickedVertex = -1;
  for (int32_t& v : tool.candidates)
    if (gone(v)) v = -1;
  for (int i = 0; i < tool.cornerCount && i < 2; ++i) {
    if (gone(tool.corners[size_t(i)])) {
      tool.corners = {-1, -1, -1};
      tool.cornerCount = 0;
      break;
    }
  }
}

}  // namespace qelvar
