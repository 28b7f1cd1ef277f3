// Small edits of single vertices, triangles and lines: the vertex editor's
// moves and deletion of the picked vertex, and the removal of the last
// vertex, triangle or line.
#pragma once

#include <cstdint>

#include "model/model_store.h"

namespace qelvar {

enum class VertexEdit {
  kNothing,  // no valid vertex, or nothing to remove: the model is unchanged
  kMoved,    // a vertex moved: normals must be recomputed
  kRemoved,  // something was removed ("Deleted!")
};

// "Move to absolute" and "mOve to offset": the vertex goes to `to`, or is
// moved by `offset`, if it is in the table.
VertexEdit MoveVertexTo(ModelStore& store, int32_t vertex, Vec3 to);
VertexEdit MoveVertexBy(ModelStore& store, int32_t vertex, Vec3 offset);

// "Delete vert": removes the picked vertex with every triangle and line that
// uses it and renumbers the higher vertices; the pick becomes -1.
VertexEdit DeletePickedVertex(ModelStore& store, int32_t& pickedVertex);

// "Delete last vert" (with the triangles and lines that use it), "delete last
// Tri", "deLete last line". Nothing else is renumbered.
VertexEdit DeleteLastVertex(ModelStore& store);
VertexEdit DeleteLastTriangle(ModelStore& store);
VertexEdit DeleteLastLine(ModelStore& store);

}  // namespace qelvar
