// Cutting the whole model along an axis-aligned plane at a whole coordinate.
#pragma once

#include <cstdint>

#include "model/model_store.h"

namespace qelvar {

enum class CutAxis : uint8_t { kX = 0, kY = 1, kZ = 2 };

struct GuillotineOutcome {
  bool done = false;    // false: the tables could not grow, the model is unchanged
  int32_t cut = 0;      // triangles the plane passed through
  int32_t removed = 0;  // pieces dropped because two corners coincided
};

// Cuts every triangle at `position` rounded to the nearest whole number (ties
// to even) on `axis`. A corner at or above the plane is above. Each cut
// triangle becomes three pieces with split points of their own on each side,
// so the two sides share no vertex; pieces with two coincident consecutive
// corners are dropped. Afterwards exactly the triangles above are selected;
// new pieces are in part group 0.
GuillotineOutcome Guillotine(ModelStore& store, CutAxis axis, float position);

}  // namespace qelvar
