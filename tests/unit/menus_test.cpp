// The menu tables and the area table: opening, replacing, closing, hit
// testing, dragging and focus.
#include "app/menus.h"

#include <gtest/gtest.h>

#include "app/menu_tables.h"
#include "core/menu_ids.h"

namespace qelvar {
namespace {

TEST(MenuTables, Sanity) {
  EXPECT_EQ(kMenuItems[14].label, "---- close -----");
  EXPECT_EQ(kMenuItems[1].width, 8);
  EXPECT_EQ(kMenuItems[141].width, 36);
  EXPECT_EQ(kMenuItems[145].width, 32);
  EXPECT_EQ(kMenus[30].rowCount, 19);  // 14 file rows
  EXPECT_EQ(kMenus[3].rowCount, 16);
  EXPECT_EQ(kMenus[4].rowCount, 17);
  for (int m = 1; m <= kMenuCount; ++m) EXPECT_EQ(kMenus[m].rows[0], kCloseItem) << m;
  int opened[kMenuCount + 1] = {};
  for (const MenuItem& it : kMenuItems)
    if (it.kind == kKindOpensMenu) ++opened[it.parameter];
  for (int m = 1; m <= kMenuCount; ++m) EXPECT_EQ(opened[m], 1) << "menu " << m;
  // Hotkeys are lower case, as compared with the typed key.
  for (const MenuItem& it : kMenuItems) EXPECT_FALSE(it.hotkey >= 'A' && it.hotkey <= 'Z');
}

MenuState Fresh() {
  MenuState s;
  InitMenus(s);
  return s;
}

int CountAreasOf(const MenuState& s, Menu menu) {
  int n = 0;
  for (int i = 0; i < s.areaCount; ++i) n += s.areas[i].menu == MenuNumber(menu);
  return n;
}

TEST(Menus, StartState) {
  MenuState s = Fresh();
  ASSERT_EQ(s.areaCount, 4);
  EXPECT_EQ(s.areas[3].column, 32);
  EXPECT_EQ(s.areas[3].row, 2);
  EXPECT_EQ(s.areas[3].item, 4);
  EXPECT_EQ(s.focus, -1);
  EXPECT_EQ(s.highlight, -1);
}

TEST(Menus, OpenWithoutFocusLeavesNobodyFocused) {
  MenuState s = Fresh();
  ASSERT_TRUE(OpenMenu(s, MenuNumber(Menu::kFile)));
  EXPECT_EQ(s.areaCount, 4 + 13);
  EXPECT_EQ(s.focus, -1);
  EXPECT_EQ(s.areas[4].item, 14);
  EXPECT_EQ(s.areas[4].row, 4);
  EXPECT_EQ(s.areas[16].row, 16);
  EXPECT_EQ(s.areas[16].width, 16);
}

TEST(Menus, OpenWithFocusTakesIt) {
  MenuState s = Fresh();
  s.focus = 0;
  s.highlight = 0;
  OpenMenu(s, MenuNumber(Menu::kEdit));
  EXPECT_EQ(s.focus, MenuNumber(Menu::kEdit));
  EXPECT_EQ(s.highlight, -1);
}

TEST(Menus, ReplacementAtTheSameOrigin) {
  MenuState s = Fresh();
  OpenMenu(s, MenuNumber(Menu::kEdit));             // Edit at column 2
  OpenMenu(s, MenuNumber(Menu::kCreatePrimitive));  // create Primitive replaces it
  EXPECT_FALSE(MenuIsOpen(s, MenuNumber(Menu::kEdit)));
  EXPECT_EQ(CountAreasOf(s, Menu::kCreatePrimitive), 12);
  OpenMenu(s, MenuNumber(Menu::kNewDisc));  // new Disc beside it at column 19
  EXPECT_EQ(s.areas[FirstAreaOf(s, MenuNumber(Menu::kNewDisc))].column, 19);
  OpenMenu(s, MenuNumber(Menu::kNewCylinder));  // new cYlinder replaces the disc menu
  EXPECT_FALSE(MenuIsOpen(s, MenuNumber(Menu::kNewDisc)));
  EXPECT_TRUE(MenuIsOpen(s, MenuNumber(Menu::kCreatePrimitive)));
  EXPECT_EQ(s.areaCount, 4 + 12 + 9);
}

TEST(Menus, OpeningAnOpenMenuMovesFocusAndHighlight) {
  MenuState s = Fresh();
  OpenMenu(s, MenuNumber(Menu::kView));
  const int first = FirstAreaOf(s, MenuNumber(Menu::kView));
  const int count = s.areaCount;
  OpenMenu(s, MenuNumber(Menu::kView));
  EXPECT_EQ(s.areaCount, count);
  EXPECT_EQ(s.focus, MenuNumber(Menu::kView));
  EXPECT_EQ(s.highlight, first);
}

TEST(Menus, CloseKeepsOthersInOrderAndDropsFocus) {
  MenuState s = Fresh();
  OpenMenu(s, MenuNumber(Menu::kCreatePrimitive));
  OpenMenu(s, MenuNumber(Menu::kNewDisc));
  s.focus = MenuNumber(Menu::kCreatePrimitive);
  const int disc = FirstAreaOf(s, MenuNumber(Menu::kNewDisc));
  s.highlight = disc + 2;
  CloseMenu(s, MenuNumber(Menu::kCreatePrimitive));
  EXPECT_EQ(s.focus, -1);
  EXPECT_EQ(s.highlight, -1);
  EXPECT_EQ(s.areaCount, 4 + 8);
  EXPECT_EQ(s.areas[4].menu, 16);
  EXPECT_EQ(s.areas[5].item, 58);
}

TEST(Menus, CloseOfAnotherMenuKeepsTheHighlightOnItsRow) {
  MenuState s = Fresh();
  OpenMenu(s, MenuNumber(Menu::kCreatePrimitive));
  OpenMenu(s, MenuNumber(Menu::kNewDisc));
  s.focus = MenuNumber(Menu::kNewDisc);
  s.highlight = FirstAreaOf(s, MenuNumber(Menu::kNewDisc)) + 3;
  const int item = s.areas[s.highlight].item;
  CloseMenu(s, MenuNumber(Menu::kCreatePrimitive));
  EXPECT_EQ(s.focus, MenuNumber(Menu::kNewDisc));
  EXPECT_EQ(s.areas[s.highlight].item, item);
}

TEST(Menus, DraggedMenuIsNotReplaced) {
  MenuState s = Fresh();
  OpenMenu(s, MenuNumber(Menu::kFile));
  for (int i = 0; i < s.areaCount; ++i)
    if (s.areas[i].menu == 1) s.areas[i].column += 30;
  OpenMenu(s, MenuNumber(Menu::kEdit));
  EXPECT_TRUE(MenuIsOpen(s, MenuNumber(Menu::kFile)));
  EXPECT_TRUE(MenuIsOpen(s, MenuNumber(Menu::kEdit)));
}

TEST(Menus, TheAreaTableNeverOverflows) {
  MenuState s = Fresh();
  // Open menus and move each away from its origin so nothing is replaced.
  int opened = 0;
  for (int m = 1; m <= kMenuCount; ++m) {
    const bool ok = OpenMenu(s, m);
    EXPECT_LE(s.areaCount, kMaxAreas);
    if (!ok) {
      EXPECT_FALSE(MenuIsOpen(s, m));
      continue;
    }
    ++opened;
    for (int i = 0; i < s.areaCount; ++i)
      if (s.areas[i].menu == m) s.areas[i].row += 40 + m;
  }
  EXPECT_LT(opened, kMenuCount);
  EXPECT_GT(s.areaCount, kMaxAreas - 19);
}

TEST(Menus, RefusedOpenChangesNothing) {
  MenuState s = Fresh();
  s.areaCount = kMaxAreas - 3;  // filled with bar-like areas far away
  for (int i = 4; i < s.areaCount; ++i) s.areas[i] = MenuArea{100, 50, 16, 0, 31, 0};
  s.focus = 0;
  const MenuState before = s;
  EXPECT_FALSE(OpenMenu(s, MenuNumber(Menu::kFile)));
  EXPECT_EQ(s.areaCount, before.areaCount);
  EXPECT_EQ(s.focus, 0);
  EXPECT_TRUE(OpenMenu(s, MenuNumber(Menu::kLightSource)));  // already open: only the focus moves
}

TEST(Menus, HitTestAreaBoundsAndSides) {
  MenuState s = Fresh();
  OpenMenu(s, MenuNumber(Menu::kFile));
  // "  File" spans pixels 8..72 on row 2 (16-pixel cells: 16..31).
  EXPECT_EQ(HitTestArea(s, 16, 8, 16), 0);
  EXPECT_EQ(s.itemDirection, -1);
  EXPECT_EQ(HitTestArea(s, 16, 40, 31), 0);  // left + width * 4: still the left half
  EXPECT_EQ(s.itemDirection, -1);
  EXPECT_EQ(HitTestArea(s, 16, 41, 31), 0);
  EXPECT_EQ(s.itemDirection, 1);
  EXPECT_FALSE(s.scrollColumn);
  EXPECT_EQ(HitTestArea(s, 16, 65, 20), 0);  // the last cell
  EXPECT_TRUE(s.scrollColumn);
  EXPECT_EQ(HitTestArea(s, 16, 7, 20), -1);
  EXPECT_EQ(HitTestArea(s, 16, 20, 32), -1);  // row 3 is empty
  // The right edge pixel left + width * 8 belongs to the area; the next area
  // begins 16 pixels further, so there is no overlap.
  EXPECT_EQ(HitTestArea(s, 16, 72, 20), 0);
  EXPECT_EQ(HitTestArea(s, 16, 88, 20), 1);
  // First row of the File menu at row 4: pixels 48..63.
  EXPECT_EQ(HitTestArea(s, 16, 8, 48), 4);
  EXPECT_EQ(HitTestArea(s, 8, 8, 24), 4);  // 8-pixel cells
}

TEST(Menus, DragKeepsOffTheLastColumnAndRow) {
  MenuState s = Fresh();
  OpenMenu(s, MenuNumber(Menu::kFile));  // 13 rows at column 2, rows 4..16
  s.draggedMenu = MenuNumber(Menu::kFile);
  ScreenGeometry g;
  g.textColumns = 100;
  g.textRows = 37;
  g.cellHeight = 16;
  MouseState mouse;
  mouse.screenMouseX = 7;  // less than a cell: nothing
  EXPECT_FALSE(DragMenu(s, mouse, g));
  mouse.screenMouseX = 800;
  mouse.screenMouseY = 600;
  EXPECT_TRUE(DragMenu(s, mouse, g));
  const int first = FirstAreaOf(s, MenuNumber(Menu::kFile));
  EXPECT_EQ(s.areas[first].column, 100 - 16);  // never the last column
  EXPECT_EQ(s.areas[first + 12].row, 36);      // never the last row
  EXPECT_EQ(mouse.dragOriginX, 8 * 82);
  EXPECT_EQ(mouse.dragOriginY, 16 * 20);
  EXPECT_EQ(s.areas[0].column, 2);  // the bar stays
  mouse.screenMouseX = -800;
  mouse.screenMouseY = -600;
  DragMenu(s, mouse, g);
  EXPECT_EQ(s.areas[first].column, 1);
  EXPECT_EQ(s.areas[first].row, 1);
}

// On a screen smaller than the menu the right and bottom limits cannot be
// met; the menu then keeps its first row and column on the screen, so its
// close row stays reachable by the mouse and it can be dragged back.
TEST(Menus, DragOnScreenSmallerThanTheMenuKeepsItsCornerOnScreen) {
  MenuState s = Fresh();
  OpenMenu(s, MenuNumber(Menu::kFile));  // 16 columns by 13 rows at column 2, row 4
  s.draggedMenu = MenuNumber(Menu::kFile);
  ScreenGeometry g;
  g.textColumns = 12;  // 100 by 100 pixels
  g.textRows = 12;
  g.cellHeight = 8;
  MouseState mouse;
  mouse.screenMouseX = 40;
  mouse.screenMouseY = 40;
  DragMenu(s, mouse, g);
  const int first = FirstAreaOf(s, MenuNumber(Menu::kFile));
  EXPECT_EQ(s.areas[first].column, 1);
  EXPECT_EQ(s.areas[first].row, 1);
  mouse.screenMouseX = mouse.dragOriginX + 24;  // a drag to the right
  mouse.screenMouseY = mouse.dragOriginY;
  DragMenu(s, mouse, g);
  EXPECT_EQ(s.areas[first].column, 1);
  EXPECT_EQ(s.areas[first].row, 1);
}

TEST(Menus, AutomaticHighlight) {
  MenuState s = Fresh();
  s.focus = 0;
  ApplyAutomaticHighlight(s);
  EXPECT_EQ(s.highlight, 0);
  s.focus = MenuNumber(Menu::kNewTriangle);  // not open
  s.highlight = -1;
  ApplyAutomaticHighlight(s);
  EXPECT_EQ(s.focus, -1);
  EXPECT_EQ(s.highlight, -1);
}

TEST(Menus, PartGroupStepsWrap) {
  EXPECT_EQ(StepPartGroup(0, -1), 99);
  EXPECT_EQ(StepPartGroup(99, 1), 0);
  EXPECT_EQ(StepPartGroup(5, 0), 5);
  EXPECT_EQ(StepPartGroup(98, 3), 1);
  EXPECT_EQ(StepPartGroup(1, -3), 98);
}

}  // namespace
}  // namespace qelvar
