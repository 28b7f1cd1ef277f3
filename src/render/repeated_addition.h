// Repeated single-precision addition done at once: the renderer steps depths
// by adding the same increment pixel after pixel, and must land on exactly the
// value that many additions give even where it skips pixels nobody sees.
#pragma once

#include <cstdint>

namespace qelvar {

// The value `value` reaches after `count` executions of `value += step` in
// single precision (rounding to nearest, ties to even), bit for bit. Within a
// binade every addition moves by the same number of units in the last place,
// so the work grows with the binades crossed, not with count.
float AddRepeatedly(float value, float step, int64_t count);

}  // namespace qelvar
