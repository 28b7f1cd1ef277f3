// The camera: angles, distance, scale and pan, and what each re-render derives
// from them.
#pragma once

#include <algorithm>
#include <cstdint>

namespace qelvar {

constexpr float kPi = 3.141593f;

// Projection centres are computed in 64 bits and kept within the 32-bit range
// (symmetric, so that negating one is safe); a centre that far out puts the
// whole model off the screen, and no key or value can make it wrap around.
inline int32_t ClampCentre(int64_t centre) {
  return static_cast<int32_t>(std::clamp<int64_t>(centre, -INT32_MAX, INT32_MAX));
}

struct ViewState {
  float angleXY = 0.0f, angleXZ = 0.0f, angleYZ = 4.0f;  // radians
  float distance = 250.0f;
  float scaling = 1.0f;  // buffer rows per model unit at camera depth 1
  float hOffset = 0.0f, vOffset = 0.0f;
  float eyeShift = 0.0f;             // camera-space X shift of a stereo half
  int32_t centreX = 0, centreY = 0;  // projection centre, buffer pixels

  // Sines and cosines cached by PrepareView.
  float cosXY = 1, sinXY = 0, cosYZ = 1, sinYZ = 0, cosXZ = 1, sinXZ = 0;
  float cosLightXY = 1, sinLightXY = 0, cosLightYZ = 1, sinLightYZ = 0;

  // Values at the end of the previous main-loop pass.
  float previousAngleXY = 0.0f, previousAngleXZ = 0.0f, previousAngleYZ = 4.0f;
  float previousDistance = 250.0f, previousScaling = 1.0f;
  float previousLightXY = 0.0f, previousLightYZ = 0.0f;
};

}  // namespace qelvar
