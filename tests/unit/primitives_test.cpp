// The creation menus' primitives: vertex and triangle orders, reuse of the
// model's last vertex by the first point only, chained lines, refused side
// counts, full tables, and the command that connects them to the menus.
#include "tools/primitives.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "app/menu_actions.h"
#include "fake_platform.h"

namespace qelvar {
namespace {

using Tri = std::array<int32_t, 3>;

ModelStore EmptyModel() {
  ModelStore s;
  InitModelStore(s);
  ClearModel(s);
  s.defaultColour = 0x1234;
  return s;
}

ValueCells Cells() {
  ValueCells c;
  InitValueCells(c);
  return c;
}

std::vector<Tri> TrianglesFrom(const ModelStore& s, int32_t first) {
  std::vector<Tri> out;
  for (int32_t i = first; i < s.triangleCount; ++i) {
    const Triangle& t = s.triangles[i];
    out.push_back({t.corner[0], t.corner[1], t.corner[2]});
  }
  return out;
}

Vec3 Sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 Cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Right-hand normal of triangle i dotted with the direction from `from` to
// the triangle's centre: positive when the face looks away from `from`.
float Facing(const ModelStore& s, int32_t i, Vec3 from, bool ignoreZ = false) {
  const Triangle& t = s.triangles[i];
  const Vec3 a = s.vertices[t.corner[0]], b = s.vertices[t.corner[1]], c = s.vertices[t.corner[2]];
  Vec3 centre = {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, (a.z + b.z + c.z) / 3};
  Vec3 out = Sub(centre, from);
  if (ignoreZ) out.z = 0;
  return Dot(Cross(Sub(b, a), Sub(c, a)), out);
}

struct Shape {
  const char* name;
  Menu menu;
  int32_t vertices;
  std::vector<Tri> triangles;  // from an empty model
};

TEST(Primitives, OrdersAndCountsFromAnEmptyModel) {
  const Shape shapes[] = {
      {"vertex", Menu::kNewVertex, 1, {}},
      {"triangle", Menu::kNewTriangle, 3, {{0, 1, 2}}},
      {"quad", Menu::kNewQuad, 4, {{0, 1, 2}, {2, 3, 0}}},
      {"cube",
       Menu::kNewCube,
       8,
       {{0, 3, 2},
        {2, 1, 0},
        {4, 5, 6},
        {6, 7, 4},
        {0, 5, 4},
        {5, 0, 1},
        {7, 0, 4},
        {0, 7, 3},
        {1, 6, 5},
        {6, 1, 2},
        {7, 2, 3},
        {2, 7, 6}}},
      {"cylinder of 4",
       Menu::kNewCylinder,
       8,
       {{3, 1, 0}, {0, 2, 3}, {5, 3, 2}, {2, 4, 5}, {7, 5, 4}, {4, 6, 7}, {1, 7, 6}, {6, 0, 1}}},
      {"ring of 3",
       Menu::kNewRing,
       6,
       {{0, 2, 1}, {1, 2, 3}, {2, 4, 3}, {3, 4, 5}, {4, 0, 5}, {5, 0, 1}}},
      {"cone of 4", Menu::kNewCone, 5, {{0, 2, 1}, {0, 3, 2}, {0, 4, 3}, {0, 1, 4}}},
  };
  for (const Shape& shape : shapes) {
    SCOPED_TRACE(shape.name);
    ModelStore s = EmptyModel();
    ValueCells c = Cells();
    // Four distinct points; a cube of size 2; circles of radius 10 and 20, height 5.
    for (int i = 0; i < 12; ++i) c.Real(kCellX1 + i) = static_cast<float>(i * i);
    if (shape.menu == Menu::kNewCube) c.Real(kCellX1) = c.Real(kCellY1) = c.Real(kCellZ1) = 0;
    c.Real(kCellSize) = 2;
    c.Real(kCellRadius2) = 20;
    c.Real(kCellHeight) = 5;
    c.Int(kCellSides) = shape.menu == Menu::kNewRing ? 3 : 4;
    const CreateOutcome outcome = CreatePrimitive(s, shape.menu, c, 0, 42);
    EXPECT_EQ(outcome,
              shape.triangles.empty() ? CreateOutcome::kPointsOnly : CreateOutcome::kTriangles);
    EXPECT_EQ(s.vertexCount, shape.vertices);
    EXPECT_EQ(TrianglesFrom(s, 0), shape.triangles);
    for (int32_t i = 0; i < s.triangleCount; ++i) {
      EXPECT_EQ(s.triangleFlags[i], 42);  // the group, unselected
      EXPECT_EQ(s.triangleColours[i], 0x1234);
    }
  }
}

TEST(Primitives, CubeOfSizeTwoFacesOutwards) {
  ModelStore s = EmptyModel();
  ValueCells c = Cells();
  c.Real(kCellSize) = 2;
  CreatePrimitive(s, Menu::kNewCube, c, 0, 0);
  const Vec3 corners[] = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0},
                          {-1, -1, 2}, {1, -1, 2}, {1, 1, 2}, {-1, 1, 2}};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(s.vertices[i].x, corners[i].x) << i;
    EXPECT_EQ(s.vertices[i].y, corners[i].y) << i;
    EXPECT_EQ(s.vertices[i].z, corners[i].z) << i;
  }
  for (int32_t i = 0; i < 12; ++i) EXPECT_GT(Facing(s, i, {0, 0, 1}), 0.0f) << i;
}

