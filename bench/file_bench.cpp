// Times STL import of generated grid meshes (about half as many distinct
// vertices as facets) and saving and loading a model file of the same size.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/messages.h"
#include "model/file_io.h"
#include "model/model_file.h"
#include "model/stl_file.h"

namespace qelvar {
namespace {

std::string BenchPath(const std::string& name) {
  return (std::filesystem::temp_directory_path() /
          ("qelvar_bench_" + std::to_string(getpid()) + "_" + name))
      .string();
}

// A grid of w x h squares, two facets each, written once per size.
std::string GridStl(int64_t facets) {
  const std::string path = BenchPath("grid" + std::to_string(facets) + ".stl");
  if (std::filesystem::exists(path)) return path;
  const int w = 1000, h = int(facets / 2 / w);
  AtomicFileWriter out(path);
  out.Open();
  std::vector<uint8_t> head(84, ' ');
  PutI32(head.data() + 80, 2 * w * h);
  out.Write(head.data(), head.size());
  std::vector<uint8_t> row(size_t(w) * 100, 0);
  for (int y = 0; y < h; ++y) {
    uint8_t* p = row.data();
    for (int x = 0; x < w; ++x) {
      const float a[3] = {float(x), float(y), 0}, b[3] = {float(x + 1), float(y), 0},
                  c[3] = {float(x + 1), float(y + 1), 0}, d[3] = {float(x), float(y + 1), 0};
      const float* triangles[2][3] = {{a, b, c}, {a, c, d}};
      for (const auto& t : triangles) {
        for (int k = 0; k < 3; ++k) std::memcpy(p + 12 + 12 * k, t[k], 12);
        p += 50;
      }
    }
    out.Write(row.data(), row.size());
  }
  out.Commit();
  return path;
}

void BM_ImportStl(benchmark::State& state) {
  const std::string path = GridStl(state.range(0));
  for (auto _ : state) {
    ModelStore model;
    InitModelStore(model);
    InputFile file;
    file.Open(path);
    ImportStl(file, model, nullptr);
    benchmark::DoNotOptimize(model.vertexCount);
    state.counters["vertices"] = model.vertexCount;
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ImportStl)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The model of the imported grid, loaded once per size.
const ModelStore& GridModel(int64_t facets) {
  static std::vector<std::pair<int64_t, ModelStore>> models;
  for (const auto& [n, m] : models)
    if (n == facets) return m;
  ModelStore model;
  InitModelStore(model);
  InputFile file;
  file.Open(GridStl(facets));
  ImportStl(file, model, nullptr);
  models.emplace_back(facets, std::move(model));
  return models.back().second;
}

void BM_SaveModel(benchmark::State& state) {
  const ModelStore& model = GridModel(state.range(0));
  const std::string path = BenchPath("save.qv");
  for (auto _ : state)
    if (SaveModelFile(model, path, false) != kMsgFileSaved) state.SkipWithError("save failed");
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SaveModel)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_LoadModel(benchmark::State& state) {
  const std::string path = BenchPath("load" + std::to_string(state.range(0)) + ".qv");
  SaveModelFile(GridModel(state.range(0)), path, false);
  ModelStore model;
  InitModelStore(model);
  std::string name;
  uint32_t options = 0;
  for (auto _ : state)
    if (LoadModelFile(path, {model, name, options}, nullptr) != kMsgFileLoaded)
      state.SkipWithError("load failed");
  state.counters["triangles"] = model.triangleCount;
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_LoadModel)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Removes the generated files when the run ends.
struct Cleanup {
  ~Cleanup() {
    std::error_code ec;
    for (const auto& e :
         std::filesystem::directory_iterator(std::filesystem::temp_directory_path(), ec))
      if (e.path().filename().string().rfind("qelvar_bench_" + std::to_string(getpid()) + "_", 0) ==
          0)
        std::filesystem::remove(e.path(), ec);
  }
} cleanup;

}  // namespace
}  // namespace qelvar
