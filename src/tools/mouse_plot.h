// Plotting model points with the mouse into the coordinate cells of a menu.
#pragma once

#include "tools/tool_context.h"

namespace qelvar {

// The first of the three cells ("X1".."X5") of point group 1..5.
int PlotGroupFirstCell(int group);

// "screenX", "screenY" take the pointer. With a group targeted, its three
// cells take the point under the pointer: with Shift held the exact
// coordinates of the nearest vertex (which becomes the picked vertex);
// otherwise, or when no vertex is near enough, the depth under the pointer
// mapped back into the model.
void PlotPointerPosition(ToolContext& c, const ToolInput& in);

}  // namespace qelvar
