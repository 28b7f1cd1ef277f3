// One re-render: the sequence around the frame, and the stereo pair.
#include "render/render_view.h"

#include "core/option_flags.h"
#include "render/overlays.h"
#include "render/rasteriser.h"
#include "render/view.h"

namespace qelvar {

void RenderFrame(const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                 const ScreenGeometry& geometry, const FrameSettings& frame) {
  const uint32_t options = frame.options;
  const bool quick = HasOption(options, kOptQuickRender);
  ProjectVertices(view, geometry.hSampling, quick, model);
  if (HasOption(options, kOptShowGrid)) DrawGrid(view, geometry.hSampling, quick, buffers);
  if (HasOption(options, kOptShowTris)) {
    DrawTriangles(DrawMode::kNormal, view, model, buffers, options, frame.contrast);
  }
  if (HasOption(options, kOptShowLines)) DrawModelLines(view, model, buffers);
  if (HasOption(options, kOptShowVerts)) DrawVertexDots(view, model, buffers);
}

void RenderStereoPair(ViewState& view, ModelStore& model, RenderBuffers& buffers,
                      const ScreenGeometry& geometry, const FrameSettings& frame) {
  const int32_t width = buffers.width, monoCentre = view.centreX;
  const int64_t quarter = width / 4, separation = frame.separation;
  // Left eye: the image shifted right by the separation within the left half.
  view.eyeShift = static_cast<float>(-separation);
  buffers.clipLeft = 0, buffers.clipRight = width / 2 - 1;
  view.centreX = ClampCentre(monoCentre - quarter + separation);
  RenderFrame(view, model, buffers, geometry, frame);
  // Right eye.
  view.eyeShift = static_cast<float>(separation);
  buffers.clipLeft = width / 2, buffers.clipRight = width - 1;
  view.centreX = ClampCentre(monoCentre + quarter - separation);
  RenderFrame(view, model, buffers, geometry, frame);
  buffers.clipLeft = 0;
  view.centreX = monoCentre;
  view.eyeShift = 0.0f;
}

bool StereoNeedsRedraw(uint32_t options, int toolMode, int previousToolMode) {
  return HasOption(options, kOptStereo) && toolMode != previousToolMode;
}

void RenderView(ViewState& view, ModelStore& model, RenderBuffers& buffers,
                const Backdrop& backdrop, const ScreenGeometry& geometry,
                const FrameSettings& frame) {
  PrepareView(view, geometry, frame);
  ClearBuffers(buffers, frame.drawDepth);
  if (backdrop.loaded) CopyBackdrop(backdrop, buffers);
  buffers.clipLeft = 0, buffers.clipTop = 0;
  buffers.clipRight = buffers.width - 1, buffers.clipBottom = buffers.height - 1;
  if (frame.stereo) {
    RenderStereoPair(view, model, buffers, geometry, frame);
  } else {
    view.eyeShift = 0.0f;
    RenderFrame(view, model, buffers, geometry, frame);
  }
}

}  // namespace qelvar
