// Saving the selection as a part file and appending part files to the model.
#include "model/part_file.h"

#include <cstring>
#include <vector>

#include "core/messages.h"
#include "model/file_io.h"
#include "model/model_layout.h"

namespace qelvar {
namespace {

bool Selected(const ModelStore& m, int32_t i) { return m.triangleFlags[size_t(i)] & kSelectedBit; }

// New index of every vertex used by a selected triangle, -1 for the others,
// numbered in increasing order of the model's indices. Corners outside the
// vertex table are not followed.
std::vector<int32_t> NumberUsedVertices(const ModelStore& m, int32_t& used) {
  std::vector<int32_t> newIndex(size_t(m.vertexCount), -1);
  for (int32_t i = 0; i < m.triangleCount; ++i) {
    if (!Selected(m, i)) continue;
    for (const int32_t v : m.triangles[size_t(i)].corner)
      if (v >= 0 && v < m.vertexCount) newIndex[size_t(v)] = 0;
  }
  used = 0;
  for (int32_t& n : newIndex)
    if (n == 0) n = used++;
  return newIndex;
}

// The end of the blocks the part loader reads.
uint64_t PartEnd(const ModelLayout& l) {
  if (l.colourMode != 1) return l.trianglesAt + 12ull * uint64_t(l.triangles);
  return l.coloursAt + 2ull * uint64_t(l.triangles);
}

void Append(const std::vector<uint8_t>& b, const ModelLayout& l, uint8_t group, ModelStore& m) {
  const int32_t base = m.vertexCount, first = m.triangleCount;
  std::memcpy(m.vertices.data() + base, b.data() + l.verticesAt, 12 * size_t(l.vertices));
  const uint8_t* p = b.data() + l.trianglesAt;
  for (int32_t s = first; s < first + l.triangles; ++s) {
    for (int32_t& corner : m.triangles[size_t(s)].corner) {
      corner = GetI32(p) + base;
      p += 4;
    }
    m.triangleFlags[size_t(s)] = group;
    m.triangleColours[size_t(s)] = m.defaultColour;
  }
  if (l.colourMode == 1)
    std::memcpy(m.triangleColours.data() + first, b.data() + l.coloursAt, 2 * size_t(l.triangles));
  m.vertexCount += l.vertices;
  m.triangleCount += l.triangles;
  m.normalsDirty = true;
  MarkModelChanged(m);
}

}  // namespace

int SavePartFile(const ModelStore& m, const std::string& path) {
  const int32_t t = CountSelected(m);
  if (t == 0) return kMsgNothingSelected;
  int32_t v = 0;
  const std::vector<int32_t> newIndex = NumberUsedVertices(m, v);
  AtomicFileWriter out(path);
  if (!out.Open()) return kMsgCantOpenFile;
  uint8_t head[20];
  std::memcpy(head, "QVFA", 4);
  PutI32(head + 4, v);
  PutI32(head + 8, t);
  PutI32(head + 12, 0);
  PutI32(head + 16, 1);
  out.Write(head, sizeof head);
  for (int32_t i = 0; i < m.vertexCount; ++i)
    if (newIndex[size_t(i)] >= 0) out.Write(&m.vertices[size_t(i)], 12);
  for (int32_t i = 0; i < m.triangleCount; ++i) {
    if (!Selected(m, i)) continue;
    uint8_t corners[12];
    for (int c = 0; c < 3; ++c) {
      const int32_t old = m.triangles[size_t(i)].corner[c];
      PutI32(corners + 4 * c, old >= 0 && old < m.vertexCount ? newIndex[size_t(old)] : 0);
    }
    out.Write(corners, sizeof corners);
  }
  for (int32_t i = 0; i < m.triangleCount; ++i)
    if (Selected(m, i)) out.Write(&m.triangleColours[size_t(i)], 2);
  return out.Commit() ? kMsgFileSaved : kMsgCantOpenFile;
}

int LoadPartFile(ModelStore& m, const std::string& path, uint8_t group) {
  InputFile file;
  std::vector<uint8_t> bytes;
  if (!file.Open(path) || !ReadPrefix(file, kModelHeaderSize, bytes)) return kMsgCantOpenFile;
  ModelLayout l;
  const LayoutStatus status = ReadModelLayout(bytes, l);
  if (status == LayoutStatus::kUnknownMagic) return kMsgNotQvFile;
  if (status != LayoutStatus::kOk || file.size() < PartEnd(l)) return kMsgInvalidFile;
  // Only the blocks used are read, however long the file.
  if (!ReadPrefix(file, PartEnd(l), bytes)) return kMsgInvalidFile;
  if (!IndicesInRange(bytes.data() + l.trianglesAt, 3ull * uint64_t(l.triangles), l.vertices))
    return kMsgInvalidFile;
  const int64_t vertices = int64_t{m.vertexCount} + l.vertices;
  const int64_t triangles = int64_t{m.triangleCount} + l.triangles;
  if (vertices > INT32_MAX - 8192 || triangles > INT32_MAX - 8192) return kMsgInvalidFile;
  if (!EnsureVertexCapacity(m, int32_t(vertices)) || !EnsureTriangleCapacity(m, int32_t(triangles)))
    return kMsgInvalidFile;
  Append(bytes, l, group, m);
  return kMsgFileLoaded;
}

}  // namespace qelvar
