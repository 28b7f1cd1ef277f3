// Backdrop, grid, model lines, vertex dots and markers; the whole re-render
// and the stereo pair.
#include "render/overlays.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "render/render_view.h"
#include "render/shading.h"
#include "render_test_support.h"

namespace qelvar {
namespace {

using test::Buffers;
using test::Map;

Backdrop Image(int width, int height) {
  Backdrop d;
  d.loaded = true;
  d.lastColumn = width - 1, d.lastRow = height - 1;
  for (int i = 0; i < width * height; ++i) d.pixels.push_back(static_cast<uint32_t>(i + 1));
  return d;
}

TEST(Backdrop, SmallerImageCentredWithOddPixelRightAndBelow) {
  RenderBuffers b = Buffers(6, 4);
  CopyBackdrop(Image(3, 1), b);
  EXPECT_EQ(Map(b, {1, 2, 3}, "123"),
            "......\n"
            ".123..\n"
            "......\n"
            "......\n");
  EXPECT_EQ(b.depth[1 * 6 + 2], 1.0f / 1000000.0f);  // background: depth untouched
}

TEST(Backdrop, LargerImageCroppedToTopLeft) {
  RenderBuffers b = Buffers(3, 2);
  CopyBackdrop(Image(5, 4), b);
  EXPECT_EQ(b.colour, (std::vector<uint32_t>{1, 2, 3, 6, 7, 8}));
  Backdrop broken = Image(5, 4);
  broken.pixels.resize(7);  // fewer pixels than its size says: ignored
  RenderBuffers c = Buffers(3, 2);
  CopyBackdrop(broken, c);
  EXPECT_EQ(std::count(c.colour.begin(), c.colour.end(), 0u), 6);
}

struct GridScene {
  ScreenGeometry geometry = test::Geometry(200, 150);
  ViewState view;
  RenderBuffers buffers = Buffers(200, 150);

