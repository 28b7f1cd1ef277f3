// Opening, closing, hit-testing and dragging menus: the area table of the
// rows on the screen and who has the keyboard focus.
#pragma once

#include "app/menu_state.h"
#include "app/menu_tables.h"
#include "app/modeller.h"

namespace qelvar {

// The four menu-bar areas, no open menu, nothing focused or highlighted.
void InitMenus(MenuState& menus);

// Shows menu n at its origin, replacing the menu whose first row sits there, or
// gives an already open menu the focus. Returns false, changing nothing, when
// the area table has no room for its rows.
bool OpenMenu(MenuState& menus, int menu);
// Removes the areas of menu n; menus opened from it stay open.
void CloseMenu(MenuState& menus, int menu);
bool MenuIsOpen(const MenuState& menus, int menu);
int FirstAreaOf(const MenuState& menus, int menu);

// The area under a screen pixel, or -1. On a hit records which half of the
// area and whether its last cell was hit.
int HitTestArea(MenuState& menus, int cellHeight, int x, int y);

// Moves the dragged menu by the whole cells the mouse went since dragOrigin,
// keeping it off the last text column and row. Returns true if it moved.
bool DragMenu(MenuState& menus, MouseState& mouse, const ScreenGeometry& geometry);

// A focused menu without highlight gets its first area highlighted; a focused
// menu without areas loses the focus.
void ApplyAutomaticHighlight(MenuState& menus);

// Steps a part-group selector with wrap-around (below 0 to 99, above 99 to 0).
uint8_t StepPartGroup(int group, int change);

}  // namespace qelvar
