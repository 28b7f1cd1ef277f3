// The area table: menus open at their origin, replace the menu whose first row
// sits there, close, are hit by the mouse and dragged with the right button.
#include "app/menus.h"

#include <algorithm>

#include "core/menu_ids.h"

namespace qelvar {
namespace {

void AppendArea(MenuState& menus, int column, int row, int item, int menu) {
  MenuArea& a = menus.areas[menus.areaCount++];
  a.column = static_cast<int16_t>(column);
  a.row = static_cast<int16_t>(row);
  a.width = kMenuItems[item].width;
  a.item = static_cast<uint8_t>(item);
  a.menu = static_cast<uint8_t>(menu);
  a.extra = 0;
}

bool StartsAt(const MenuArea& a, int column, int row) { return a.column == column && a.row == row; }

// Areas that remain when every menu with a row at (column, row) is closed.
int AreasLeftAfterReplacing(const MenuState& menus, int column, int row) {
  std::array<bool, kSelectorCount> replaced{};
  for (int i = 0; i < menus.areaCount; ++i)
    if (StartsAt(menus.areas[i], column, row)) replaced[menus.areas[i].menu] = true;
  int left = 0;
  for (int i = 0; i < menus.areaCount; ++i) left += replaced[menus.areas[i].menu] ? 0 : 1;
  return left;
}

}  // namespace

void InitMenus(MenuState& menus) {
  menus = MenuState{};
  for (int i = 0; i < 4; ++i) AppendArea(menus, kBarColumns[i], kBarRow, i + 1, 0);
}

int FirstAreaOf(const MenuState& menus, int menu) {
  for (int i = 0; i < menus.areaCount; ++i)
    if (menus.areas[i].menu == menu) return i;
  return -1;
}

bool MenuIsOpen(const MenuState& menus, int menu) { return FirstAreaOf(menus, menu) >= 0; }

bool OpenMenu(MenuState& menus, int menu) {
  if (menu < 1 || menu > kMenuCount) return false;
  const int open = FirstAreaOf(menus, menu);
  if (open >= 0) {
    menus.focus = menu;
    menus.highlight = open;
    return true;
  }
  const MenuDefinition& def = kMenus[menu];
  // The table never overflows: a menu that does not fit is not opened.
  if (AreasLeftAfterReplacing(menus, def.column, def.row) + def.rowCount > kMaxAreas) return false;
  if (menus.focus != -1) menus.focus = 0;
  // Close whatever starts at the origin; each close shifts the table, so rescan.
  for (int i = 0; i < menus.areaCount;) {
    if (menus.areas[i].menu != MenuNumber(Menu::kBar) &&
        StartsAt(menus.areas[i], def.column, def.row)) {
      CloseMenu(menus, menus.areas[i].menu);
      i = 0;
    } else {
      ++i;
    }
  }
  if (menus.focus == 0) {
    menus.focus = menu;
    menus.highlight = -1;
  }
  for (int r = 0; r < def.rowCount; ++r)
    AppendArea(menus, def.column, def.row + r, def.rows[r], menu);
  return true;
}

void CloseMenu(MenuState& menus, int menu) {
  if (menu == MenuNumber(Menu::kBar)) return;  // the bar is not a menu that closes
  if (menus.focus == menu) {
    menus.focus = -1;
    menus.highlight = -1;
  }
  int kept = 0;
  for (int i = 0; i < menus.areaCount; ++i) {
    if (menus.areas[i].menu == menu) {
      // Keep the highlight on the same area while the rows before it move up.
      if (menus.highlight == i) menus.highlight = -1;
      continue;
    }
    if (menus.highlight == i) menus.highlight = kept;
    menus.areas[kept++] = menus.areas[i];
  }
  menus.areaCount = kept;
}

int HitTestArea(MenuState& menus, int cellHeight, int x, int y) {
  for (int i = 0; i < menus.areaCount; ++i) {
    const MenuArea& a = menus.areas[i];
    const int left = (a.column - 1) * 8;
    const int top = (a.row - 1) * cellHeight;
    if (x < left || x > left + a.width * 8 || y < top || y > top + cellHeight - 1) continue;
    menus.itemDirection = x <= left + a.width * 4 ? -1 : 1;
    menus.scrollColumn = x > left + a.width * 8 - 8;
    return i;
  }
  return -1;
}

bool DragMenu(MenuState& menus, MouseState& mouse, const ScreenGeometry& geometry) {
  int dx = (mouse.screenMouseX - mouse.dragOriginX) / 8;
  int dy = (mouse.screenMouseY - mouse.dragOriginY) / geometry.cellHeight;
  if (dx == 0 && dy == 0) return false;
  for (int i = 0; i < menus.areaCount; ++i) {
    const MenuArea& a = menus.areas[i];
    if (a.menu != menus.draggedMenu) continue;
    if (a.column + dx < 1) dx = 1 - a.column;
    if (a.column + dx + a.width > geometry.textColumns)
      dx = geometry.textColumns - a.column - a.width;
    if (a.row + dy < 1) dy = 1 - a.row;
    if (a.row + dy + 1 > geometry.textRows) dy = geometry.textRows - a.row - 1;
  }
  // A menu wider or taller than the screen cannot keep off the last column or
  // row; then its first column and row stay on the screen, so that its close
  // row can still be clicked and the menu dragged back. For a menu that fits,
  // the limits above already hold and this changes nothing.
  for (int i = 0; i < menus.areaCount; ++i) {
    const MenuArea& a = menus.areas[i];
    if (a.menu != menus.draggedMenu) continue;
    if (a.column + dx < 1) dx = 1 - a.column;
    if (a.row + dy < 1) dy = 1 - a.row;
  }
  for (int i = 0; i < menus.areaCount; ++i) {
    MenuArea& a = menus.areas[i];
    if (a.menu != menus.draggedMenu) continue;
    a.column = static_cast<int16_t>(a.column + dx);
    a.row = static_cast<int16_t>(a.row + dy);
  }
  mouse.dragOriginX += 8 * dx;
  mouse.dragOriginY += geometry.cellHeight * dy;
  return true;
}

void ApplyAutomaticHighlight(MenuState& menus) {
  if (menus.focus == -1 || menus.highlight != -1) return;
  const int first = FirstAreaOf(menus, menus.focus);
  if (first < 0)
    menus.focus = -1;
  else
    menus.highlight = first;
}

uint8_t StepPartGroup(int group, int change) {
  // Reduced first, so that no wheel count can overflow the sum.
  return static_cast<uint8_t>((group % 100 + change % 100 + 200) % 100);
}

}  // namespace qelvar