  GridScene() { InitView(view, geometry); }
  int Count(uint32_t colour) {
    PrepareView(view, geometry, MakeFrameSettings(kStartOptions, test::DefaultCells(), false));
    DrawGrid(view, 1.0f, true, buffers);
    return static_cast<int>(std::count(buffers.colour.begin(), buffers.colour.end(), colour));
  }
};

TEST(Grid, LineWithEndBehindViewerDisappears) {
  GridScene s;
  s.view.angleYZ = kPi / 2;  // camera depth = distance - y
  s.view.distance = 50;
  EXPECT_EQ(s.Count(kGridAlongYColour), 0);
  EXPECT_GT(s.Count(kGridAlongXColour), 100);  // y < 49: both ends in front
}

TEST(Grid, SeenFromAboveIsNineByNineLines) {
  GridScene s;
  s.view.angleYZ = 0;
  s.view.vOffset = 0;
  s.view.scaling = 100;  // 200 units at depth 250: 80 pixels
  s.Count(0);
  const RenderBuffers& b = s.buffers;
  // Column of the v = 0 line along Y, rows from 75 - 40 to 75 + 40.
  EXPECT_EQ(b.colour[36 * 200 + 100], kGridAlongYColour);
  EXPECT_EQ(b.colour[114 * 200 + 100], kGridAlongYColour);
  EXPECT_EQ(b.colour[34 * 200 + 100], 0u);
  // Crossings keep the line drawn first: the y = -100 line along X comes
  // before the x = 0 line along Y, which comes before the y = 0 line.
  EXPECT_EQ(b.colour[35 * 200 + 100], kGridAlongXColour);
  EXPECT_EQ(b.colour[75 * 200 + 100], kGridAlongYColour);
  EXPECT_EQ(b.colour[75 * 200 + 105], kGridAlongXColour);
}

TEST(Dots, EqualDepthPassesForDotsButNotForLines) {
  ModelStore m = test::Model({{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}, {});
  m.vertexScratch[0] = {2, 1, 10};
  m.vertexScratch[1] = {0, 2, 10};
  m.vertexScratch[2] = {4, 2, 10};
  AppendLine(m, {1, 2});
  const ViewState v = test::OriginView();
  RenderBuffers b = Buffers(6, 4);
  b.depth[1 * 6 + 2] = 1.0f / 10.0f;  // a triangle pixel at the same depth
  b.depth[2 * 6 + 2] = 1.0f / 10.0f;
  DrawModelLines(v, m, b);
  DrawVertexDots(v, m, b);
  EXPECT_EQ(Map(b, {kModelLineColour, kVertexDotColour}, "-o"),
            "......\n"
            "..o...\n"
            "o-.-o.\n"
            "......\n");
}

TEST(Dots, NearVerticesAndBadLineIndicesAreSkipped) {
  ModelStore m = test::Model({{0, 0, 0}, {0, 0, 0}}, {});
  m.vertexScratch[0] = {1, 1, 0.999f};
  m.vertexScratch[1] = {4, 1, 10};
  AppendLine(m, {0, 1});
  AppendLine(m, {1, 7});
  RenderBuffers b = Buffers(6, 3);
  DrawModelLines(test::OriginView(), m, b);
  DrawVertexDots(test::OriginView(), m, b);
  EXPECT_EQ(Map(b, {kModelLineColour, kVertexDotColour}, "-o"), "......\n....o.\n......\n");
}

TEST(Marker, CentreFollowsDetailLevel) {
  ModelStore m = test::Model({{0, 0, 0}, {0, 0, 0}}, {});
  m.vertexScratch[0] = {-10.5f, 3.5f, 5};
  m.vertexScratch[1] = {0, 0, 0.5f};
  ViewState v = test::OriginView();
  v.centreX = 5, v.centreY = 10;
  int x = 0, y = 0;
  ASSERT_TRUE(VertexMarkerCentre(v, m, 1, 0, x, y));
  EXPECT_EQ(x, -6);  // -5.5 rounds to even
  EXPECT_EQ(y, 14);  // 13.5 likewise
  VertexMarkerCentre(v, m, 0, 0, x, y);
  EXPECT_EQ(x, -12);
  VertexMarkerCentre(v, m, 2, 0, x, y);
  EXPECT_EQ(x, -3);                                    // arithmetic shift
  EXPECT_FALSE(VertexMarkerCentre(v, m, 1, 1, x, y));  // behind the viewer
  EXPECT_FALSE(VertexMarkerCentre(v, m, 1, 2, x, y));
  EXPECT_FALSE(VertexMarkerCentre(v, m, 1, -1, x, y));
}

// The sample scene at the start view of an 800 x 600 screen.
struct Frame {
  ScreenGeometry geometry = test::Geometry(800, 600);
  ModelStore model;
  ViewState view;
  RenderBuffers buffers;
  Backdrop backdrop;
  ValueCells cells = test::DefaultCells();
  uint32_t options = kStartOptions | 1u << kOptShowVerts;

  Frame() {
    InitModelStore(model);
    ComputeNormals(model);
    InitView(view, geometry);
    InitRenderBuffers(buffers, geometry);
  }
  void Render(int tool = 0) {
    RenderView(view, model, buffers, backdrop, geometry,
               MakeFrameSettings(options, cells, tool != 0));
  }
  uint32_t At(int x, int y) const { return buffers.colour[static_cast<size_t>(y) * 800 + x]; }
};

TEST(RenderView, MonoFrameAndStereoHalves) {
  Frame f;
  f.backdrop = Image(800, 600);
  f.Render();
  EXPECT_EQ(f.view.centreX, 400);
  EXPECT_EQ(f.view.centreY, 375);
  EXPECT_EQ(f.At(0, 0), 1u);  // backdrop where nothing is drawn
  const auto count = [&](uint32_t c) {
    return std::count(f.buffers.colour.begin(), f.buffers.colour.end(), c);
  };
  EXPECT_GT(count(kGridAlongYColour), 500);
  EXPECT_GT(count(kModelLineColour), 200);
  EXPECT_GT(count(kVertexDotColour), 3);
  // The pyramid under the projection centre, in a shade of the default blue.
  const uint32_t shade = f.At(f.view.centreX, f.view.centreY);
  EXPECT_EQ(shade >> 16, (shade >> 8) & 0xFFu);
  EXPECT_GT(shade & 0xFFu, shade >> 16);
  f.options = kStartOptions & ~(1u << kOptShowTris);
  f.Render();
  EXPECT_EQ(count(shade), 0);
}

TEST(Stereo, SeparationZeroGivesSamePictureInBothHalves) {
  Frame f;
  f.options |= 1u << kOptStereo;
  f.cells.Int(kCellSeparation) = 0;
  f.Render();
  // Positions are the same offsets plus centres 400 apart; the float sums
  // round differently now and then, so a few edge pixels may differ.
  int drawn = 0, different = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 400; ++x) {
      drawn += f.At(x, y) != 0;
      different += f.At(x, y) != f.At(x + 400, y);
    }
  }
  EXPECT_GT(drawn, 3000);
  EXPECT_LT(different, drawn / 200) << different;
  EXPECT_EQ(f.view.centreX, 400);  // mono values afterwards
  EXPECT_EQ(f.view.eyeShift, 0.0f);
  EXPECT_EQ(f.buffers.clipLeft, 0);
  EXPECT_EQ(f.buffers.clipRight, 799);
}

TEST(Stereo, HalvesStayApart) {
  Frame f;
  f.options |= 1u << kOptStereo;
  f.view.scaling = 1200;  // the model overflows each half
  f.Render();
  // The right half alone: eye shifted right, centre c + W/4 - separation.
  Frame right;
  right.view = f.view;
  PrepareView(right.view, right.geometry, MakeFrameSettings(kStartOptions, right.cells, false));
  ClearBuffers(right.buffers, 1000000.0f);
  right.view.eyeShift = 15;
  right.view.centreX = 400 + 200 - 15;
  right.buffers.clipLeft = 400;
  RenderFrame(right.view, right.model, right.buffers, right.geometry,
              MakeFrameSettings(f.options, right.cells, false));
  int leftDrawn = 0;
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      if (x >= 400) {
        ASSERT_EQ(f.At(x, y), right.At(x, y)) << x << "," << y;
      } else {
        ASSERT_EQ(right.At(x, y), 0u);
        leftDrawn += f.At(x, y) != 0;
      }
    }
  }
  EXPECT_GT(leftDrawn, 10000);
  int leftEdge = 0, rightEdge = 0;  // both images reach the middle
  for (int y = 0; y < 600; ++y) leftEdge += f.At(399, y) != 0, rightEdge += f.At(400, y) != 0;
  EXPECT_GT(leftEdge, 0);
  EXPECT_GT(rightEdge, 0);
}

TEST(Stereo, ActiveToolRendersMonoAndSwitchingRedraws) {
  Frame mono, stereo;
  mono.Render();
  stereo.options |= 1u << kOptStereo;
  stereo.Render(3);
  EXPECT_EQ(mono.buffers.colour, stereo.buffers.colour);
  EXPECT_FALSE(StereoNeedsRedraw(kStartOptions, 8, 0));  // stereo off: no re-render
  EXPECT_FALSE(StereoNeedsRedraw(stereo.options, 8, 8));
  EXPECT_TRUE(StereoNeedsRedraw(stereo.options, 0, 8));
}

}  // namespace
}  // namespace qelvar
