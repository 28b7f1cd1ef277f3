// The renderer's output onto the platform screen: the presented frame and
// the tools' vertex markers.
#include "platform/screen.h"
#include "render/overlays.h"
#include "render/presentation.h"

namespace qelvar {

void PresentFrame(const RenderBuffers& buffers, const ScreenGeometry& geometry,
                  const ColourTables& tables, Screen& screen) {
  PresentFrame(buffers, geometry.detail, screen.depth(), tables, screen.pixels(), screen.width(),
               screen.height());
  screen.ForgetText();
}

void DrawVertexMarker(const ViewState& view, const ModelStore& model, int detail, int32_t vertex,
                      uint32_t colour, Screen& screen) {
  int x, y;
  if (!VertexMarkerCentre(view, model, detail, vertex, x, y)) return;
  screen.DrawRectOutline(x - 2, y - 2, x + 2, y + 2, colour);
}

}  // namespace qelvar
