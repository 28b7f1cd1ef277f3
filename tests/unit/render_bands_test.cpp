// Frames split among several threads, and frames drawn over the
// previous one, must give the same buffers as one thread on fresh buffers;
// and presenting only the rows that changed must show the whole frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/screen.h"
#include "render/presentation.h"
#include "render/rasteriser.h"
#include "render/render_view.h"
#include "render/shading.h"
#include "render_test_support.h"

namespace qelvar {
namespace {

// Random triangles (some selected, some degenerate, some crossing the viewer
// plane), lines, and a few views of them.
ModelStore RandomScene(uint32_t seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<float> coordinate(-120.0f, 120.0f);
  std::uniform_int_distribution<int> pick(0, 59);
  ModelStore m;
  InitModelStore(m);
  ClearModel(m);
  for (int i = 0; i < 60; ++i) AppendVertex(m, {coordinate(rng), coordinate(rng), coordinate(rng)});
  AppendVertex(m, {0, 0, -260});    // behind the viewer at the start distance
  for (int i = 0; i < 1500; ++i) {  // ranges of hundreds of triangles per thread
    const int corner = i % 50 == 0 ? 60 : pick(rng);
    const uint8_t flags = i % 7 == 0 ? kSelectedBit : 0;
    AppendTriangle(m, {{pick(rng), pick(rng), i % 31 == 0 ? pick(rng) % 3 : corner}}, flags,
                   static_cast<uint16_t>(rng() & 0x7FFF));
  }
  for (int i = 0; i < 20; ++i) AppendLine(m, {pick(rng), pick(rng)});
  ComputeNormals(m);
  return m;
}

struct Renderer {
  ScreenGeometry geometry;
  RenderBuffers buffers;
  ViewState view;
  Backdrop backdrop;
  explicit Renderer(int threads, int detail = 1) : geometry(test::Geometry(121, 90, detail)) {
    InitRenderBuffers(buffers, geometry);
    InitView(view, geometry);
    SetRenderThreads(buffers, threads);
  }
  void Render(ModelStore& model, uint32_t options, float angle) {
    view.angleXY = angle, view.angleYZ = 4.0f + angle / 3;
    ValueCells cells = test::DefaultCells();
    cells.Real(kCellLightXY) = angle;
    cells.Real(kCellDrawDepth) = angle > 2.0f ? 300.0f : 1000000.0f;  // a new clear depth
    RenderView(view, model, buffers, backdrop, geometry, MakeFrameSettings(options, cells, false));
  }
};

TEST(RenderBands, AnyThreadCountAndRepeatedFramesMatchOneThreadOnFreshBuffers) {
  constexpr uint32_t kStart = kStartOptions;
  const struct {
    const char* name;
    uint32_t options;
  } kCases[] = {
      {"start options", kStart},
      {"dots, colours, culling",
       kStart | 1u << kOptShowVerts | 1u << kOptModelColours | 1u << kOptBackface},
      {"wireframe", kStart | 1u << kOptWireframe | 1u << kOptShowVerts},
      {"stereo", kStart | 1u << kOptStereo | 1u << kOptShowVerts},
      {"full render, hidden selection",
       (kStart & ~(1u << kOptQuickRender)) | 1u << kOptHideSelected},
  };
  for (uint32_t seed = 1; seed <= 2; ++seed) {
    ModelStore model = RandomScene(seed);
    for (const auto& c : kCases) {
      for (int threads : {2, 7}) {
        Renderer banded(threads);  // kept across frames: each clears the last
        for (float angle : {0.0f, 0.7f, 2.9f}) {
          Renderer single(1);
          single.Render(model, c.options, angle);
          banded.Render(model, c.options, angle);
          SCOPED_TRACE(testing::Message() << c.name << ", seed " << seed << ", " << threads
                                          << " threads, angle " << angle);
          ASSERT_EQ(banded.buffers.colour, single.buffers.colour);
          ASSERT_EQ(banded.buffers.depth, single.buffers.depth);
        }
      }
    }
  }
}

// What a frame leaves outside the triangles (a backdrop, the indices of a
// selection pass) is cleared by the next frame like the rest.
TEST(RenderBands, BackdropAndSelectionPassAreClearedByTheNextFrame) {
  ModelStore model = RandomScene(5);
  Renderer kept(2), fresh(1);
  const auto expectFresh = [&](uint32_t options, const char* when) {
    kept.Render(model, options, 0.4f);
    fresh.Render(model, options, 0.4f);
    EXPECT_EQ(kept.buffers.colour, fresh.buffers.colour) << when;
    EXPECT_EQ(kept.buffers.depth, fresh.buffers.depth) << when;
  };
  constexpr uint32_t kNothing = 1u << kOptQuickRender;  // no grid, triangles or lines
  kept.backdrop.loaded = true;
  kept.backdrop.lastColumn = 49, kept.backdrop.lastRow = 39;
  for (uint32_t i = 0; i < 50 * 40; ++i) kept.backdrop.pixels.push_back(i + 1);
  kept.Render(model, kNothing, 0.4f);
  kept.backdrop = Backdrop{};
  expectFresh(kNothing, "after a backdrop");
  SelectionPass(kept.view, model, kept.buffers, kNothing, 1000000.0f, 10, 10, 80, 60);
  expectFresh(kNothing, "after a selection pass");
}

// Presentation covers only rows that changed: what the screen shows must still
// be the whole frame after text over it and new frames with other rows, in
// every pixel format and detail level.
TEST(RenderBands, PresentingChangedRowsShowsTheWholeFrame) {
  const struct {
    int depth, detail;
  } kFormats[] = {{32, 1}, {24, 1}, {16, 0}, {8, 0}, {4, 0}, {32, 2}, {15, 2}};
  ModelStore model = RandomScene(4);
  for (const auto& format : kFormats) {
    SCOPED_TRACE(testing::Message() << "depth " << format.depth << ", detail " << format.detail);
    Renderer r(1, format.detail);
    Screen screen;
    screen.Configure(121, 90, format.depth, 15, 11);
    ColourTables tables;
    for (int i = 0; i < 512; ++i) tables.ditherPairs[i] = static_cast<uint16_t>(i * 37);
    const size_t bytes = static_cast<size_t>(screen.pitch()) * 90;
    const auto expectWholeFrame = [&](const char* when) {
      std::vector<uint8_t> full(screen.pixels(), screen.pixels() + bytes);
      PresentFrame(r.buffers, format.detail, format.depth, tables, full.data(), 121, 90);
      EXPECT_TRUE(std::equal(full.begin(), full.end(), screen.pixels())) << when;
    };
    r.Render(model, kStartOptions, 0.0f);
    PresentFrame(r.buffers, r.geometry, tables, screen);
    expectWholeFrame("first frame");
    screen.PrintText(3, 2, "menu", 0xFFFFFF, 0x0000AA);
    screen.DrawLine(5, 80, 100, 85, 0xFF0000);
    PresentFrame(r.buffers, r.geometry, tables, screen);
    expectWholeFrame("same frame over text and a line");
    for (float angle : {0.9f, 2.1f}) {
      r.Render(model, kStartOptions | 1u << kOptShowVerts, angle);
      PresentFrame(r.buffers, r.geometry, tables, screen);
      expectWholeFrame("a new frame");
    }
  }
}

}  // namespace
}  // namespace qelvar
