// Projection of the vertices for one frame straight into the corners the
// triangle fill uses: each vertex is rotated, divided, rounded and given its
// reciprocal depth once, however many triangles share it.
#pragma once

#include <algorithm>
#include <cstdint>

#include "model/model_store.h"
#include "render/render_buffers.h"
#include "render/view_state.h"

namespace qelvar {

// Marks a corner no triangle may use: too near, behind, or not a number.
constexpr int32_t kUnusableCorner = INT32_MIN;

// The clip rectangle as plain numbers, so that a loop keeps them in registers
// however it writes to the buffers.
struct ClipRect {
  int32_t left, top, right, bottom;
};
inline ClipRect ClipOf(const RenderTarget& t) {
  return {t.clipLeft, t.clipTop, t.clipRight, t.clipBottom};
}

// A triangle's corners and the rectangle between their columns and rows:
// every pixel its fill can write lies inside.
struct TriangleBox {
  const Corner *a, *b, *c;
  int32_t minX, maxX, minY, maxY;
};

// The box of triangle t, or false when the triangle draws nothing: a corner
// index outside the table or an unusable corner (its column lies below every
// pixel's, so the box's left finds it).
[[gnu::always_inline]] inline bool BoxOf(const Corner* corner, uint32_t cornerCount,
                                         const Triangle& t, TriangleBox& box) {
  const auto i0 = static_cast<uint32_t>(t.corner[0]), i1 = static_cast<uint32_t>(t.corner[1]);
  const auto i2 = static_cast<uint32_t>(t.corner[2]);
  if (std::max(std::max(i0, i1), i2) >= cornerCount) return false;
  const Corner &a = corner[i0], &b = corner[i1], &c = corner[i2];
  box = {&a,
         &b,
         &c,
         std::min(std::min(a.x, b.x), c.x),
         std::max(std::max(a.x, b.x), c.x),
         std::min(std::min(a.y, b.y), c.y),
         std::max(std::max(a.y, b.y), c.y)};
  return box.minX != kUnusableCorner;
}

// Whether the box reaches into the clip rectangle.
inline bool MeetsClip(const TriangleBox& box, const ClipRect& clip) {
  return !(box.maxX < clip.left || box.minX > clip.right || box.maxY < clip.top ||
           box.minY > clip.bottom);
}

// Whether corners i0, i1 and i2 (each within the table) all lie inside the
// clip rectangle, which must not be empty: the triangle's box then does too,
// its spans need no clipping, and an unusable corner never does. Each
// coordinate is measured from the rectangle's near edge as an unsigned number
// (wrapping below it), so that one comparison per axis covers both edges.
[[gnu::always_inline]] inline bool CornersInside(const Corner* corner, uint32_t i0, uint32_t i1,
                                                 uint32_t i2, const ClipRect& clip) {
  const auto from = [](int32_t v, int32_t edge) {
    return static_cast<uint32_t>(v) - static_cast<uint32_t>(edge);
  };
  const auto dx = [&](uint32_t i) { return from(corner[i].x, clip.left); };
  const auto dy = [&](uint32_t i) { return from(corner[i].y, clip.top); };
  const auto upper = [](uint32_t p, uint32_t q) { return p < q ? q : p; };
  return upper(upper(dx(i0), dx(i1)), dx(i2)) <= from(clip.right, clip.left) &&
         upper(upper(dy(i0), dy(i1)), dy(i2)) <= from(clip.bottom, clip.top);
}

// BoxOf, and false also for a box that misses the clip.
[[gnu::always_inline]] inline bool BoxOnClip(const Corner* corner, uint32_t cornerCount,
                                             const Triangle& t, const ClipRect& clip,
                                             TriangleBox& box) {
  return BoxOf(corner, cornerCount, t, box) && MeetsClip(box, clip);
}

// The corner of a buffer point (column and row including the centre).
Corner CornerOf(float column, float row, float depth);

// Projects vertices [first, last) as ProjectVertices does into vertexScratch
// and writes their corners for the view's projection centre. `corners` must
// hold vertexCount entries. Returns the rectangle the usable ones lie in.
PixelRect ProjectCorners(const ViewState& view, float hSampling, bool quickRender,
                         ModelStore& model, int32_t first, int32_t last, Corner* corners);

// The corners of every vertex from the projection already in vertexScratch;
// returns the rectangle the usable ones lie in.
PixelRect CornersFromScratch(const ModelStore& model, int32_t centreX, int32_t centreY,
                             Table<Corner>& out);

// The smallest rectangle holding both.
inline PixelRect UniteRects(const PixelRect& a, const PixelRect& b) {
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

}  // namespace qelvar
