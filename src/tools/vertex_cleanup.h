// Merging of vertices with exactly equal coordinates.
#pragma once

#include <cstdint>

#include "model/model_store.h"

namespace qelvar {

// Merges the vertices from firstVertex on whose x, y and z compare equal as
// floats (so -0.0 meets 0.0 and a NaN coordinate meets nothing) into the
// lowest-numbered one of each group, points triangle corners and line ends at
// it, and closes the gaps in the vertex table from firstVertex on, keeping the
// order of the vertices that stay. Vertices below firstVertex, triangle and
// line order and all triangle attributes are untouched. Returns the number of
// vertices removed.
int32_t WeldVertices(ModelStore& store, int32_t firstVertex);

}  // namespace qelvar
