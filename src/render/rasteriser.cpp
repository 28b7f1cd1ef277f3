// The triangle pass: scan-line fill, depth-tested lines, wireframe, culling,
// hidden selections and the selection mode.
#include "render/rasteriser.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "core/option_flags.h"
#include "render/corner_projection.h"
#include "render/repeated_addition.h"
#include "render/rounding.h"
#include "render/shading.h"
#include "render/triangle_scan.h"

namespace qelvar {
namespace {

using scan::ScanTriangle;

constexpr float kLimit = static_cast<float>(kCoordinateLimit);

// The pixel a stepped coordinate rounds to, saturated so that the order of
// far-off values survives (any of them is outside the buffer).
int64_t SteppedPixel(float v) {
  constexpr float kFar = 1e18f;
  return v >= kFar ? int64_t{1} << 62 : (v <= -kFar ? -(int64_t{1} << 62) : RoundToInt64(v));
}

// The smallest i in [0, n + 1) for which pred(i) holds, pred being false and
// then true; n + 1 when it never holds.
template <class Pred>
int64_t FirstWhere(int64_t n, Pred pred) {
  int64_t lo = 0, hi = n + 1;
  while (lo < hi) {
    const int64_t mid = lo + (hi - lo) / 2;
    if (pred(mid)) {
      hi = mid;
    } else {
      lo = mid + 1;
    }
  }
  return lo;
}

// Points first..last (empty when first > last) of a line.
struct PointRange {
  int64_t first, last;
};

// The points 0..n of start + i * step (repeated addition) whose pixel lies in
// [low, high]: one run, since repeated addition of a step never turns back.
PointRange InsideRange(float start, float step, int64_t n, int64_t low, int64_t high) {
  const auto pixel = [&](int64_t i) { return SteppedPixel(AddRepeatedly(start, step, i)); };
  if (step >= 0.0f) {
    return {FirstWhere(n, [&](int64_t i) { return pixel(i) >= low; }),
            FirstWhere(n, [&](int64_t i) { return pixel(i) > high; }) - 1};
  }
  return {FirstWhere(n, [&](int64_t i) { return pixel(i) <= high; }),
          FirstWhere(n, [&](int64_t i) { return pixel(i) < low; }) - 1};
}

// Whether a clip rectangle holds no pixel.
bool Empty(const ClipRect& clip) { return clip.left > clip.right || clip.top > clip.bottom; }

bool CornersOf(const ModelStore& model, const Triangle& t, int32_t cx, int32_t cy,
               BufferPoint (&out)[3]) {
  const auto count = static_cast<uint32_t>(model.vertexCount);
  for (int k = 0; k < 3; ++k) {
    const auto index = static_cast<uint32_t>(t.corner[k]);
    if (index >= count) return false;
    const ScratchVertex& s = model.vertexScratch[index];
    if (!(s.depth >= 1.0f)) return false;  // too near, behind, or not a number
    out[k] = {s.column + static_cast<float>(cx), s.row + static_cast<float>(cy), s.depth};
  }
  return true;
}

void SetSelected(ModelStore& model, int32_t i, bool unselect) {
  if (unselect) {
    model.triangleFlags[i] &= static_cast<uint8_t>(~kSelectedBit);
  } else {
    model.triangleFlags[i] |= kSelectedBit;
  }
}

void FillSelectionRectangle(RenderBuffers& b, uint32_t id, float clearW) {
  const RenderTarget t = TargetOf(b);
  for (int32_t y = t.clipTop; y <= t.clipBottom; ++y) {
    const size_t row = static_cast<size_t>(y) * t.width;
    std::fill(t.colour + row + t.clipLeft, t.colour + row + t.clipRight + 1, id);
    std::fill(t.depth + row + t.clipLeft, t.depth + row + t.clipRight + 1, clearW);
    t.Touch(y, t.clipLeft, t.clipRight);
  }
}

// Nothing written since the last clear.
void ForgetTouches(RenderBuffers& b) {
  b.touchedLeft.assign(static_cast<size_t>(b.height), INT32_MAX);
  b.touchedRight.assign(static_cast<size_t>(b.height), INT32_MIN);
}

}  // namespace

void InitRenderBuffers(RenderBuffers& buffers, const ScreenGeometry& geometry) {
  buffers.width = geometry.bufferWidth;
  buffers.height = geometry.bufferHeight;
  const size_t cells = static_cast<size_t>(buffers.width) * static_cast<size_t>(buffers.height);
  buffers.colour.assign(cells, 0);
  buffers.depth.assign(cells, 0.0f);
  buffers.clipLeft = 0, buffers.clipTop = 0;
  buffers.clipRight = buffers.width - 1, buffers.clipBottom = buffers.height - 1;
  ForgetTouches(buffers);
  buffers.clearKnown = false;
  buffers.unpresented.assign(static_cast<size_t>(buffers.height), 1);
}

void ClearBuffers(RenderBuffers& buffers, float drawDepth) {
  RenderBuffers& b = buffers;
  const float clearW = 1.0f / drawDepth;
  const bool tracked = b.touchedLeft.size() == static_cast<size_t>(b.height) &&
                       b.touchedRight.size() == static_cast<size_t>(b.height);
  // Compared bit for bit: a NaN depth must not count as a new value every frame.
  const bool sameDepth = b.clearKnown && std::memcmp(&clearW, &b.clearedTo, sizeof clearW) == 0;
  const bool presentTracked = b.unpresented.size() == static_cast<size_t>(b.height);
  if (!tracked || !sameDepth) {
    std::fill(b.colour.begin(), b.colour.end(), 0u);
    std::fill(b.depth.begin(), b.depth.end(), clearW);
    ForgetTouches(b);
    if (presentTracked) std::fill(b.unpresented.begin(), b.unpresented.end(), uint8_t{1});
  } else {
    // Only what the last frames wrote differs from the cleared state.
    const size_t width = static_cast<size_t>(b.width);
    for (int y = 0; y < b.height; ++y) {
      const int32_t left = std::max(b.touchedLeft[y], 0);
      const int32_t right = std::min(b.touchedRight[y], b.width - 1);
      if (left > right) continue;
      const size_t row = static_cast<size_t>(y) * width;
      std::fill(b.colour.begin() + row + left, b.colour.begin() + row + right + 1, 0u);
      std::fill(b.depth.begin() + row + left, b.depth.begin() + row + right + 1, clearW);
      b.touchedLeft[y] = INT32_MAX, b.touchedRight[y] = INT32_MIN;
      if (presentTracked) b.unpresented[static_cast<size_t>(y)] = 1;
    }
  }
  b.clearedTo = clearW;
  b.clearKnown = tracked;
}

void FillTriangle(RenderBuffers& buffers, BufferPoint a, BufferPoint b, BufferPoint c,
                  uint32_t colour) {
  const Corner corners[3] = {CornerOf(a.column, a.row, a.depth), CornerOf(b.column, b.row, b.depth),
                             CornerOf(c.column, c.row, c.depth)};
  const RenderTarget target = TargetOf(buffers);
  TriangleBox box;
  const ClipRect clip = ClipOf(target);
  if (Empty(clip) || !BoxOnClip(corners, 3, Triangle{{0, 1, 2}}, clip, box)) return;
  if (CornersInside(corners, 0, 1, 2, clip)) {  // as the triangle pass takes them
    ScanTriangle<false, true>(target, corners[0], corners[1], corners[2], colour);
  } else {
    ScanTriangle<false>(target, corners[0], corners[1], corners[2], colour);
  }
  target.Touch(std::max(box.minY, target.clipTop), std::min(box.maxY, target.clipBottom),
               std::max(box.minX, target.clipLeft), std::min(box.maxX, target.clipRight));
}

void DrawLine3D(const RenderTarget& b, BufferPoint p0, BufferPoint p1, uint32_t colour) {
  const float w0 = 1.0f / p0.depth, w1 = 1.0f / p1.depth;
  const float dc = p1.column - p0.column, dr = p1.row - p0.row, dw = w1 - w0;
  // Lines longer than the coordinate range (or with non-finite ends) are not
  // drawn: stepping them pixel by pixel would stall the program.
  if (!(std::fabs(dc) <= 2 * kLimit) || !(std::fabs(dr) <= 2 * kLimit)) return;
  const int64_t n = std::max(std::abs(RoundToInt64(dc)), std::abs(RoundToInt64(dr)));
  if (n == 0) return;
  const float steps = static_cast<float>(n);
  const float sc = dc / steps, sr = dr / steps, sw = dw / steps;
  int64_t first = 0, last = n;
  // A line much longer than the buffer is mostly outside it: only the points
  // that land on the clip rectangle are stepped, from the same values. (The
  // test uses the clip rectangle's size, which a band shares with no other.)
  const int64_t clipSize = int64_t{b.clipRight} - b.clipLeft + b.clipBottom - b.clipTop + 2;
  if (n > 4 * clipSize) {
    const PointRange columns = InsideRange(p0.column, sc, n, b.clipLeft, b.clipRight);
    const PointRange rows = InsideRange(p0.row, sr, n, b.clipTop, b.clipBottom);
    first = std::max(columns.first, rows.first);
    last = std::min(columns.last, rows.last);
    if (first > last) return;
  }
  float c = AddRepeatedly(p0.column, sc, first), r = AddRepeatedly(p0.row, sr, first);
  float w = AddRepeatedly(w0, sw, first);
  for (int64_t i = first; i <= last; ++i) {
    const int64_t x = RoundToInt64(c), y = RoundToInt64(r);
    if (x >= b.clipLeft && x <= b.clipRight && y >= b.clipTop && y <= b.clipBottom) {
      const size_t at = static_cast<size_t>(y) * b.width + static_cast<size_t>(x);
      b.Touch(static_cast<int32_t>(y), static_cast<int32_t>(x), static_cast<int32_t>(x));
      if (w > b.depth[at]) {
        b.depth[at] = w;
        b.colour[at] = colour;
      }
    }
    c += sc, r += sr, w += sw;
  }
}

void DrawLine3D(RenderBuffers& buffers, BufferPoint p0, BufferPoint p1, uint32_t colour) {
  DrawLine3D(TargetOf(buffers), p0, p1, colour);
}

namespace {

// Filled triangles [first, last). Whether a triangle is drawn is decided
// before its shade is computed: hidden, unusable and off-clip triangles are
// never shaded.
template <bool kQuick>
PixelRect FillTriangles(const RenderTarget& target, const ShadeSetup& shade,
                        const ModelStore& model, const Table<Corner>& corners,
                        const PixelRect& cornerBounds, bool hideSelected, int32_t first,
                        int32_t last) {
  const Corner* const corner = corners.data();
  const auto cornerCount = static_cast<uint32_t>(corners.size());
  const Triangle* const triangles = model.triangles.data();
  const uint8_t* const flagBytes = model.triangleFlags.data();
  const Vec3* const normals = model.triangleNormals.data();
  const uint16_t* const words = model.triangleColours.data();
  const ShadeSetup s = shade;  // a local copy the stores cannot alias
  const ClipRect clip = ClipOf(target);
  static_assert(kUnusableCorner < -kCoordinateLimit);
  if (Empty(clip)) return {};
  bool drew = false;
  for (int32_t i = first; i < last; ++i) {
    const uint8_t flags = flagBytes[i];
    if (hideSelected && (flags & kSelectedBit)) continue;
    const Triangle& t = triangles[i];
    const auto i0 = static_cast<uint32_t>(t.corner[0]), i1 = static_cast<uint32_t>(t.corner[1]);
    const auto i2 = static_cast<uint32_t>(t.corner[2]);
    if (i0 >= cornerCount || i1 >= cornerCount || i2 >= cornerCount) continue;
    // Most triangles lie wholly inside the clip: their spans need no clipping,
    // and no box is needed to tell.
    if (CornersInside(corner, i0, i1, i2, clip)) {
      uint32_t colour;
      if (!ShadeNormal<kQuick>(s, normals[i], flags, words[i], colour)) continue;
      ScanTriangle<false, true>(target, corner[i0], corner[i1], corner[i2], colour);
      drew = true;
      continue;
    }
    TriangleBox box;
    if (!BoxOnClip(corner, cornerCount, t, clip, box)) continue;
    uint32_t colour;
    if (!ShadeNormal<kQuick>(s, normals[i], flags, words[i], colour)) continue;
    ScanTriangle<false>(target, *box.a, *box.b, *box.c, colour);
    drew = true;
  }
  // Every fill stayed among the usable corners, and inside the clip: a
  // rectangle taken once rather than widened by every triangle.
  if (!drew) return {};
  return {std::max(cornerBounds.left, clip.left), std::max(cornerBounds.top, clip.top),
          std::min(cornerBounds.right, clip.right), std::min(cornerBounds.bottom, clip.bottom)};
}

// Wireframe: three depth-tested lines per triangle, clipped point by point.
void WireTriangles(const RenderTarget& band, const ShadeSetup& shade, const ModelStore& model,
                   bool hideSelected, int32_t centreX, int32_t centreY) {
  const uint8_t* const flagBytes = model.triangleFlags.data();
  for (int32_t i = 0; i < model.triangleCount; ++i) {
    const uint8_t flags = flagBytes[i];
    if (hideSelected && (flags & kSelectedBit)) continue;
    uint32_t colour;
    BufferPoint q[3];
    if (!ShadeFace(shade, model.triangleNormals[i], flags, model.triangleColours[i], colour) ||
        !CornersOf(model, model.triangles[i], centreX, centreY, q)) {
      continue;
    }
    DrawLine3D(band, q[1], q[2], colour);
    DrawLine3D(band, q[2], q[0], colour);
    DrawLine3D(band, q[1], q[0], colour);
  }
}

}  // namespace

void DrawTriangleBand(const RenderTarget& band, const ShadeSetup& shade, const ModelStore& model,
                      const Table<Corner>& corners, const PixelRect& cornerBounds,
                      uint32_t options, int32_t centreX, int32_t centreY) {
  const bool hideSelected = HasOption(options, kOptHideSelected);
  if (HasOption(options, kOptWireframe)) {
    WireTriangles(band, shade, model, hideSelected, centreX, centreY);
  } else {
    const PixelRect drawn = FillTriangleRange(band, shade, model, corners, cornerBounds,
                                              hideSelected, 0, model.triangleCount);
    if (drawn.left <= drawn.right) band.Touch(drawn.top, drawn.bottom, drawn.left, drawn.right);
  }
}

PixelRect FillTriangleRange(const RenderTarget& target, const ShadeSetup& shade,
                            const ModelStore& model, const Table<Corner>& corners,
                            const PixelRect& cornerBounds, bool hideSelected, int32_t first,
                            int32_t last) {
  return shade.quickRender ? FillTriangles<true>(target, shade, model, corners, cornerBounds,
                                                 hideSelected, first, last)
                           : FillTriangles<false>(target, shade, model, corners, cornerBounds,
                                                  hideSelected, first, last);
}

namespace {

// Selection mode: every triangle's index as its colour, or its mark.
void SelectTriangles(const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                     uint32_t options) {
  const int32_t count = model.triangleCount;
  const bool hideSelected = HasOption(options, kOptHideSelected);
  const bool markOnly = !HasOption(options, kOptOnlyVisible);
  const bool unselect = HasOption(options, kOptUnselect);
  Table<Corner>& corners = buffers.scratch.corners;
  CornersFromScratch(model, view.centreX, view.centreY, corners);
  const Corner* const corner = corners.data();
  const auto cornerCount = static_cast<uint32_t>(corners.size());
  const Triangle* const triangles = model.triangles.data();
  uint8_t* const flagBytes = model.triangleFlags.data();
  const RenderTarget target = TargetOf(buffers);
  const ClipRect clip = ClipOf(target);
  for (int32_t i = 0; i < count; ++i) {
    if (hideSelected && (flagBytes[i] & kSelectedBit)) continue;
    TriangleBox box;
    if (!BoxOnClip(corner, cornerCount, triangles[i], clip, box)) continue;
    if (!markOnly) {
      ScanTriangle<false>(target, *box.a, *box.b, *box.c, static_cast<uint32_t>(i));
    } else if (ScanTriangle<true>(target, *box.a, *box.b, *box.c, 0)) {
      SetSelected(model, i, unselect);
    }
  }
}

}  // namespace

void DrawTriangles(DrawMode mode, const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                   uint32_t options, int contrast) {
  if (model.triangleCount == 0) return;
  if (mode == DrawMode::kSelection) {
    SelectTriangles(view, model, buffers, options);
    return;
  }
  Table<Corner>& corners = buffers.scratch.corners;
  const PixelRect bounds = CornersFromScratch(model, view.centreX, view.centreY, corners);
  DrawTriangleBand(TargetOf(buffers), MakeShadeSetup(view, options, contrast), model, corners,
                   bounds, options, view.centreX, view.centreY);
}

void SelectionPass(const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                   uint32_t options, float drawDepth, int left, int top, int right, int bottom) {
  // The rectangle is kept inside the buffer so that no pass writes outside it.
  left = std::max(left, 0), top = std::max(top, 0);
  right = std::min(right, buffers.width - 1), bottom = std::min(bottom, buffers.height - 1);
  if (left > right || top > bottom) return;
  RenderBuffers& b = buffers;
  const int saved[4] = {b.clipLeft, b.clipTop, b.clipRight, b.clipBottom};
  b.clipLeft = left, b.clipTop = top, b.clipRight = right, b.clipBottom = bottom;
  const auto noTriangleId = static_cast<uint32_t>(model.triangleCapacity);
  FillSelectionRectangle(b, noTriangleId, 1.0f / drawDepth);
  DrawTriangles(DrawMode::kSelection, view, model, b, options, 0);
  if (HasOption(options, kOptOnlyVisible)) {
    const bool unselect = HasOption(options, kOptUnselect);
    const size_t width = static_cast<size_t>(b.width);
    for (int y = top; y <= bottom; ++y) {
      const size_t row = static_cast<size_t>(y) * width;
      for (int x = left; x <= right; ++x) {
        const uint32_t id = b.colour[row + x];
        if (id < noTriangleId) SetSelected(model, static_cast<int32_t>(id), unselect);
      }
    }
  }
  b.clipLeft = saved[0], b.clipTop = saved[1], b.clipRight = saved[2], b.clipBottom = saved[3];
}

}  // namespace qelvar
