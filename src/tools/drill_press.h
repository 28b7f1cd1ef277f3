// Punching a round vertical hole through flat geometry in the z = 0 plane.
#pragma once

#include <cstdint>

#include "model/model_store.h"

namespace qelvar {

struct DrillSettings {
  float centreX = 0, centreY = 0;  // centre of the hole
  float radius = 10;
  float step = 0.2f;  // radians between generated points of the rim
};

struct DrillOutcome {
  bool done = false;     // false: nothing was changed
  int32_t replaced = 0;  // triangles removed (inside the hole or cut into pieces)
  int32_t added = 0;     // pieces appended
};

// Removes the triangles with all corners inside the circle and replaces each
// one the circle touches by pieces around it: a triangle on each edge that has
// both ends outside and no crossing, and a fan from each outside corner along
// the rim between its edges' crossings. Triangles seen edge-on from above are
// left alone. New vertices lie at z = 0 and are welded among themselves.
// Nothing happens without triangles, or with a radius or step that is not
// positive, or a step too fine to go round the circle in 2^24 points.
DrillOutcome DrillPress(ModelStore& store, const DrillSettings& settings);

}  // namespace qelvar
