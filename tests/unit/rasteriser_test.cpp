// The scan-line fill, the depth-tested line and the triangle pass: pixel maps
// of small scenes, and the fast fill against a plain reference on random and
// degenerate triangles.
#include "render/rasteriser.h"

#include <gtest/gtest.h>

#include <array>

#include <cmath>
#include <cstring>
#include <random>
#include <utility>

#include "render/shading.h"
#include "render_test_support.h"

namespace qelvar {
namespace {

using test::Buffers;
using test::Map;

// The fill exactly as described, one pixel at a time with every check in the
// inner loop and bounds-checked buffer access.
void ReferenceFill(RenderBuffers& b, BufferPoint A, BufferPoint B, BufferPoint C, uint32_t colour) {
  if (A.row < B.row) std::swap(A, B);
  if (B.row < C.row) std::swap(B, C);
  const long ax = std::lrint(A.column), ay = std::lrint(A.row);
  const long bx = std::lrint(B.column), by = std::lrint(B.row);
  const long cx = std::lrint(C.column), cy = std::lrint(C.row);
  const float aw = 1.0f / A.depth, bw = 1.0f / B.depth, cw = 1.0f / C.depth;
  long x1 = cx, x2 = cx;
  float w1 = cw, w2 = cw;
  long dy1 = 0, dx1 = 0, sx1 = 1, err1 = 0, dy2 = 0, dx2 = 0, sx2 = 1, err2 = 0;
  float dw1 = 0, dw2 = 0;
  dy1 = by - cy;
  if (dy1 > 0) dw1 = (bw - w1) / dy1, dx1 = std::labs(bx - x1), sx1 = bx >= x1 ? 1 : -1;
  dy2 = ay - cy;
  if (dy2 > 0) dw2 = (aw - w2) / dy2, dx2 = std::labs(ax - x2), sx2 = ax >= x2 ? 1 : -1;
  int counter = 0;
  for (long y = cy;; ++y) {
    if (y == by) {
      x1 = bx, w1 = bw;
      if (++counter == 1) {
        dy1 = ay - y;
        if (dy1 > 0) dw1 = (aw - w1) / dy1, dx1 = std::labs(ax - x1), sx1 = ax >= x1 ? 1 : -1;
        err1 = 0;
      }
    }
    if (y == ay) {
      x2 = ax, w2 = aw;
      if (++counter == 1) {
        dy2 = by - y;
        if (dy2 > 0) dw2 = (bw - w2) / dy2, dx2 = std::labs(bx - x2), sx2 = bx >= x2 ? 1 : -1;
        err2 = 0;
      }
    }
    if (y > b.clipBottom) return;
    if (y >= b.clipTop) {
      long left = x1, right = x2;
      float w = w1, rightW = w2;
      if (x2 < x1) left = x2, right = x1, w = w2, rightW = w1;
      float dw = 0;
      if (left != right) dw = (rightW - w) / static_cast<float>(right - left);
      for (long x = left; x <= right; ++x) {
        if (x > b.clipRight) break;
        if (x >= b.clipLeft) {
          const size_t at = static_cast<size_t>(y * b.width + x);
          if (w > b.depth.at(at)) {
            b.depth.at(at) = w;
            b.colour.at(at) = colour;
          }
        }
        w += dw;
      }
    }
    if (counter >= 2) return;
    w1 += dw1, w2 += dw2;
    err1 += dx1;
    while (err1 > dy1) err1 -= dy1, x1 += sx1;
    err2 += dx2;
    while (err2 > dy2) err2 -= dy2, x2 += sx2;
  }
}

bool SameBuffers(const RenderBuffers& a, const RenderBuffers& b) {
  return a.colour == b.colour &&
         std::memcmp(a.depth.data(), b.depth.data(), a.depth.size() * sizeof(float)) == 0;
}

TEST(Fill, RightTriangleEdgeLagsOneRow) {
  RenderBuffers b = Buffers(8, 7);
  FillTriangle(b, {1, 1, 10}, {5, 1, 10}, {1, 5, 10}, 1);
  EXPECT_EQ(Map(b, {1}, "#"),
            "........\n"
            ".#####..\n"
            ".#####..\n"
            ".####...\n"
            ".###....\n"
            ".#......\n"
            "........\n");
}

TEST(Fill, ThreeCornersOnOneRowDrawOnlyBetweenFirstTwo) {
  RenderBuffers b = Buffers(12, 5);
  // After ordering C is the third corner; its column does not widen the span.
  FillTriangle(b, {2, 3, 10}, {6, 3, 10}, {9, 3, 10}, 1);
  EXPECT_EQ(Map(b, {1}, "#").substr(3 * 13, 13), "..#####.....\n");
  RenderBuffers single = Buffers(12, 5);
  FillTriangle(single, {4.4f, 2.6f, 10}, {4.4f, 2.6f, 10}, {4.4f, 2.6f, 10}, 1);
  EXPECT_EQ(single.colour[3 * 12 + 4], 1u);
  EXPECT_EQ(std::count(single.colour.begin(), single.colour.end(), 1u), 1);
}

TEST(Fill, SharedEdgeKeepsEarlierTriangleOnEqualDepth) {
  RenderBuffers first = Buffers(8, 8), second = Buffers(8, 8), both = Buffers(8, 8);
  const BufferPoint p00{1, 1, 20}, p10{6, 1, 20}, p01{1, 6, 20}, p11{6, 6, 20};
  FillTriangle(first, p00, p10, p01, 1);
  FillTriangle(second, p10, p11, p01, 2);
  FillTriangle(both, p00, p10, p01, 1);
  FillTriangle(both, p10, p11, p01, 2);
  int shared = 0;
  for (size_t i = 0; i < both.colour.size(); ++i) {
    if (first.colour[i] == 1 && second.colour[i] == 2) ++shared;
    const uint32_t expected = first.colour[i] == 1 ? 1 : second.colour[i];
    EXPECT_EQ(both.colour[i], expected) << i;
  }
  EXPECT_GT(shared, 4);  // the diagonal is drawn by both
}

TEST(Fill, StrictDepthTest) {
  RenderBuffers b = Buffers(6, 6);
  const BufferPoint a{0, 0, 10}, c{5, 0, 10}, d{0, 5, 10};
  FillTriangle(b, a, c, d, 1);
  FillTriangle(b, a, c, d, 2);  // same depth: loses everywhere
  EXPECT_EQ(std::count(b.colour.begin(), b.colour.end(), 2u), 0);
  FillTriangle(b, {0, 0, 9}, {5, 0, 9}, {0, 5, 9}, 3);  // nearer: wins everywhere
  EXPECT_EQ(std::count(b.colour.begin(), b.colour.end(), 1u), 0);
  FillTriangle(b, {0, 0, 11}, {5, 0, 11}, {0, 5, 11}, 4);  // farther
  EXPECT_EQ(std::count(b.colour.begin(), b.colour.end(), 4u), 0);
}

TEST(Fill, BeyondDrawDepthIsNeverDrawn) {
  RenderBuffers b = Buffers(6, 6, 100.0f);
  FillTriangle(b, {0, 0, 101}, {5, 0, 101}, {0, 5, 101}, 1);
  EXPECT_EQ(std::count(b.colour.begin(), b.colour.end(), 1u), 0);
  FillTriangle(b, {0, 0, 99}, {5, 0, 99}, {0, 5, 99}, 1);
  EXPECT_GT(std::count(b.colour.begin(), b.colour.end(), 1u), 0);
}

// Clipping only hides pixels: what is drawn inside the rectangle (colour and
// w) equals the unclipped fill there, because rows and spans are stepped from
// the triangle's own corners.
TEST(Fill, ClipRectangleHidesWithoutMovingPixels) {
  const BufferPoint a{-7.3f, 2.2f, 3}, b{30.6f, 9.5f, 40}, c{4.1f, 27.8f, 7};
  RenderBuffers full = Buffers(24, 20);
  FillTriangle(full, a, b, c, 5);
  RenderBuffers clipped = Buffers(24, 20);
  clipped.clipLeft = 6, clipped.clipTop = 5, clipped.clipRight = 15, clipped.clipBottom = 12;
  FillTriangle(clipped, a, b, c, 5);
  int inside = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 24; ++x) {
      const size_t i = static_cast<size_t>(y) * 24 + x;
      const bool in = x >= 6 && x <= 15 && y >= 5 && y <= 12;
      if (in) {
        EXPECT_EQ(clipped.colour[i], full.colour[i]) << x << "," << y;
        EXPECT_EQ(clipped.depth[i], full.depth[i]) << x << "," << y;
        inside += clipped.colour[i] == 5;
      } else {
        EXPECT_EQ(clipped.colour[i], 0u) << x << "," << y;
      }
    }
  }
  EXPECT_GT(inside, 40);
  // A clip rectangle with no pixel in it (right of its left edge, or below
  // its top) lets nothing through, however the corners lie.
  for (const auto& [l, t, r, btm] : {std::array{9, 5, 8, 12}, std::array{6, 9, 15, 8}}) {
    RenderBuffers none = Buffers(24, 20);
    none.clipLeft = l, none.clipTop = t, none.clipRight = r, none.clipBottom = btm;
    FillTriangle(none, a, b, c, 5);
    FillTriangle(none, {8.2f, 8.1f, 3}, {8.4f, 8.6f, 3}, {8.9f, 8.3f, 3}, 5);
    EXPECT_TRUE(SameBuffers(none, Buffers(24, 20)));
  }
}

