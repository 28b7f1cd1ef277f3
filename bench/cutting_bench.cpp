// Vertex clean-up, guillotine and drill press on grid meshes of the sizes
// users import. Each iteration works on a fresh copy of the model, made
// outside the timing; table growth the operation causes is timed.
#include <benchmark/benchmark.h>

#include <cmath>

#include "model/model_store.h"
#include "tools/drill_press.h"
#include "tools/guillotine.h"
#include "tools/vertex_cleanup.h"

namespace qelvar {
namespace {

// A w x h grid of unit squares, two triangles each, with heights from
// `height`; `ownCorners` gives every triangle three vertices of its own.
// Capacities are those a loaded file of this size would have.
template <typename Height>
ModelStore Grid(int w, int h, bool ownCorners, Height height) {
  ModelStore s;
  InitModelStore(s);
  ClearModel(s);
  const int32_t triangles = 2 * w * h;
  const int32_t vertices = ownCorners ? 3 * triangles : (w + 1) * (h + 1);
  EnsureVertexCapacity(s, vertices);
  EnsureTriangleCapacity(s, triangles);
  auto at = [&](int x, int y) { return Vec3{float(x), float(y), height(x, y)}; };
  if (!ownCorners)
    for (int y = 0; y <= h; ++y)
      for (int x = 0; x <= w; ++x) s.vertices[s.vertexCount++] = at(x, y);
  auto corner = [&](int x, int y) {
    if (!ownCorners) return int32_t(y * (w + 1) + x);
    s.vertices[s.vertexCount] = at(x, y);
    return s.vertexCount++;
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int32_t a = corner(x, y), b = corner(x + 1, y), c = corner(x + 1, y + 1);
      s.triangles[s.triangleCount++] = {{a, b, c}};
      const int32_t a2 = corner(x, y), c2 = corner(x + 1, y + 1), d = corner(x, y + 1);
      s.triangles[s.triangleCount++] = {{a2, c2, d}};
    }
  return s;
}

float Flat(int, int) { return 0.0f; }

void BM_VertCleanup(benchmark::State& state) {
  const ModelStore grid = Grid(1000, 500, true, Flat);  // 1 000 000 triangles
  for (auto _ : state) {
    state.PauseTiming();
    ModelStore s = grid;
    state.ResumeTiming();
    WeldVertices(s, 0);
    state.PauseTiming();
    state.counters["vertices after"] = double(s.vertexCount);
    s = ModelStore{};  // freed outside the timing
    state.ResumeTiming();
  }
}
BENCHMARK(BM_VertCleanup)->Unit(benchmark::kMillisecond)->UseRealTime();

// A wavy heightfield whose middle height line runs across about 1 % of the
// triangles.
float Wavy(int x, int y) { return float(y) + 20.0f * std::sin(float(x) / 3.0f); }

void BM_GuillotineXY(benchmark::State& state) {
  const ModelStore grid = Grid(1000, 500, false, Wavy);
  for (auto _ : state) {
    state.PauseTiming();
    ModelStore s = grid;
    state.ResumeTiming();
    const GuillotineOutcome out = Guillotine(s, CutAxis::kZ, 250.0f);
    state.PauseTiming();
    state.counters["cut"] = double(out.cut);
    s = ModelStore{};
    state.ResumeTiming();
  }
}
BENCHMARK(BM_GuillotineXY)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DrillPress(benchmark::State& state) {
  const ModelStore grid = Grid(500, 200, false, Flat);  // 200 000 triangles
  for (auto _ : state) {
    state.PauseTiming();
    ModelStore s = grid;
    state.ResumeTiming();
    const DrillOutcome out = DrillPress(s, {250.0f, 100.0f, 0.3f, 0.2f});
    state.PauseTiming();
    state.counters["replaced"] = double(out.replaced);
    s = ModelStore{};
    state.ResumeTiming();
  }
}
BENCHMARK(BM_DrillPress)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace qelvar
