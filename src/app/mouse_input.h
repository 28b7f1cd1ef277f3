// Reading the mouse once per pass: position in screen and render-buffer
// pixels, wheel, buttons and the click edges.
#pragma once

#include "app/loop_state.h"
#include "app/screen_geometry.h"
#include "platform/platform.h"

namespace qelvar {

// Copies the current values to the previous ones and clears the clicks; when
// the platform answers, stores its reading and derives the buffer position and
// the clicks. Without an answer the previous position and buttons stay.
void ReadMouse(Platform& platform, const ScreenGeometry& geometry, MouseState& mouse);

}  // namespace qelvar
