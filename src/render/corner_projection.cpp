// Vertex projection into corners, four vertices at a time. Every lane does
// the single-precision operations of the one-vertex code in the same order,
// so the results are the same bit for bit.
#include "render/corner_projection.h"

#include <algorithm>

#include "render/rasteriser.h"
#include "render/rounding.h"
#include "render/view.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

namespace qelvar {
namespace {

constexpr float kLimit = static_cast<float>(kCoordinateLimit);
constexpr Corner kUnusable{kUnusableCorner, 0, 0.0f, 0.0f};

// Monotonic, so the order of the rows survives; NaN is rejected by the caller.
int32_t ToPixel(float v) { return RoundToInt(v < -kLimit ? -kLimit : (v > kLimit ? kLimit : v)); }

// What the projection of one frame needs, copied out of the view.
struct Projection {
  ViewState view;
  float columnScale, rowScale, centreX, centreY;
};

template <bool kQuick>
inline void ProjectOne(const Projection& p, Vec3 in, ScratchVertex& out, Corner& corner) {
  const Vec3 r = TransformPoint(p.view, kQuick, in);
  const float x = r.x + p.view.eyeShift;
  const float z = r.z + p.view.distance;
  if (z >= 1.0f) {
    out = {p.columnScale * x / z, p.rowScale * r.y / z, z};
    corner = CornerOf(out.column + p.centreX, out.row + p.centreY, z);
  } else {
    out = {x, r.y, z};
    corner = kUnusable;
  }
}

#if defined(__SSE2__)
// Vertices i .. i + 3.
template <bool kQuick>
inline void ProjectFour(const Projection& p, const Vec3* in, ScratchVertex* out, Corner* corners) {
  const ViewState& v = p.view;
  const __m128 x = _mm_setr_ps(in[0].x, in[1].x, in[2].x, in[3].x);
  const __m128 y = _mm_setr_ps(in[0].y, in[1].y, in[2].y, in[3].y);
  const __m128 z = _mm_setr_ps(in[0].z, in[1].z, in[2].z, in[3].z);
  const auto mul = [](float a, __m128 b) { return _mm_mul_ps(_mm_set1_ps(a), b); };
  const __m128 x1 = _mm_sub_ps(mul(v.cosXY, x), mul(v.sinXY, y));
  const __m128 y1 = _mm_add_ps(mul(v.cosXY, y), mul(v.sinXY, x));
  __m128 rz = _mm_sub_ps(mul(v.cosYZ, z), mul(v.sinYZ, y1));
  const __m128 ry = _mm_add_ps(mul(v.cosYZ, y1), mul(v.sinYZ, z));
  __m128 rx = x1;
  if constexpr (!kQuick) {
    rx = _mm_sub_ps(mul(v.cosXZ, x1), mul(v.sinXZ, rz));
    rz = _mm_add_ps(mul(v.cosXZ, rz), mul(v.sinXZ, x1));
  }
  const __m128 one = _mm_set1_ps(1.0f);
  const __m128 cx = _mm_add_ps(rx, _mm_set1_ps(v.eyeShift));
  const __m128 cz = _mm_add_ps(rz, _mm_set1_ps(v.distance));
  const __m128 front = _mm_cmpge_ps(cz, one);  // false for NaN
  const __m128 column = _mm_div_ps(mul(p.columnScale, cx), cz);
  const __m128 row = _mm_div_ps(mul(p.rowScale, ry), cz);
  const auto select = [](__m128 mask, __m128 a, __m128 b) {
    return _mm_or_ps(_mm_and_ps(mask, a), _mm_andnot_ps(mask, b));
  };
  alignas(16) float sc[4], sr[4], sz[4];
  _mm_store_ps(sc, select(front, column, cx));
  _mm_store_ps(sr, select(front, row, ry));
  _mm_store_ps(sz, cz);
  for (int k = 0; k < 4; ++k) out[k] = {sc[k], sr[k], sz[k]};
  // Corners: unusable unless in front with a column and row that are numbers.
  const __m128 bx = _mm_add_ps(column, _mm_set1_ps(p.centreX));
  const __m128 by = _mm_add_ps(row, _mm_set1_ps(p.centreY));
  const __m128 usable = _mm_and_ps(front, _mm_and_ps(_mm_cmpord_ps(bx, bx), _mm_cmpord_ps(by, by)));
  const __m128 low = _mm_set1_ps(-kLimit), high = _mm_set1_ps(kLimit);
  const __m128i px = _mm_cvtps_epi32(_mm_min_ps(_mm_max_ps(bx, low), high));
  const __m128i py = _mm_cvtps_epi32(_mm_min_ps(_mm_max_ps(by, low), high));
  const __m128 unusableX = _mm_castsi128_ps(_mm_set1_epi32(kUnusableCorner));
  __m128 cornerX = select(usable, _mm_castsi128_ps(px), unusableX);
  __m128 cornerY = _mm_and_ps(usable, _mm_castsi128_ps(py));
  __m128 cornerW = _mm_and_ps(usable, _mm_div_ps(one, cz));
  __m128 cornerRow = _mm_and_ps(usable, by);
  _MM_TRANSPOSE4_PS(cornerX, cornerY, cornerW, cornerRow);
  static_assert(sizeof(Corner) == 16);
  _mm_storeu_ps(reinterpret_cast<float*>(corners + 0), cornerX);
  _mm_storeu_ps(reinterpret_cast<float*>(corners + 1), cornerY);
  _mm_storeu_ps(reinterpret_cast<float*>(corners + 2), cornerW);
  _mm_storeu_ps(reinterpret_cast<float*>(corners + 3), cornerRow);
}
#endif

template <bool kQuick>
void ProjectRange(const Projection& p, ModelStore& model, int32_t first, int32_t last,
                  Corner* corners) {
  const Vec3* in = model.vertices.data();
  ScratchVertex* out = model.vertexScratch.data();
  int32_t i = first;
#if defined(__SSE2__)
  for (; i + 4 <= last; i += 4) ProjectFour<kQuick>(p, in + i, out + i, corners + i);
#endif
  for (; i < last; ++i) ProjectOne<kQuick>(p, in[i], out[i], corners[i]);
}

}  // namespace

Corner CornerOf(float column, float row, float depth) {
  if (column != column || row != row) return kUnusable;
  return {ToPixel(column), ToPixel(row), 1.0f / depth, row};
}

void ProjectCorners(const ViewState& view, float hSampling, bool quickRender, ModelStore& model,
                    int32_t first, int32_t last, Corner* corners) {
  const Projection p{view, view.scaling * hSampling, view.scaling, static_cast<float>(view.centreX),
                     static_cast<float>(view.centreY)};
  if (quickRender) {
    ProjectRange<true>(p, model, first, last, corners);
  } else {
    ProjectRange<false>(p, model, first, last, corners);
  }
}

void CornersFromScratch(const ModelStore& model, int32_t centreX, int32_t centreY,
                        Table<Corner>& out) {
  const auto count = static_cast<size_t>(std::max(model.vertexCount, 0));
  out.resize(count);
  const ScratchVertex* in = model.vertexScratch.data();
  const float fx = static_cast<float>(centreX), fy = static_cast<float>(centreY);
  for (size_t i = 0; i < count; ++i) {
    const ScratchVertex s = in[i];
    out[i] = s.depth >= 1.0f ? CornerOf(s.column + fx, s.row + fy, s.depth) : kUnusable;
  }
}

}  // namespace qelvar
