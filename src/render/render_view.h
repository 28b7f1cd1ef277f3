// One re-render of the model into the render buffers: preparation, clearing,
// backdrop, and one frame (or a stereo pair) of grid, triangles, lines and dots.
#pragma once

#include <cstdint>

#include "app/loop_state.h"
#include "core/screen_geometry.h"
#include "core/value_cells.h"
#include "model/model_store.h"
#include "render/render_buffers.h"
#include "render/view_state.h"

namespace qelvar {

struct Modeller;

// One pass over the model with the current view (projection, then grid,
// triangles, lines and dots as their options say).
void RenderFrame(const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                 const ScreenGeometry& geometry, const ValueCells& cells, uint32_t options);

// The side-by-side pair: left and right halves from eyes `separation` apart.
// Leaves eyeShift 0, the full clip width and the mono centreX.
void RenderStereoPair(ViewState& view, ModelStore& model, RenderBuffers& buffers,
                      const ScreenGeometry& geometry, const ValueCells& cells, uint32_t options);

// Start of a main-loop pass: with "Stereo view" on, a tool switched on or off
// since the previous pass requests a re-render (stereo is drawn only without a
// tool). The tool is then remembered for the next pass.
void NoteToolForStereo(uint32_t options, int toolMode, LoopFlags& flags);

// The whole re-render; stereo only while no tool is active. Afterwards
// redrawRequested is clear and screenDirty is 1. The selection centre is not
// recomputed here.
void RenderView(ViewState& view, ModelStore& model, RenderBuffers& buffers,
                const Backdrop& backdrop, const ScreenGeometry& geometry, const ValueCells& cells,
                uint32_t options, int toolMode, LoopFlags& flags);
void RenderView(Modeller& m);

}  // namespace qelvar