TEST(Primitives, CircularRimsAnglesAndFacing) {
  ModelStore s = EmptyModel();
  ValueCells c = Cells();
  c.Real(kCellX1) = 3, c.Real(kCellY1) = 4, c.Real(kCellZ1) = 5;  // radius 10, 18 sides
  CreatePrimitive(s, Menu::kNewDisc, c, 0, 0);
  EXPECT_EQ(s.vertexCount, 19);
  EXPECT_EQ(s.triangleCount, 18);
  EXPECT_EQ(s.vertices[1].x, 13.0f);  // angle 0
  EXPECT_EQ(s.vertices[1].y, 4.0f);
  // The second rim point lies at -20 degrees: clockwise seen from +z.
  EXPECT_NEAR(s.vertices[2].x, 3 + 10 * std::cos(0.3490659), 1e-5);
  EXPECT_NEAR(s.vertices[2].y, 4 - 10 * std::sin(0.3490659), 1e-5);
  EXPECT_EQ(s.vertices[2].z, 5.0f);
  for (int32_t i = 0; i < 18; ++i) EXPECT_GT(Facing(s, i, {3, 4, 0}), 0.0f) << "disc " << i;
  // The cylinder's sides face the axis; its 2N vertices alternate bottom, top.
  const int32_t before = s.triangleCount;
  c.Int(kCellSides) = 6;
  CreatePrimitive(s, Menu::kNewCylinder, c, 0, 0);
  EXPECT_EQ(s.vertexCount, 19 + 12);
  EXPECT_EQ(s.vertices[19].z, 5.0f);
  EXPECT_EQ(s.vertices[20].z, 15.0f);
  EXPECT_EQ(s.vertices[20].x, s.vertices[19].x);
  for (int32_t i = before; i < s.triangleCount; ++i)
    EXPECT_LT(Facing(s, i, {3, 4, 0}, true), 0.0f) << "cylinder " << i;
}

