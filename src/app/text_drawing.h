// Printing in the interface colours, shared by the menus, status lines, help
// box, value editor and text prompt.
#pragma once

#include <string_view>

#include "app/modeller.h"

namespace qelvar {

inline uint32_t EntryColour(const Modeller& m, int entry) {
  return m.colours.interfaceColours[entry & 15];
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

// The window's close request, taken as a key by a modal loop, ends the program.
inline bool IsCloseRequest(const std::string& key) { return IsExtendedKey(key, 107); }

}  // namespace qelvar
