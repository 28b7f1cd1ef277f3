// Projection of the vertices for one frame straight into the corners the
// triangle fill uses: each vertex is rotated, divided, rounded and given its
// reciprocal depth once, however many triangles share it.
#pragma once

#include <cstdint>

#include "model/model_store.h"
#include "render/render_buffers.h"
#include "render/view_state.h"

namespace qelvar {

// Marks a corner no triangle may use: too near, behind, or not a number.
constexpr int32_t kUnusableCorner = INT32_MIN;

// The corner of a buffer point (column and row including the centre).
Corner CornerOf(float column, float row, float depth);

// Projects vertices [first, last) as ProjectVertices does into vertexScratch
// and writes their corners for the view's projection centre. `corners` must
// hold vertexCount entries.
void ProjectCorners(const ViewState& view, float hSampling, bool quickRender, ModelStore& model,
                    int32_t first, int32_t last, Corner* corners);

// The corners of every vertex from the projection already in vertexScratch.
void CornersFromScratch(const ModelStore& model, int32_t centreX, int32_t centreY,
                        std::vector<Corner>& out);

}  // namespace qelvar
