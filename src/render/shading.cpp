// Face normals and triangle shading.
#include "render/shading.h"

#include <algorithm>
#include <cmath>

#ifdef __SSE2__
#include <immintrin.h>
#endif

#include "core/option_flags.h"
#include "render/render_workers.h"

namespace qelvar {

namespace {

// Normals are made a block at a time: the cross products first (their corners
// are gathered one by one), then the lengths and quotients four lanes at a
// time. Square roots and quotients are correctly rounded in both forms, so
// every normal is the same to the bit as one computed alone.
constexpr int kNormalBlock = 256;

struct CrossBlock {
  alignas(16) float x[kNormalBlock], y[kNormalBlock], z[kNormalBlock];
};

// The face's unnormalised normal; zero for a triangle with a corner outside
// the table.
void CrossProducts(const ModelStore& model, int32_t first, int count, CrossBlock& n) {
  const auto vertexCount = static_cast<uint32_t>(model.vertexCount);
  for (int k = 0; k < count; ++k) {
    const Triangle& t = model.triangles[size_t(first + k)];
    if (static_cast<uint32_t>(t.corner[0]) >= vertexCount ||
        static_cast<uint32_t>(t.corner[1]) >= vertexCount ||
        static_cast<uint32_t>(t.corner[2]) >= vertexCount) {
      n.x[k] = n.y[k] = n.z[k] = 0.0f;
      continue;
    }
    const Vec3 a = model.vertices[size_t(t.corner[0])];
    const Vec3 b = model.vertices[size_t(t.corner[1])];
    const Vec3 c = model.vertices[size_t(t.corner[2])];
    const Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z};
    const Vec3 v{c.x - b.x, c.y - b.y, c.z - b.z};
    n.x[k] = u.y * v.z - u.z * v.y;
    n.y[k] = u.z * v.x - u.x * v.z;
    n.z[k] = u.x * v.y - u.y * v.x;
  }
}

// n / |n|; a zero length counts as 1000000, which leaves the zero vector (and
// the normal of a triangle with a corner outside the table) at +0.
void Normalise(const CrossBlock& n, int count, Vec3* out) {
  int k = 0;
#ifdef __SSE2__
  const __m128 zero = _mm_setzero_ps(), stand_in = _mm_set1_ps(1000000.0f);
  for (; k + 4 <= count; k += 4) {
    const __m128 x = _mm_load_ps(n.x + k), y = _mm_load_ps(n.y + k), z = _mm_load_ps(n.z + k);
    const __m128 squares =
        _mm_add_ps(_mm_add_ps(_mm_mul_ps(x, x), _mm_mul_ps(y, y)), _mm_mul_ps(z, z));
    __m128 length = _mm_sqrt_ps(squares);
    const __m128 isZero = _mm_cmpeq_ps(length, zero);
    length = _mm_or_ps(_mm_and_ps(isZero, stand_in), _mm_andnot_ps(isZero, length));
    alignas(16) float qx[4], qy[4], qz[4];
    _mm_store_ps(qx, _mm_div_ps(x, length));
    _mm_store_ps(qy, _mm_div_ps(y, length));
    _mm_store_ps(qz, _mm_div_ps(z, length));
    for (int lane = 0; lane < 4; ++lane) out[k + lane] = {qx[lane], qy[lane], qz[lane]};
  }
#endif
  for (; k < count; ++k) {
    float length = std::sqrt(n.x[k] * n.x[k] + n.y[k] * n.y[k] + n.z[k] * n.z[k]);
    if (length == 0.0f) length = 1000000.0f;
    out[k] = {n.x[k] / length, n.y[k] / length, n.z[k] / length};
  }
}

// Normals of triangles [first, last).
void NormalsOf(ModelStore& model, int32_t first, int32_t last) {
  CrossBlock cross;
  for (; first < last; first += kNormalBlock) {
    const int count = static_cast<int>(std::min<int32_t>(kNormalBlock, last - first));
    CrossProducts(model, first, count, cross);
    Normalise(cross, count, &model.triangleNormals[size_t(first)]);
  }
}

// Below this many triangles a thread more costs more than it saves.
constexpr int32_t kNormalsPerThread = 1 << 18;

}  // namespace

void ComputeNormals(ModelStore& model) { NormalsOf(model, 0, std::max(model.triangleCount, 0)); }

void ComputeNormals(ModelStore& model, RenderBuffers& buffers) {
  // Shared among the frame's threads in whole blocks: each normal is the same
  // whichever thread computes it.
  const int32_t count = std::max(model.triangleCount, 0);
  const int threads = count >= kNormalsPerThread ? WorkThreads(buffers, count) : 1;
  const int64_t blocks = (int64_t{count} + kNormalBlock - 1) / kNormalBlock;
  const auto start = [&](int part) {
    return static_cast<int32_t>(std::min<int64_t>(blocks * part / threads * kNormalBlock, count));
  };
  RunPieces(buffers, threads, threads,
            [&](int part) { NormalsOf(model, start(part), start(part + 1)); });
}

ShadeSetup MakeShadeSetup(const ViewState& view, uint32_t options, int contrast) {
  return {view, HasOption(options, kOptQuickRender), HasOption(options, kOptBackface),
          HasOption(options, kOptModelColours), static_cast<float>(contrast)};
}

bool ShadeTriangle(const ViewState& view, const ModelStore& model, uint32_t options, int contrast,
                   int32_t triangle, uint32_t& pixel) {
  const ShadeSetup setup = MakeShadeSetup(view, options, contrast);
  return ShadeFace(setup, model.triangleNormals[triangle], model.triangleFlags[triangle],
                   model.triangleColours[triangle], pixel);
}

}  // namespace qelvar
