// Colour commands on the selected triangles: one colour for all, or a hue
// circle spread over them in index order.
#pragma once

#include "core/value_cells.h"
#include "model/model_store.h"

namespace qelvar {

// Stores the "Change color" cells' colour word in every selected triangle.
// Both return true when a colour changed (a re-render is due).
bool ApplyChangeColour(ModelStore& model, const ValueCells& cells);

// Red, yellow, green, cyan, blue, magenta ramps over the selected triangles.
bool ApplyRainbow(ModelStore& model);

}  // namespace qelvar
