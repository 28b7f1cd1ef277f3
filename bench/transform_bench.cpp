// Selection operations on large grids: duplicate with connected edges of a
// 200 000-triangle patch, move, rotate, scale and flip of 1 000 000 selected
// triangles, and delete (with "[_] remove verts") of half of them.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/option_flags.h"
#include "tools/transforms.h"

namespace qelvar {
namespace {

// A q x q grid of quads, two triangles each, sharing their vertices; the
// first `selected` triangles are selected.
const ModelStore& Grid(int triangles, int selected) {
  static ModelStore store;
  static int builtFor = -1, selectedFor = -1;
  if (builtFor == triangles && selectedFor == selected) return store;
  const int q = static_cast<int>(std::sqrt(triangles / 2.0));
  InitModelStore(store);
  ClearModel(store);
  EnsureVertexCapacity(store, (q + 1) * (q + 1) + 1);
  EnsureTriangleCapacity(store, 2 * q * q + 1);
  for (int j = 0; j <= q; ++j)
    for (int i = 0; i <= q; ++i) AppendVertex(store, {float(i), float(j), 0.0f});
  for (int j = 0; j < q; ++j) {
    for (int i = 0; i < q; ++i) {
      const int v = j * (q + 1) + i;
      const uint8_t a = store.triangleCount < selected ? kSelectedBit : 0;
      AppendTriangle(store, {{v, v + 1, v + q + 2}}, a, 0);
      const uint8_t b = store.triangleCount < selected ? kSelectedBit : 0;
      AppendTriangle(store, {{v, v + q + 2, v + q + 1}}, b, 0);
    }
  }
  builtFor = triangles, selectedFor = selected;
  return store;
}

// Each iteration works on a fresh copy of the grid; the copy is not timed.
template <typename Op>
void RunOnGrid(benchmark::State& state, int triangles, int selected, Op op) {
  const ModelStore& grid = Grid(triangles, selected);
  const SelectionCentre centre = ComputeSelectionCentre(grid);
  ValueCells cells;
  InitValueCells(cells);
  cells.Real(kCellX5) = 3.0f;
  cells.Real(kCellXYAngle) = 0.3f;
  cells.Real(kCellXZAngle) = 0.2f;
  cells.Real(kCellYZAngle) = 0.1f;
  cells.Real(kCellXScale) = 1.5f;
  for (auto _ : state) {
    state.PauseTiming();
    ModelStore s = grid;
    state.ResumeTiming();
    op(s, cells, centre);
    benchmark::DoNotOptimize(s.vertices.data());
    state.PauseTiming();
    s = ModelStore{};  // freeing is not timed either
    state.ResumeTiming();
  }
  state.counters["triangles"] = triangles;
}

void BM_DuplicateConnected(benchmark::State& state) {
  RunOnGrid(state, 200000, 200000, [](ModelStore& s, const ValueCells& c, SelectionCentre m) {
    DuplicateSelection(s, c, 1u << kOptConnectEdges, m);
  });
}
BENCHMARK(BM_DuplicateConnected)->Unit(benchmark::kMillisecond);

// A selected patch inside a larger model: walls along the border only.
void BM_DuplicateConnectedPatch(benchmark::State& state) {
  RunOnGrid(state, 1000000, 200000, [](ModelStore& s, const ValueCells& c, SelectionCentre m) {
    DuplicateSelection(s, c, 1u << kOptConnectEdges, m);
  });
}
BENCHMARK(BM_DuplicateConnectedPatch)->Unit(benchmark::kMillisecond);

void BM_Move(benchmark::State& state) {
  RunOnGrid(state, 1000000, 1000000, [](ModelStore& s, const ValueCells& c, SelectionCentre m) {
    MoveSelection(s, c, 1u << kOptAbsolute, m);
  });
}
BENCHMARK(BM_Move)->Unit(benchmark::kMillisecond);

void BM_Rotate(benchmark::State& state) {
  RunOnGrid(state, 1000000, 1000000,
            [](ModelStore& s, const ValueCells& c, SelectionCentre) { RotateSelection(s, c); });
}
BENCHMARK(BM_Rotate)->Unit(benchmark::kMillisecond);

void BM_Scale(benchmark::State& state) {
  RunOnGrid(state, 1000000, 1000000,
            [](ModelStore& s, const ValueCells& c, SelectionCentre) { ScaleSelection(s, c); });
}
BENCHMARK(BM_Scale)->Unit(benchmark::kMillisecond);

void BM_Flip(benchmark::State& state) {
  RunOnGrid(state, 1000000, 1000000, [](ModelStore& s, const ValueCells&, SelectionCentre m) {
    FlipSelection(s, Axis::kX, m);
  });
}
BENCHMARK(BM_Flip)->Unit(benchmark::kMillisecond);

void BM_DeleteHalfRemovingVertices(benchmark::State& state) {
  RunOnGrid(state, 1000000, 500000, [](ModelStore& s, const ValueCells&, SelectionCentre) {
    DeleteSelection(s, 1u << kOptRemoveVerts);
  });
}
BENCHMARK(BM_DeleteHalfRemovingVertices)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qelvar
