// Face normals, shade values, the light, and the colour commands.
#include "render/shading.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "render/render_view.h"
#include "render_test_support.h"
#include "tools/model_colours.h"
#include "tools/tool_dispatch.h"

namespace qelvar {
namespace {

TEST(Normals, UnitCrossProductOrZero) {
  ModelStore m = test::Model({{0, 0, 0}, {2, 0, 0}, {0, 3, 0}, {5, 5, 5}},
                             {{{0, 1, 2}}, {{0, 2, 1}}, {{0, 0, 1}}, {{0, 1, 9}}, {{3, 3, 3}}});
  ComputeNormals(m);
  const auto expect = [&](int i, float x, float y, float z) {
    EXPECT_EQ(m.triangleNormals[i].x, x) << i;
    EXPECT_EQ(m.triangleNormals[i].y, y) << i;
    EXPECT_EQ(m.triangleNormals[i].z, z) << i;
  };
  expect(0, 0, 0, 1);
  expect(1, 0, 0, -1);
  expect(2, 0, 0, 0);  // two equal corners
  expect(3, 0, 0, 0);  // a corner outside the vertex table
  expect(4, 0, 0, 0);
}

// Many faces at once (blocks and lanes, and a tail; and a model big enough to
// be shared among three render threads) give the bits of the formula applied face by face
// (any NaN for a NaN): random, huge, tiny, infinite and NaN coordinates, flat
// faces and corners outside the table.
TEST(Normals, EveryFaceAsIfComputedAlone) {
  std::mt19937 rng(5);
  const float specials[] = {0.0f, -0.0f, 1e-42f, 3e38f, -3e38f, INFINITY, NAN, 1.0f};
  std::vector<Vec3> vertices(300);
  for (Vec3& v : vertices) {
    float* c = &v.x;
    for (int i = 0; i < 3; ++i)
      c[i] = rng() % 4 ? std::ldexp(float(rng() % 2001) - 1000.0f, int(rng() % 40) - 20)
                       : specials[rng() % 8];
  }
  for (const size_t faces : {size_t{1031}, size_t{3} << 18 | 77}) {
    std::vector<Triangle> triangles(faces);
    for (Triangle& t : triangles)
      for (int32_t& c : t.corner)
        c = rng() % 50 ? int32_t(rng() % 300) : int32_t(rng() % 400) - 50;
    ModelStore m = test::Model(vertices, triangles);
    RenderBuffers buffers;
    SetRenderThreads(buffers, 3);
    ComputeNormals(m, buffers);
    size_t wrong = 0;
    for (size_t i = 0; i < triangles.size(); ++i) {
      const int32_t* k = triangles[i].corner;
      Vec3 expected{0, 0, 0};
      if (k[0] >= 0 && k[0] < 300 && k[1] >= 0 && k[1] < 300 && k[2] >= 0 && k[2] < 300) {
        const Vec3 a = vertices[size_t(k[0])], b = vertices[size_t(k[1])];
        const Vec3 c = vertices[size_t(k[2])];
        const Vec3 u{b.x - a.x, b.y - a.y, b.z - a.z}, v{c.x - b.x, c.y - b.y, c.z - b.z};
        const Vec3 n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
        float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        if (length == 0.0f) length = 1000000.0f;
        expected = {n.x / length, n.y / length, n.z / length};
      }
      const float* want = &expected.x;
      const float* got = &m.triangleNormals[i].x;
      for (int axis = 0; axis < 3; ++axis) {
        // Which NaN the arithmetic gives is not defined.
        const bool same = std::isnan(want[axis]) ? std::isnan(got[axis])
                                                 : std::memcmp(want + axis, got + axis, 4) == 0;
        if (!same && wrong++ < 10) ADD_FAILURE() << faces << " faces: face " << i << " axis " << axis;
      }
    }
    EXPECT_EQ(wrong, 0u) << faces << " faces";
  }
}

// Shade of a triangle with the given normal under an unrotated view.
uint32_t Shade(Vec3 normal, uint32_t options = kStartOptions, uint8_t flags = 0,
               uint16_t colour = 0, int contrast = 160, ViewState view = ViewState{}) {
  ModelStore m = test::Model({{0, 0, 0}}, {{{0, 0, 0}}});
  m.triangleNormals[0] = normal;
  m.triangleFlags[0] = flags;
  m.triangleColours[0] = colour;
  if (view.angleYZ == 4.0f) view.cosYZ = 1, view.sinYZ = 0;
  uint32_t pixel = 0xDEAD;
  if (!ShadeTriangle(view, m, options, contrast, 0, pixel)) return 0xFFFFFFFF;
  return pixel;
}

TEST(Shading, ContrastShiftsAllChannels) {
  EXPECT_EQ(Shade({0, 0, -1}), 0x5050FFu);        // head-on: +80, blue bounded at 255
  EXPECT_EQ(Shade({0, 0, 1}), 0x0000A0u);         // back face: -80
  EXPECT_EQ(Shade({0, 0, 0}), 0x0000A0u);         // degenerate: intensity 0
  EXPECT_EQ(Shade({0, 0.6f, -0.8f}), 0x3030FFu);  // I = 0.8: +48, blue bounded
  EXPECT_EQ(
      Shade({0, -0.6f, -0.8f}, kStartOptions | 1u << kOptModelColours, 0, ComposeColour(1, 2, 3)),
      0x384048u);                                                   // (8, 16, 24) + 48
  EXPECT_EQ(Shade({0, 0, -1}, kStartOptions, 0, 0, 0), 0x0000F0u);  // contrast 0: base colour
}

TEST(Shading, BaseColours) {
  const uint32_t modelColours = kStartOptions | 1u << kOptModelColours;
  const uint16_t grey = ComposeColour(10, 10, 10);
  EXPECT_EQ(Shade({0, 0, -1}, modelColours, 0, grey), 0xA0A0A0u);   // (80, 80, 80) + 80
  EXPECT_EQ(Shade({0, 0, -1}, kStartOptions, 0, grey), 0x5050FFu);  // option off: blue
  // Selected: red-based whatever the model colour.
  EXPECT_EQ(Shade({0, 0, 1}, modelColours, kSelectedBit, grey), 0x900000u);
  EXPECT_EQ(Shade({0, 0, -1}, modelColours, kSelectedBit | 3, 0xFFFF), 0xFF5050u);
}

TEST(Shading, BackfaceCullingDropsOnlyFacesTurnedAway) {
  const uint32_t culling = kStartOptions | 1u << kOptBackface;
  EXPECT_EQ(Shade({0, 0, 1}, culling), 0xFFFFFFFFu);
  EXPECT_EQ(Shade({0, 0, 0}, culling), 0x0000A0u);
  EXPECT_EQ(Shade({1, 0, 0}, culling), 0x0000A0u);  // edge-on is drawn
}

TEST(Shading, LightTurnsOnlyWithoutQuickRender) {
  ViewState v;
  v.cosYZ = 1, v.sinYZ = 0;
  v.cosLightYZ = -1, v.sinLightYZ = 0;  // light from behind
  const uint32_t full = kStartOptions & ~(1u << kOptQuickRender);
  EXPECT_EQ(Shade({0, 0, -1}, full, 0, 0, 160, v), 0x0000A0u);
  EXPECT_EQ(Shade({0, 0, 1}, full, 0, 0, 160, v), 0x5050FFu);
  EXPECT_EQ(Shade({0, 0, -1}, kStartOptions, 0, 0, 160, v), 0x5050FFu);
  // Culling looks at the face before the light turns.
  EXPECT_EQ(Shade({0, 0, 1}, full | 1u << kOptBackface, 0, 0, 160, v), 0xFFFFFFFFu);
}

ModelStore Selected(int total, int selectedEvery) {
  std::vector<Triangle> t(total, Triangle{{0, 0, 0}});
  ModelStore m = test::Model({{0, 0, 0}}, t);
  for (int i = 0; i < total; ++i) {
    m.triangleColours[i] = 0x7FFF;
    if (i % selectedEvery == 0) m.triangleFlags[i] = kSelectedBit;
  }
  return m;
}

int Red(uint16_t c) { return c >> 10 & 31; }
int Green(uint16_t c) { return c >> 5 & 31; }
int Blue(uint16_t c) { return c & 31; }

TEST(Colours, RainbowOverTwelveSelected) {
  ModelStore m = Selected(24, 2);  // every other triangle
  EXPECT_TRUE(ApplyRainbow(m));
  const int expected[12][3] = {{30, 2, 2}, {30, 16, 2}, {30, 30, 2}, {16, 30, 2},
                               {2, 30, 2}, {2, 30, 16}, {2, 30, 30}, {2, 16, 30},
                               {2, 2, 30}, {16, 2, 30}, {30, 2, 30}, {30, 2, 16}};
  for (int k = 0; k < 12; ++k) {
    const uint16_t c = m.triangleColours[2 * k];
    EXPECT_EQ(Red(c), expected[k][0]) << k;
    EXPECT_EQ(Green(c), expected[k][1]) << k;
    EXPECT_EQ(Blue(c), expected[k][2]) << k;
    EXPECT_EQ(m.triangleColours[2 * k + 1], 0x7FFF);  // unselected untouched
  }
}

TEST(Colours, RainbowLeftoversContinueLastRampBoundedAtZero) {
  ModelStore m = Selected(11, 1);  // S = 1, five leftovers in the last ramp
  ApplyRainbow(m);
  EXPECT_EQ(m.triangleColours[5], ComposeColour(30, 2, 30));
  EXPECT_EQ(m.triangleColours[6], ComposeColour(30, 2, 2));
  EXPECT_EQ(m.triangleColours[7], ComposeColour(30, 2, 0));  // 30 - 56 bounded
  EXPECT_EQ(m.triangleColours[10], ComposeColour(30, 2, 0));
}

TEST(Colours, RainbowWithFewSelectedGivesDistinctHues) {
  ModelStore m = Selected(3, 1);
  ApplyRainbow(m);
  EXPECT_EQ(m.triangleColours[0], ComposeColour(30, 2, 2));
  EXPECT_EQ(m.triangleColours[1], ComposeColour(30, 30, 2));
  EXPECT_EQ(m.triangleColours[2], ComposeColour(2, 30, 2));
  ModelStore none = Selected(4, 1);
  ClearTriangleFlags(none);
  EXPECT_FALSE(ApplyRainbow(none));
  EXPECT_EQ(none.triangleColours[0], 0x7FFF);
}

TEST(Colours, ChangeColourStoresMaskedWordInSelected) {
  ModelStore m = Selected(4, 2);
  ValueCells cells;
  cells.Int(kCellChangeRed) = 33, cells.Int(kCellChangeGreen) = 5, cells.Int(kCellChangeBlue) = 31;
  const bool changed = ApplyChangeColour(m, cells);
  EXPECT_EQ(m.triangleColours[0], ComposeColour(1, 5, 31));
  EXPECT_EQ(m.triangleColours[1], 0x7FFF);
  EXPECT_EQ(m.triangleColours[2], ComposeColour(1, 5, 31));
  EXPECT_TRUE(changed);
}

TEST(MouseLight, LeftDragTurnsLightFromPreviousAnglesUntilARightClick) {
  const ScreenGeometry g = test::Geometry(800, 600);
  ViewState v;
  v.previousLightXY = 1.0f, v.previousLightYZ = 0.5f;
  ValueCells cells;
  cells.Real(kCellLightXY) = 9;
  ToolState tool;
  EnterTool(tool, ToolMode::kMouseLight);
  ModelStore model;
  RenderBuffers buffers;
  uint32_t options = kStartOptions;
  ToolContext c{tool, model, v, cells, options, g, buffers};
  ToolOutcome out = ToolMouseStep(c, {.dx = 400, .dy = 300, .buttons = 1});
  EXPECT_FLOAT_EQ(cells.Real(kCellLightXY), 1.0f + kPi);
  EXPECT_FLOAT_EQ(cells.Real(kCellLightYZ), 0.5f - kPi);
  EXPECT_TRUE(out.redraw);
  out = ToolMouseStep(c, {.dx = 10, .dy = 10});  // no button: angles stay
  EXPECT_FLOAT_EQ(cells.Real(kCellLightXY), 1.0f + kPi);
  EXPECT_TRUE(out.redraw);
  out = ToolMouseStep(c, {.dx = 10, .dy = 10, .buttons = 1, .rightClick = true});  // ends
  EXPECT_EQ(tool.mode, ToolMode::kNone);
  EXPECT_EQ(out.screenDirty, 1);
  EXPECT_FLOAT_EQ(cells.Real(kCellLightXY), 1.0f + kPi);
}

}  // namespace
}  // namespace qelvar