// Random triangles over and beyond a small buffer, drawn in sequence so that
// the depth test between them matters, with random clip rectangles.
TEST(Fill, MatchesReferenceOnRandomTriangles) {
  std::mt19937 rng(12345);
  std::uniform_real_distribution<float> column(-30, 70), row(-25, 60), depth(1, 60);
  std::uniform_int_distribution<int> halfStep(-60, 140), pick(0, 9);
  for (int scene = 0; scene < 400; ++scene) {
    RenderBuffers fast = Buffers(48, 36), reference = Buffers(48, 36);
    if (scene % 3 == 1) {
      std::uniform_int_distribution<int> cx(0, 47), cy(0, 35);
      int l = cx(rng), r = cx(rng), t = cy(rng), btm = cy(rng);
      if (l > r) std::swap(l, r);
      if (t > btm) std::swap(t, btm);
      fast.clipLeft = reference.clipLeft = l, fast.clipRight = reference.clipRight = r;
      fast.clipTop = reference.clipTop = t, fast.clipBottom = reference.clipBottom = btm;
    }
    for (int n = 0; n < 6; ++n) {
      BufferPoint p[3];
      for (BufferPoint& q : p) {
        // Mix free reals with exact half pixels, where rounding ties to even.
        if (pick(rng) < 3) {
          q = {halfStep(rng) * 0.5f, halfStep(rng) * 0.5f, depth(rng)};
        } else {
          q = {column(rng), row(rng), depth(rng)};
        }
      }
      switch (pick(rng)) {  // degenerate shapes
        case 0:
          p[1] = p[0];
          break;
        case 1:
          p[2].row = p[1].row = p[0].row;
          break;
        case 2:
          p[2] = {(p[0].column + p[1].column) / 2, (p[0].row + p[1].row) / 2, p[2].depth};
          break;
        case 3:
          p[1].column = p[0].column;
          break;
        default:
          break;
      }
      const auto colour = static_cast<uint32_t>(n + 1);
      FillTriangle(fast, p[0], p[1], p[2], colour);
      ReferenceFill(reference, p[0], p[1], p[2], colour);
    }
    ASSERT_TRUE(SameBuffers(fast, reference)) << "scene " << scene;
  }
}

