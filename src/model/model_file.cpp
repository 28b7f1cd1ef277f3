// Model file loading and saving. Loads check the whole file before the first
// byte of the model changes.
#include "model/model_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/messages.h"
#include "core/option_flags.h"
#include "model/file_io.h"
#include "model/file_paths.h"
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

bool IndicesValid(const std::vector<uint8_t>& b, const ModelLayout& l) {
  return IndicesInRange(b.data() + l.trianglesAt, 3ull * uint64_t(l.triangles), l.vertices) &&
         IndicesInRange(b.data() + l.linesAt, 2ull * uint64_t(l.lines), l.vertices);
}

bool MakeRoom(ModelStore& m, const ModelLayout& l) {
  return EnsureVertexCapacity(m, l.vertices) && EnsureTriangleCapacity(m, l.triangles) &&
         EnsureLineCapacity(m, l.lines);
}

// Copies the checked blocks into the store; nothing here can fail.
void TakeOver(const std::vector<uint8_t>& b, const ModelLayout& l, Extent extent, ModelStore& m) {
  const auto t = size_t(l.triangles);
  std::memcpy(m.vertices.data(), b.data() + l.verticesAt, 12 * size_t(l.vertices));
  std::memcpy(m.triangles.data(), b.data() + l.trianglesAt, 12 * t);
  std::memcpy(m.lines.data(), b.data() + l.linesAt, 8 * size_t(l.lines));
  if (l.hasColours())
    std::memcpy(m.triangleColours.data(), b.data() + l.coloursAt, 2 * t);
  else
    std::fill_n(m.triangleColours.begin(), t, m.defaultColour);
  if (extent == Extent::kWhole) {
    std::memcpy(m.triangleFlags.data(), b.data() + l.flagsAt, t);
    for (int g = 0; g < kPartGroups; ++g)
      std::memcpy(m.partNames[size_t(g)].data(), b.data() + l.namesAt + 12 * size_t(g), 12);
  } else {
    std::fill_n(m.triangleFlags.begin(), t, uint8_t{0});
  }
  m.vertexCount = l.vertices;
  m.triangleCount = l.triangles;
  m.lineCount = l.lines;
  m.normalsDirty = true;
  MarkModelChanged(m);
}

}  // namespace

int LoadModelFile(const std::string& path, ModelFileTarget target, ImportProgress* progress) {
  InputFile file;
  if (!file.Open(path)) return kMsgCantOpenFile;
  uint8_t magic[4] = {};
  file.ReadAt(0, magic, 4);
  if (std::memcmp(magic, "QVFA", 4) != 0 && std::memcmp(magic, "QVNE", 4) != 0) {
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
  const uint64_t used = extent == Extent::kWhole ? layout.end : layout.flagsAt;
  if (!ReadPrefix(file, used, bytes)) return kMsgInvalidFile;
  if (!IndicesValid(bytes, layout)) return kMsgInvalidFile;
  if (!MakeRoom(target.model, layout)) return kMsgInvalidFile;

  TakeOver(bytes, layout, extent, target.model);
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
