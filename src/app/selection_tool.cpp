// Rectangle selection between the press point and the release point, both
// in render-buffer pixels and inclusive.
#include "app/selection_tool.h"

#include <algorithm>

#include "render/rasteriser.h"

namespace qelvar {

bool SelectionToolStep(Modeller& m) {
  const MouseState& s = m.mouse;
  if (s.buttons & 2) return true;  // the right button does nothing here
  if (s.buttons & 1) {
    m.flags.selectionDrag = true;
    m.flags.screenDirty = 1;  // the outline follows the mouse
    return false;
  }
  if (!m.flags.selectionDrag) return true;
  const int left = std::min(s.pressX, s.mouseX), right = std::max(s.pressX, s.mouseX);
  const int top = std::min(s.pressY, s.mouseY), bottom = std::max(s.pressY, s.mouseY);
  SelectionPass(m.view, m.model, m.buffers, m.options, m.cells.Real(kCellDrawDepth), left, top,
                right, bottom, m.flags);
  return true;
}

}  // namespace qelvar
