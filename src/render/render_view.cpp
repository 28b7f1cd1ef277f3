// One re-render: the sequence around the frame, and the stereo pair.
#include "render/render_view.h"

#include "app/modeller.h"
#include "core/option_flags.h"
#include "render/overlays.h"
#include "render/rasteriser.h"
#include "render/view.h"

namespace qelvar {

void RenderFrame(const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                 const ScreenGeometry& geometry, const ValueCells& cells, uint32_t options) {
  const bool quick = HasOption(options, kOptQuickRender);
  ProjectVertices(view, geometry.hSampling, quick, model);
  if (HasOption(options, kOptShowGrid)) DrawGrid(view, geometry.hSampling, quick, buffers);
  if (HasOption(options, kOptShowTris)) {
    DrawTriangles(DrawMode::kNormal, view, model, buffers, options, cells.Int(kCellContrast));
  }
  if (HasOption(options, kOptShowLines)) DrawModelLines(view, model, buffers);
  if (HasOption(options, kOptShowVerts)) DrawVertexDots(view, model, buffers);
}

void RenderStereoPair(ViewState& view, ModelStore& model, RenderBuffers& buffers,
                      const ScreenGeometry& geometry, const ValueCells& cells, uint32_t options) {
  const int32_t width = buffers.width, monoCentre = view.centreX;
  const int64_t quarter = width / 4, separation = cells.Int(kCellSeparation);
  // Left eye: the image shifted right by the separation within the left half.
  view.eyeShift = static_cast<float>(-separation);
  buffers.clipLeft = 0, buffers.clipRight = width / 2 - 1;
  view.centreX = ClampCentre(monoCentre - quarter + separation);
  RenderFrame(view, model, buffers, geometry, cells, options);
  // Right eye.
  view.eyeShift = static_cast<float>(separation);
  buffers.clipLeft = width / 2, buffers.clipRight = width - 1;
  view.centreX = ClampCentre(monoCentre + quarter - separation);
  RenderFrame(view, model, buffers, geometry, cells, options);
  buffers.clipLeft = 0;
  view.centreX = monoCentre;
  view.eyeShift = 0.0f;
}

void NoteToolForStereo(uint32_t options, int toolMode, LoopFlags& flags) {
  if (HasOption(options, kOptStereo) && toolMode != flags.previousTool) {
    flags.redrawRequested = true;
  }
  flags.previousTool = toolMode;
}

void RenderView(ViewState& view, ModelStore& model, RenderBuffers& buffers,
                const Backdrop& backdrop, const ScreenGeometry& geometry, const ValueCells& cells,
                uint32_t options, int toolMode, LoopFlags& flags) {
  PrepareView(view, geometry, cells);
  ClearBuffers(buffers, cells.Real(kCellDrawDepth));
  if (backdrop.loaded) CopyBackdrop(backdrop, buffers);
  buffers.clipLeft = 0, buffers.clipTop = 0;
  buffers.clipRight = buffers.width - 1, buffers.clipBottom = buffers.height - 1;
  if (HasOption(options, kOptStereo) && toolMode == 0) {
    RenderStereoPair(view, model, buffers, geometry, cells, options);
  } else {
    view.eyeShift = 0.0f;
    RenderFrame(view, model, buffers, geometry, cells, options);
  }
  flags.redrawRequested = false;
  flags.screenDirty = 1;
}

void RenderView(Modeller& m) {
  RenderView(m.view, m.model, m.buffers, m.backdrop, m.geometry, m.cells, m.options,
             m.tools.toolMode, m.flags);
}

}  // namespace qelvar
