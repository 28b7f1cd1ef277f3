// Vertex projection into corners, four vertices at a time. Every lane does
// the single-precision operations of the one-vertex code in the same order,
// so the results are the same bit for bit.
#include "render/corner_projection.h"

#include <algorithm>
#include <limits>

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
constexpr float kInfinity = std::numeric_limits<float>::infinity();
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

// The rectangle of the usable corners so far: four lanes of clamped columns
// and rows, their extremes rounded at the end (rounding keeps the order), and
// the corners projected one at a time.
struct CornerBounds {
#if defined(__SSE2__)
  __m128 minX = _mm_set1_ps(kInfinity), minY = _mm_set1_ps(kInfinity);
  __m128 maxX = _mm_set1_ps(-kInfinity), maxY = _mm_set1_ps(-kInfinity);
#endif
  PixelRect single;

  void Add(const Corner& c) {
    if (c.x == kUnusableCorner) return;
    single.left = std::min(single.left, c.x), single.right = std::max(single.right, c.x);
    single.top = std::min(single.top, c.y), single.bottom = std::max(single.bottom, c.y);
  }
  PixelRect Rect() const {
    PixelRect r = single;
#if defined(__SSE2__)
    alignas(16) float lanes[4][4];
    _mm_store_ps(lanes[0], minX), _mm_store_ps(lanes[1], minY);
    _mm_store_ps(lanes[2], maxX), _mm_store_ps(lanes[3], maxY);
    for (int k = 0; k < 4; ++k) {
      if (lanes[0][k] == kInfinity) continue;  // no usable corner in this lane
      r.left = std::min(r.left, RoundToInt(lanes[0][k]));
      r.top = std::min(r.top, RoundToInt(lanes[1][k]));
      r.right = std::max(r.right, RoundToInt(lanes[2][k]));
      r.bottom = std::max(r.bottom, RoundToInt(lanes[3][k]));
    }
#endif
    return r;
  }
};

#if defined(__SSE2__)
// Four points of three floats each (48 bytes) as their x, y and z lanes, and back.
inline void LoadFour(const float* in, __m128& x, __m128& y, __m128& z) {
  const __m128 m0 = _mm_loadu_ps(in), m1 = _mm_loadu_ps(in + 4), m2 = _mm_loadu_ps(in + 8);
  // m0 = x0 y0 z0 x1, m1 = y1 z1 x2 y2, m2 = z2 x3 y3 z3
  const __m128 x23 = _mm_shuffle_ps(m1, m2, _MM_SHUFFLE(1, 1, 2, 2));
  x = _mm_shuffle_ps(m0, x23, _MM_SHUFFLE(2, 0, 3, 0));
  const __m128 y01 = _mm_shuffle_ps(m0, m1, _MM_SHUFFLE(0, 0, 1, 1));
  const __m128 y23 = _mm_shuffle_ps(m1, m2, _MM_SHUFFLE(2, 2, 3, 3));
  y = _mm_shuffle_ps(y01, y23, _MM_SHUFFLE(2, 0, 2, 0));
  const __m128 z01 = _mm_shuffle_ps(m0, m1, _MM_SHUFFLE(1, 1, 2, 2));
  z = _mm_shuffle_ps(z01, m2, _MM_SHUFFLE(3, 0, 2, 0));
}
inline void StoreFour(float* out, __m128 x, __m128 y, __m128 z) {
  const __m128 xy01 = _mm_unpacklo_ps(x, y), xy23 = _mm_unpackhi_ps(x, y);  // x0 y0 x1 y1, x2 y2 x3 y3
  const __m128 z0x1 = _mm_shuffle_ps(z, xy01, _MM_SHUFFLE(2, 2, 0, 0));
  const __m128 y1z1 = _mm_shuffle_ps(xy01, z, _MM_SHUFFLE(1, 1, 3, 3));
  const __m128 z2x3 = _mm_shuffle_ps(z, xy23, _MM_SHUFFLE(2, 2, 2, 2));
  const __m128 y3z3 = _mm_shuffle_ps(xy23, z, _MM_SHUFFLE(3, 3, 3, 3));
  _mm_storeu_ps(out, _mm_shuffle_ps(xy01, z0x1, _MM_SHUFFLE(2, 0, 1, 0)));
  _mm_storeu_ps(out + 4, _mm_shuffle_ps(y1z1, xy23, _MM_SHUFFLE(1, 0, 2, 0)));
  _mm_storeu_ps(out + 8, _mm_shuffle_ps(z2x3, y3z3, _MM_SHUFFLE(2, 0, 2, 0)));
}

