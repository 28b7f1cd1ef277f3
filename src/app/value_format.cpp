// Number display and number entry of value rows.
#include "app/value_format.h"

#include <cmath>
#include <cstdint>

#include "render/view_state.h"

namespace qelvar {
namespace {

int64_t PowerOfTen(int n) {
  int64_t p = 1;
  while (n-- > 0) p *= 10;
  return p;
}

std::string DigitsOrEmpty(int64_t whole) {
  return whole == 0 ? std::string() : std::to_string(whole);
}

}  // namespace

std::string FormatValueText(float value) {
  // Work on the exact value of the float in double precision: the float's 24
  // bits times at most 10^6 stay exact, so the digits shown are those of the
  // value rounded at the last place shown. Adding place values up in single
  // precision would drift (1.5 would come out as 1.49999).
  double v = value;
  double limit = 1000000.0;
  std::string sign;
  if (v < 0) {
    v = -v;
    limit = 100000.0;
    sign = "-";
  }
  if (!(v < 10.0 * limit)) return "big num";  // also catches NaN
  const auto whole = static_cast<int64_t>(std::floor(v));
  if (static_cast<double>(whole) == v) {
    const std::string digits = whole == 0 ? "0" : std::to_string(whole);
    return sign + digits;
  }
  std::string head = sign + DigitsOrEmpty(whole);
  int places = kValueFieldWidth - static_cast<int>(head.size()) - 1;
  for (;;) {
    // The point is shown even when no fraction digit fits after it.
    if (places <= 0) return (places == 0 ? head + "." : head).substr(0, kValueFieldWidth);
    const int64_t scale = PowerOfTen(places);
    const auto scaled = static_cast<int64_t>(std::nearbyint(v * static_cast<double>(scale)));
    const int64_t roundedWhole = scaled / scale;
    const std::string roundedHead = sign + DigitsOrEmpty(roundedWhole);
    if (roundedHead.size() != head.size()) {
      // Rounding carried into a new whole digit: one fraction place less.
      head = roundedHead;
      --places;
      continue;
    }
    std::string fraction = std::to_string(scaled % scale);
    fraction.insert(0, static_cast<size_t>(places) - fraction.size(), '0');
    return roundedHead + "." + fraction;
  }
}

bool TypeIntoEntry(ValueEntry& e, char c) {
  if (c >= '0' && c <= '9') {
    e.value = e.value * 10.0f + static_cast<float>(c - '0');
    if (e.pointTyped) ++e.fractionDigits;
  } else if (c == 'd') {
    e.degrees = true;
  } else if (c == '.') {
    e.pointTyped = true;  // the last point typed counts
    e.fractionDigits = 0;
  } else if (c == '-') {
    e.negative = true;
  } else {
    return false;
  }
  ++e.typed;
  return true;
}

float EntryResult(const ValueEntry& e) {
  float v = e.value;
  // One division by 10^n rounds once; dividing by ten n times would round at
  // every step.
  if (e.fractionDigits > 0) v /= static_cast<float>(PowerOfTen(e.fractionDigits));
  if (e.degrees) v = kPi * v / 180.0f;
  return e.negative ? -v : v;
}

}  // namespace qelvar