TEST(Primitives, OnlyTheFirstPointReusesAnEqualLastVertex) {
  struct Case {
    Menu menu;
    int32_t added;      // vertices appended after a last vertex equal to point 1
    Tri firstTriangle;  // relative to the reused vertex r
  };
  // Every point of the primitive coincides (zero size, radii and height), so
  // only the first may be suppressed and the patterns must still hold.
  const Case cases[] = {
      {Menu::kNewVertex, 0, {}},          {Menu::kNewTriangle, 2, {0, 1, 2}},
      {Menu::kNewQuad, 3, {0, 1, 2}},     {Menu::kNewCube, 7, {0, 3, 2}},
      {Menu::kNewDisc, 4, {0, 2, 1}},     {Menu::kNewCone, 4, {0, 2, 1}},
      {Menu::kNewCylinder, 7, {3, 1, 0}}, {Menu::kNewRing, 7, {0, 2, 1}},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(MenuNumber(k.menu));
    ModelStore s = EmptyModel();
    AppendVertex(s, {9, 9, 9});
    AppendVertex(s, {0, 0, 0});
    ValueCells c = Cells();
    for (int i = 0; i < 12; ++i) c.Real(kCellX1 + i) = 0;
    c.Real(kCellSize) = c.Real(kCellRadius1) = c.Real(kCellRadius2) = c.Real(kCellHeight) = 0;
    c.Int(kCellSides) = 4;
    CreatePrimitive(s, k.menu, c, 0, 0);
    EXPECT_EQ(s.vertexCount, 2 + k.added);
    if (s.triangleCount == 0) continue;
    const Triangle& t = s.triangles[0];
    EXPECT_EQ((Tri{t.corner[0] - 1, t.corner[1] - 1, t.corner[2] - 1}), k.firstTriangle);
    for (int32_t i = 0; i < s.triangleCount; ++i)
      for (int32_t v : s.triangles[i].corner) EXPECT_TRUE(v >= 1 && v < s.vertexCount) << i;
  }
}

TEST(Primitives, ChainedLinesShareVerticesAndVertexTwiceAddsOne) {
  ModelStore s = EmptyModel();
  ValueCells c = Cells();
  const uint32_t chain = 1u << kOptPlotChain;
  const float ends[][3] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 2}};
  for (const auto& e : ends) {
    c.Real(kCellX2) = e[0], c.Real(kCellY2) = e[1], c.Real(kCellZ2) = e[2];
    EXPECT_EQ(CreatePrimitive(s, Menu::kNewLine, c, chain, 0), CreateOutcome::kPointsOnly);
  }
  EXPECT_EQ(s.vertexCount, 4);
  ASSERT_EQ(s.lineCount, 3);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(s.lines[i].a, i);
    EXPECT_EQ(s.lines[i].b, i + 1);
  }
  EXPECT_EQ(c.Real(kCellZ1), 2.0f);  // the next line starts at the last end
  // Without the chain the start point stays; the vertex menu adds a point once.
  CreatePrimitive(s, Menu::kNewLine, c, 0, 0);
  EXPECT_EQ(s.lines[3].a, 3);
  EXPECT_EQ(c.Real(kCellZ1), 2.0f);
  c.Real(kCellX1) = 7;
  CreatePrimitive(s, Menu::kNewVertex, c, 0, 0);
  CreatePrimitive(s, Menu::kNewVertex, c, 0, 0);
  EXPECT_EQ(s.vertexCount, 6);
  // At an offset from point 1; the same offset again adds nothing.
  c.Real(kCellX5) = 0.5f, c.Real(kCellZ5) = -2;
  EXPECT_EQ(CreateAtOffset(s, c), CreateOutcome::kPointsOnly);
  CreateAtOffset(s, c);
  ASSERT_EQ(s.vertexCount, 7);
  EXPECT_EQ(s.vertices[6].x, 7.5f);
  EXPECT_EQ(s.vertices[6].y, 1.0f);
  EXPECT_EQ(s.vertices[6].z, 0.0f);
  EXPECT_EQ(s.triangleCount, 0);
}

TEST(Primitives, FewerThanOneSideCreatesNothing) {
  for (const Menu menu : {Menu::kNewDisc, Menu::kNewCone, Menu::kNewCylinder, Menu::kNewRing}) {
    for (const int32_t sides : {0, -3}) {
      ModelStore s = EmptyModel();
      ValueCells c = Cells();
      c.Int(kCellSides) = sides;
      EXPECT_EQ(CreatePrimitive(s, menu, c, 0, 0), CreateOutcome::kNothing);
      EXPECT_EQ(s.vertexCount, 0);
      EXPECT_EQ(s.triangleCount, 0);
    }
  }
  ModelStore s = EmptyModel();
  ValueCells c = Cells();
  EXPECT_EQ(CreatePrimitive(s, Menu::kSelection, c, 0, 0), CreateOutcome::kNothing);
}

