// Camera start values, projection, angle wrapping, camera keys, mouse look,
// preset views and the way back from a pixel to a model point.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "platform/platform.h"
#include "render/camera.h"
#include "render/corner_projection.h"
#include "render_test_support.h"

namespace qelvar {
namespace {

using test::Geometry;

TEST(View, StartValuesFollowBufferSize) {
  for (int detail : {0, 1, 2}) {
    ViewState v;
    InitView(v, Geometry(800, 600, detail));
    EXPECT_EQ(v.scaling, 400.0f) << detail;
    EXPECT_EQ(v.vOffset, 0.1875f);
    EXPECT_EQ(v.angleYZ, 4.0f);
    EXPECT_EQ(v.distance, 250.0f);
    EXPECT_EQ(v.previousScaling, v.scaling);
    EXPECT_EQ(v.previousAngleYZ, 4.0f);
  }
  ViewState odd;
  InitView(odd, Geometry(321, 200));  // 160 / 1, then (200 / 8) / 160
  EXPECT_EQ(odd.scaling, 160.0f);
  EXPECT_EQ(odd.vOffset, 25.0f / 160.0f);
}

TEST(View, PrepareViewCentreRoundsHalvesToEven) {
  ViewState v;
  const ScreenGeometry g = Geometry(800, 600);
  InitView(v, g);
  ValueCells cells = test::DefaultCells();
  PrepareView(v, g, MakeFrameSettings(kStartOptions, cells, false));
  EXPECT_EQ(v.centreX, 400);
  EXPECT_EQ(v.centreY, 375);
  v.hOffset = 0.50125f;  // 600.5
  PrepareView(v, g, MakeFrameSettings(kStartOptions, cells, false));
  EXPECT_EQ(v.centreX, 600);
  v.hOffset = 0.50375f;  // 601.5
  PrepareView(v, g, MakeFrameSettings(kStartOptions, cells, false));
  EXPECT_EQ(v.centreX, 602);
  cells.Real(kCellLightYZ) = kPi;
  PrepareView(v, g, MakeFrameSettings(kStartOptions, cells, false));
  EXPECT_FLOAT_EQ(v.cosLightYZ, -1.0f);
}

struct Projection {
  ScreenGeometry geometry = Geometry(800, 600);
  ViewState view;
  ModelStore model = test::Model({{10, 20, 0}, {0, 0, -249}, {0, 0, -249.5f}, {-50, 30, 70}}, {});

