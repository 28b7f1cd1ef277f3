// The triangle pass into the colour and depth buffers: scan-line fill with a
// strict depth test, wireframe, backface culling, hidden selections, the
// depth-tested line, and the selection mode behind rectangle selection.
#pragma once

#include <cstdint>
#include <vector>

#include "core/screen_geometry.h"
#include "model/model_store.h"
#include "render/render_buffers.h"
#include "render/shading.h"
#include "render/view_state.h"

namespace qelvar {

// Corners are clamped to this many pixels from the buffer origin so that the
// edge arithmetic stays within 32 bits; only views far outside any usable
// range reach it.
constexpr int32_t kCoordinateLimit = 1 << 28;

// A point in the buffer: real column and row including the projection centre,
// and camera depth.
struct BufferPoint {
  float column, row, depth;
};

// Sizes both buffers to the render buffer and sets the full clip rectangle.
void InitRenderBuffers(RenderBuffers& buffers, const ScreenGeometry& geometry);
// Colour 0 and depth 1 / drawDepth over the whole buffer.
void ClearBuffers(RenderBuffers& buffers, float drawDepth);

// Fills one triangle whose corners all have depth >= 1 (corner order as in
// the triangle's index triple) with `colour`.
void FillTriangle(RenderBuffers& buffers, BufferPoint a, BufferPoint b, BufferPoint c,
                  uint32_t colour);

// Depth-tested line of single pixels between two buffer points; draws nothing
// when both ends round to the same pixel distance 0.
void DrawLine3D(RenderBuffers& buffers, BufferPoint p0, BufferPoint p1, uint32_t colour);
void DrawLine3D(const RenderTarget& target, BufferPoint p0, BufferPoint p1, uint32_t colour);

// The triangles of one band of the frame in index order, filled (or in
// wireframe outlined) within `band`'s clip rectangle, from `corners` (one per
// vertex, for the view's centre, the usable ones inside `cornerBounds`). Any
// split of a frame into bands of rows gives the same pixels as one band.
void DrawTriangleBand(const RenderTarget& band, const ShadeSetup& shade, const ModelStore& model,
                      const Table<Corner>& corners, const PixelRect& cornerBounds,
                      uint32_t options, int32_t centreX, int32_t centreY);

// Filled triangles [first, last) in index order within the target's clip
// rectangle. Records nothing in the target: returns a rectangle holding every
// pixel written (the usable corners' bounds inside the clip rectangle; empty
// when nothing was drawn).
PixelRect FillTriangleRange(const RenderTarget& target, const ShadeSetup& shade,
                            const ModelStore& model, const Table<Corner>& corners,
                            const PixelRect& cornerBounds, bool hideSelected, int32_t first,
                            int32_t last);

enum class DrawMode { kNormal, kSelection };

// Every triangle in index order with the projection in vertexScratch. In
// selection mode the colour is the triangle index and, unless visible-parts
// selection is on, triangles whose filled area reaches into the clip rectangle
// are marked (or unmarked) instead of drawn. Selection always works on the
// filled triangles, also in wireframe: a rectangle inside a triangle's outline
// selects it, and a selection never comes out empty just because of wireframe.
void DrawTriangles(DrawMode mode, const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                   uint32_t options, int contrast);

// Selects (or with "Unselect" unselects) the triangles under the rectangle
// [left, right] x [top, bottom] of the last frame's projection. The colour
// buffer is invalid afterwards: the caller must re-render.
void SelectionPass(const ViewState& view, ModelStore& model, RenderBuffers& buffers,
                   uint32_t options, float drawDepth, int left, int top, int right, int bottom);

}  // namespace qelvar
