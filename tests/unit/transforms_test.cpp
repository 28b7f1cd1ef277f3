// Operations on the selection: move, duplicate and extrusion, rotate, scale,
// flip, reverse, reassign and delete.
#include "tools/transforms.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "core/option_flags.h"

namespace qelvar {
namespace {

constexpr uint8_t kSel = kSelectedBit;

struct Tri {
  int32_t a, b, c;
  uint8_t flags;
  uint16_t colour = 0;
};

ModelStore Store(const std::vector<Vec3>& vertices, const std::vector<Tri>& triangles,
                 const std::vector<Line>& lines = {}) {
  ModelStore s;
  InitModelStore(s);
  s.vertexCount = s.triangleCount = s.lineCount = 0;
  for (const Vec3& v : vertices) AppendVertex(s, v);
  for (const Tri& t : triangles) AppendTriangle(s, {{t.a, t.b, t.c}}, t.flags, t.colour);
  for (const Line& l : lines) AppendLine(s, l);
  return s;
}

ValueCells Cells() {
  ValueCells c;
  InitValueCells(c);
  return c;
}

void ExpectVertex(const ModelStore& s, int i, Vec3 want, float tolerance = 0.0f) {
  SCOPED_TRACE(i);
  EXPECT_NEAR(s.vertices[size_t(i)].x, want.x, tolerance);
  EXPECT_NEAR(s.vertices[size_t(i)].y, want.y, tolerance);
  EXPECT_NEAR(s.vertices[size_t(i)].z, want.z, tolerance);
}

std::vector<Tri> TrianglesFrom(const ModelStore& s, int32_t first) {
  std::vector<Tri> out;
  for (int32_t i = first; i < s.triangleCount; ++i) {
    const Triangle& t = s.triangles[size_t(i)];
    out.push_back({t.corner[0], t.corner[1], t.corner[2], s.triangleFlags[size_t(i)],
                   s.triangleColours[size_t(i)]});
  }
  return out;
}

::testing::AssertionResult SameTriangles(const std::vector<Tri>& got,
                                         const std::vector<Tri>& want) {
  if (got.size() != want.size())
    return ::testing::AssertionFailure() << got.size() << " triangles, not " << want.size();
  for (size_t i = 0; i < got.size(); ++i) {
    const Tri &x = got[i], &y = want[i];
    if (x.a != y.a || x.b != y.b || x.c != y.c || x.flags != y.flags || x.colour != y.colour)
      return ::testing::AssertionFailure()
             << "triangle " << i << " is (" << x.a << "," << x.b << "," << x.c << ") flags "
             << int(x.flags) << " colour " << x.colour;
  }
  return ::testing::AssertionSuccess();
}

float Component(const Vec3& v, Axis axis) {
  return axis == Axis::kX ? v.x : axis == Axis::kY ? v.y : v.z;
}

TEST(Move, OffsetOrAbsoluteTargetMovesEveryVertexOfTheSelection) {
  struct Case {
    const char* name;
    std::vector<Vec3> selected;  // vertices 0..2, the selected triangle
    bool absolute;
    Vec3 cells;
    Vec3 offset;
  };
  const Case cases[] = {
      {"above the ground", {{0, 1, 2}, {2, 3, 4}, {1, 2, 3}}, true, {0, 0, 0}, {-1, -2, -3}},
      {"resting on the ground", {{0, 1, 0}, {2, 3, 6}, {1, 2, 3}}, true, {0, 0, 0}, {-1, -2, 0}},
      {"absolute target", {{0, 1, 2}, {2, 3, 4}, {1, 2, 3}}, true, {5, 5, 5}, {4, 3, 2}},
      {"relative", {{0, 1, 0}, {2, 3, 6}, {1, 2, 3}}, false, {5, 6, 7}, {5, 6, 7}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<Vec3> vertices = c.selected;
    vertices.push_back({9, 9, 9});
    // Vertex 0 is shared with an unselected triangle: it moves all the same.
    ModelStore s = Store(vertices, {{0, 1, 2, kSel}, {0, 3, 1, 0}});
    ValueCells cells = Cells();
    cells.Real(kCellX5) = c.cells.x, cells.Real(kCellY5) = c.cells.y;
    cells.Real(kCellZ5) = c.cells.z;
    const uint32_t options = c.absolute ? 1u << kOptAbsolute : 0;
    const TransformOutcome o = MoveSelection(s, cells, options, ComputeSelectionCentre(s));
    EXPECT_TRUE(o.geometryChanged);
    for (int i = 0; i < 3; ++i) {
      const Vec3 v = c.selected[size_t(i)];
      ExpectVertex(s, i, {v.x + c.offset.x, v.y + c.offset.y, v.z + c.offset.z});
    }
    ExpectVertex(s, 3, {9, 9, 9});
  }
}

TEST(Duplicate, CopiesAndWallsInOrder) {
  const std::vector<Vec3> square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
  const uint8_t g5 = kSel | 5;
  struct Case {
    const char* name;
    std::vector<Tri> triangles;
    uint32_t options;
    int32_t newVertices;
    std::vector<Tri> appended;
    std::vector<uint8_t> sourceFlags;
  };
  const uint32_t connect = 1u << kOptConnectEdges, unselect = 1u << kOptUnselectDupe;
  const Case cases[] = {
      {"one triangle",
       {{0, 1, 2, g5, 77}},
       connect,
       3,
       {{4, 5, 6, g5, 77},
        {1, 0, 4, g5, 77},
        {4, 5, 1, g5, 77},
        {0, 2, 6, g5, 77},
        {6, 4, 0, g5, 77},
        {2, 1, 5, g5, 77},
        {5, 6, 2, g5, 77}},
       {g5}},
      {"quad: the shared diagonal gets no wall, copies unselected",
       {{0, 1, 2, g5, 7}, {0, 2, 3, g5, 8}},
       connect | unselect,
       4,
       {{4, 5, 6, 5, 7},
        {4, 6, 7, 5, 8},
        {1, 0, 4, 5, 7},
        {4, 5, 1, 5, 7},
        {2, 1, 5, 5, 7},
        {5, 6, 2, 5, 7},
        {0, 3, 7, 5, 8},
        {7, 4, 0, 5, 8},
        {3, 2, 6, 5, 8},
        {6, 7, 3, 5, 8}},
       {g5, g5}},
      {"same three vertices: the later one is unselected and gets no walls",
       {{0, 1, 2, g5}, {2, 0, 1, kSel | 6}},
       connect,
       3,
       {{4, 5, 6, g5},
        {6, 4, 5, kSel | 6},
        {1, 0, 4, g5},
        {4, 5, 1, g5},
        {0, 2, 6, g5},
        {6, 4, 0, g5},
        {2, 1, 5, g5},
        {5, 6, 2, g5}},
       {g5, 6}},
      {"without connecting, repeats stay selected",
       {{0, 1, 2, g5}, {2, 0, 1, g5}, {1, 2, 3, 5}},
       0,
       3,
       {{4, 5, 6, g5}, {6, 4, 5, g5}},
       {g5, g5, 5}},
      {"a triangle with a repeated corner is copied, shares no edge and gets no walls",
       {{0, 1, 2, g5}, {0, 1, 1, g5}, {1, 0, 1, g5}},
       connect,
       3,
       {{4, 5, 6, g5},
        {4, 5, 5, g5},
        {5, 4, 5, g5},
        {1, 0, 4, g5},
        {4, 5, 1, g5},
        {0, 2, 6, g5},
        {6, 4, 0, g5},
        {2, 1, 5, g5},
        {5, 6, 2, g5}},
       {g5, g5, g5}},
      {"a corner outside the table: not copied, no walls",
       {{0, 1, 99, g5}, {1, 2, 3, g5}},
       connect,
       4,  // the valid corners of both selected triangles
       {{5, 6, 7, g5},
        {2, 1, 5, g5},
        {5, 6, 2, g5},
        {1, 3, 7, g5},
        {7, 5, 1, g5},
        {3, 2, 6, g5},
        {6, 7, 3, g5}},
       {g5, g5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModelStore s = Store(square, c.triangles);
    ValueCells cells = Cells();
    cells.Real(kCellZ5) = 10;
    const int32_t t0 = s.triangleCount;
    const TransformOutcome o = DuplicateSelection(s, cells, c.options, ComputeSelectionCentre(s));
    EXPECT_TRUE(o.geometryChanged);
    ASSERT_EQ(s.vertexCount, 4 + c.newVertices);
    // Copies start at vertex 4 in the order of their originals.
    EXPECT_TRUE(SameTriangles(TrianglesFrom(s, t0), c.appended));
    for (int32_t i = 0; i < t0; ++i)
      EXPECT_EQ(s.triangleFlags[size_t(i)], c.sourceFlags[size_t(i)]);
    ExpectVertex(s, 4, {0, 0, 10});
  }
}

TEST(Duplicate, FullTablesGrowWithoutLosingAnything) {
  // Counts equal to the capacities (as a file load can leave them), and counts
  // that the copy and its six walls fill exactly.
  for (const int32_t room : {0, 3}) {
    SCOPED_TRACE(room);
    ModelStore s;
    InitModelStore(s);
    const int32_t v = s.vertexCount = s.vertexCapacity - room;
    const int32_t t = s.triangleCount = s.triangleCapacity - (room == 0 ? 0 : 7);
    s.vertices[size_t(v - 1)] = {1, 2, 3};
    s.triangles[size_t(t - 1)] = {{v - 3, v - 2, v - 1}};
    s.triangleFlags[size_t(t - 1)] = kSel;
    DuplicateSelection(s, Cells(), 1u << kOptConnectEdges, ComputeSelectionCentre(s));
    ASSERT_EQ(s.vertexCount, v + 3);
    ASSERT_EQ(s.triangleCount, t + 7);
    EXPECT_LT(s.vertexCount, s.vertexCapacity);  // a free slot, as after every append
    EXPECT_LT(s.triangleCount, s.triangleCapacity);
    ExpectVertex(s, v + 2, {1, 2, 3});
    EXPECT_EQ(s.triangles[size_t(t - 1)].corner[2], v - 1);
    EXPECT_EQ(s.triangles[size_t(t)].corner[0], v);
    for (int32_t i = t; i < s.triangleCount; ++i)
      for (int32_t corner : s.triangles[size_t(i)].corner) EXPECT_LT(corner, s.vertexCount);
  }
}

// The extrusion written the direct way: later repeats of a selected triangle
// are unselected, then every selected triangle is compared with every other.
void ReferenceDuplicate(ModelStore& s) {
  const int32_t v0 = s.vertexCount, t0 = s.triangleCount;
  std::vector<int32_t> copyOf(size_t(v0), -1);
  std::vector<uint8_t> used(size_t(v0), 0);
  for (int32_t i = 0; i < t0; ++i)
    if (s.triangleFlags[size_t(i)] & kSel)
      for (int32_t c : s.triangles[size_t(i)].corner) used[size_t(c)] = 1;
  for (int32_t v = 0; v < v0; ++v)
    if (used[size_t(v)]) copyOf[size_t(v)] = s.vertexCount, AppendVertex(s, s.vertices[size_t(v)]);
  auto sel = [&](int32_t i) { return (s.triangleFlags[size_t(i)] & kSel) != 0; };
  auto corner = [&](int32_t i, int k) { return s.triangles[size_t(i)].corner[k]; };
  for (int32_t i = 0; i < t0; ++i)
    if (sel(i))
      AppendTriangle(s,
                     {{copyOf[size_t(corner(i, 0))], copyOf[size_t(corner(i, 1))],
                       copyOf[size_t(corner(i, 2))]}},
                     s.triangleFlags[size_t(i)], s.triangleColours[size_t(i)]);
  auto mask = [&](int32_t i, int32_t t) {
    int m = 0;
    for (int k = 0; k < 3; ++k) {
      const int32_t c = corner(t, k);
      m += c == corner(i, 0) ? 1 : c == corner(i, 1) ? 2 : c == corner(i, 2) ? 4 : 0;
    }
    return m;
  };
  for (int32_t i = 0; i < t0; ++i)
    for (int32_t t = i + 1; t < t0; ++t)
      if (sel(i) && sel(t) && mask(i, t) == 7) s.triangleFlags[size_t(t)] &= kGroupMask;
  for (int32_t i = 0; i < t0; ++i) {
    if (!sel(i)) continue;
    int e = 0;
    for (int32_t t = 0; t < t0 && e != 7; ++t) {
      if (t == i || !sel(t)) continue;
      const int m = mask(i, t);
      e |= m == 3 ? 1 : m == 5 ? 2 : m == 6 ? 4 : 0;
    }
    const int32_t a = corner(i, 0), b = corner(i, 1), c = corner(i, 2);
    const int32_t a2 = copyOf[size_t(a)], b2 = copyOf[size_t(b)], c2 = copyOf[size_t(c)];
    const uint8_t f = s.triangleFlags[size_t(i)];
    const uint16_t col = s.triangleColours[size_t(i)];
    if (!(e & 1)) AppendTriangle(s, {{b, a, a2}}, f, col), AppendTriangle(s, {{a2, b2, b}}, f, col);
    if (!(e & 2)) AppendTriangle(s, {{a, c, c2}}, f, col), AppendTriangle(s, {{c2, a2, a}}, f, col);
    if (!(e & 4)) AppendTriangle(s, {{c, b, b2}}, f, col), AppendTriangle(s, {{b2, c2, c}}, f, col);
  }
}

TEST(Duplicate, ConnectedEdgesMatchComparingEveryPair) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    const int vertices = 4 + round % 5;
    std::vector<Vec3> vs;
    for (int i = 0; i < vertices; ++i) vs.push_back({float(i), float(i * i), 0});
    std::vector<Tri> ts;
    for (int i = 0; i < 3 + round % 23; ++i) {
      int32_t c[3];
      do {
        for (int32_t& x : c) x = int32_t(random() % unsigned(vertices));
      } while (c[0] == c[1] || c[0] == c[2] || c[1] == c[2]);
      ts.push_back({c[0], c[1], c[2], uint8_t((random() % 4 ? kSel : 0) | i % 3), uint16_t(i)});
    }
    ModelStore got = Store(vs, ts), want = Store(vs, ts);
    if (CountSelected(got) == 0) continue;
    DuplicateSelection(got, Cells(), 1u << kOptConnectEdges, {});
    ReferenceDuplicate(want);
    ASSERT_EQ(got.vertexCount, want.vertexCount);
    ASSERT_TRUE(SameTriangles(TrianglesFrom(got, 0), TrianglesFrom(want, 0)));
  }
}

TEST(RotateScaleFlip, MapPointsAboutTheirCentre) {
  constexpr float kHalfPi = 3.141593f / 2;
  struct Case {
    const char* name;
    int cellA, cellB, cellC;  // angle or scale cells
    Vec3 values, centre, from, to;
    bool scale;
  };
  const Case cases[] = {
      {"XY by pi/2",
       kCellXYAngle,
       kCellXZAngle,
       kCellYZAngle,
       {kHalfPi, 0, 0},
       {0, 0, 0},
       {1, 0, 0},
       {0, 1, 0},
       false},
      {"XZ by pi/2",
       kCellXYAngle,
       kCellXZAngle,
       kCellYZAngle,
       {0, kHalfPi, 0},
       {0, 0, 0},
       {1, 0, 0},
       {0, 0, 1},
       false},
      {"YZ by pi/2",
       kCellXYAngle,
       kCellXZAngle,
       kCellYZAngle,
       {0, 0, kHalfPi},
       {0, 0, 0},
       {0, 1, 0},
       {0, 0, -1},
       false},
      {"XY about (1, 1, 0)",
       kCellXYAngle,
       kCellXZAngle,
       kCellYZAngle,
       {kHalfPi, 0, 0},
       {1, 1, 0},
       {2, 1, 0},
       {1, 2, 0},
       false},
      {"scale, one axis mirrored",
       kCellXScale,
       kCellYScale,
       kCellZScale,
       {2, -1, 0.5f},
       {1, 1, 1},
       {3, 3, 3},
       {5, -1, 2},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModelStore s =
        Store({c.from, {7, 7, 7}, {8, 8, 8}, {9, 9, 9}}, {{0, 1, 2, kSel}, {1, 2, 3, 0}});
    ValueCells cells = Cells();
    cells.Real(c.cellA) = c.values.x, cells.Real(c.cellB) = c.values.y;
    cells.Real(c.cellC) = c.values.z;
    cells.Real(kCellX1) = c.centre.x, cells.Real(kCellY1) = c.centre.y;
    cells.Real(kCellZ1) = c.centre.z;
    const TransformOutcome o = c.scale ? ScaleSelection(s, cells) : RotateSelection(s, cells);
    EXPECT_TRUE(o.geometryChanged);
    ExpectVertex(s, 0, c.to, 1e-6f);
    ExpectVertex(s, 3, {9, 9, 9});  // not used by the selection
  }
}

TEST(RotateScaleFlip, FlipMirrorsThroughTheCentreAndTwiceRestores) {
  const std::vector<Vec3> start = {
      {0.1f, -0.3f, 0.7f}, {2.3f, 0.9f, 1.1f}, {0.7f, 4.1f, 0.2f}, {5, 5, 5}};
  for (const Axis axis : {Axis::kX, Axis::kY, Axis::kZ}) {
    SCOPED_TRACE(int(axis));
    ModelStore s = Store(start, {{0, 1, 2, kSel}, {1, 2, 3, 0}});
    const SelectionCentre centre = ComputeSelectionCentre(s);
    const float c = Component({centre.x, centre.y, centre.z}, axis);
    FlipSelection(s, axis, centre);
    EXPECT_EQ(Component(s.vertices[0], axis), (c - Component(start[0], axis)) + c);
    EXPECT_EQ(s.triangles[0].corner[1], 1);  // winding unchanged
    FlipSelection(s, axis, centre);
    for (int i = 0; i < 4; ++i) ExpectVertex(s, i, start[size_t(i)], 1e-6f);
  }
}

TEST(Delete, RemovesSelectedTrianglesAndWithRemoveVertsTheirOwnVertices) {
  // (0, 1, 2) selected shares edge 1-2 with (1, 3, 2); flag byte 127 is a real
  // unselected triangle of group 127.
  for (const bool removeVerts : {false, true}) {
    SCOPED_TRACE(removeVerts);
    ModelStore s = Store({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}},
                         {{0, 1, 2, kSel | 1}, {1, 3, 2, 2, 9}, {3, 2, 1, 127}}, {{0, 3}, {1, 3}});
    const TransformOutcome o = DeleteSelection(s, removeVerts ? 1u << kOptRemoveVerts : 0);
    EXPECT_EQ(o.message, kMsgDeleted);
    EXPECT_TRUE(o.redraw);
    if (removeVerts) {
      ASSERT_EQ(s.vertexCount, 3);  // only vertex 0 was not on the shared edge
      ExpectVertex(s, 0, {1, 0, 0});
      EXPECT_TRUE(SameTriangles(TrianglesFrom(s, 0), {{0, 2, 1, 2, 9}, {2, 1, 0, 127}}));
      ASSERT_EQ(s.lineCount, 1);  // the line from vertex 0 went with it
      EXPECT_EQ(s.lines[0].a, 0);
      EXPECT_EQ(s.lines[0].b, 2);
    } else {
      EXPECT_EQ(s.vertexCount, 4);
      EXPECT_TRUE(SameTriangles(TrianglesFrom(s, 0), {{1, 3, 2, 2, 9}, {3, 2, 1, 127}}));
      EXPECT_EQ(s.lineCount, 2);
    }
  }
}

TEST(NothingSelected, LeavesTheModelAsItWas) {
  using Op = TransformOutcome (*)(ModelStore&);
  static ValueCells cells = Cells();
  static constexpr uint32_t all = ~0u;
  struct Case {
    const char* name;
    Op op;
    int emptyModelMessage;  // flips mark even an empty model
  };
  const Case cases[] = {
      {"move", [](ModelStore& s) { return MoveSelection(s, cells, all, {}); }, kMsgNone},
      {"duplicate", [](ModelStore& s) { return DuplicateSelection(s, cells, all, {}); }, kMsgNone},
      {"rotate", [](ModelStore& s) { return RotateSelection(s, cells); }, kMsgNone},
      {"scale", [](ModelStore& s) { return ScaleSelection(s, cells); }, kMsgNone},
      {"delete", [](ModelStore& s) { return DeleteSelection(s, all); }, kMsgNone},
      {"flip X", [](ModelStore& s) { return FlipSelection(s, Axis::kX, {}); }, kMsgNothingSelected},
      {"flip Z", [](ModelStore& s) { return FlipSelection(s, Axis::kZ, {}); }, kMsgNothingSelected},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ModelStore s;
    InitModelStore(s);
    const ModelStore before = s;
    const TransformOutcome o = c.op(s);
    EXPECT_EQ(o.message, kMsgNothingSelected);
    EXPECT_FALSE(o.geometryChanged || o.redraw);
    EXPECT_EQ(s.vertexCount, before.vertexCount);
    EXPECT_EQ(s.triangleCount, before.triangleCount);
    EXPECT_EQ(0, std::memcmp(s.vertices.data(), before.vertices.data(), 9 * sizeof(Vec3)));
    s.triangleCount = 0;
    EXPECT_EQ(c.op(s).message, c.emptyModelMessage);
  }
}

}  // namespace
}  // namespace qelvar