  Projection() {
    InitView(view, geometry);
    view.angleYZ = 0;
    PrepareView(view, geometry, MakeFrameSettings(kStartOptions, test::DefaultCells(), false));
  }
  ScratchVertex At(int i) const { return model.vertexScratch[i]; }
};

TEST(View, ProjectionDividesByDepthAndScalesColumnsBySampling) {
  Projection p;
  ProjectVertices(p.view, 1.0f, true, p.model);
  EXPECT_EQ(p.At(0).column, 16.0f);
  EXPECT_EQ(p.At(0).row, 32.0f);
  EXPECT_EQ(p.At(0).depth, 250.0f);
  EXPECT_EQ(p.At(1).depth, 1.0f);  // exactly 1 is projected
  EXPECT_EQ(p.At(1).column, 0.0f);
  EXPECT_EQ(p.At(2).depth, 0.5f);
  ProjectVertices(p.view, 2.0f, true, p.model);
  EXPECT_EQ(p.At(0).column, 32.0f);
  EXPECT_EQ(p.At(0).row, 32.0f);
  p.view.eyeShift = -15;  // camera-space X shift before the division
  ProjectVertices(p.view, 1.0f, true, p.model);
  EXPECT_EQ(p.At(0).column, 400.0f * -5.0f / 250.0f);
}

TEST(View, RotationOrderAndDirection) {
  Projection p;
  p.view.angleXY = kPi / 2;
  PrepareView(p.view, p.geometry, MakeFrameSettings(kStartOptions, test::DefaultCells(), false));
  const Vec3 r = TransformPoint(p.view, true, {10, 0, 0});
  EXPECT_NEAR(r.x, 0, 1e-4);
  EXPECT_NEAR(r.y, 10, 1e-4);  // X-Y turn first: +x goes to +y
  p.view.angleXY = 0, p.view.angleYZ = kPi / 2, p.view.angleXZ = kPi / 2;
  PrepareView(p.view, p.geometry, MakeFrameSettings(kStartOptions, test::DefaultCells(), false));
  const Vec3 q = TransformPoint(p.view, false, {0, 10, 0});
  EXPECT_NEAR(q.y, 0, 1e-4);  // Y-Z turn: +y goes to -z, then X-Z turns -z to +x
  EXPECT_NEAR(q.x, 10, 1e-4);
  EXPECT_NEAR(q.z, 0, 1e-4);
  const Vec3 quick = TransformPoint(p.view, true, {0, 10, 0});
  EXPECT_NEAR(quick.z, -10, 1e-4);  // no X-Z turn in quick render
}

TEST(View, QuickLoopEqualsGeneralLoopAndIgnoresXZ) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<float> coordinate(-300, 300), angle(0, 6.28f);
  ModelStore model;
  InitModelStore(model);
  ClearModel(model);
  for (int i = 0; i < 2000; ++i)
    AppendVertex(model, {coordinate(rng), coordinate(rng), coordinate(rng)});
  ModelStore general = model;
  const ScreenGeometry g = Geometry(800, 600);
  ViewState v;
  InitView(v, g);
  for (int round = 0; round < 5; ++round) {
    v.angleXY = angle(rng), v.angleYZ = angle(rng), v.angleXZ = 0;
    PrepareView(v, g, MakeFrameSettings(kStartOptions, test::DefaultCells(), false));
    ProjectVertices(v, 1.0f, false, general);
    v.angleXZ = angle(rng);  // shown, but without effect in quick render
    PrepareView(v, g, MakeFrameSettings(kStartOptions, test::DefaultCells(), false));
    ProjectVertices(v, 1.0f, true, model);
    for (int i = 0; i < model.vertexCount; ++i) {
      const ScratchVertex a = model.vertexScratch[i], b = general.vertexScratch[i];
      ASSERT_EQ(a.depth, b.depth) << i;
      if (a.depth >= 1.0f) {
        ASSERT_EQ(a.column, b.column) << i;
        ASSERT_EQ(a.row, b.row) << i;
      }
    }
  }
}

// The frame's projection works four vertices at a time; it must write what
// the one-vertex projection writes, bit for bit, and the corners the fill
// would make from it, and the same bounds of the usable corners, for odd
// counts, vertices behind the viewer, huge and non-finite coordinates.
TEST(View, CornerProjectionEqualsProjectionThenCorners) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<float> coordinate(-400, 400), angle(0, 6.28f);
  const float odd[] = {1e30f, -1e30f, INFINITY, NAN, 0.0f, -0.0f, 250.0f, -249.0f};
  ModelStore model;
  InitModelStore(model);
  ClearModel(model);
  for (int i = 0; i < 203; ++i) {
    Vec3 p{coordinate(rng), coordinate(rng), coordinate(rng)};
    if (i % 9 == 0) p.z = odd[(i / 9) % 8];
    if (i % 13 == 0) p.x = odd[(i / 13) % 8];
    AppendVertex(model, p);
  }
  const ScreenGeometry g = Geometry(800, 600);
  ViewState v;
  InitView(v, g);
  for (int round = 0; round < 6; ++round) {
    v.angleXY = angle(rng), v.angleYZ = angle(rng), v.angleXZ = angle(rng);
    v.eyeShift = round % 2 ? 15.0f : 0.0f;
    PrepareView(v, g, MakeFrameSettings(kStartOptions, test::DefaultCells(), false));
    const bool quick = round < 3;
    ModelStore plain = model;
    ProjectVertices(v, 2.0f, quick, plain);
    Table<Corner> expected, corners(static_cast<size_t>(model.vertexCount));
    const PixelRect expectedBounds = CornersFromScratch(plain, v.centreX, v.centreY, expected);
    const int32_t split = 5 + round;  // two ranges, as two threads would take them
    const PixelRect bounds =
        UniteRects(ProjectCorners(v, 2.0f, quick, model, 0, split, corners.data()),
                   ProjectCorners(v, 2.0f, quick, model, split, model.vertexCount, corners.data()));
    EXPECT_EQ(bounds.left, expectedBounds.left);
    EXPECT_EQ(bounds.top, expectedBounds.top);
    EXPECT_EQ(bounds.right, expectedBounds.right);
    EXPECT_EQ(bounds.bottom, expectedBounds.bottom);
    for (int i = 0; i < model.vertexCount; ++i) {
      ASSERT_EQ(std::memcmp(&model.vertexScratch[i], &plain.vertexScratch[i], 12), 0) << i;
      ASSERT_EQ(std::memcmp(&corners[i], &expected[i], sizeof(Corner)), 0) << i;
    }
  }
}

