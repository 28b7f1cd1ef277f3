// The camera keys and mouse look.
#include "render/camera.h"

#include "platform/platform.h"
#include "render/view.h"

namespace qelvar {
namespace {

constexpr float kSmallStep = kPi / 90.0f;
constexpr float kLargeStep = kPi / 8.0f;

bool Rotate(ViewState& v, const std::string& key, float step) {
  if (IsExtendedKey(key, kScanRight)) {
    v.angleXY += step;
  } else if (IsExtendedKey(key, kScanLeft)) {
    v.angleXY -= step;
  } else if (IsExtendedKey(key, kScanUp)) {
    v.angleYZ += step;
  } else if (IsExtendedKey(key, kScanDown)) {
    v.angleYZ -= step;
  } else if (key == "]") {
    v.angleXZ += step;
  } else if (key == "[") {
    v.angleXZ -= step;
  } else if (key == "}") {  // typed with Shift, so always the large step
    v.angleXZ += kLargeStep;
  } else if (key == "{") {
    v.angleXZ -= kLargeStep;
  } else {
    return false;
  }
  return true;
}

bool DollyOrZoom(ViewState& v, const std::string& key) {
  if (IsExtendedKey(key, kScanPageUp)) {
    v.distance *= 0.9f;
  } else if (IsExtendedKey(key, kScanPageDown)) {
    v.distance *= 1.1f;
  } else if (IsExtendedKey(key, kScanHome)) {
    v.scaling *= 0.9f;
  } else if (IsExtendedKey(key, kScanEnd)) {
    v.scaling *= 1.1f;
  } else {
    return false;
  }
  return true;
}

bool Pan(ViewState& v, const std::string& key) {
  if (key.size() != 1) return false;
  const char c = key[0];
  const float amount = (c >= 'A' && c <= 'Z') ? 50.0f : 5.0f;
  switch (c) {
    case 'w':
    case 'W':
      v.vOffset -= amount / v.scaling;
      return true;
    case 's':
    case 'S':
      v.vOffset += amount / v.scaling;
      return true;
    case 'a':
    case 'A':
      v.hOffset -= amount / v.scaling;
      return true;
    case 'd':
    case 'D':
      v.hOffset += amount / v.scaling;
      return true;
    default:
      return false;
  }
}

}  // namespace

CameraKeyEffect CameraKey(ViewState& view, const std::string& key, bool shiftHeld) {
  if (Rotate(view, key, shiftHeld ? kLargeStep : kSmallStep) || DollyOrZoom(view, key))
    return NormaliseView(view) ? CameraKeyEffect::kViewChanged : CameraKeyEffect::kViewUnchanged;
  if (Pan(view, key)) return CameraKeyEffect::kViewChanged;
  return CameraKeyEffect::kNotCameraKey;
}

bool MouseLook(ViewState& view, const ScreenGeometry& geometry, int dx, int dy, int buttons) {
  const float fdx = static_cast<float>(dx), fdy = static_cast<float>(dy);
  const float width = static_cast<float>(geometry.bufferWidth);
  const float height = static_cast<float>(geometry.bufferHeight);
  const bool left = buttons & 1, right = buttons & 2;
  if (left && right) {
    view.hOffset += fdx / view.scaling;
    view.vOffset += fdy / view.scaling;
    return true;
  }
  if (left) {
    view.angleXY = view.previousAngleXY + fdx * kTwoPi / width;
    view.angleYZ = view.previousAngleYZ - fdy * kTwoPi / height;
  }
  if (right) {
    view.scaling = view.previousScaling * (1.0f + 2.0f * fdx / width);
    view.distance = view.previousDistance * (1.0f + fdy / height);
  }
  return NormaliseView(view);
}

}  // namespace qelvar
