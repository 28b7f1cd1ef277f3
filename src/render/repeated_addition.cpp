// Repeated single-precision addition in closed form, binade by binade.
#include "render/repeated_addition.h"

#include <algorithm>
#include <cmath>

namespace qelvar {
namespace {

// The upper end of a binade in units in its last place (24-bit significands).
constexpr int64_t kBinadeTop = int64_t{1} << 24;
// Below 2^-125 the spacing of single floats is 2^-149 all the way down to 0.
constexpr int kLowestUlpExponent = -149;

}  // namespace

float AddRepeatedly(float value, float step, int64_t count) {
  while (count > 0) {
    if (!std::isfinite(value) || !std::isfinite(step) || value == 0.0f || step == 0.0f) {
      const float next = value + step;
      --count;
      // A zero step or a value gone infinite or NaN stays as it is now.
      if (step == 0.0f || !std::isfinite(next)) return next;
      value = next;
      continue;
    }
    // Work on the magnitude; rounding to nearest is symmetric in the sign.
    const bool negative = value < 0.0f;
    const double magnitude = std::fabs(static_cast<double>(value));
    const double increment = negative ? -static_cast<double>(step) : static_cast<double>(step);
    int exponent;
    std::frexp(magnitude, &exponent);  // magnitude in [2^(exponent-1), 2^exponent)
    const int ulpExponent = std::max(exponent - 24, kLowestUlpExponent);
    // n: the magnitude in units; the grid of multiples of one unit holds every
    // float from `low` units up to kBinadeTop units.
    const auto n = static_cast<int64_t>(std::ldexp(magnitude, -ulpExponent));
    const int64_t low = ulpExponent == kLowestUlpExponent ? 0 : kBinadeTop / 2;
    const double q = std::ldexp(increment, -ulpExponent);  // the step in units, exact
    int64_t inside = 0;  // additions that stay on this grid, each moving by `units`
    int64_t units = 0;
    if (std::fabs(q) < static_cast<double>(kBinadeTop)) {
      const double whole = std::floor(q), fraction = q - whole;
      units = static_cast<int64_t>(whole);
      bool constant = true;
      if (fraction > 0.5) {
        ++units;
      } else if (fraction == 0.5) {
        // A tie goes to the even neighbour: from an even n every step is the same.
        constant = n % 2 == 0;
        if (units % 2 != 0) ++units;
      }
      if (constant) {
        if (units > 0) {
          inside = (kBinadeTop - 1 - n) / units;
        } else if (units < 0) {
          inside = n > low ? (n - low - 1) / -units : 0;
        } else if (q >= 0.0 || n > low) {
          return value;  // every addition rounds back to the value itself
        }
      }
    }
    const int64_t steps = std::min(inside, count);
    if (steps > 0) {
      const auto moved =
          static_cast<float>(std::ldexp(static_cast<double>(n + steps * units), ulpExponent));
      value = negative ? -moved : moved;
      count -= steps;
    }
    if (count > 0) {
      // One addition as written takes the value over the edge of the grid.
      const float next = value + step;
      --count;
      if (next == value) return next;  // it rounds back and always will
      value = next;
    }
  }
  return value;
}

}  // namespace qelvar
