// Whole-model selection changes and the selection centre.
#include "tools/selection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tools/vertex_pick.h"

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

TEST(PickNearestVertex, NearestInWholePixelsWithinTheDepthRange) {
  struct Case {
    const char* what;
    std::vector<ScratchVertex> scratch;  // offsets from the centre (100, 50), depth
    int32_t previous, expected;
  };
  const float nan = std::nanf("");
  // The mouse is at (103, 54): offsets (3, 4) from the centre.
  const Case cases[] = {
      {"nearest wins", {{0, 0, 5}, {3, 5, 5}, {3, 4, 5}}, -1, 2},
      {"a tie keeps the lower index", {{4, 4, 5}, {2, 4, 5}, {3, 3, 5}}, -1, 0},
      // Half a pixel off rounds to 0 (ties to even), nearer than one pixel.
      {"rounding ties to even", {{3, 5, 5}, {3.5f, 4, 5}}, -1, 1},
      {"behind or too near", {{3, 4, 0.999f}, {3, 4, -2}, {9, 9, 1}}, -1, 2},
      {"beyond drawdepth", {{3, 4, 1000.5f}, {9, 9, 1000}}, -1, 1},
      {"not a number", {{nan, 4, 5}, {3, 4, nan}, {4, 4, 5}}, -1, 2},
      {"none qualifies", {{3, 4, 0.5f}, {3, 4, 2000}}, 7, 7},
      // 3163 pixels away is 10004569 squared pixels: not below 10000000.
      {"too far off", {{3166, 4, 5}}, 7, 7},
      {"just near enough", {{3165, 4, 5}, {-1e30f, 4, 5}}, 7, 0},
      {"no vertices", {}, 3, 3},
  };
  // Vertices that never count go in front, so that every case also runs
  // through the blocks of four and through the rest after them.
  for (const int32_t pad : {0, 1, 5}) {
    for (const Case& c : cases) {
      ModelStore s;
      InitModelStore(s);
      std::vector<ScratchVertex> scratch(static_cast<size_t>(pad), ScratchVertex{3, 4, 0});
      scratch.insert(scratch.end(), c.scratch.begin(), c.scratch.end());
      s.vertexCount = static_cast<int32_t>(scratch.size());
      for (size_t i = 0; i < scratch.size(); ++i) s.vertexScratch[i] = scratch[i];
      const int32_t expected = c.expected == c.previous ? c.previous : c.expected + pad;
      EXPECT_EQ(PickNearestVertex(s, {100, 50, 103, 54, 1000.0f}, c.previous), expected)
          << c.what << ", " << pad << " in front";
    }
  }
}

}  // namespace
}  // namespace qelvar
