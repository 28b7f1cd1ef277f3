// The numbered screen modes and the checks both platforms apply before they
// set up a screen of a given size and depth.
#pragma once

#include <array>

#include "platform/screen.h"

namespace qelvar {

struct ScreenMode {
  int number;
  int width, height;
  int textColumns, textRows;  // cells are 8 wide; 8 or 16 high
};

inline constexpr std::array<ScreenMode, 9> kScreenModes = {{
    {13, 320, 200, 40, 25},
    {14, 320, 240, 40, 30},
    {15, 400, 300, 50, 37},
    {16, 512, 384, 64, 24},
    {17, 640, 400, 80, 25},
    {18, 640, 480, 80, 30},
    {19, 800, 600, 100, 37},
    {20, 1024, 768, 128, 48},
    {21, 1280, 1024, 160, 64},
}};

// Larger sides are refused: they only come from mistyped settings and would
// exhaust memory (the render buffers grow with the screen).
inline constexpr int kMaxScreenSide = 16384;
// One text cell at least, so the text grid is never empty.
inline constexpr int kMinScreenSide = 8;

// The numbered mode, or nullptr outside 13..21.
const ScreenMode* FindScreenMode(int number);
bool IsSupportedDepth(int depth);
bool IsSaneScreenSize(int width, int height);

// Configure the screen for a numbered mode, or for a custom size with the
// default 8 x 8 cells; false (screen unchanged) when mode, size or depth is refused.
bool ConfigureNumberedMode(Screen& screen, int mode, int depth);
bool ConfigureWindowSize(Screen& screen, int width, int height, int depth);

}  // namespace qelvar
