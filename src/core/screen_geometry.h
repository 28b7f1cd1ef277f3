// Sizes fixed at start-up: the screen, the text grid, the render buffer, and
// the interface colour tables.
#pragma once

#include <array>
#include <cstdint>

namespace qelvar {

struct ScreenGeometry {
  int screenWidth = 0, screenHeight = 0;
  int colourDepth = 32;  // depth in use (4 stays 4)
  int textColumns = 0, textRows = 0;
  int cellHeight = 16;   // pixels per text row; cells are 8 wide
  int detail = 1;        // render detail level in force
  int bufferWidth = 0, bufferHeight = 0;
  float hSampling = 1.0f;  // render-buffer columns per screen pixel
};

// The geometry of a screen of width x height pixels with a text grid of
// textColumns x textRows cells, rendered at a detail level: half the screen's
// columns at 0, the same at 1, twice at 2; a level outside 0..2 runs at 1.
ScreenGeometry DeriveScreenGeometry(int width, int height, int colourDepth, int textColumns,
                                    int textRows, int detail);

// Interface colour entries by use.
enum InterfaceColour {
  kColourText = 0, kColourFrame = 1, kColourPlainRow = 2, kColourDigits = 3,
  kColourValueBack = 4, kColourCheckRow = 5, kColourCommandRow = 6,
  kColourMenuRow = 7, kColourPartNameRow = 8, kColourGroupRow = 9,
  kColourSelectRect = 10,
};

struct ColourTables {
  // Text, frame and marker colours: RGB at 15..32 bits, palette indices at 8 and 4.
  std::array<uint32_t, 16> interfaceColours{};
  // 4-bit presentation: (r*64 + g*8 + b) -> pair of palette indices, low byte first.
  std::array<uint16_t, 512> ditherPairs{};
};

}  // namespace qelvar
