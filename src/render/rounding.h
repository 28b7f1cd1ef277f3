// Float to integer conversion by rounding to nearest, ties to even, without a
// library call: the hot loops convert six coordinates per triangle.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#else
#include <cmath>
#endif

namespace qelvar {

// Uses the current rounding mode, which the program never changes from
// round-to-nearest-even. NaN and values beyond the range give INT64_MIN.
inline int64_t RoundToInt64(float v) {
#if defined(__SSE2__)
  return _mm_cvtss_si64(_mm_set_ss(v));
#else
  return std::llrint(v);
#endif
}

// For values known to fit 32 bits (out of range gives INT32_MIN).
inline int32_t RoundToInt(float v) {
#if defined(__SSE2__)
  return _mm_cvtss_si32(_mm_set_ss(v));
#else
  return static_cast<int32_t>(std::lrint(v));
#endif
}

}  // namespace qelvar