// Dense meshes make triangles of a pixel or less, which take the short ways
// through the fill (one row, one-pixel steps): many of them, overlapping, at
// the buffer's edges and under random clip rectangles.
TEST(Fill, MatchesReferenceOnTinyTriangles) {
  std::mt19937 rng(4242);
  std::uniform_real_distribution<float> at(-2, 14), offset(-1.6f, 1.6f), depth(1, 9);
  std::uniform_int_distribution<int> clip(0, 11);
  for (int scene = 0; scene < 300; ++scene) {
    RenderBuffers fast = Buffers(12, 10), reference = Buffers(12, 10);
    if (scene % 2 == 1) {
      fast.clipLeft = reference.clipLeft = clip(rng) / 2;
      fast.clipTop = reference.clipTop = clip(rng) / 3;
      fast.clipRight = reference.clipRight = 6 + clip(rng) / 2;
      fast.clipBottom = reference.clipBottom = 5 + clip(rng) / 3;
    }
    for (int n = 0; n < 40; ++n) {
      const float x = at(rng), y = at(rng);
      BufferPoint p[3];
      for (BufferPoint& q : p) q = {x + offset(rng), y + offset(rng), depth(rng)};
      if (n % 5 == 0) p[2].row = p[1].row = p[0].row;                // one row exactly
      if (n % 7 == 0) p[1].column = std::round(p[1].column) + 0.5f;  // a rounding tie
      const auto colour = static_cast<uint32_t>(n + 1);
      FillTriangle(fast, p[0], p[1], p[2], colour);
      ReferenceFill(reference, p[0], p[1], p[2], colour);
    }
    ASSERT_TRUE(SameBuffers(fast, reference)) << "scene " << scene;
  }
}

