// Building triangles from vertices already in the model, picked on the
// screen: from the three nearest to the pointer, or corner by corner, or as a
// fan around a first corner.
#pragma once

#include <array>
#include <cstdint>

#include "model/model_store.h"
#include "tools/tool_state.h"
#include "tools/vertex_pick.h"

namespace qelvar {

// The three vertices nearest to the pointer among those PickNearestVertex
// would consider, nearest first. Each vertex in index order is inserted
// where it is strictly nearer, and the entries it displaces move down the
// same way (so a displaced entry goes behind one of equal distance). Slots
// without a vertex are -1.
std::array<int32_t, 3> NearestThreeVertices(const ModelStore& store, const PickPoint& at);

// A click of the auto triangle: the triangle of the three candidates, turned
// so that it runs clockwise on the screen. False, changing nothing, when a
// candidate is missing or outside the vertex table.
bool AutoTriangleClick(ModelStore& store, const std::array<int32_t, 3>& candidates, int centreX,
                       int centreY);

// A click of the manual triangle (fan = false) or fan tool on the hovered
// vertex tool.pickedVertex: takes a corner, takes one back, or completes a
// triangle. A click with no valid hovered vertex is ignored. True when a
// triangle was made.
bool ManualTriangleClick(ModelStore& store, ToolState& tool, bool fan);

// Clears every vertex the tools remember that is no longer in the table, so
// none is used after the model shrank.
void ForgetRemovedVertices(ToolState& tool, int32_t vertexCount);

}  // namespace qelvar
