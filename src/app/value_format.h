// The fixed 7-character number display of value rows, and the arithmetic of
// the in-place number entry. Both are free of drawing so they can be checked
// alone.
#pragma once

#include <string>

namespace qelvar {

constexpr int kValueFieldWidth = 7;

// The text shown for a value: at most 7 characters, "big num" when it does not
// fit, no leading zeros, a point only when a fraction remains.
std::string FormatValueText(float value);

// What has been typed into a value row so far.
struct ValueEntry {
  float value = 0.0f;  // digits typed so far, as a whole number
  int typed = 0;       // characters typed (digits, ".", "d", "-")
  // Digits typed since the last "." (all digits while no point was typed are
  // whole digits); only digits move the point, so "d" and "-" may come anywhere.
  int fractionDigits = 0;
  bool pointTyped = false;
  bool negative = false;
  bool degrees = false;
};

// Applies one typed character. Returns false for a character the entry ignores.
bool TypeIntoEntry(ValueEntry& entry, char c);
// The number the entry stands for: the point applied, degrees converted, the
// sign applied.
float EntryResult(const ValueEntry& entry);

}  // namespace qelvar