// Zoomed far in, triangles reach far beyond the buffer: the rows above it and
// the pixels left of it are stepped over at once, to the same pixels.
TEST(Fill, FarOffCornersMatchReference) {
  std::mt19937 rng(777);
  std::uniform_real_distribution<float> far(-50000, 50000), depth(1, 60);
  long drawn = 0;
  for (int scene = 0; scene < 20; ++scene) {
    RenderBuffers fast = Buffers(48, 36), reference = Buffers(48, 36);
    fast.clipLeft = reference.clipLeft = 5, fast.clipTop = reference.clipTop = 3;
    for (int n = 0; n < 4; ++n) {
      BufferPoint p[3];
      for (BufferPoint& q : p) q = {far(rng), far(rng), depth(rng)};
      if (n == 3) p[0] = {20.5f, 17.25f, 2};  // one corner on the buffer
      FillTriangle(fast, p[0], p[1], p[2], static_cast<uint32_t>(n + 1));
      ReferenceFill(reference, p[0], p[1], p[2], static_cast<uint32_t>(n + 1));
    }
    ASSERT_TRUE(SameBuffers(fast, reference)) << "scene " << scene;
    drawn += std::count_if(fast.colour.begin(), fast.colour.end(), [](uint32_t c) { return c; });
  }
  EXPECT_GT(drawn, 20 * 48 * 36 / 4);
}

TEST(Fill, CornersAtTheCoordinateLimitFinish) {
  // Stepping such a triangle pixel by pixel would take hours.
  const float limit = static_cast<float>(kCoordinateLimit);
  RenderBuffers b = Buffers(48, 36), c = Buffers(48, 36);
  FillTriangle(b, {-limit, -limit, 1}, {limit, 10, 3}, {-limit, limit, 2}, 1);
  EXPECT_EQ(std::count(b.colour.begin(), b.colour.end(), 1u), 48 * 36);
  FillTriangle(c, {-1e30f, 1e30f, 1}, {1e30f, 1e30f, 1}, {0, -1e30f, 1}, 2);  // clamped
  EXPECT_EQ(std::count(c.colour.begin(), c.colour.end(), 2u), 48 * 36);
}

TEST(Fill, NonFiniteCornersAreSkipped) {
  RenderBuffers b = Buffers(6, 6);
  const float nan = std::nanf("");
  FillTriangle(b, {0, nan, 10}, {5, 0, 10}, {0, 5, 10}, 1);
  FillTriangle(b, {0, 0, 10}, {INFINITY, 3, 10}, {0, 5, 10}, 2);  // clamped, still drawn
  EXPECT_EQ(std::count(b.colour.begin(), b.colour.end(), 1u), 0);
  EXPECT_GT(std::count(b.colour.begin(), b.colour.end(), 2u), 0);
}

