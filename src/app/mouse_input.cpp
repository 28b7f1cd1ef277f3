// The per-pass mouse reading used by the main loop and the modal loops.
#include "app/mouse_input.h"

namespace qelvar {

void ReadMouse(Platform& platform, const ScreenGeometry& geometry, MouseState& mouse) {
  mouse.previousMouseX = mouse.mouseX;
  mouse.previousMouseY = mouse.mouseY;
  mouse.previousWheel = mouse.wheel;
  mouse.previousButtons = mouse.buttons;
  mouse.leftClick = 0;
  mouse.rightClick = 0;
  MouseReading r;
  if (!platform.ReadMouse(r)) return;
  mouse.screenMouseX = r.x;
  mouse.screenMouseY = r.y;
  mouse.wheel = r.wheel;
  mouse.buttons = r.buttons;
  mouse.mouseY = r.y;
  if (geometry.detail == 0)
    mouse.mouseX = r.x >> 1;
  else if (geometry.detail == 2)
    mouse.mouseX = r.x * 2;
  else
    mouse.mouseX = r.x;
  if ((r.buttons & 1) && !(mouse.previousButtons & 1)) mouse.leftClick = 1;
  if ((r.buttons & 2) && !(mouse.previousButtons & 2)) mouse.rightClick = 2;
}

}  // namespace qelvar
