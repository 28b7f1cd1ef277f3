// Whole-model selection changes and the selection centre.
#include <gtest/gtest.h>

#include "tools/selection.h"

namespace qelvar {
namespace {

TEST(Selection, InvertClearAndCountKeepGroups) {
  ModelStore s;
  InitModelStore(s);
  s.triangleFlags[0] = 5;
  s.triangleFlags[1] = 128 | 7;
  InvertSelection(s);
  EXPECT_EQ(s.triangleFlags[0], 128 | 5);
  EXPECT_EQ(s.triangleFlags[1], 7);
  EXPECT_EQ(CountSelected(s), 5);
  EXPECT_EQ(s.triangleFlags[6], 0);  // slots past the count are untouched
  ClearSelection(s);
  EXPECT_EQ(CountSelected(s), 0);
  EXPECT_EQ(s.triangleFlags[0], 5);
  SelectAll(s);
  EXPECT_EQ(CountSelected(s), 6);
}

TEST(Selection, CentreOfSelectedBoundingBox) {
  ModelStore s;
  InitModelStore(s);
  SelectionCentre none = ComputeSelectionCentre(s);
  EXPECT_EQ(none.x, 0.0f);
  EXPECT_EQ(none.minZ, 1000000000.0f);
  s.triangleFlags[2] = 128;  // (0, 1, 4): x -10..10, y -10..0, z 0..20
  SelectionCentre c = ComputeSelectionCentre(s);
  EXPECT_EQ(c.x, 0.0f);
  EXPECT_EQ(c.y, -5.0f);
  EXPECT_EQ(c.z, 10.0f);
  EXPECT_EQ(c.minZ, 0.0f);
}

}  // namespace
}  // namespace qelvar
