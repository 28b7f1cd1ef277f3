// The main loop: re-render when asked, present, poll input, dispatch it.
#pragma once

#include "app/modeller.h"

namespace qelvar {

[[noreturn]] void MainLoop(Modeller& m);
// One pass of the loop, from the normals check to the end-of-pass bookkeeping.
void MainLoopPass(Modeller& m);
// Reads the platform's mouse into MouseState, deriving buffer position and clicks.
void ReadMouse(Modeller& m);
// Screen update of a pass: menu values, presentation, overlays, status message.
void UpdateScreen(Modeller& m);

}  // namespace qelvar
