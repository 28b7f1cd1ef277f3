// The drill press: pieces around a hole inside one triangle, triangles inside
// the hole, triangles it must leave alone, and welding across neighbours.
#include "tools/drill_press.h"

#include <gtest/gtest.h>

#include <cmath>

#include "mesh_test_util.h"

namespace qelvar {
namespace {

float DistanceFrom(const Vec3& v, float x, float y) { return std::hypot(v.x - x, v.y - y); }

ModelStore Square() {
  return MeshStore({{-10, -10, 0}, {10, -10, 0}, {10, 10, 0}, {-10, 10, 0}},
                   {{{0, 1, 2}}, {{0, 2, 3}}});
}

TEST(DrillPress, HoleInsideOneTriangleLeavesThreeEdgePieces) {
  ModelStore s = Square();
  s.triangleFlags[0] = 128 | 3;
  s.triangleColours[0] = 0x4321;
  const DrillOutcome out = DrillPress(s, {4, -4, 1, 0.2f});
  EXPECT_EQ(out.replaced, 1);
  ASSERT_EQ(Triangles(s),
            (std::vector<Triangle>{{{0, 2, 3}}, {{0, 1, 4}}, {{2, 0, 5}}, {{1, 2, 6}}}));
  ASSERT_EQ(s.vertexCount, 7);
  for (int k = 4; k < 7; ++k) {
    EXPECT_NEAR(DistanceFrom(s.vertices[k], 4, -4), 1.0f, 1e-5f) << k;
    EXPECT_EQ(s.vertices[k].z, 0.0f);
  }
  // Each piece reaches from its edge to the side of the hole facing it.
  EXPECT_LT(s.vertices[4].y, -4.9f);                               // bottom edge
  EXPECT_TRUE(s.vertices[5].x < 3.5f && s.vertices[5].y > -3.5f);  // diagonal
  EXPECT_GT(s.vertices[6].x, 4.9f);                                // right edge
  EXPECT_EQ(s.triangleFlags[0], 0);
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(s.triangleFlags[i], 128 | 3) << i;
    EXPECT_EQ(s.triangleColours[i], 0x4321) << i;
  }
}

TEST(DrillPress, TriangleWithAllCornersInsideIsRemoved) {
  ModelStore s = MeshStore(
      {{0, 0, 0}, {0.5f, 0, 0}, {0, 0.5f, 3}, {100, 100, 0}, {101, 100, 0}, {100, 101, 0}},
      {{{0, 1, 2}}, {{3, 4, 5}}});
  DrillPress(s, {0, 0, 1, 0.2f});
  EXPECT_EQ(Triangles(s), (std::vector<Triangle>{{{3, 4, 5}}}));
  EXPECT_EQ(s.vertexCount, 6);
}

TEST(DrillPress, LeavesAloneWhatItMustNotCut) {
  struct Case {
    const char* name;
    ModelStore model;
    DrillSettings drill;
  } cases[] = {
      {"a vertical wall",
       MeshStore({{0, 0, 0}, {0, 0, 5}, {3, 0, 0}}, {{{0, 1, 2}}}),
       {1, 0, 2, 0.2f}},
      {"a far triangle with an edge on a line through the centre",
       MeshStore({{5, 0, 0}, {6, 1, 0}, {7, 0, 0}}, {{{0, 1, 2}}}),
       {0, 0, 1, 0.2f}},
      {"a step that never reaches the end", Square(), {4, -4, 1, 0}},
      {"a step below zero", Square(), {4, -4, 1, -0.2f}},
      {"no radius", Square(), {4, -4, 0, 0.2f}},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ModelStore before = c.model;
    DrillPress(c.model, c.drill);
    EXPECT_EQ(Triangles(c.model), Triangles(before));
    EXPECT_EQ(c.model.vertexCount, before.vertexCount);
  }
}

// A diamond split along its horizontal diagonal, drilled at the centre with a
// radius that crosses all five edges but leaves every corner outside: each
// corner gets a fan, and the crossings on the shared diagonal, made once by
// each triangle, become one vertex each.
TEST(DrillPress, CrossingsSharedByNeighboursAreWelded) {
  ModelStore s =
      MeshStore({{-1, 0, 0}, {0, -1, 0}, {1, 0, 0}, {0, 1, 0}}, {{{0, 1, 2}}, {{0, 2, 3}}});
  const DrillOutcome out = DrillPress(s, {0, 0, 0.8f, 0.2f});
  EXPECT_EQ(out.replaced, 2);
  EXPECT_EQ(s.triangleCount, out.added);
  for (int32_t j = 4; j < s.vertexCount; ++j) {
    EXPECT_NEAR(DistanceFrom(s.vertices[j], 0, 0), 0.8f, 1e-5f) << j;
    for (int32_t k = 4; k < j; ++k) {
      const Vec3 &a = s.vertices[j], &b = s.vertices[k];
      EXPECT_FALSE(a.x == b.x && a.y == b.y && a.z == b.z) << j << " and " << k;
    }
  }
  for (const float side : {-1.0f, 1.0f}) {
    std::vector<int32_t> onDiagonal;
    for (int32_t j = 4; j < s.vertexCount; ++j)
      if (s.vertices[j].y == 0 && s.vertices[j].x * side > 0) onDiagonal.push_back(j);
    ASSERT_EQ(onDiagonal.size(), 1u) << side;
    int users = 0;
    for (const Triangle& t : Triangles(s))
      for (const int32_t v : t.corner) users += v == onDiagonal[0];
    EXPECT_EQ(users, 2) << "one fan on each side of the diagonal, at " << side;
  }
}

// With both tables one slot short of full, the pieces make them grow in the
// middle of the operation: the result must be that of roomy tables.
TEST(DrillPress, PiecesSurviveTableGrowth) {
  ModelStore roomy =
      MeshStore({{-1, 0, 0}, {0, -1, 0}, {1, 0, 0}, {0, 1, 0}}, {{{0, 1, 2}}, {{0, 2, 3}}});
  ModelStore full = roomy;
  while (full.vertexCount + 1 < full.vertexCapacity) AppendVertex(full, {50, 50, 0});
  while (full.triangleCount + 1 < full.triangleCapacity) AppendTriangle(full, {{4, 4, 4}}, 0, 0);
  const int32_t padVertices = full.vertexCount - 4, padTriangles = full.triangleCount - 2;
  DrillPress(roomy, {0, 0, 0.8f, 0.2f});
  DrillPress(full, {0, 0, 0.8f, 0.2f});
  ASSERT_EQ(full.vertexCount - padVertices, roomy.vertexCount);
  ASSERT_EQ(full.triangleCount - padTriangles, roomy.triangleCount);
  for (int32_t j = 4; j < roomy.vertexCount; ++j) {
    const Vec3 &a = roomy.vertices[j], &b = full.vertices[j + padVertices];
    EXPECT_TRUE(a.x == b.x && a.y == b.y && a.z == b.z) << j;
  }
  for (int32_t i = 0; i < roomy.triangleCount; ++i)
    for (int k = 0; k < 3; ++k) {
      const int32_t v = roomy.triangles[i].corner[k];
      EXPECT_EQ(full.triangles[i + padTriangles].corner[k], v < 4 ? v : v + padVertices) << i;
    }
}

}  // namespace
}  // namespace qelvar
