// The mouse-light tool: a left drag turns the light source.
#pragma once

#include "app/loop_state.h"
#include "core/screen_geometry.h"
#include "core/value_cells.h"
#include "render/view_state.h"

namespace qelvar {

// One tool step of the main loop while the tool is active. A right click ends
// the tool (toolMode 0) and redraws the screen; otherwise a held left button
// turns "LXY" and "LYZ" by the movement (dx, dy) from the previous-pass light
// angles, and a re-render is requested.
void MouseLightTool(const ViewState& view, const ScreenGeometry& geometry, int dx, int dy,
                    int buttons, bool rightClick, ValueCells& cells, int& toolMode,
                    LoopFlags& flags);

}  // namespace qelvar
