// The fuzz targets' private directory, model snapshots and consistency checks.
#include "fuzz_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "core/messages.h"
#include "core/option_flags.h"
#include "model/file_io.h"
#include "model/model_file.h"
#include "model/stl_file.h"

namespace qelvar::fuzz {
namespace {

template <typename T, typename Allocator>
std::vector<uint8_t> Bytes(const std::vector<T, Allocator>& table, int32_t count) {
  const size_t n = count > 0 ? size_t(count) : 0;
  Check(n <= table.size(), "count within the table");
  std::vector<uint8_t> out(n * sizeof(T));
  if (n > 0) std::memcpy(out.data(), table.data(), out.size());
  return out;
}

void RemoveDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(Directory(), ignored);
}

}  // namespace

const std::string& Directory() {
  static const std::string directory = [] {
    const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/qelvar-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) Fail("a private directory can be made");
    return pattern;
  }();
  static const bool cleanup = std::atexit(RemoveDirectory) == 0;
  (void)cleanup;
  return directory;
}

std::string WriteInput(const char* name, const uint8_t* data, size_t size) {
  const std::string path = Directory() + "/" + name;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
  Check(out.good(), "the input can be written");
  return path;
}

ModelStore& FreshStore(int which) {
  static const ModelStore start = [] {
    ModelStore m;
    InitModelStore(m);
    return m;
  }();
  static ModelStore stores[2];
  ModelStore& store = stores[which];
  store = start;  // copying into vectors that are large enough allocates nothing
  return store;
}

ModelSnapshot Snapshot(const ModelStore& m) {
  ModelSnapshot s;
  s.vertices = Bytes(m.vertices, m.vertexCount);
  s.triangles = Bytes(m.triangles, m.triangleCount);
  s.lines = Bytes(m.lines, m.lineCount);
  s.flags = Bytes(m.triangleFlags, m.triangleCount);
  s.colours = Bytes(m.triangleColours, m.triangleCount);
  for (const PartName& name : m.partNames) s.names.insert(s.names.end(), name.begin(), name.end());
  return s;
}

OpenedFile OpenChecked(const std::string& path) {
  OpenedFile f{FreshStore(0), "default.qv", kStartOptions, kMsgNone, false};
  const ModelSnapshot before = Snapshot(f.model);
  f.result = LoadModelFile(path, {f.model, f.name, f.options}, nullptr);
  f.refused = f.result == kMsgInvalidFile || f.result == kMsgCantOpenFile;
  if (f.refused) {
    Check(Snapshot(f.model) == before, "a refused file leaves the model as it was");
    Check(f.name == "default.qv" && f.options == kStartOptions,
          "a refused file keeps name and options");
  }
  return f;
}

ModelStore& ImportStlChecked(const uint8_t* data, size_t size, InputFile& file) {
  const std::string path = WriteInput("input.stl", data, size);
  ModelStore& model = FreshStore(0);
  Check(file.Open(path), "the input opens");
  Check(ImportStl(file, model, nullptr) == kMsgNone, "an import without progress ends normally");
  CheckConsistent(model);
  return model;
}

void CheckConsistent(const ModelStore& m) {
  Check(m.vertexCount >= 0 && m.vertexCount <= m.vertexCapacity, "vertex count within capacity");
  Check(m.triangleCount >= 0 && m.triangleCount <= m.triangleCapacity,
        "triangle count within capacity");
  Check(m.lineCount >= 0 && m.lineCount <= m.lineCapacity, "line count within capacity");
  Check(m.vertices.size() > size_t(m.vertexCapacity) &&
            m.vertexScratch.size() > size_t(m.vertexCapacity),
        "vertex tables hold capacity + 1 slots");
  Check(m.triangles.size() > size_t(m.triangleCapacity) &&
            m.triangleFlags.size() > size_t(m.triangleCapacity) &&
            m.triangleColours.size() > size_t(m.triangleCapacity) &&
            m.triangleNormals.size() > size_t(m.triangleCapacity),
        "triangle tables hold capacity + 1 slots");
  for (int32_t i = 0; i < m.triangleCount; ++i)
    for (int32_t corner : m.triangles[size_t(i)].corner)
      Check(corner >= 0 && corner < m.vertexCount, "triangle corners are vertices");
  for (int32_t i = 0; i < m.lineCount; ++i)
    for (int32_t end : {m.lines[size_t(i)].a, m.lines[size_t(i)].b})
      Check(end >= 0 && end < m.vertexCount, "line ends are vertices");
}

void CheckSaveAndReload(const ModelStore& model, uint32_t options) {
  const std::string path = Directory() + "/saved.qv";
  const bool colours = HasOption(options, kOptModelColours);
  Check(SaveModelFile(model, path, colours) == kMsgFileSaved, "a loaded model can be saved");
  ModelStore& again = FreshStore(1);
  std::string name;
  uint32_t againOptions = kStartOptions;
  Check(LoadModelFile(path, {again, name, againOptions}, nullptr) == kMsgFileLoaded,
        "a saved model loads");
  Check(Snapshot(again) == Snapshot(model), "a saved model loads unchanged");
  Check(HasOption(againOptions, kOptModelColours) == colours, "the colour box comes back");
}

void CheckExportAndImport(const ModelStore& model) {
  const std::string path = Directory() + "/export.stl";
  Check(ExportStl(model, path) == kMsgFileSaved, "a model can be exported");
  ModelStore& again = FreshStore(1);
  ClearModel(again);  // an export without facets imports as "keep what is there"
  InputFile file;
  Check(file.Open(path), "the export opens");
  Check(ImportStl(file, again, nullptr) == kMsgNone, "the export imports");
  Check(again.triangleCount == model.triangleCount, "the export imports every triangle");
  for (int32_t i = 0; i < model.triangleCount; ++i) {
    const Triangle& a = model.triangles[size_t(i)];
    const Triangle& b = again.triangles[size_t(i)];
    for (int c = 0; c < 3; ++c) {
      Check(std::memcmp(&model.vertices[size_t(a.corner[c])], &again.vertices[size_t(b.corner[c])],
                        sizeof(Vec3)) == 0,
            "the export imports the same corners");
    }
    Check(model.triangleColours[size_t(i)] == again.triangleColours[size_t(i)],
          "the export imports the same colour words");
  }
}

}  // namespace qelvar::fuzz
