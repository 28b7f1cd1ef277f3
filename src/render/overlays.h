// What the frame holds besides the triangles: the backdrop image, the ground
// grid, the model lines and the vertex dots; and the vertex marker that tools
// draw straight onto the screen.
#pragma once

#include <cstdint>

#include "model/model_store.h"
#include "render/render_buffers.h"
#include "render/view_state.h"

namespace qelvar {

class Screen;

constexpr uint32_t kGridAlongYColour = 0xFFFF00;
constexpr uint32_t kGridAlongXColour = 0x00FFFF;
constexpr uint32_t kModelLineColour = 0xFF8800;
constexpr uint32_t kVertexDotColour = 0xFFFFFF;

// The image unscaled: centred when smaller than the buffer, its top-left part
// when larger. The depth buffer stays as it is.
void CopyBackdrop(const Backdrop& backdrop, RenderBuffers& buffers);

// Lines 25 units apart over the 200-unit square of the plane z = 0.
void DrawGrid(const ViewState& view, float hSampling, bool quickRender, RenderBuffers& buffers);
void DrawGrid(const ViewState& view, float hSampling, bool quickRender, const RenderTarget& target);

// Every model line with both ends at depth >= 1, from the projection in vertexScratch.
void DrawModelLines(const ViewState& view, const ModelStore& model, RenderBuffers& buffers);
void DrawModelLines(const ViewState& view, const ModelStore& model, const RenderTarget& target);

// One pixel per vertex at depth >= 1; unlike lines, passes on equal depth.
void DrawVertexDots(const ViewState& view, const ModelStore& model, RenderBuffers& buffers);
void DrawVertexDots(const ViewState& view, const ModelStore& model, const RenderTarget& target);

// Screen position of a vertex for its marker; false for an index outside the
// vertex table or a vertex nearer than depth 1 (its position is unknown).
bool VertexMarkerCentre(const ViewState& view, const ModelStore& model, int detail, int32_t vertex,
                        int& x, int& y);

// Outline of a 5 x 5 pixel square around the vertex, with the screen's line
// operation, in the screen's colour meaning.
void DrawVertexMarker(const ViewState& view, const ModelStore& model, int detail, int32_t vertex,
                      uint32_t colour, Screen& screen);

}  // namespace qelvar
