// Flags and input state of the main loop.
#pragma once

#include <cstdint>
#include <string>

namespace qelvar {

struct LoopFlags {
  bool redrawRequested = false;  // model or view changed: re-render next pass
  int screenDirty = 0;           // 1 present + overlays, 2 overlays only
  bool messageOnScreen = false;  // a printed message must be erased
  int statusMessage = 0;         // message number for the next update, 0 none
  std::string messageDetail;     // printed after message messageDetailOf (a file name)
  int messageDetailOf = 0;
  bool quitQuestionShown = false;  // a close request now ends the program
  int previousTool = 0;            // tool seen by the previous pass (stereo)
  bool previousAltState = false;
  bool autoRepeatClick = false;  // file-list arrows repeat while left is down
  bool menuItemClicked = false;  // a left click chose a menu area
  std::string lastKey;           // "", one character, or 255 + scan code
};

struct MouseState {
  int screenMouseX = 0, screenMouseY = 0;  // screen pixels
  int mouseX = 0, mouseY = 0;              // render-buffer pixels
  int wheel = 0, buttons = 0;
  int previousMouseX = 0, previousMouseY = 0, previousWheel = 0, previousButtons = 0;
  int leftClick = 0;                     // 1 in the pass the left button went down
  int rightClick = 0;                    // 2 in the pass the right button went down
  int pressX = 0, pressY = 0;            // drag reference, buffer pixels
  int dragOriginX = 0, dragOriginY = 0;  // drag reference, screen pixels
};

}  // namespace qelvar
