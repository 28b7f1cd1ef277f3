// The scan-line fill of one triangle: its corners ordered by row, the two
// edges stepped with integer errors and w by addition, one span per row with
// the strict depth test, clipped to the target's rectangle. Inline, for the
// passes that call it once per triangle.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "render/render_buffers.h"
#include "render/repeated_addition.h"

namespace qelvar::scan {

// The slope of w over `steps` pixels or rows. One step needs no division:
// a difference divided by 1 is the difference.
inline float Slope(float to, float from, int32_t steps) {
  return steps == 1 ? to - from : (to - from) / static_cast<float>(steps);
}

// One edge of the scan: integer Bresenham-style error stepping for x, w by
// repeated addition. Numbers: x, dx, dy, err in pixels (int32); w, dw in 1/depth.
struct Edge {
  int32_t x = 0, dx = 0, dy = 0, sx = 1, err = 0;
  float w = 0.0f, dw = 0.0f;

  void Aim(const Corner& end, int32_t row) {
    dy = end.y - row;
    if (dy > 0) {
      dw = Slope(end.w, w, dy);
      dx = std::abs(end.x - x);
      sx = end.x >= x ? 1 : -1;
    }
    err = 0;
  }
  void Step() {
    w += dw;
    err += dx;
    if (err > dy && dy > 0) {
      err -= dy;
      x += sx;
      if (err > dy) {  // a flat edge: as many more steps as the error holds
        const int32_t steps = dy == 1 ? err - 1 : (err - 1) / dy;  // no division for one row
        err -= steps * dy;
        x += steps * sx;
      }
    }
  }
  // `rows` steps at once, to the same x, err and w as one by one.
  void Skip(int32_t rows) {
    w = AddRepeatedly(w, dw, rows);
    const int64_t total = err + int64_t{rows} * dx;
    if (total > dy && dy > 0) {
      const int64_t steps = (total - 1) / dy;
      err = static_cast<int32_t>(total - steps * dy);
      x += static_cast<int32_t>(steps) * sx;
    } else {
      err = static_cast<int32_t>(total);
    }
  }
};

// One span of row `y` from the smaller to the larger end, w stepped by
// addition from the left end also over the pixels left of the clip rectangle.
// kInside: the span is known to lie inside the clip rectangle.
template <bool kInside = false>
[[gnu::always_inline]] inline void DrawSpan(const RenderTarget& b, int32_t y, int32_t x1,
                                            float w1, int32_t x2, float w2, uint32_t colour) {
  if (x1 == x2) {  // one pixel, the commonest span of a dense mesh
    if (!kInside && (x1 < b.clipLeft || x1 > b.clipRight)) return;
    const size_t at = static_cast<size_t>(y) * b.width + static_cast<size_t>(x1);
    const float old = b.depth[at];
    const bool nearer = w1 > old;  // as in the loop below: no branch to mispredict
    b.depth[at] = nearer ? w1 : old;
    b.colour[at] = nearer ? colour : b.colour[at];
    return;
  }
  const bool swap = x2 < x1;
  const int32_t left = swap ? x2 : x1, right = swap ? x1 : x2;
  if (!kInside && (right < b.clipLeft || left > b.clipRight)) return;
  float w = swap ? w2 : w1;
  const float dw = right != left ? Slope(swap ? w1 : w2, w, right - left) : 0.0f;
  int32_t x = left;
  if (!kInside && x < b.clipLeft) {  // the pixels left of the clip step w all the same
    w = AddRepeatedly(w, dw, b.clipLeft - x);
    x = b.clipLeft;
  }
  const int32_t end = kInside ? right : std::min(right, b.clipRight);
  if (!kInside && x > end) return;
  const size_t row = static_cast<size_t>(y) * b.width;
  uint32_t* const colourRow = b.colour + row;
  float* const depthRow = b.depth + row;
  // Without a branch: whether a pixel is nearer changes too often to predict.
  for (; x <= end; ++x) {
    const float old = depthRow[x];
    const bool nearer = w > old;
    depthRow[x] = nearer ? w : old;
    colourRow[x] = nearer ? colour : colourRow[x];
    w += dw;
  }
}

// Where an edge from `from` toward `to`, one row lower, stands after one
// step: the scan's stepping with one row, where a flat edge moves all but one
// of its columns at once.
inline void StepOneRow(const Corner& from, const Corner& to, int32_t& x, float& w) {
  const int32_t dx = std::abs(to.x - from.x);
  x = from.x + (dx > 1 ? (to.x >= from.x ? dx - 1 : 1 - dx) : 0);
  w = from.w + (to.w - from.w);
}

// The scan below for a triangle of one or two rows (A and B at most one row
// below the top corner C), its rows and spans written out.
template <bool kInside>
[[gnu::always_inline]] inline void ScanShortTriangle(const RenderTarget& b, const Corner& a,
                                                     const Corner& bc, const Corner& c,
                                                     uint32_t colour) {
  const int32_t y0 = c.y;
  if (!kInside && y0 > b.clipBottom) return;
  const bool drawTop = kInside || y0 >= b.clipTop;
  if (a.y == y0 && bc.y == y0) {  // one row: from B to A
    if (drawTop) DrawSpan<kInside>(b, y0, bc.x, bc.w, a.x, a.w, colour);
    return;
  }
  int32_t x = 0;
  float w = 0.0f;
  const bool drawLow = kInside || (y0 + 1 <= b.clipBottom && y0 + 1 >= b.clipTop);
  if (bc.y == y0) {  // B beside C, A below
    if (drawTop) DrawSpan<kInside>(b, y0, bc.x, bc.w, c.x, c.w, colour);
    StepOneRow(bc, a, x, w);
    if (drawLow) DrawSpan<kInside>(b, y0 + 1, x, w, a.x, a.w, colour);
  } else if (a.y == y0) {  // A beside C, B below
    if (drawTop) DrawSpan<kInside>(b, y0, c.x, c.w, a.x, a.w, colour);
    StepOneRow(a, bc, x, w);
    if (drawLow) DrawSpan<kInside>(b, y0 + 1, bc.x, bc.w, x, w, colour);
  } else {  // C alone on top, A and B below
    if (drawTop) DrawSpan<kInside>(b, y0, c.x, c.w, c.x, c.w, colour);
    if (drawLow) DrawSpan<kInside>(b, y0 + 1, bc.x, bc.w, a.x, a.w, colour);
  }
}

// Scans the triangle from its top corner C down to the lower of A and B.
// kMarkOnly: draw nothing, return true at the first row whose span meets the
// clip rectangle's columns. kInside: every corner lies inside the clip
// rectangle, so no span needs clipping. Corners must be usable.
template <bool kMarkOnly, bool kInside = false>
[[gnu::always_inline]] inline bool ScanTriangle(const RenderTarget& b, const Corner& first,
                                                const Corner& second, const Corner& third,
                                                uint32_t colour) {
  // Ordered by their real rows, as the corners were given.
  const Corner *pa = &first, *pb = &second, *pc = &third;
  if (pa->row < pb->row) std::swap(pa, pb);
  if (pb->row < pc->row) std::swap(pb, pc);
  const Corner &a = *pa, &bc = *pb, &c = *pc;
  if constexpr (!kMarkOnly) {
    if (a.y - c.y <= 1 && bc.y - c.y <= 1) {  // the shapes of small triangles
      ScanShortTriangle<kInside>(b, a, bc, c, colour);
      return false;
    }
  }
  Edge e1, e2;  // e1: C to B, then B to A; e2: C to A, then A to B
  e1.x = e2.x = c.x;
  e1.w = e2.w = c.w;
  e1.Aim(bc, c.y);
  e2.Aim(a, c.y);
  int switches = 0;
  for (int32_t y = c.y;; ++y) {
    if (y == bc.y) {
      e1.x = bc.x, e1.w = bc.w;
      if (++switches == 1) e1.Aim(a, y);
    }
    if (y == a.y) {
      e2.x = a.x, e2.w = a.w;
      if (++switches == 1) e2.Aim(bc, y);
    }
    if (y > b.clipBottom) return false;
    if (y >= b.clipTop) {
      if constexpr (kMarkOnly) {
        if (std::max(e1.x, e2.x) >= b.clipLeft && std::min(e1.x, e2.x) <= b.clipRight) {
          return true;
        }
      } else {
        DrawSpan<kInside>(b, y, e1.x, e1.w, e2.x, e2.w, colour);
      }
    }
    if (switches >= 2) return false;
    e1.Step();
    e2.Step();
    // Rows above the clip rectangle draw nothing: step over them at once, up
    // to the next corner row or the clip top.
    const int32_t next = y + 1;
    if (next < b.clipTop) {
      int32_t target = b.clipTop;
      if (bc.y >= next) target = std::min(target, bc.y);
      if (a.y >= next) target = std::min(target, a.y);
      if (target > next) {
        e1.Skip(target - next);
        e2.Skip(target - next);
        y = target - 1;
      }
    }
  }
}

}  // namespace qelvar::scan
