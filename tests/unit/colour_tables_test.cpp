// Interface colours per depth and the 16-colour dither table.
#include <gtest/gtest.h>

#include "app/colour_tables.h"

namespace qelvar {
namespace {

TEST(ColourTables, EightBitIndicesMatchTheTable) {
  const auto c = InterfaceColoursForDepth(8);
  const uint32_t expected[11] = {0, 81, 162, 243, 1, 178, 226, 163, 234, 219, 195};
  for (int i = 0; i < 11; ++i) EXPECT_EQ(c[i], expected[i]) << "entry " << i;
  EXPECT_EQ(InterfaceColoursForDepth(32)[5], 0x80C080u);
  EXPECT_EQ(InterfaceColoursForDepth(4)[10], 5u);
}

TEST(ColourTables, DitherPairsPickTheNearestSumFirstInLoopOrder) {
  const auto pairs = ComputeDitherPairs();
  EXPECT_EQ(pairs[0], 0x0000);  // black + black
  // White (252, 252, 252): bright white (124 each) twice gives 248, the nearest.
  EXPECT_EQ(pairs[511], 0x0F0F);
  // Pure red level 7 (252, 0, 0): brightness adds 40 to every channel, so red
  // (84, 0, 0) plus bright red (124, 40, 40) beats two bright reds.
  EXPECT_EQ(pairs[7 * 64], 0x0C04);
  // Level 1 grey (36 each): black + dark grey (40 each) at distance 48;
  // the pair (0, 8) comes before (8, 0), so 8 is the second index.
  EXPECT_EQ(pairs[1 * 64 + 1 * 8 + 1], 0x0800);
}

}  // namespace
}  // namespace qelvar