TEST(Line3D, DrawsBothEndsAndRespectsDepthAndClip) {
  RenderBuffers b = Buffers(8, 4);
  DrawLine3D(b, {1, 1, 10}, {6, 2, 10}, 7);
  EXPECT_EQ(Map(b, {7}, "#"),
            "........\n"
            ".###....\n"
            "....###.\n"
            "........\n");
  RenderBuffers z = Buffers(8, 4);
  DrawLine3D(z, {3.2f, 1.2f, 10}, {2.9f, 1.4f, 10}, 7);  // differences round to 0
  EXPECT_EQ(std::count(z.colour.begin(), z.colour.end(), 7u), 0);
  RenderBuffers c = Buffers(8, 4);
  c.clipLeft = 3, c.clipRight = 4;
  DrawLine3D(c, {0, 2, 10}, {7, 2, 10}, 7);
  EXPECT_EQ(Map(c, {7}, "#").substr(2 * 9, 9), "...##...\n");
  // A point at exactly the stored w does not replace it.
  RenderBuffers d = Buffers(8, 4);
  d.depth[1 * 8 + 2] = 1.0f / 10.0f;
  DrawLine3D(d, {0, 1, 10}, {4, 1, 10}, 7);
  EXPECT_EQ(d.colour[1 * 8 + 2], 0u);
  EXPECT_EQ(d.colour[1 * 8 + 3], 7u);
}

// The line exactly as described: every point stepped, rounded and tested.
void ReferenceLine(RenderBuffers& b, BufferPoint p0, BufferPoint p1, uint32_t colour) {
  const float w0 = 1.0f / p0.depth, dw = 1.0f / p1.depth - w0;
  const float dc = p1.column - p0.column, dr = p1.row - p0.row;
  const long n = std::max(std::labs(std::lrint(dc)), std::labs(std::lrint(dr)));
  if (n == 0) return;
  const float sc = dc / static_cast<float>(n), sr = dr / static_cast<float>(n);
  const float sw = dw / static_cast<float>(n);
  float c = p0.column, r = p0.row, w = w0;
  for (long i = 0; i <= n; ++i, c += sc, r += sr, w += sw) {
    const long x = std::lrint(c), y = std::lrint(r);
    if (x < b.clipLeft || x > b.clipRight || y < b.clipTop || y > b.clipBottom) continue;
    const size_t at = static_cast<size_t>(y * b.width + x);
    if (w > b.depth.at(at)) b.depth.at(at) = w, b.colour.at(at) = colour;
  }
}

// Lines far longer than the buffer, as the grid gives when zoomed far in: only
// the stretch over the clip rectangle is stepped, to the same pixels.
TEST(Line3D, LongLinesMatchReference) {
  std::mt19937 rng(99);
  std::uniform_real_distribution<float> far(-1e5f, 1e5f), near(-10, 60), depth(1, 50);
  std::uniform_int_distribution<int> pick(0, 3);
  long drawn = 0;
  for (int scene = 0; scene < 120; ++scene) {
    RenderBuffers fast = Buffers(48, 36), reference = Buffers(48, 36);
    fast.clipLeft = reference.clipLeft = 4, fast.clipRight = reference.clipRight = 40;
    fast.clipTop = reference.clipTop = 2, fast.clipBottom = reference.clipBottom = 30;
    for (int n = 0; n < 5; ++n) {
      BufferPoint p0 = {far(rng), far(rng), depth(rng)}, p1 = {far(rng), far(rng), depth(rng)};
      if (pick(rng) == 0) p0 = {near(rng), near(rng), depth(rng)};  // from the buffer outwards
      if (pick(rng) == 0) p1.row = p0.row + near(rng);              // nearly level
      if (pick(rng) == 0) {  // through the buffer: aimed across its middle
        p1 = {48 - p0.column, 36 - p0.row, depth(rng)};
      }
      DrawLine3D(fast, p0, p1, static_cast<uint32_t>(n + 1));
      ReferenceLine(reference, p0, p1, static_cast<uint32_t>(n + 1));
    }
    ASSERT_TRUE(SameBuffers(fast, reference)) << "scene " << scene;
    drawn += std::count_if(fast.colour.begin(), fast.colour.end(), [](uint32_t c) { return c; });
  }
  EXPECT_GT(drawn, 1000);
}