// Vertices i .. i + 3.
template <bool kQuick>
inline void ProjectFour(const Projection& p, const Vec3* in, ScratchVertex* out, Corner* corners,
                        CornerBounds& bounds) {
  const ViewState& v = p.view;
  static_assert(sizeof(Vec3) == 12 && sizeof(ScratchVertex) == 12);
  __m128 x, y, z;
  LoadFour(&in[0].x, x, y, z);
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
  StoreFour(&out[0].column, select(front, column, cx), select(front, row, ry), cz);
  // Corners: unusable unless in front with a column and row that are numbers.
  const __m128 bx = _mm_add_ps(column, _mm_set1_ps(p.centreX));
  const __m128 by = _mm_add_ps(row, _mm_set1_ps(p.centreY));
  const __m128 usable = _mm_and_ps(front, _mm_and_ps(_mm_cmpord_ps(bx, bx), _mm_cmpord_ps(by, by)));
  const __m128 low = _mm_set1_ps(-kLimit), high = _mm_set1_ps(kLimit);
  const __m128 clampedX = _mm_min_ps(_mm_max_ps(bx, low), high);
  const __m128 clampedY = _mm_min_ps(_mm_max_ps(by, low), high);
  const __m128i px = _mm_cvtps_epi32(clampedX);
  const __m128i py = _mm_cvtps_epi32(clampedY);
  const __m128 none = _mm_set1_ps(kInfinity), noneBelow = _mm_set1_ps(-kInfinity);
  bounds.minX = _mm_min_ps(bounds.minX, select(usable, clampedX, none));
  bounds.minY = _mm_min_ps(bounds.minY, select(usable, clampedY, none));
  bounds.maxX = _mm_max_ps(bounds.maxX, select(usable, clampedX, noneBelow));
  bounds.maxY = _mm_max_ps(bounds.maxY, select(usable, clampedY, noneBelow));
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
PixelRect ProjectRange(const Projection& p, ModelStore& model, int32_t first, int32_t last,
                       Corner* corners) {
  const Vec3* in = model.vertices.data();
  ScratchVertex* out = model.vertexScratch.data();
  CornerBounds bounds;
  int32_t i = first;
#if defined(__SSE2__)
  for (; i + 4 <= last; i += 4) ProjectFour<kQuick>(p, in + i, out + i, corners + i, bounds);
#endif
  for (; i < last; ++i) {
    ProjectOne<kQuick>(p, in[i], out[i], corners[i]);
    bounds.Add(corners[i]);
  }
  return bounds.Rect();
}

}  // namespace

Corner CornerOf(float column, float row, float depth) {
  if (column != column || row != row) return kUnusable;
  return {ToPixel(column), ToPixel(row), 1.0f / depth, row};
}

PixelRect ProjectCorners(const ViewState& view, float hSampling, bool quickRender,
                         ModelStore& model, int32_t first, int32_t last, Corner* corners) {
  const Projection p{view, view.scaling * hSampling, view.scaling, static_cast<float>(view.centreX),
                     static_cast<float>(view.centreY)};
  return quickRender ? ProjectRange<true>(p, model, first, last, corners)
                     : ProjectRange<false>(p, model, first, last, corners);
}

PixelRect CornersFromScratch(const ModelStore& model, int32_t centreX, int32_t centreY,
                             Table<Corner>& out) {
  const auto count = static_cast<size_t>(std::max(model.vertexCount, 0));
  out.resize(count);
  const ScratchVertex* in = model.vertexScratch.data();
  const float fx = static_cast<float>(centreX), fy = static_cast<float>(centreY);
  CornerBounds bounds;
  for (size_t i = 0; i < count; ++i) {
    const ScratchVertex s = in[i];
    out[i] = s.depth >= 1.0f ? CornerOf(s.column + fx, s.row + fy, s.depth) : kUnusable;
    bounds.Add(out[i]);
  }
  return bounds.single;
}

}  // namespace qelvar
