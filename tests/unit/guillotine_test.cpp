// The guillotine: split layouts, plane rounding, dropped pieces and the
// selection it leaves.
#include "tools/guillotine.h"

#include <gtest/gtest.h>

#include <set>

#include "mesh_test_util.h"

namespace qelvar {
namespace {

bool Equal(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// One triangle with vertex 0 alone on its side of z = 0 (at z = -2, or 2 when
// `loneAbove`) and vertices 1 and 2 on the other (at z = 6 or -6), listed with
// vertex 0 as corner a, b or c.
struct SplitCase {
  Triangle triangle;
  bool loneAbove;
  std::vector<Triangle> pieces;  // triangle i, then the two appended
  Vec3 firstSplit;               // vertices 3 and 4; 5 and 6 hold the other
};

TEST(Guillotine, SplitsAtTheLoneCornerInEdgeOrder) {
  const Vec3 toB{1, 0, 0}, toC{0, 1, 0};  // where 0-1 and 0-2 meet z = 0
  const SplitCase cases[] = {
      {{{0, 1, 2}}, false, {{{4, 1, 2}}, {{0, 3, 5}}, {{6, 4, 2}}}, toB},
      {{{2, 0, 1}}, false, {{{2, 6, 1}}, {{0, 5, 3}}, {{4, 6, 2}}}, toC},
      {{{1, 2, 0}}, false, {{{1, 2, 6}}, {{0, 5, 3}}, {{4, 6, 2}}}, toC},
      {{{0, 1, 2}}, true, {{{4, 1, 2}}, {{0, 3, 5}}, {{6, 4, 2}}}, toB},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.triangle.corner[0] << c.triangle.corner[1] << c.loneAbove);
    const float lone = c.loneAbove ? 2 : -2, other = c.loneAbove ? -6 : 6;
    ModelStore s = MeshStore({{0, 0, lone}, {4, 0, other}, {0, 4, other}}, {c.triangle});
    s.triangleFlags[0] = 5;
    s.triangleColours[0] = 0x1234;
    const GuillotineOutcome out = Guillotine(s, CutAxis::kZ, 0.4f);
    EXPECT_EQ(out.cut, 1);
    EXPECT_EQ(Triangles(s), c.pieces);
    ASSERT_EQ(s.vertexCount, 7);
    const Vec3 second = Equal(c.firstSplit, toB) ? toC : toB;
    for (int k : {3, 4}) EXPECT_TRUE(Equal(s.vertices[k], c.firstSplit)) << k;
    for (int k : {5, 6}) EXPECT_TRUE(Equal(s.vertices[k], second)) << k;
    const uint8_t loneFlag = c.loneAbove ? 128 : 0, otherFlag = c.loneAbove ? 0 : 128;
    EXPECT_EQ(s.triangleFlags[0], otherFlag | 5);  // keeps its group
    EXPECT_EQ(s.triangleFlags[1], loneFlag);
    EXPECT_EQ(s.triangleFlags[2], otherFlag);
    EXPECT_EQ(s.triangleColours[2], 0x1234);
  }
}

TEST(Guillotine, PlaneIsTheRoundedValue) {
  const struct {
    CutAxis axis;
    float value, plane;
  } cases[] = {{CutAxis::kZ, 0.4f, 0},
               {CutAxis::kZ, 2.5f, 2},
               {CutAxis::kZ, 3.5f, 4},
               {CutAxis::kX, -0.5f, 0},
               {CutAxis::kY, 1.6f, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    // Corner 0 at -8 on the axis, the others at 8: every split lands on the plane.
    auto at = [&](float u, float w, float t) {
      return c.axis == CutAxis::kX   ? Vec3{t, u, w}
             : c.axis == CutAxis::kY ? Vec3{u, t, w}
                                     : Vec3{u, w, t};
    };
    ModelStore s = MeshStore({at(0, 0, -8), at(4, 0, 8), at(0, 4, 8)}, {{{0, 1, 2}}});
    Guillotine(s, c.axis, c.value);
    ASSERT_EQ(s.vertexCount, 7);
    for (int k = 3; k < 7; ++k) {
      const Vec3& v = s.vertices[k];
      EXPECT_EQ(c.axis == CutAxis::kX ? v.x : c.axis == CutAxis::kY ? v.y : v.z, c.plane) << k;
    }
  }
}

TEST(Guillotine, CornerOnThePlaneLeavesNoDegeneratePiece) {
  // Corner 0 lies on the plane (so above), the others below: both pieces at
  // that corner collapse to a point and go; the rest stays below.
  ModelStore s = MeshStore({{0, 0, 2}, {4, 0, -2}, {0, 4, -2}}, {{{0, 1, 2}}});
  const GuillotineOutcome out = Guillotine(s, CutAxis::kZ, 2.0f);
  EXPECT_EQ(out.removed, 2);
  ASSERT_EQ(Triangles(s), (std::vector<Triangle>{{{4, 1, 2}}}));
  EXPECT_TRUE(Equal(s.vertices[4], s.vertices[0]));
  EXPECT_EQ(s.triangleFlags[0], 0);
}

TEST(Guillotine, SidesShareNoVertexAndOnlyTheUpperIsSelected) {
  ModelStore s;
  InitModelStore(s);                     // a pyramid, apex at z = 20 over a base at z = 0
  AppendTriangle(s, {{5, 6, 7}}, 3, 0);  // wholly above, not selected
  s.triangleFlags[0] = 128 | 2;          // wholly below, selected
  Guillotine(s, CutAxis::kZ, 10.0f);
  EXPECT_EQ(s.triangleCount, 7 + 4 * 2);
  std::set<int32_t> above, below;
  for (int32_t i = 0; i < s.triangleCount; ++i) {
    const bool selected = s.triangleFlags[i] & kSelectedBit;
    for (const int32_t v : s.triangles[i].corner) {
      (selected ? above : below).insert(v);
      if (selected)
        EXPECT_GE(s.vertices[v].z, 10) << i;
      else
        EXPECT_LE(s.vertices[v].z, 10) << i;
    }
  }
  for (const int32_t v : above) EXPECT_EQ(below.count(v), 0u) << v;
  EXPECT_EQ(s.triangleFlags[0], 2);
  EXPECT_EQ(s.triangleFlags[6], 128 | 3);
}

}  // namespace
}  // namespace qelvar