// The triangle pass over a model: corners from vertexScratch plus the centre.
struct PassScene {
  ModelStore model;
  ViewState view = test::OriginView();
  RenderBuffers buffers = Buffers(10, 8);
  uint32_t options = kStartOptions;

  void Corner(int i, float column, float row, float depth) {
    model.vertexScratch[i] = {column, row, depth};
  }
  void Draw(DrawMode mode = DrawMode::kNormal) {
    DrawTriangles(mode, view, model, buffers, options, 160);
  }
};

PassScene TwoTriangles() {
  PassScene s;
  s.model = test::Model({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
                        {{{0, 1, 2}}, {{3, 4, 5}}});
  ComputeNormals(s.model);  // all zero: intensity 0
  s.Corner(0, 1, 1, 10), s.Corner(1, 4, 1, 10), s.Corner(2, 1, 4, 10);
  s.Corner(3, 5, 3, 10), s.Corner(4, 8, 3, 10), s.Corner(5, 5, 6, 10);
  return s;
}

constexpr uint32_t kUnlitBlue = 0x0000A0;  // (0, 0, 240) - 80
constexpr uint32_t kUnlitRed = 0x900000;   // (224, 0, 0) - 80

TEST(TrianglePass, ShadesSelectedAndUnselectedAndAddsCentre) {
  PassScene s = TwoTriangles();
  s.model.triangleFlags[1] = kSelectedBit;
  s.view.centreX = 1;  // everything one column to the right
  s.Draw();
  EXPECT_EQ(Map(s.buffers, {kUnlitBlue, kUnlitRed}, "br"),
            "..........\n"
            "..bbbb....\n"
            "..bbbb....\n"
            "..bbb.rrrr\n"
            "..b...rrrr\n"
            "......rrr.\n"
            "......r...\n"
            "..........\n");
}

TEST(TrianglePass, CornerNearerThanDepthOneSkipsTriangle) {
  PassScene s = TwoTriangles();
  s.Corner(2, 1, 4, 0.99f);
  s.Corner(5, 5, 6, 1.0f);  // exactly 1 is drawn
  s.Draw();
  EXPECT_EQ(std::count(s.buffers.colour.begin(), s.buffers.colour.begin() + 30, kUnlitBlue), 0);
  EXPECT_EQ(s.buffers.colour[3 * 10 + 5], kUnlitBlue);
}

TEST(TrianglePass, HiddenSelectionAndOutOfRangeCorners) {
  PassScene s = TwoTriangles();
  s.model.triangleFlags[0] = kSelectedBit;
  s.model.triangles[1].corner[2] = 99;  // beyond the vertex table
  s.options |= 1u << kOptHideSelected;
  s.Draw();
  EXPECT_EQ(std::count(s.buffers.colour.begin(), s.buffers.colour.end(), 0u), 80);
}

TEST(TrianglePass, BackfaceCullingUsesRotatedNormal) {
  PassScene s = TwoTriangles();
  s.model.triangleNormals[0] = {0, 0, 1};  // away from the viewer
  s.model.triangleNormals[1] = {0, 0, 0};  // degenerate: never culled
  s.view.cosYZ = 1, s.view.sinYZ = 0;
  s.options |= 1u << kOptBackface;
  s.Draw();
  EXPECT_EQ(s.buffers.colour[1 * 10 + 1], 0u);
  EXPECT_EQ(s.buffers.colour[3 * 10 + 5], kUnlitBlue);
  s.options &= ~(1u << kOptBackface);
  s.Draw();
  EXPECT_EQ(s.buffers.colour[1 * 10 + 1], kUnlitBlue);  // darkest shade of the base
}

TEST(TrianglePass, WireframeDrawsThreeEdges) {
  PassScene s = TwoTriangles();
  s.model.triangleCount = 1;
  s.Corner(0, 1, 1, 10), s.Corner(1, 7, 1, 10), s.Corner(2, 1, 6, 10);
  s.options |= 1u << kOptWireframe;
  s.Draw();
  // Rows advance by repeated addition of 5/6: the fourth point lands at
  // 3.4999998 and rounds to row 3, not 4.
  EXPECT_EQ(Map(s.buffers, {kUnlitBlue}, "#"),
            "..........\n"
            ".#######..\n"
            ".#....#...\n"
            ".#..##....\n"
            ".#.#......\n"
            ".##.......\n"
            ".#........\n"
            "..........\n");
}

TEST(SelectionPass, MarksTrianglesReachingIntoRectangle) {
  PassScene s = TwoTriangles();
  // Rectangle over the second triangle only; the buffer keeps its image outside.
  s.buffers.colour.assign(s.buffers.colour.size(), 0x123456);
  SelectionPass(s.view, s.model, s.buffers, s.options, 1000000.0f, 7, 4, 9, 7);
  EXPECT_EQ(s.model.triangleFlags[0], 0);
  EXPECT_EQ(s.model.triangleFlags[1], kSelectedBit);
  EXPECT_EQ(s.buffers.colour[0], 0x123456u);
  EXPECT_EQ(s.buffers.clipRight, 9);
  EXPECT_EQ(s.buffers.clipTop, 0);
  s.options |= 1u << kOptUnselect;
  SelectionPass(s.view, s.model, s.buffers, s.options, 1000000.0f, 0, 0, 9, 7);
  EXPECT_EQ(s.model.triangleFlags[1], 0);
}

TEST(SelectionPass, VisiblePartsOnlySelectsUncoveredTriangles) {
  PassScene s = TwoTriangles();
  // Triangle 1 lies exactly behind triangle 0.
  s.Corner(3, 1, 1, 20), s.Corner(4, 4, 1, 20), s.Corner(5, 1, 4, 20);
  SelectionPass(s.view, s.model, s.buffers, s.options, 1000000.0f, 0, 0, 9, 7);
  EXPECT_EQ(s.model.triangleFlags[0], kSelectedBit);
  EXPECT_EQ(s.model.triangleFlags[1], kSelectedBit);
  ClearTriangleFlags(s.model);
  s.options |= 1u << kOptOnlyVisible;
  SelectionPass(s.view, s.model, s.buffers, s.options, 1000000.0f, 0, 0, 9, 7);
  EXPECT_EQ(s.model.triangleFlags[0], kSelectedBit);
  EXPECT_EQ(s.model.triangleFlags[1], 0);
  // Hidden selected triangles take no part: triangle 1 is now visible.
  s.options |= 1u << kOptHideSelected;
  SelectionPass(s.view, s.model, s.buffers, s.options, 1000000.0f, 0, 0, 9, 7);
  EXPECT_EQ(s.model.triangleFlags[1], kSelectedBit);
}

TEST(SelectionPass, WireframeSelectsByFilledCoverage) {
  // The outlines on the screen do not decide: a rectangle inside a triangle
  // away from its edges selects it, with and without visible-parts selection.
  for (const bool onlyVisible : {false, true}) {
    PassScene s = TwoTriangles();
    s.options |= 1u << kOptWireframe;
    if (onlyVisible) s.options |= 1u << kOptOnlyVisible;
    SelectionPass(s.view, s.model, s.buffers, s.options, 1000000.0f, 2, 2, 2, 2);
    EXPECT_EQ(s.model.triangleFlags[0], kSelectedBit) << onlyVisible;
    EXPECT_EQ(s.model.triangleFlags[1], 0) << onlyVisible;
  }
}

TEST(SelectionPass, RectangleOutsideBufferIsSafe) {
  PassScene s = TwoTriangles();
  SelectionPass(s.view, s.model, s.buffers, s.options, 1000000.0f, -50, -50, 500, 500);
  EXPECT_EQ(s.model.triangleFlags[0], kSelectedBit);
  SelectionPass(s.view, s.model, s.buffers, s.options, 1000000.0f, 20, 20, 30, 30);
}

}  // namespace
}  // namespace qelvar
