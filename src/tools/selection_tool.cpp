// Rectangle selection over the projection of the last re-render.
#include "tools/selection_tool.h"

#include <algorithm>

#include "render/rasteriser.h"

namespace qelvar {

ToolOutcome SelectionMouseStep(ToolContext& c, const ToolInput& in) {
  ToolState& t = c.tool;
  if (in.buttons & 2) return {};
  if (in.buttons & 1) {
    t.selectionDrag = true;
    return {.screenDirty = 1, .keepDragReference = true};  // the outline follows the mouse
  }
  if (!t.selectionDrag) return {};
  t.selectionDrag = false;
  const int pressX = in.mouseX - in.dx, pressY = in.mouseY - in.dy;
  SelectionPass(c.view, c.model, c.buffers, c.options, c.cells.Real(kCellDrawDepth),
                std::min(pressX, in.mouseX), std::min(pressY, in.mouseY),
                std::max(pressX, in.mouseX), std::max(pressY, in.mouseY));
  return {.redraw = true};  // the colour buffer holds triangle numbers now
}

}  // namespace qelvar
