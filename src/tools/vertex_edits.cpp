// Vertex, triangle and line edits; removals go through the store's
// order-keeping compaction, which renumbers corners and line ends.
#include "tools/vertex_edits.h"

#include <cstddef>
#include <vector>

namespace qelvar {
namespace {

bool IsVertex(const ModelStore& store, int32_t v) { return v >= 0 && v < store.vertexCount; }

void RemoveVertex(ModelStore& store, int32_t v) {
  std::vector<uint8_t> drop(size_t(store.vertexCount), 0);
  drop[size_t(v)] = 1;
  RemoveVertices(store, drop);
}

}  // namespace

VertexEdit MoveVertexTo(ModelStore& store, int32_t vertex, Vec3 to) {
  if (!IsVertex(store, vertex)) return VertexEdit::kNothing;
  store.vertices[size_t(vertex)] = to;
  store.normalsDirty = true;
  return VertexEdit::kMoved;
}

VertexEdit MoveVertexBy(ModelStore& store, int32_t vertex, Vec3 offset) {
  if (!IsVertex(store, vertex)) return VertexEdit::kNothing;
  Vec3& p = store.vertices[size_t(vertex)];
  p = {p.x + offset.x, p.y + offset.y, p.z + offset.z};
  store.normalsDirty = true;
  return VertexEdit::kMoved;
}

VertexEdit DeletePickedVertex(ModelStore& store, int32_t& pickedVertex) {
  const int32_t v = pickedVertex;
  if (!IsVertex(store, v)) return VertexEdit::kNothing;
  pickedVertex = -1;
  RemoveVertex(store, v);
  store.normalsDirty = true;
  return VertexEdit::kRemoved;
}

VertexEdit DeleteLastVertex(ModelStore& store) {
  if (store.vertexCount <= 0) return VertexEdit::kNothing;
  RemoveVertex(store, store.vertexCount - 1);
  return VertexEdit::kRemoved;
}

VertexEdit DeleteLastTriangle(ModelStore& store) {
  if (store.triangleCount <= 0) return VertexEdit::kNothing;
  store.triangleCount -= 1;
  return VertexEdit::kRemoved;
}

VertexEdit DeleteLastLine(ModelStore& store) {
  if (store.lineCount <= 0) return VertexEdit::kNothing;
  store.lineCount -= 1;
  return VertexEdit::kRemoved;
}

}  // namespace qelvar
