// Lookup of the numbered modes and the size and depth checks of both platforms.
#include "platform/screen_modes.h"

namespace qelvar {

const ScreenMode* FindScreenMode(int number) {
  for (const ScreenMode& m : kScreenModes) {
    if (m.number == number) return &m;
  }
  return nullptr;
}

bool IsSupportedDepth(int depth) {
  return depth == 4 || depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
}

bool IsSaneScreenSize(int width, int height) {
  return width >= kMinScreenSide && height >= kMinScreenSide && width <= kMaxScreenSide &&
         height <= kMaxScreenSide;
}

bool ConfigureNumberedMode(Screen& screen, int mode, int depth) {
  const ScreenMode* m = FindScreenMode(mode);
  if (!m || !IsSupportedDepth(depth)) return false;
  screen.Configure(m->width, m->height, depth, m->textColumns, m->textRows);
  return true;
}

bool ConfigureWindowSize(Screen& screen, int width, int height, int depth) {
  if (!IsSaneScreenSize(width, height) || !IsSupportedDepth(depth)) return false;
  screen.Configure(width, height, depth, width / 8, height / 8);
  return true;
}

}  // namespace qelvar
