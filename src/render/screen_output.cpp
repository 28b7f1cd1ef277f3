// The renderer's output onto the platform screen: the presented frame and
// the tools' vertex markers.
#include <algorithm>
#include <vector>

#include "platform/screen.h"
#include "render/overlays.h"
#include "render/presentation.h"

namespace qelvar {

void PresentFrame(RenderBuffers& buffers, const ScreenGeometry& geometry,
                  const ColourTables& tables, Screen& screen) {
  const int rows = std::min(buffers.height, screen.height());
  std::vector<uint8_t>& only = buffers.unpresented;
  const bool tracked = only.size() == static_cast<size_t>(buffers.height) &&
                       buffers.touchedLeft.size() == only.size() &&
                       buffers.touchedRight.size() == only.size();
  if (!tracked) {
    PresentFrame(buffers, geometry.detail, screen.depth(), tables, screen.pixels(), screen.width(),
                 screen.height());
  } else {
    for (int y = 0; y < rows; ++y) {
      const auto at = static_cast<size_t>(y);
      only[at] |= static_cast<uint8_t>(buffers.touchedLeft[at] <= buffers.touchedRight[at]) |
                  static_cast<uint8_t>(screen.RowDrawn(y));
    }
    PresentRows(buffers, geometry.detail, screen.depth(), tables, screen.pixels(), screen.width(),
                screen.height(), only.data());
    std::fill(only.begin(), only.end(), uint8_t{0});
  }
  screen.ForgetDrawnRows();
  screen.ForgetText();
}

void DrawVertexMarker(const ViewState& view, const ModelStore& model, int detail, int32_t vertex,
                      uint32_t colour, Screen& screen) {
  int x, y;
  if (!VertexMarkerCentre(view, model, detail, vertex, x, y)) return;
  screen.DrawRectOutline(x - 2, y - 2, x + 2, y + 2, colour);
}

}  // namespace qelvar
