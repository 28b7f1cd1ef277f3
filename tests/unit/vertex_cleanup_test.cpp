// Welding of coincident vertices, against a plain all-pairs search.
#include "tools/vertex_cleanup.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <random>

#include "mesh_test_util.h"

namespace qelvar {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

bool SameBits(const Vec3& a, const Vec3& b) {
  return std::bit_cast<uint32_t>(a.x) == std::bit_cast<uint32_t>(b.x) &&
         std::bit_cast<uint32_t>(a.y) == std::bit_cast<uint32_t>(b.y) &&
         std::bit_cast<uint32_t>(a.z) == std::bit_cast<uint32_t>(b.z);
}

// The weld written the slow, obvious way: every vertex against every later
// one, then remapping and compaction.
void ReferenceWeld(ModelStore& s, int32_t first) {
  const int32_t n = s.vertexCount;
  std::vector<int32_t> rep(size_t(n), -1), newIndex(size_t(n), -1);
  for (int32_t i = first; i < n; ++i) {
    if (rep[size_t(i)] != -1) continue;
    for (int32_t j = i + 1; j < n; ++j) {
      const Vec3 &a = s.vertices[size_t(i)], &b = s.vertices[size_t(j)];
      if (a.x == b.x && a.y == b.y && a.z == b.z) rep[size_t(j)] = i;
    }
  }
  auto follow = [&](int32_t& v) {
    if (v >= first && rep[size_t(v)] != -1) v = rep[size_t(v)];
  };
  for (int32_t i = 0; i < s.triangleCount; ++i)
    for (int32_t& c : s.triangles[size_t(i)].corner) follow(c);
  for (int32_t i = 0; i < s.lineCount; ++i)
    follow(s.lines[size_t(i)].a), follow(s.lines[size_t(i)].b);
  int32_t w = first;
  for (int32_t j = first; j < n; ++j) {
    if (rep[size_t(j)] != -1) continue;
    newIndex[size_t(j)] = w;
    s.vertices[size_t(w++)] = s.vertices[size_t(j)];
  }
  s.vertexCount = w;
  auto renumber = [&](int32_t& v) {
    if (v > first) v = newIndex[size_t(v)];
  };
  for (int32_t i = 0; i < s.triangleCount; ++i)
    for (int32_t& c : s.triangles[size_t(i)].corner) renumber(c);
  for (int32_t i = 0; i < s.lineCount; ++i)
    renumber(s.lines[size_t(i)].a), renumber(s.lines[size_t(i)].b);
}

void ExpectSameModel(const ModelStore& a, const ModelStore& b) {
  ASSERT_EQ(a.vertexCount, b.vertexCount);
  for (int32_t i = 0; i < a.vertexCount; ++i)
    EXPECT_TRUE(SameBits(a.vertices[size_t(i)], b.vertices[size_t(i)])) << "vertex " << i;
  EXPECT_EQ(Triangles(a), Triangles(b));
  ASSERT_EQ(a.lineCount, b.lineCount);
  for (int32_t i = 0; i < a.lineCount; ++i) {
    EXPECT_EQ(a.lines[size_t(i)].a, b.lines[size_t(i)].a) << "line " << i;
    EXPECT_EQ(a.lines[size_t(i)].b, b.lines[size_t(i)].b) << "line " << i;
  }
}

struct WeldCase {
  const char* name;
  ModelStore model;
  int32_t first;
  int32_t vertexCount;
  std::vector<Triangle> triangles;
};

TEST(WeldVertices, MergesExactlyEqualFloats) {
  const float one = 1.0f, nextAfterOne = std::nextafter(1.0f, 2.0f);
  WeldCase cases[] = {
      {"two triangles made apart, a line on the second",
       MeshStore({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
                 {{{0, 1, 2}}, {{3, 4, 5}}}, {{5, 3}}),
       0,
       4,
       {{{0, 1, 2}}, {{1, 3, 2}}}},
      {"one bit apart",
       MeshStore({{one, 0, 0}, {nextAfterOne, 0, 0}, {one, 0, 0}}, {{{0, 1, 2}}}),
       0,
       2,
       {{{0, 1, 0}}}},
      {"signed zeros meet",
       MeshStore({{-0.0f, 0, 1}, {0.0f, -0.0f, 1}, {5, 5, 5}}, {{{1, 2, 0}}}),
       0,
       2,
       {{{0, 1, 0}}}},
      {"NaN meets nothing",
       MeshStore({{kNaN, 0, 0}, {kNaN, 0, 0}, {0, 0, 0}, {0, 0, 0}}, {{{0, 1, 3}}}),
       0,
       3,
       {{{0, 1, 2}}}},
      {"vertices before the start stay apart",
       MeshStore({{7, 7, 7}, {2, 2, 2}, {7, 7, 7}, {2, 2, 2}, {7, 7, 7}},
                 {{{0, 3, 4}}, {{1, 2, 3}}}),
       2,
       4,
       {{{0, 3, 2}}, {{1, 2, 3}}}},
  };
  for (WeldCase& c : cases) {
    SCOPED_TRACE(c.name);
    WeldVertices(c.model, c.first);
    EXPECT_EQ(c.model.vertexCount, c.vertexCount);
    EXPECT_EQ(Triangles(c.model), c.triangles);
    ModelStore again = c.model;
    EXPECT_EQ(WeldVertices(again, c.first), 0);
    ExpectSameModel(again, c.model);
  }
  EXPECT_EQ(cases[0].model.lines[0].a, 2);
  EXPECT_EQ(cases[0].model.lines[0].b, 1);
}

// Many random models over a few coordinate values (signed zeros and NaN
// among them), with random start indices: the hash must agree with the
// all-pairs search in every vertex, corner and line end.
TEST(WeldVertices, AgreesWithAllPairsSearch) {
  const float values[] = {0.0f, -0.0f, 1.0f, kNaN, std::nextafter(1.0f, 2.0f)};
  std::mt19937 random(7);
  auto pick = [&](int n) { return int32_t(random() % uint32_t(n)); };
  for (int round = 0; round < 200; ++round) {
    ModelStore s = MeshStore({}, {});
    const int32_t n = 1 + pick(60);
    for (int32_t i = 0; i < n; ++i)
      AppendVertex(s, {values[pick(5)], values[pick(5)], values[pick(2)]});
    for (int32_t i = 0; i < 40; ++i) AppendTriangle(s, {{pick(n), pick(n), pick(n)}}, 0, 0);
    for (int32_t i = 0; i < 10; ++i) AppendLine(s, {pick(n), pick(n)});
    const int32_t first = pick(n + 1);
    ModelStore expected = s;
    ReferenceWeld(expected, first);
    WeldVertices(s, first);
    ExpectSameModel(s, expected);
  }
}

}  // namespace
}  // namespace qelvar
