// The camera: start values, per-render preparation, projection, angle
// wrapping, preset views and the inverse mapping used by mouse plotting.
#include "render/view.h"

#include <cmath>

#include "core/option_flags.h"
#include "render/rounding.h"

namespace qelvar {
namespace {

// Sines and cosines are taken in double and rounded once, so they are the
// correctly rounded single-precision values on every libm.
float Cos(float a) { return static_cast<float>(std::cos(static_cast<double>(a))); }
float Sin(float a) { return static_cast<float>(std::sin(static_cast<double>(a))); }

float StartScaling(const ScreenGeometry& g) {
  return static_cast<float>(g.bufferWidth / 2) / g.hSampling;
}

float WrapAngle(float a) {
  if (a > kTwoPi) a -= kTwoPi;
  if (a < 0.0f) a += kTwoPi;
  return a;
}

// One pass over the vertex table; kQuick drops the X-Z rotation.
template <bool kQuick>
void ProjectLoop(const ViewState& view, float hSampling, ModelStore& model) {
  const ViewState v = view;  // locals for the loop
  const float columnScale = v.scaling * hSampling;
  const float rowScale = v.scaling;
  const float eyeShift = v.eyeShift, distance = v.distance;
  const Vec3* in = model.vertices.data();
  ScratchVertex* out = model.vertexScratch.data();
  const int32_t count = model.vertexCount;
  for (int32_t i = 0; i < count; ++i) {
    const Vec3 p = TransformPoint(v, kQuick, in[i]);
    const float x = p.x + eyeShift;
    const float z = p.z + distance;
    if (z >= 1.0f) {
      out[i] = {columnScale * x / z, rowScale * p.y / z, z};
    } else {
      out[i] = {x, p.y, z};
    }
  }
}

}  // namespace

void InitView(ViewState& view, const ScreenGeometry& geometry) {
  view = ViewState{};
  view.scaling = StartScaling(geometry);
  view.vOffset = static_cast<float>(geometry.bufferHeight / 8) / view.scaling;
  view.previousAngleXY = view.angleXY;
  view.previousAngleXZ = view.angleXZ;
  view.previousAngleYZ = view.angleYZ;
  view.previousDistance = view.distance;
  view.previousScaling = view.scaling;
}

void PrepareView(ViewState& view, const ScreenGeometry& geometry, const FrameSettings& frame) {
  // NaN (an infinite zoom times a zero offset) rounds to INT64_MIN and is clamped too.
  view.centreX = ClampCentre(
      RoundToInt64(view.scaling * view.hOffset + static_cast<float>(geometry.bufferWidth / 2)));
  view.centreY = ClampCentre(
      RoundToInt64(view.scaling * view.vOffset + static_cast<float>(geometry.bufferHeight / 2)));
  view.cosXY = Cos(view.angleXY), view.sinXY = Sin(view.angleXY);
  view.cosYZ = Cos(view.angleYZ), view.sinYZ = Sin(view.angleYZ);
  view.cosXZ = Cos(view.angleXZ), view.sinXZ = Sin(view.angleXZ);
  const float lightXY = frame.lightXY, lightYZ = frame.lightYZ;
  view.cosLightXY = Cos(lightXY), view.sinLightXY = Sin(lightXY);
  view.cosLightYZ = Cos(lightYZ), view.sinLightYZ = Sin(lightYZ);
}

void ProjectVertices(const ViewState& view, float hSampling, bool quickRender, ModelStore& model) {
  if (quickRender) {
    ProjectLoop<true>(view, hSampling, model);
  } else {
    ProjectLoop<false>(view, hSampling, model);
  }
}

bool NormaliseView(ViewState& view) {
  view.angleXY = WrapAngle(view.angleXY);
  view.angleYZ = WrapAngle(view.angleYZ);
  view.angleXZ = WrapAngle(view.angleXZ);
  if (view.scaling < 1.0f) view.scaling = 1.0f;
  if (view.angleXY != view.previousAngleXY || view.angleYZ != view.previousAngleYZ ||
      view.angleXZ != view.previousAngleXZ || view.distance != view.previousDistance ||
      view.scaling != view.previousScaling) {
    return true;
  }
  return false;
}

void RememberPreviousView(ViewState& view, const ValueCells& cells) {
  view.previousAngleXY = view.angleXY;
  view.previousAngleXZ = view.angleXZ;
  view.previousAngleYZ = view.angleYZ;
  view.previousDistance = view.distance;
  view.previousScaling = view.scaling;
  view.previousLightXY = cells.Real(kCellLightXY);
  view.previousLightYZ = cells.Real(kCellLightYZ);
}

void ApplyPresetView(ViewState& view, PresetView preset) {
  // Quarter turns of angleXY and angleYZ for each view.
  struct Turns {
    int xy, yz;
  };
  static constexpr Turns kTurns[] = {{0, 3}, {2, 3}, {0, 2}, {0, 0}, {1, 3}, {3, 3}};
  const Turns t = kTurns[static_cast<int>(preset)];
  constexpr float kRightAngle = kPi / 2.0f;
  view.angleXY = static_cast<float>(t.xy) * kRightAngle;
  view.angleYZ = static_cast<float>(t.yz) * kRightAngle;
  view.angleXZ = 0.0f;
}

void ResetView(ViewState& view, const ScreenGeometry& geometry) {
  view.distance = 250.0f;
  view.scaling = StartScaling(geometry);
  view.hOffset = 0.0f;
  view.vOffset = 0.0f;
}

Vec3 ScreenToModel(const ViewState& view, const ScreenGeometry& geometry, uint32_t options,
                   float drawDepth, int column, int row, float depth) {
  if (!HasOption(options, kOptQuickRender)) return {0, 0, 0};
  // The caller passes 1 / (1 / drawDepth) for an untouched pixel, which need
  // not give drawDepth back exactly in single precision.
  const bool onPlane = depth == drawDepth || depth == 1.0f / (1.0f / drawDepth);
  const float cosYZ = Cos(view.angleYZ), sinYZ = Sin(view.angleYZ);
  const float rowOffset = static_cast<float>(int64_t{row} - view.centreY);
  float z = depth;
  if (onPlane) {
    if (cosYZ == 0.0f) return {0, 0, 0};
    z = view.distance / (1.0f + rowOffset * (sinYZ / cosYZ) / view.scaling);
  }
  const float x =
      static_cast<float>(int64_t{column} - view.centreX) * z / (geometry.hSampling * view.scaling);
  const float y = rowOffset * z / view.scaling;
  const float zc = z - view.distance;
  const float c1 = Cos(-view.angleYZ), s1 = Sin(-view.angleYZ);
  const float mz = c1 * zc - s1 * y;
  const float y1 = c1 * y + s1 * zc;
  const float c2 = Cos(-view.angleXY), s2 = Sin(-view.angleXY);
  const float mx = c2 * x - s2 * y1;
  const float my = c2 * y1 + s2 * x;
  return {mx, my, onPlane ? 0.0f : mz};
}

}  // namespace qelvar
