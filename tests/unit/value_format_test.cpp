// The 7-character number display and the arithmetic of typed numbers.
#include "app/value_format.h"

#include <gtest/gtest.h>

#include <string>

#include "render/view_state.h"

namespace qelvar {
namespace {

TEST(FormatValueText, WholeNumbersPrintPlainly) {
  EXPECT_EQ(FormatValueText(250.0f), "250");
  EXPECT_EQ(FormatValueText(0.0f), "0");
  EXPECT_EQ(FormatValueText(-0.0f), "0");
  EXPECT_EQ(FormatValueText(18.0f), "18");
  EXPECT_EQ(FormatValueText(1000000.0f), "1000000");
  EXPECT_EQ(FormatValueText(9999999.0f), "9999999");
}

TEST(FormatValueText, FractionsFillSevenCharacters) {
  EXPECT_EQ(FormatValueText(0.2f), ".200000");
  EXPECT_EQ(FormatValueText(1.5f), "1.50000");
  EXPECT_EQ(FormatValueText(0.7f), ".700000");
  EXPECT_EQ(FormatValueText(12.3f), "12.3000");
  EXPECT_EQ(FormatValueText(kPi / 4), ".785398");
  EXPECT_EQ(FormatValueText(123456.5f), "123456.");
  EXPECT_EQ(FormatValueText(1234567.5f), "1234567");
}

TEST(FormatValueText, RoundingThatCarriesKeepsSevenCharacters) {
  EXPECT_EQ(FormatValueText(0.99999994f), "1.00000");
  EXPECT_EQ(FormatValueText(9.9999995f), "10.0000");
}

TEST(FormatValueText, NegativeValuesHaveASmallerLimit) {
  EXPECT_EQ(FormatValueText(-2.0f), "-2");
  EXPECT_EQ(FormatValueText(-123456.0f), "-123456");
  EXPECT_EQ(FormatValueText(-1234567.0f), "big num");
  EXPECT_EQ(FormatValueText(-999999.0f), "-999999");
  EXPECT_EQ(FormatValueText(-0.5f), "-.50000");
  EXPECT_EQ(FormatValueText(-1.5f), "-1.5000");
}

TEST(FormatValueText, BigNumbers) {
  EXPECT_EQ(FormatValueText(12345678.0f), "big num");
  EXPECT_EQ(FormatValueText(10000000.0f), "big num");
  EXPECT_EQ(FormatValueText(1e30f), "big num");
}

TEST(FormatValueText, NeverLongerThanSeven) {
  for (float v = -200000.0f; v < 20000000.0f; v = v * -1.37f + 0.013f) {
    EXPECT_LE(FormatValueText(v).size(), 7u) << v;
    if (v > 1e7f) break;
  }
}

float Typed(const std::string& keys) {
  ValueEntry e;
  for (char c : keys) TypeIntoEntry(e, c);
  return EntryResult(e);
}

TEST(ValueEntry, Arithmetic) {
  EXPECT_FLOAT_EQ(Typed("45d"), kPi * 45.0f / 180.0f);
  EXPECT_EQ(Typed("1.5"), 1.5f);
  EXPECT_EQ(Typed("-2"), -2.0f);
  EXPECT_EQ(Typed("1.2.3"), 12.3f);  // the last point counts
  EXPECT_EQ(Typed(""), 0.0f);
  EXPECT_EQ(Typed(".2"), 0.2f);
  EXPECT_EQ(Typed("2-"), -2.0f);
  EXPECT_EQ(Typed("-2-"), -2.0f);
  EXPECT_FLOAT_EQ(Typed("1.5d"), kPi * 1.5f / 180.0f);
  EXPECT_FLOAT_EQ(Typed("1.d5"), kPi * 1.5f / 180.0f);
  EXPECT_EQ(Typed("1.-5"), -1.5f);  // a minus after the point shifts nothing
  EXPECT_EQ(Typed("1.234"), 1.234f);
}

TEST(ValueEntry, CountsTypedCharactersAndIgnoresOthers) {
  ValueEntry e;
  EXPECT_FALSE(TypeIntoEntry(e, 'x'));
  EXPECT_FALSE(TypeIntoEntry(e, ' '));
  for (char c : std::string("12.d-3")) EXPECT_TRUE(TypeIntoEntry(e, c));
  EXPECT_EQ(e.typed, 6);
}

}  // namespace
}  // namespace qelvar
