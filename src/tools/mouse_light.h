// The mouse-light tool: a left drag turns the light source.
#pragma once

#include "core/screen_geometry.h"
#include "core/value_cells.h"
#include "render/view_state.h"

namespace qelvar {

// While the left button is held, "LXY" and "LYZ" turn by the movement
// (dx, dy) from the previous-pass light angles.
void MouseLightTool(const ViewState& view, const ScreenGeometry& geometry, int dx, int dy,
                    int buttons, ValueCells& cells);

}  // namespace qelvar
