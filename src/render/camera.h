// The camera keys and mouse look: how the user turns, pans, dollies and zooms
// the view between re-renders.
#pragma once

#include <string>

#include "core/screen_geometry.h"
#include "render/view_state.h"

namespace qelvar {

// Applies the camera key `key` (lastKey of the pass): arrows and brackets
// rotate, w a s d / W A S D pan, Page Up / Page Down dolly, Home / End zoom.
// shiftHeld selects the large rotation step. The caller checks the view lock
// and the menu focus; Escape (ResetView) is not a camera key here.
enum class CameraKeyEffect { kNotCameraKey, kViewUnchanged, kViewChanged };
CameraKeyEffect CameraKey(ViewState& view, const std::string& key, bool shiftHeld);

// Mouse look from the previous-pass values: dx, dy are the movement in buffer
// pixels since the reference position, buttons bit 0 left, bit 1 right.
// True when the view changed (a re-render is due).
bool MouseLook(ViewState& view, const ScreenGeometry& geometry, int dx, int dy, int buttons);

}  // namespace qelvar
