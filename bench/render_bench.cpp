// Re-render and presentation speed at 800 x 600: the sample scene and wavy
// grid meshes of 100 000 and 1 000 000 triangles covering most of the screen,
// and the presentation in every colour depth and detail level.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "app/loop_state.h"
#include "core/option_flags.h"
#include "platform/screen.h"
#include "render/presentation.h"
#include "render/rasteriser.h"
#include "render/render_view.h"
#include "render/shading.h"
#include "render/view.h"

namespace qelvar {
namespace {

ScreenGeometry Geometry800(int detail) {
  return DeriveScreenGeometry(800, 600, 32, 100, 37, detail);
}

struct Scene {
  ScreenGeometry geometry = Geometry800(1);
  ModelStore model;
  ViewState view;
  RenderBuffers buffers;
  Backdrop backdrop;
  ValueCells cells;

  Scene() {
    InitModelStore(model);
    InitView(view, geometry);
    InitRenderBuffers(buffers, geometry);
    cells.Real(kCellDrawDepth) = 1000000.0f;
    cells.Int(kCellContrast) = 160;
    cells.Int(kCellSeparation) = 15;
  }
  void Render() {
    RenderView(view, model, buffers, backdrop, geometry,
               MakeFrameSettings(kStartOptions, cells, false));
  }
};

// A q x q grid of quads, two triangles each, over 480 x 360 model units with a
// gentle wave in z, seen straight on so that it fills most of the buffer; with
// `extent` below 1 over that part of each side (0.71: half the buffer).
void BuildGrid(Scene& s, int triangles, float extent = 1.0f) {
  const int q = static_cast<int>(std::sqrt(triangles / 2.0));
  ClearModel(s.model);
  EnsureVertexCapacity(s.model, (q + 1) * (q + 1) + 1);
  EnsureTriangleCapacity(s.model, 2 * q * q + 1);
  for (int j = 0; j <= q; ++j) {
    for (int i = 0; i <= q; ++i) {
      const float x = -240.0f + 480.0f * i / q, y = -225.0f + 360.0f * j / q;
      AppendVertex(s.model, {x * extent, (y + 45.0f) * extent - 45.0f,
                             4.0f * std::sin(x * 0.05f) * std::cos(y * 0.07f)});
    }
  }
  for (int j = 0; j < q; ++j) {
    for (int i = 0; i < q; ++i) {
      const int v = j * (q + 1) + i;
      AppendTriangle(s.model, {{v, v + 1, v + q + 2}}, 0, ComposeColour(10, 20, 30));
      AppendTriangle(s.model, {{v, v + q + 2, v + q + 1}}, 0, ComposeColour(30, 20, 10));
    }
  }
  ComputeNormals(s.model);
  s.view.angleXY = s.view.angleXZ = s.view.angleYZ = 0.0f;
}

void BM_RenderSampleScene(benchmark::State& state) {
  Scene s;
  ComputeNormals(s.model);
  SetRenderThreads(s.buffers, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    s.Render();
    benchmark::DoNotOptimize(s.buffers.colour.data());
  }
}
// Argument: threads (0: one per core, which a scene this small draws on one).
BENCHMARK(BM_RenderSampleScene)
    ->ArgName("threads")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// A whole main-loop redraw of the sample scene: re-render and present onto
// the screen; with argument 1 also the menu bar and the two status lines
// printed over it, which the next presentation must cover again.
void BM_RedrawSampleScene(benchmark::State& state) {
  Scene s;
  ComputeNormals(s.model);
  Screen screen;
  screen.Configure(800, 600, 32, 100, 37);
  const ColourTables tables;
  const std::string line(100, '-');
  for (auto _ : state) {
    s.Render();
    PresentFrame(s.buffers, s.geometry, tables, screen);
    if (state.range(0) == 0) continue;
    screen.PrintText(1, 1, line, 0xFFFFFF, 0x0000AA);
    screen.PrintText(36, 1, line, 0xFFFFFF, 0x0000AA);
    screen.PrintText(37, 1, line, 0xFFFFFF, 0x0000AA);
    benchmark::DoNotOptimize(screen.pixels());
  }
}
BENCHMARK(BM_RedrawSampleScene)->ArgName("text")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Arguments: triangles, threads (0: one per core), and the share of the
// buffer the grid covers: 0 for most of it, 1 for about half.
void BM_RenderGrid(benchmark::State& state) {
  static Scene* s = nullptr;  // built once per shape: a million triangles take a while
  static int64_t built[2] = {0, -1};
  const int64_t shape[2] = {state.range(0), state.range(2)};
  if (built[0] != shape[0] || built[1] != shape[1]) {
    delete s;
    s = new Scene;
    BuildGrid(*s, static_cast<int>(shape[0]), shape[1] ? 0.71f : 1.0f);
    built[0] = shape[0], built[1] = shape[1];
  }
  SetRenderThreads(s->buffers, static_cast<int>(state.range(1)));
  for (auto _ : state) {
    s->Render();
    benchmark::DoNotOptimize(s->buffers.colour.data());
  }
  state.counters["triangles"] = s->model.triangleCount;
  int64_t covered = 0;
  for (uint32_t c : s->buffers.colour) covered += c != 0;
  state.counters["coverage"] = static_cast<double>(covered) / s->buffers.colour.size();
}
BENCHMARK(BM_RenderGrid)
    ->ArgNames({"", "threads", "half"})
    ->Args({10000, 1, 0})
    ->Args({10000, 2, 0})
    ->Args({100000, 1, 0})
    ->Args({100000, 2, 0})
    ->Args({1000000, 1, 0})
    ->Args({1000000, 2, 0})
    ->Args({1000000, 0, 0})
    ->Args({1000000, 1, 1})
    ->Args({1000000, 2, 1})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_PresentFrame(benchmark::State& state) {
  const int depth = static_cast<int>(state.range(0)), detail = static_cast<int>(state.range(1));
  const ScreenGeometry g = Geometry800(detail);
  RenderBuffers buffers;
  InitRenderBuffers(buffers, g);
  for (size_t i = 0; i < buffers.colour.size(); ++i) {
    buffers.colour[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFFu;
  }
  ColourTables tables;
  for (int i = 0; i < 512; ++i) tables.ditherPairs[i] = static_cast<uint16_t>(i * 37);
  std::vector<uint8_t> screen(static_cast<size_t>(g.screenWidth) * g.screenHeight * 4);
  for (auto _ : state) {
    PresentFrame(buffers, detail, depth, tables, screen.data(), g.screenWidth, g.screenHeight);
    benchmark::DoNotOptimize(screen.data());
  }
}
BENCHMARK(BM_PresentFrame)
    ->ArgNames({"depth", "detail"})
    ->Args({32, 1})
    ->Args({24, 1})
    ->Args({16, 1})
    ->Args({15, 1})
    ->Args({8, 1})
    ->Args({32, 0})
    ->Args({24, 0})
    ->Args({16, 0})
    ->Args({15, 0})
    ->Args({8, 0})
    ->Args({4, 0})
    ->Args({32, 2})
    ->Args({24, 2})
    ->Args({16, 2})
    ->Args({15, 2})
    ->Args({8, 2})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace qelvar