TEST(View, NormaliseWrapsOnceAndBoundsScaling) {
  ViewState v;
  v.angleXY = 0.0f - kPi / 90.0f;
  EXPECT_TRUE(NormaliseView(v));
  EXPECT_EQ(v.angleXY, kTwoPi - kPi / 90.0f);
  EXPECT_EQ(std::nearbyint(180.0f * v.angleXY / kPi), 358.0f);
  v.angleXY = kTwoPi;      // exactly 2 pi stays
  v.angleYZ = 3 * kTwoPi;  // wrapped once only
  v.scaling = 0.25f;
  NormaliseView(v);
  EXPECT_EQ(v.angleXY, kTwoPi);
  EXPECT_EQ(v.angleYZ, 3 * kTwoPi - kTwoPi);
  EXPECT_EQ(v.scaling, 1.0f);
}

TEST(View, NormaliseRequestsRedrawOnlyWhenViewChanged) {
  ViewState v;
  EXPECT_FALSE(NormaliseView(v));
  v.hOffset = 3;  // pans are not compared
  EXPECT_FALSE(NormaliseView(v));
  v.distance = 200;
  EXPECT_TRUE(NormaliseView(v));
}

TEST(Camera, KeysRotatePanDollyAndZoom) {
  ViewState v;
  v.scaling = v.previousScaling = 10;
  constexpr auto kChanged = CameraKeyEffect::kViewChanged;
  constexpr auto kNotCamera = CameraKeyEffect::kNotCameraKey;
  EXPECT_EQ(CameraKey(v, ExtendedKey(kScanRight), true), kChanged);
  EXPECT_EQ(v.angleXY, kPi / 8);
  EXPECT_EQ(CameraKey(v, ExtendedKey(kScanDown), false), kChanged);
  EXPECT_EQ(v.angleYZ, 4.0f - kPi / 90);
  EXPECT_EQ(CameraKey(v, "}", false), kChanged);  // always the large step
  EXPECT_EQ(v.angleXZ, kPi / 8);
  EXPECT_EQ(CameraKey(v, "[", false), kChanged);
  EXPECT_EQ(v.angleXZ, kPi / 8 - kPi / 90);
  EXPECT_EQ(CameraKey(v, "w", false), kChanged);
  EXPECT_EQ(v.vOffset, -0.5f);
  EXPECT_EQ(CameraKey(v, "D", false), kChanged);
  EXPECT_EQ(v.hOffset, 5.0f);
  EXPECT_EQ(CameraKey(v, ExtendedKey(kScanPageUp), false), kChanged);
  EXPECT_EQ(v.distance, 250.0f * 0.9f);
  EXPECT_EQ(CameraKey(v, ExtendedKey(kScanEnd), false), kChanged);
  EXPECT_EQ(v.scaling, 10.0f * 1.1f);
  v.scaling = 1.05f;
  EXPECT_NE(CameraKey(v, ExtendedKey(kScanHome), false), kNotCamera);
  EXPECT_EQ(v.scaling, 1.0f);
  EXPECT_EQ(CameraKey(v, "x", false), kNotCamera);
  EXPECT_EQ(CameraKey(v, "\x1b", false), kNotCamera);  // Escape is handled by the loop
  EXPECT_EQ(CameraKey(v, ExtendedKey(kScanF1), false), kNotCamera);
}

TEST(Camera, ResetKeepsAnglesAndZeroesPan) {
  ViewState v;
  const ScreenGeometry g = Geometry(640, 480);
  InitView(v, g);
  v.angleXY = 1, v.distance = 3, v.scaling = 7, v.hOffset = 2, v.vOffset = 9;
  ResetView(v, g);
  EXPECT_EQ(v.angleXY, 1.0f);
  EXPECT_EQ(v.distance, 250.0f);
  EXPECT_EQ(v.scaling, 320.0f);
  EXPECT_EQ(v.vOffset, 0.0f);
}

