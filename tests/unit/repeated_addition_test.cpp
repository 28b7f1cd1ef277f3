// Repeated single-precision addition in closed form against the plain loop,
// bit for bit, on random values and on the awkward ones: ties, binade edges,
// subnormals, sign changes, overflow, zeros and non-finite values.
#include "render/repeated_addition.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

namespace qelvar {
namespace {

float Loop(float value, float step, int64_t count) {
  for (int64_t i = 0; i < count; ++i) value += step;
  return value;
}

void ExpectSame(float value, float step, int64_t count) {
  const float expected = Loop(value, step, count), got = AddRepeatedly(value, step, count);
  ASSERT_EQ(std::bit_cast<uint32_t>(got), std::bit_cast<uint32_t>(expected))
      << "value " << value << " step " << step << " count " << count << ": " << got << " vs "
      << expected;
}

TEST(RepeatedAddition, MatchesTheLoopOnRandomValues) {
  std::mt19937 rng(2024);
  std::uniform_real_distribution<float> mantissa(-1.0f, 1.0f);
  std::uniform_int_distribution<int> scale(-30, 30), steps(0, 3000), offset(-40, 40);
  for (int i = 0; i < 20000; ++i) {
    const float value = std::ldexp(mantissa(rng), scale(rng));
    // Steps near the value's own size and far below it, some exact half units.
    float step = std::ldexp(mantissa(rng), scale(rng) + offset(rng) / 4);
    if (i % 5 == 0) {
      int e;
      std::frexp(value, &e);
      step = std::ldexp(static_cast<float>(offset(rng)) + 0.5f, e - 24);
    }
    ExpectSame(value, step, steps(rng));
  }
}

TEST(RepeatedAddition, EdgesOfTheNumberLine) {
  const float tiny = std::numeric_limits<float>::denorm_min();
  const float smallest = std::numeric_limits<float>::min();
  const float largest = std::numeric_limits<float>::max();
  const float inf = std::numeric_limits<float>::infinity(), nan = std::nanf("");
  ExpectSame(1.0f, -0.1f, 25);                    // through zero to negative values
  ExpectSame(smallest * 3, -tiny * 7, 3000000);   // down through the subnormals
  ExpectSame(-smallest, tiny, 10000000);          // up from below through zero
  ExpectSame(largest / 2, largest / 7, 10);       // overflow to infinity
  ExpectSame(1.0f, std::ldexp(1.0f, -24), 100);   // exact half units: ties stay
  ExpectSame(1.0f, std::ldexp(3.0f, -24), 1000);  // ties alternate towards even
  ExpectSame(1.0f, std::ldexp(1.0f, -25), 100);   // below half a unit: no change
  ExpectSame(std::ldexp(1.0f, 20), -std::ldexp(1.0f, -5), 100000);  // binade edge from above
  ExpectSame(-0.0f, 0.0f, 3);
  ExpectSame(0.0f, -0.0f, 3);
  ExpectSame(0.0f, 0.25f, 7);
  ExpectSame(5.0f, 0.0f, 9);
  ExpectSame(inf, -1.0f, 4);
  ExpectSame(1.0f, -inf, 4);
  ExpectSame(inf, -inf, 4);
  ExpectSame(nan, 1.0f, 4);
  ExpectSame(2.0f, nan, 4);
  ExpectSame(3.0f, 1.0f, 0);
}

TEST(RepeatedAddition, HugeCountsTakeNoTime) {
  // 2^40 additions: a loop would not finish; the closed form crosses a few binades.
  const float far = AddRepeatedly(1.0f, 1.0f, int64_t{1} << 40);
  EXPECT_EQ(far, 16777216.0f);  // 2^24 + 1 rounds back to 2^24 from there on
  EXPECT_EQ(AddRepeatedly(0.5f, 0.001f, int64_t{1} << 40), 32768.0f);
}

}  // namespace
}  // namespace qelvar
