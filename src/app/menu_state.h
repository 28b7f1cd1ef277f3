// State of the menu system: the areas of the open menus on the screen, focus,
// highlight, dragging, the part-group selectors and the file-list page.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/file_list_state.h"

namespace qelvar {

// One row of an open menu (or one menu-bar entry) as it sits on the screen.
struct MenuArea {
  int16_t column = 0, row = 0;  // 1-based text cell of the first character
  int16_t width = 0;            // cells, from the item
  uint8_t item = 0;
  uint8_t menu = 0;   // 0 for the menu bar
  uint8_t extra = 0;  // set while drawing: part group shown, or file row (+128 past the end)
};

constexpr int kMaxAreas = 200;
constexpr int kSelectorCount = 32;  // one per menu number 0..31

struct MenuState {
  std::array<MenuArea, kMaxAreas> areas{};
  int areaCount = 0;          // areas [0, areaCount) are on the screen, the bar first
  int focus = -1;             // -1 nobody, 0 the menu bar, else a menu number
  int highlight = -1;         // highlighted area, -1 none
  int itemDirection = 0;      // -1 or +1: side of the last hit or arrow on two-sided rows
  bool scrollColumn = false;  // the last hit was in the last cell of its area
  int chosenMenu = 0;         // menu of the area last chosen; commands act on it
  int draggedMenu = 0;        // menu following the right button, 0 none
  std::array<uint8_t, kSelectorCount> partGroup{};         // selectors, 0..99
  std::array<uint8_t, kSelectorCount> workingPartGroup{};  // copies advanced while drawing
  FileListState fileList;
};

}  // namespace qelvar
