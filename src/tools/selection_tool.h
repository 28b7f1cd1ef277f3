// The selection tool's rectangle: dragged with the left button, applied on release.
#pragma once

#include "tools/tool_dispatch.h"

namespace qelvar {

// While the left button is held the drag goes on, and the pass keeps its drag
// reference so that the press point stays the first corner. On release the
// triangles under the rectangle between the press and the release point
// (render-buffer pixels, inclusive) are selected, or unselected with
// "Unselect". The right button does nothing.
ToolOutcome SelectionMouseStep(ToolContext& c, const ToolInput& in);

}  // namespace qelvar
