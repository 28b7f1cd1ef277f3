// The vertex nearest to the mouse on the screen, from the last projection.
#pragma once

#include <cstdint>

#include "model/model_store.h"

namespace qelvar {

// Where the mouse is and which depths count: the projection centre and the
// mouse in render-buffer pixels, and the far limit ("drawdepth").
struct PickPoint {
  int centreX, centreY;
  int mouseX, mouseY;
  float drawDepth;
};

// The index of the vertex whose projection (vertexScratch) lies nearest to the
// mouse, in squared whole pixels below 10000000, among vertices at depths 1 to
// drawDepth; the lower index wins a tie. `previous` when no vertex qualifies.
int32_t PickNearestVertex(const ModelStore& store, const PickPoint& at, int32_t previous);

}  // namespace qelvar