TEST(Camera, PresetViews) {
  ViewState v;
  v.angleXZ = 2, v.distance = 99;
  ApplyPresetView(v, PresetView::kRightSide);
  EXPECT_EQ(v.angleXY, 3 * (kPi / 2));
  EXPECT_EQ(v.angleYZ, 3 * (kPi / 2));
  EXPECT_EQ(v.angleXZ, 0.0f);
  EXPECT_EQ(v.distance, 99.0f);
  ApplyPresetView(v, PresetView::kTop);
  EXPECT_EQ(v.angleXY, 0.0f);
  EXPECT_EQ(v.angleYZ, kPi);
  ApplyPresetView(v, PresetView::kBottom);
  EXPECT_EQ(v.angleYZ, 0.0f);
}

TEST(Camera, MouseLookFromPreviousPassValues) {
  const ScreenGeometry g = Geometry(800, 600);
  ViewState v;
  InitView(v, g);
  v.angleXY = 3;  // changed during the pass: mouse look starts from the previous value
  EXPECT_TRUE(MouseLook(v, g, 200, 0, 1));
  EXPECT_FLOAT_EQ(v.angleXY, kPi / 2);
  MouseLook(v, g, 0, 150, 1);
  EXPECT_FLOAT_EQ(v.angleYZ, 4.0f - kPi / 2);
  MouseLook(v, g, -800, 0, 2);  // would turn scaling negative
  EXPECT_EQ(v.scaling, 1.0f);
  v.scaling = 10;
  EXPECT_TRUE(MouseLook(v, g, 20, -30, 3));  // both buttons: pan only
  EXPECT_EQ(v.hOffset, 2.0f);
  EXPECT_EQ(v.vOffset, 0.1875f - 3.0f);
  EXPECT_EQ(v.scaling, 10.0f);
  v = ViewState{};
  InitView(v, g);
  EXPECT_FALSE(MouseLook(v, g, 5, 5, 0));  // no button: nothing moves
}

struct Plot {
  ScreenGeometry geometry = Geometry(800, 600);
  ViewState view;
  uint32_t options = kStartOptions;

  Plot() {
    InitView(view, geometry);
    view.angleXY = 0.7f;
    PrepareView(view, geometry, MakeFrameSettings(kStartOptions, test::DefaultCells(), false));
  }
  // Buffer position and depth of a model point under the current view.
  ScratchVertex Project(Vec3 p) const {
    const Vec3 r = TransformPoint(view, true, p);
    const float z = r.z + view.distance;
    return {view.scaling * geometry.hSampling * r.x / z + view.centreX,
            view.scaling * r.y / z + view.centreY, z};
  }
};

TEST(View, ScreenToModelInvertsProjection) {
  Plot p;
  const ScratchVertex s = p.Project({12, -30, 18});
  const Vec3 m = ScreenToModel(p.view, p.geometry, p.options, 1000000.0f,
                               static_cast<int>(s.column), static_cast<int>(s.row), s.depth);
  const ScratchVertex back = p.Project(m);
  EXPECT_NEAR(back.column, std::floor(s.column), 1e-2);
  EXPECT_NEAR(back.row, std::floor(s.row), 1e-2);
  EXPECT_NEAR(back.depth, s.depth, 1e-2);
  p.options &= ~(1u << kOptQuickRender);
  const Vec3 origin = ScreenToModel(p.view, p.geometry, p.options, 1000000.0f, 100, 100, 50);
  EXPECT_EQ(origin.x, 0.0f);
  EXPECT_EQ(origin.y, 0.0f);
  EXPECT_EQ(origin.z, 0.0f);
}

TEST(View, ScreenToModelOnBackgroundLandsOnGroundPlane) {
  Plot p;
  const float drawDepth = 1000000.0f;
  const float untouched = 1.0f / (1.0f / drawDepth);  // what the caller reads back
  for (int row : {100, 300, 500}) {
    const Vec3 m = ScreenToModel(p.view, p.geometry, p.options, drawDepth, 250, row, untouched);
    EXPECT_EQ(m.z, 0.0f);
    const ScratchVertex back = p.Project(m);  // on the pixel's viewing ray
    EXPECT_NEAR(back.column, 250, 0.05) << row;
    EXPECT_NEAR(back.row, row, 0.05) << row;
  }
  p.view.angleYZ = kPi / 2;  // cosine not exactly 0 in single precision: still a point
  const Vec3 m = ScreenToModel(p.view, p.geometry, p.options, drawDepth, 250, 300, drawDepth);
  EXPECT_EQ(m.z, 0.0f);
}

}  // namespace
}  // namespace qelvar
