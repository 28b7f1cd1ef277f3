// The per-pass searches over a million projected vertices: the picking tools'
// nearest vertex and the auto triangle's three nearest.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "model/model_store.h"
#include "tools/triangle_tools.h"
#include "tools/vertex_pick.h"

namespace qelvar {
namespace {

// Vertices spread over the screen and a little beyond it; every eighth
// vertex behind the eye.
void FillProjectedVertices(ModelStore& s, int32_t count) {
  InitModelStore(s);
  EnsureVertexCapacity(s, count + 1);
  s.vertexCount = count;
  uint32_t r = 12345;
  for (int32_t i = 0; i < count; ++i) {
    r = r * 1664525u + 1013904223u;
    const float column = static_cast<float>(r % 1000) - 500.0f;
    const float row = static_cast<float>((r >> 10) % 800) - 400.0f;
    s.vertexScratch[size_t(i)] = {column, row,
                                  i % 8 == 0 ? 0.5f : 10.0f + static_cast<float>(r % 97)};
  }
}

void BM_PickNearestVertex(benchmark::State& state) {
  ModelStore s;
  FillProjectedVertices(s, static_cast<int32_t>(state.range(0)));
  int mouse = 0;
  for (auto _ : state) {
    mouse = (mouse + 37) % 600;
    benchmark::DoNotOptimize(PickNearestVertex(s, {400, 300, mouse, mouse, 1000000.0f}, -1));
  }
}
BENCHMARK(BM_PickNearestVertex)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_NearestThreeVertices(benchmark::State& state) {
  ModelStore s;
  FillProjectedVertices(s, static_cast<int32_t>(state.range(0)));
  int mouse = 0;
  for (auto _ : state) {
    mouse = (mouse + 37) % 600;
    benchmark::DoNotOptimize(NearestThreeVertices(s, {400, 300, mouse, mouse, 1000000.0f}));
  }
}
BENCHMARK(BM_NearestThreeVertices)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qelvar