TEST(Primitives, ExactlyFullTablesGrowWithoutLosingTriangles) {
  const Menu menus[] = {Menu::kNewVertex, Menu::kNewLine,     Menu::kNewTriangle,
                        Menu::kNewQuad,   Menu::kNewCube,     Menu::kNewDisc,
                        Menu::kNewCone,   Menu::kNewCylinder, Menu::kNewRing};
  for (const Menu menu : menus) {
    SCOPED_TRACE(MenuNumber(menu));
    ModelStore s = EmptyModel();
    // Full as a loader may leave them: count equal to capacity.
    s.vertexCount = s.vertexCapacity;
    s.triangleCount = s.triangleCapacity;
    s.lineCount = s.lineCapacity;
    for (int32_t i = 0; i < s.triangleCount; ++i) s.triangles[i] = Triangle{{i % 7, 1, 2}};
    s.triangleFlags[s.triangleCount - 1] = 127;
    const int32_t oldTriangles = s.triangleCount, oldVertices = s.vertexCount;
    ValueCells c = Cells();
    c.Real(kCellX1) = -1;  // differs from the last vertex
    c.Real(kCellSize) = 1;
    CreatePrimitive(s, menu, c, 0, 3);
    EXPECT_GT(s.vertexCount, oldVertices);
    EXPECT_LE(s.vertexCount, s.vertexCapacity);
    EXPECT_LE(s.triangleCount, s.triangleCapacity);
    EXPECT_LE(s.lineCount, s.lineCapacity);
    for (int32_t i = 0; i < oldTriangles; ++i) ASSERT_EQ(s.triangles[i].corner[0], i % 7) << i;
    EXPECT_EQ(s.triangleFlags[oldTriangles - 1], 127);
    for (int32_t i = oldTriangles; i < s.triangleCount; ++i) {
      EXPECT_EQ(s.triangleFlags[i], 3);
      for (int32_t v : s.triangles[i].corner) EXPECT_TRUE(v >= oldVertices && v < s.vertexCount);
    }
  }
}

TEST(Primitives, CreateRowUsesTheMenuItWasChosenIn) {
  FakePlatform platform;
  Modeller m(platform);
  SetUpModeller(m);
  InitValueCells(m.cells);
  m.menus.partGroup[MenuNumber(Menu::kCreatePrimitive)] = 7;
  m.menus.partGroup[MenuNumber(Menu::kNewCube)] = 9;  // not the creation group
  const int32_t triangles = m.model.triangleCount, vertices = m.model.vertexCount;
  m.model.normalsDirty = false;
  m.menus.chosenMenu = MenuNumber(Menu::kNewCube);
  RunCommand(m, CommandNumber(Command::kCreate));
  EXPECT_EQ(m.model.triangleCount, triangles + 12);
  EXPECT_EQ(m.model.triangleFlags[triangles], 7);
  EXPECT_TRUE(m.model.normalsDirty);
  EXPECT_TRUE(m.flags.redrawRequested);
  // Points only: a redraw, no normals; "Create at offset" likewise.
  m.model.normalsDirty = false;
  m.flags.redrawRequested = false;
  m.cells.Real(kCellX1) = 5;
  m.menus.chosenMenu = MenuNumber(Menu::kNewVertex);
  RunCommand(m, CommandNumber(Command::kCreate));
  EXPECT_EQ(m.model.vertexCount, vertices + 9);
  EXPECT_FALSE(m.model.normalsDirty);
  EXPECT_TRUE(m.flags.redrawRequested);
  m.cells.Real(kCellX5) = 1;
  m.menus.chosenMenu = MenuNumber(Menu::kVertEdit);
  RunCommand(m, CommandNumber(Command::kCreateAtOffset));
  EXPECT_EQ(m.model.vertices[m.model.vertexCount - 1].x, 6.0f);
  EXPECT_EQ(m.flags.statusMessage, 0);
}

}  // namespace
}  // namespace qelvar
