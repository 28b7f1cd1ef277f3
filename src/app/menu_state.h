// State of the menu system: the areas of the open menus on the screen, focus,
// highlight and the part-group selectors.
#pragma once

namespace qelvar {

struct MenuState {
  int focus = -1;      // -1 nobody, 0 the menu bar, else a menu number
  int highlight = -1;  // highlighted area, -1 none
};

}  // namespace qelvar
