// Printing in the interface colours, shared by the menus, status lines, help
// box, value editor and text prompt.
#pragma once

#include <string_view>

#include "app/modeller.h"

namespace qelvar {

inline uint32_t EntryColour(const Modeller& m, int entry) {
  return m.colours.interfaceColours[entry & 15];
}

// An RGB marker colour in the form the screen's depth draws with: the 2-4-2
// palette index at 8 bits, the nearest of the 16 colours at 4 bits (the marker
// colours are pure blue, green and magenta, which it has in bright form).
inline uint32_t MarkerColour(const Modeller& m, uint32_t rgb) {
  if (m.geometry.colourDepth == 8)
    return ((rgb & 0xC00000) >> 16) + ((rgb & 0xF000) >> 10) + ((rgb & 0xFF) >> 6);
  if (m.geometry.colourDepth == 4)
    return 8u | ((rgb & 0x800000) ? 4u : 0u) | ((rgb & 0x8000) ? 2u : 0u) |
           ((rgb & 0x80) ? 1u : 0u);
  return rgb;
}

// Prints at a 1-based (row, column) cell, text in entry fg on entry bg.
inline void PrintAt(Modeller& m, int row, int column, std::string_view text, int fg, int bg) {
  m.platform.screen().PrintText(row, column, text, EntryColour(m, fg), EntryColour(m, bg));
}

// Makes what was drawn outside the main loop's screen update visible at once.
inline void ShowDrawing(Modeller& m) {
  m.platform.Lock();
  m.platform.Unlock();
}

}  // namespace qelvar
