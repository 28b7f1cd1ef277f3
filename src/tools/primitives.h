// Appending new geometry: single vertices, lines, triangles, quads, boxes,
// discs, cones, open cylinders and flat rings, built from the point and size
// cells of the creation menus.
#pragma once

#include <cstdint>

#include "core/menu_ids.h"
#include "core/value_cells.h"
#include "model/model_store.h"

namespace qelvar {

enum class CreateOutcome {
  kNothing,     // no creation menu, fewer than one side, or no memory: model unchanged
  kPointsOnly,  // vertices and lines only: the picture changes, normals do not
  kTriangles,   // triangles were added: normals must be recomputed
};

// ".... create ....": the primitive of the creation menu it was chosen in.
// Only the first point of a primitive may reuse the model's last vertex (when
// all three coordinates are equal); every later point is appended, so the
// primitive's index pattern always holds. New triangles get `partGroup`
// (unselected) and the store's default colour. A line with "plot Chain"
// ticked copies its end point into the start point cells.
CreateOutcome CreatePrimitive(ModelStore& store, Menu menu, ValueCells& cells, uint32_t options,
                              uint8_t partGroup);

// "Create at offset": the vertex (X1 + X5, Y1 + Y5, Z1 + Z5), not appended
// again when it equals the last vertex.
CreateOutcome CreateAtOffset(ModelStore& store, const ValueCells& cells);

}  // namespace qelvar
