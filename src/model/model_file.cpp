// Model file loading and saving. Loads check the whole file before the first
// byte of the model changes.
#include "model/model_file.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "core/messages.h"
#include "core/option_flags.h"
#include "model/file_io.h"
#include "model/file_paths.h"
#include "model/mesh_import.h"
#include "model/model_layout.h"

namespace qelvar {
namespace {

constexpr uint64_t kMinimumStlSize = 130;

// How much of the layout the file holds. A "QVFA" file that ends right where
// its flag block would start is a part file: it loads without flags and names.
enum class Extent { kWhole, kPartFile, kShort };

Extent FileExtent(const ModelLayout& l, uint64_t size) {
  if (size >= l.end) return Extent::kWhole;
  if (l.variant == ModelVariant::kQvfa && size == l.flagsAt) return Extent::kPartFile;
  return Extent::kShort;
}

// Reads a block straight into a table sized to the block.
template <typename T>
bool ReadBlock(InputFile& file, uint64_t at, Table<T>& table) {
  const size_t bytes = table.size() * sizeof(T);
  return file.ReadAt(at, table.data(), bytes) == bytes;
}

bool IndicesValid(const LoadedTables& t) {
  const auto* triangles = reinterpret_cast<const uint8_t*>(t.triangles.data());
  const auto* lines = reinterpret_cast<const uint8_t*>(t.lines.data());
  return IndicesInRange(triangles, 3ull * t.triangles.size(), t.vertexCount) &&
         IndicesInRange(lines, 2ull * t.lines.size(), t.vertexCount);
}

// Every block of the file into fresh tables; the model is not touched.
bool ReadTables(InputFile& file, const ModelLayout& l, Extent extent, uint16_t defaultColour,
                LoadedTables& t, std::array<PartName, kPartGroups>& names) {
  if (!ReadBlock(file, l.verticesAt, t.vertices) || !ReadBlock(file, l.trianglesAt, t.triangles) ||
      !ReadBlock(file, l.linesAt, t.lines)) {
    return false;
  }
  if (l.hasColours()) {
    if (!ReadBlock(file, l.coloursAt, t.colours)) return false;
  } else {
    std::fill(t.colours.begin(), t.colours.end(), defaultColour);
  }
  if (extent == Extent::kWhole) {
    if (!ReadBlock(file, l.flagsAt, t.flags)) return false;
    for (int g = 0; g < kPartGroups; ++g) {
      if (file.ReadAt(l.namesAt + 12 * uint64_t(g), names[size_t(g)].data(), 12) != 12)
        return false;
    }
  } else {
    std::fill(t.flags.begin(), t.flags.end(), uint8_t{0});
  }
  return IndicesValid(t);
}

// A mesh format of the import library: built in a separate store and taken
// over only when the whole file was read, so a refused or cancelled import
// leaves the model as it was.
int ImportMesh(const std::string& path, ModelFileTarget target, ImportProgress* progress) {
  ModelStore staged;
  InitModelStore(staged);
  staged.defaultColour = target.model.defaultColour;
  const MeshImportResult result = ImportMeshFile(path, staged, progress);
  if (result.message != kMsgFileLoaded) return result.message;
  target.model = std::move(staged);
  target.fileName = ModelNameForImport(path);
  target.options &= ~(1u << kOptModelColours);
  if (result.hasColours) target.options |= 1u << kOptModelColours;
  return kMsgFileLoaded;
}

}  // namespace

int LoadModelFile(const std::string& path, ModelFileTarget target, ImportProgress* progress) {
  InputFile file;
  if (!file.Open(path)) return kMsgCantOpenFile;
  uint8_t magic[4] = {};
  file.ReadAt(0, magic, 4);
  if (std::memcmp(magic, "QVFA", 4) != 0 && std::memcmp(magic, "QVNE", 4) != 0) {
    // Text STL is known by its content, whatever the name says.
    if (HasMeshExtension(path) && !(MayBeTextStl(file) && IsTextStl(file)))
      return ImportMesh(path, target, progress);
    if (file.size() < kMinimumStlSize && !IsTextStl(file)) return kMsgInvalidFile;
    const int message = ImportStl(file, target.model, progress);
    // The imported mesh is a new model: saving it must not overwrite the
    // model file loaded before, so it is named after the STL file.
    target.fileName = ModelNameForImport(path);
    return message;
  }

  // The header first: only the blocks it names are read, however long the file.
  std::vector<uint8_t> bytes;
  if (!ReadPrefix(file, kModelHeaderSize, bytes)) return kMsgCantOpenFile;
  ModelLayout layout;
  if (ReadModelLayout(bytes, layout) != LayoutStatus::kOk) return kMsgInvalidFile;
  const Extent extent = FileExtent(layout, file.size());
  if (extent == Extent::kShort) return kMsgInvalidFile;

  // The blocks go straight into tables of their own, which replace the
  // model's only once all of them are read and checked.
  ModelStore& m = target.model;
  LoadedTables tables;
  tables.vertexCount = layout.vertices;
  tables.triangleCount = layout.triangles;
  tables.lineCount = layout.lines;
  std::array<PartName, kPartGroups> names = m.partNames;
  if (!PrepareLoadedTables(m, tables) ||
      !ReadTables(file, layout, extent, m.defaultColour, tables, names) ||
      !AdoptLoadedTables(m, tables)) {
    return kMsgInvalidFile;
  }
  m.partNames = names;
  target.fileName = path;
  target.options &= ~(1u << kOptModelColours);
  if (layout.colourMode == 1) target.options |= 1u << kOptModelColours;
  return kMsgFileLoaded;
}

int SaveModelFile(const ModelStore& m, const std::string& path, bool modelColours) {
  AtomicFileWriter out(path);
  if (!out.Open()) return kMsgCantOpenFile;
  uint8_t head[20];
  std::memcpy(head, "QVFA", 4);
  PutI32(head + 4, m.vertexCount);
  PutI32(head + 8, m.triangleCount);
  PutI32(head + 12, m.lineCount);
  PutI32(head + 16, modelColours ? 1 : 2);
  out.Write(head, sizeof head);
  const auto t = size_t(m.triangleCount);
  out.Write(m.vertices.data(), 12 * size_t(m.vertexCount));
  out.Write(m.lines.data(), 8 * size_t(m.lineCount));
  out.Write(m.triangles.data(), 12 * t);
  out.Write(m.triangleColours.data(), 2 * t);
  out.Write(m.triangleFlags.data(), t);
  for (const PartName& name : m.partNames) out.Write(name.data(), name.size());
  return out.Commit() ? kMsgFileSaved : kMsgCantOpenFile;
}

}  // namespace qelvar
