// Colour commands on the selected triangles: one colour for all, or a hue
// circle spread over them in index order.
#pragma once

#include "app/loop_state.h"
#include "core/value_cells.h"
#include "model/model_store.h"

namespace qelvar {

// Stores the "Change color" cells' colour word in every selected triangle.
void ApplyChangeColour(ModelStore& model, const ValueCells& cells, LoopFlags& flags);

// Red, yellow, green, cyan, blue, magenta ramps over the selected triangles.
void ApplyRainbow(ModelStore& model, LoopFlags& flags);

}  // namespace qelvar
