// The mouse-light tool.
#include "tools/mouse_light.h"

#include "render/view.h"

namespace qelvar {

void MouseLightTool(const ViewState& view, const ScreenGeometry& geometry, int dx, int dy,
                    int buttons, ValueCells& cells) {
  if (!(buttons & 1)) return;
  cells.Real(kCellLightXY) = view.previousLightXY + static_cast<float>(dx) * kTwoPi /
                                                        static_cast<float>(geometry.bufferWidth);
  cells.Real(kCellLightYZ) = view.previousLightYZ - static_cast<float>(dy) * kTwoPi /
                                                        static_cast<float>(geometry.bufferHeight);
}

}  // namespace qelvar
