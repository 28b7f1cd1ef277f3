// One re-render of the model into the render buffers: preparation, clearing,
// backdrop, and one frame (or a stereo pair) of grid, triangles, lines and dots.
#pragma once

#include <cstdint>

#include "core/screen_geometry.h"
#include "model/model_store.h"
#include "render/frame_settings.h"
#include "render/render_buffers.h"
#include "render/view_state.h"

namespace qelvar {

// Draws every frame with `threads` threads (vertex and triangle ranges, then
// bands of rows, shared out among them); 0, the start value, means one per
// core for frames big enough to gain. The picture is the same for every count.
void SetRenderThreads(RenderBuffers& buffers, int threads);

// One pass over the model with the current view (projection, then grid,
// triangles, lines and dots as their options say).
void RenderFrame(const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                 const ScreenGeometry& geometry, const FrameSettings& frame);

// The side-by-side pair: left and right halves from eyes `separation` apart.
// Leaves eyeShift 0, the full clip width and the mono centreX.
void RenderStereoPair(ViewState& view, ModelStore& model, RenderBuffers& buffers,
                      const ScreenGeometry& geometry, const FrameSettings& frame);

// With "Stereo view" on, a tool switched on or off since the previous pass
// needs a re-render (stereo is drawn only without a tool).
bool StereoNeedsRedraw(uint32_t options, int toolMode, int previousToolMode);

// The whole re-render: preparation, clearing, backdrop, then one frame or the
// stereo pair. The selection centre is not recomputed here.
void RenderView(ViewState& view, ModelStore& model, RenderBuffers& buffers,
                const Backdrop& backdrop, const ScreenGeometry& geometry,
                const FrameSettings& frame);

}  // namespace qelvar
