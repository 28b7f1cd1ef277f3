// The menus driven by keys and clicks as the main loop passes them on.
#include <gtest/gtest.h>

#include "app/menu_actions.h"
#include "app/menu_draw.h"
#include "app/menu_hooks.h"
#include "app/menus.h"
#include "app/text_drawing.h"
#include "core/menu_ids.h"
#include "core/messages.h"
#include "fake_platform.h"

namespace qelvar {
namespace {

class MenuInterface : public ::testing::Test {
 protected:
  MenuInterface() : m(platform) { SetUpModeller(m); }

  // One pass of the key steps with the given key.
  PassFlow Press(const std::string& key) {
    m.flags.lastKey = key;
    m.flags.screenDirty = 0;
    return MenuKeyStep(m);
  }
  void Draw() { DrawMenus(m); }
  int AreaOfItem(Menu menu, int item) {
    for (int i = 0; i < m.menus.areaCount; ++i)
      if (m.menus.areas[i].menu == MenuNumber(menu) && m.menus.areas[i].item == item) return i;
    return -1;
  }
  // Clicks the middle of an area's right or left half.
  PassFlow Click(int area, bool rightHalf = true) {
    const MenuArea& a = m.menus.areas[area];
    m.mouse.screenMouseX = (a.column - 1) * 8 + (rightHalf ? a.width * 6 : a.width * 2);
    m.mouse.screenMouseY = (a.row - 1) * 16 + 8;
    m.mouse.buttons = 1;
    m.mouse.leftClick = 1;
    return MenuMouseStep(m);
  }

  FakePlatform platform;
  Modeller m;
};

TEST_F(MenuInterface, MouseOpenedMenuHasNoFocusAndHotkeysDoNothing) {
  Click(0);  // "  File" on the bar
  EXPECT_TRUE(MenuIsOpen(m.menus, MenuNumber(Menu::kFile)));
  EXPECT_TRUE(m.flags.menuItemClicked);
  EXPECT_FALSE(MenuHasKeyboardFocus(m));
  EXPECT_EQ(Press("q"), PassFlow::kContinue);  // reaches the camera keys
  EXPECT_EQ(Press(ExtendedKey(kScanPageUp)), PassFlow::kContinue);
  // Alt, then Down on the highlighted "  File": the open menu takes the focus.
  ToggleMenuBarFocus(m);
  EXPECT_EQ(m.menus.focus, 0);
  Draw();
  EXPECT_EQ(m.menus.highlight, 0);
  EXPECT_EQ(Press(ExtendedKey(kScanDown)), PassFlow::kEndPass);
  EXPECT_EQ(m.menus.focus, MenuNumber(Menu::kFile));
  EXPECT_THROW(Press("q"), ProgramEnded);
}

TEST_F(MenuInterface, AltTogglesBetweenNobodyBarAndBack) {
  OpenMenu(m, MenuNumber(Menu::kView));
  m.menus.focus = MenuNumber(Menu::kView);
  ToggleMenuBarFocus(m);
  EXPECT_EQ(m.menus.focus, 0);
  EXPECT_EQ(m.flags.screenDirty, 2);
  ToggleMenuBarFocus(m);
  EXPECT_EQ(m.menus.focus, -1);
  ToggleMenuBarFocus(m);
  EXPECT_EQ(m.menus.focus, 0);
}

TEST_F(MenuInterface, BarArrowsWrapAndOpenWithFocus) {
  ToggleMenuBarFocus(m);
  Draw();
  Press(ExtendedKey(kScanLeft));
  EXPECT_EQ(m.menus.highlight, 3);
  EXPECT_EQ(m.flags.screenDirty, 2);
  Press(ExtendedKey(kScanRight));
  EXPECT_EQ(m.menus.highlight, 0);
  Press(ExtendedKey(kScanRight));
  Press(ExtendedKey(kScanDown));  // Edit
  EXPECT_EQ(m.menus.focus, MenuNumber(Menu::kEdit));
  Draw();
  EXPECT_EQ(m.menus.highlight, FirstAreaOf(m.menus, MenuNumber(Menu::kEdit)));
  // "create Primitive" by its hotkey replaces the Edit menu and keeps the focus.
  EXPECT_EQ(Press("p"), PassFlow::kEndPass);
  EXPECT_FALSE(MenuIsOpen(m.menus, MenuNumber(Menu::kEdit)));
  EXPECT_EQ(m.menus.focus, MenuNumber(Menu::kCreatePrimitive));
  EXPECT_EQ(m.menus.areas[FirstAreaOf(m.menus, MenuNumber(Menu::kCreatePrimitive))].column, 2);
}

TEST_F(MenuInterface, UpAndDownWalkTheFocusedMenuWrapping) {
  OpenMenu(m, MenuNumber(Menu::kCreatePrimitive));
  OpenMenu(m, MenuNumber(Menu::kNewDisc));
  m.menus.focus = MenuNumber(Menu::kCreatePrimitive);
  Draw();
  const int first = FirstAreaOf(m.menus, MenuNumber(Menu::kCreatePrimitive));
  Press(ExtendedKey(kScanUp));  // from the first row to the last row of menu 15
  EXPECT_EQ(m.menus.highlight, first + 11);
  Press(ExtendedKey(kScanDown));
  EXPECT_EQ(m.menus.highlight, first);
  Press(ExtendedKey(kScanLeft));  // only the direction
  EXPECT_EQ(m.menus.itemDirection, -1);
  EXPECT_EQ(m.menus.highlight, first);
}

TEST_F(MenuInterface, TabWalksUpTheOpenMenusThenToNobody) {
  EXPECT_EQ(Press("\t"), PassFlow::kEndPass);  // only the bar: nobody stays
  EXPECT_EQ(m.menus.focus, -1);
  OpenMenu(m, MenuNumber(Menu::kCreatePrimitive));
  OpenMenu(m, MenuNumber(Menu::kNewVertex));
  Press("\t");
  EXPECT_EQ(m.menus.focus, MenuNumber(Menu::kNewVertex));
  Press("\t");
  EXPECT_EQ(m.menus.focus, MenuNumber(Menu::kCreatePrimitive));
  Press("\t");
  EXPECT_EQ(m.menus.focus, -1);
  ToggleMenuBarFocus(m);
  EXPECT_EQ(Press("\t"), PassFlow::kContinue);  // never from the bar
  EXPECT_EQ(m.menus.focus, 0);
}

TEST_F(MenuInterface, HotkeyInVertexEditTakesTheUpperRow) {
  OpenMenu(m, MenuNumber(Menu::kVertEdit));
  m.menus.focus = MenuNumber(Menu::kVertEdit);
  Press("m");
  EXPECT_TRUE(HasOption(m.options, kOptMousePlot));
  EXPECT_EQ(m.flags.statusMessage, 0);  // not "Move to absolute"
}

TEST_F(MenuInterface, CloseRowAndEscapeKeepMenus) {
  OpenMenu(m, MenuNumber(Menu::kSelection));
  m.menus.focus = MenuNumber(Menu::kSelection);
  EXPECT_EQ(Press("\x1b"), PassFlow::kContinue);
  EXPECT_TRUE(MenuIsOpen(m.menus, MenuNumber(Menu::kSelection)));
  Press("-");
  EXPECT_FALSE(MenuIsOpen(m.menus, MenuNumber(Menu::kSelection)));
  EXPECT_EQ(m.menus.focus, -1);
}

TEST_F(MenuInterface, WheelOverNameRowsStepsTheSelector) {
  OpenMenu(m, MenuNumber(Menu::kPartNames));
  const int row = AreaOfItem(Menu::kPartNames, 90);
  const MenuArea& a = m.menus.areas[row];
  m.mouse.screenMouseX = (a.column - 1) * 8 + 20;
  m.mouse.screenMouseY = (a.row - 1) * 16 + 3;
  m.mouse.previousWheel = 0;
  m.mouse.wheel = 1;  // one unit up
  EXPECT_EQ(MenuWheelStep(m), PassFlow::kToolStep);
  EXPECT_EQ(m.menus.partGroup[MenuNumber(Menu::kPartNames)], 99);
  EXPECT_EQ(m.flags.screenDirty & 2, 2);
  m.mouse.previousWheel = 1;
  m.mouse.wheel = -1;
  MenuWheelStep(m);
  EXPECT_EQ(m.menus.partGroup[MenuNumber(Menu::kPartNames)], 1);
  m.mouse.previousWheel = m.mouse.wheel;
  EXPECT_EQ(MenuWheelStep(m), PassFlow::kContinue);
  m.mouse.wheel = 5;
  m.mouse.screenMouseX = 790;  // over nothing
  EXPECT_EQ(MenuWheelStep(m), PassFlow::kContinue);
}

TEST_F(MenuInterface, PartGroupRowStepsBySide) {
  OpenMenu(m, MenuNumber(Menu::kByPartGroup));
  const int stepper = AreaOfItem(Menu::kByPartGroup, 88);
  Click(stepper, false);
  EXPECT_EQ(m.menus.partGroup[MenuNumber(Menu::kByPartGroup)], 99);
  Click(stepper, true);
  Click(stepper, true);
  EXPECT_EQ(m.menus.partGroup[MenuNumber(Menu::kByPartGroup)], 1);
  // By Enter: no step before the first arrow.
  m.menus.itemDirection = 0;
  m.menus.focus = MenuNumber(Menu::kByPartGroup);
  m.menus.highlight = stepper;
  Press("\r");
  EXPECT_EQ(m.menus.partGroup[MenuNumber(Menu::kByPartGroup)], 1);
  Press(ExtendedKey(kScanLeft));
  Press("\r");
  EXPECT_EQ(m.menus.partGroup[MenuNumber(Menu::kByPartGroup)], 0);
}

TEST_F(MenuInterface, GroupRowsSelectAndUnselectTheirGroup) {
  m.model.triangleFlags[1] = 3;
  m.model.triangleFlags[2] = 3 | kSelectedBit;
  m.menus.partGroup[MenuNumber(Menu::kByPartGroup)] = 2;
  OpenMenu(m, MenuNumber(Menu::kByPartGroup));
  DrawOverlay(m);  // the rows show groups from the selector on
  const int second = AreaOfItem(Menu::kByPartGroup, 18) + 1;  // shows group 3
  EXPECT_EQ(m.menus.areas[second].extra, 3);
  Click(second);
  EXPECT_EQ(m.model.triangleFlags[1], 3 | kSelectedBit);
  EXPECT_EQ(m.model.triangleFlags[0], 0);
  EXPECT_TRUE(m.flags.redrawRequested);
  m.options |= 1u << kOptUnselect;
  Click(second);
  EXPECT_EQ(m.model.triangleFlags[1], 3);
  EXPECT_EQ(m.model.triangleFlags[2], 3);
  // The group row of another menu only shows its selector's group.
  m.options = 0;
  OpenMenu(m, MenuNumber(Menu::kEdit));
  m.menus.partGroup[MenuNumber(Menu::kEdit)] = 3;
  DrawOverlay(m);
  Click(AreaOfItem(Menu::kEdit, 18));
  EXPECT_EQ(m.model.triangleFlags[1], 3);
}

TEST_F(MenuInterface, RightButtonDragsMenusButNotTheBar) {
  OpenMenu(m, MenuNumber(Menu::kFile));
  m.mouse.screenMouseX = 20;
  m.mouse.screenMouseY = 20;  // the bar
  m.mouse.buttons = 2;
  m.mouse.rightClick = 2;
  EXPECT_EQ(MenuMouseStep(m), PassFlow::kContinue);
  EXPECT_EQ(m.menus.draggedMenu, 0);
  m.mouse.screenMouseY = 3 * 16 + 4;  // first row of the File menu
  EXPECT_EQ(MenuMouseStep(m), PassFlow::kEndPass);
  EXPECT_EQ(m.menus.draggedMenu, MenuNumber(Menu::kFile));
  m.mouse.dragOriginX = m.mouse.screenMouseX;
  m.mouse.dragOriginY = m.mouse.screenMouseY;
  m.mouse.rightClick = 0;
  m.mouse.screenMouseX += 8 * 20 + 3;
  EXPECT_EQ(MenuMouseStep(m), PassFlow::kEndPassNoBookkeeping);
  EXPECT_EQ(m.menus.areas[FirstAreaOf(m.menus, MenuNumber(Menu::kFile))].column, 22);
  // Opening the Edit menu at the File menu's old origin keeps both.
  OpenMenu(m, MenuNumber(Menu::kEdit));
  EXPECT_TRUE(MenuIsOpen(m.menus, MenuNumber(Menu::kFile)));
  m.mouse.buttons = 0;
  MenuMouseStep(m);
  EXPECT_EQ(m.menus.draggedMenu, 0);
}

TEST_F(MenuInterface, FileListThumbDrag) {
  OpenMenu(m, MenuNumber(Menu::kOpen));
  m.menus.fileList.entryCount = 60;
  m.menus.fileList.needsListing = false;  // a listing of 60 entries, not of the test's directory
  m.menus.fileList.thumbRow = 1;
  Draw();  // file rows get their row numbers from the file browser; here by hand
  int row = 0;
  for (int i = 0; i < m.menus.areaCount; ++i)
    if (m.menus.areas[i].item == 141) m.menus.areas[i].extra = static_cast<uint8_t>(row++);
  const MenuArea& thumb = m.menus.areas[AreaOfItem(Menu::kOpen, 141) + 1];
  m.mouse.screenMouseX = (thumb.column - 1) * 8 + 36 * 8 - 3;
  m.mouse.screenMouseY = (thumb.row - 1) * 16 + 5;
  m.mouse.mouseY = m.mouse.screenMouseY;
  m.mouse.pressY = m.mouse.mouseY;
  m.mouse.buttons = 1;
  m.mouse.leftClick = 1;
  EXPECT_EQ(MenuMouseStep(m), PassFlow::kEndPass);
  EXPECT_TRUE(m.menus.fileList.thumbDrag);
  m.mouse.leftClick = 0;
  m.mouse.mouseY += 2 * 16 + 7;  // two rows down
  EXPECT_EQ(MenuMouseStep(m), PassFlow::kEndPassNoBookkeeping);
  EXPECT_EQ(m.menus.fileList.firstEntry, 60 * 2 / 12);
  EXPECT_EQ(m.mouse.pressY, thumb.row * 16 - 16 + 5 + 32);
  m.mouse.mouseY -= 6 * 16;
  MenuMouseStep(m);
  EXPECT_EQ(m.menus.fileList.firstEntry, 0);  // not below 0
  m.mouse.buttons = 0;
  EXPECT_EQ(MenuMouseStep(m), PassFlow::kContinue);
  EXPECT_FALSE(m.menus.fileList.thumbDrag);
}

TEST_F(MenuInterface, FileListScrollingStaysInRangeForHugeListings) {
  OpenMenu(m, MenuNumber(Menu::kOpen));
  FileListState& list = m.menus.fileList;
  list.needsListing = false;
  list.entryCount = 2000000000;
  list.thumbDrag = true;
  m.mouse.buttons = 1;
  m.mouse.pressY = 0;
  m.mouse.mouseY = 14 * 16;  // 14 rows: 2e9 * 14 does not fit an int
  MenuMouseStep(m);
  EXPECT_EQ(list.firstEntry, INT32_MAX);
  m.mouse.pressY = m.mouse.mouseY;
  m.mouse.mouseY -= 3 * 16;
  MenuMouseStep(m);
  EXPECT_EQ(list.firstEntry, INT32_MAX - 500000000);

  list.thumbDrag = false;
  m.mouse.buttons = 0;
  list.firstEntry = INT32_MAX - 2;
  const MenuArea& a = m.menus.areas[AreaOfItem(Menu::kOpen, 141)];
  m.mouse.screenMouseX = (a.column - 1) * 8 + 20;
  m.mouse.screenMouseY = (a.row - 1) * 16 + 3;
  m.mouse.previousWheel = 0;
  m.mouse.wheel = -1;  // one notch down: four entries on, at most to the last offset
  EXPECT_EQ(MenuWheelStep(m), PassFlow::kToolStep);
  EXPECT_EQ(list.firstEntry, INT32_MAX);
  m.mouse.previousWheel = -1;
  m.mouse.wheel = 2;  // three notches up
  MenuWheelStep(m);
  EXPECT_EQ(list.firstEntry, INT32_MAX - 12);
}

TEST_F(MenuInterface, NewSelectionViewAndQuitRunAndUnconnectedCommandsSaySo) {
  OpenMenu(m, MenuNumber(Menu::kFile));
  Click(AreaOfItem(Menu::kFile, 80));  // " New"
  EXPECT_EQ(m.model.triangleCount, 0);
  EXPECT_EQ(m.flags.statusMessage, kMsgModelCleared);
  EXPECT_EQ(m.savedRevision, m.model.revision);  // the empty model starts unmodified
  EXPECT_TRUE(m.flags.redrawRequested);
  EXPECT_EQ(m.flags.screenDirty, 1);
  m.flags.statusMessage = 0;
  RunCommand(m, CommandNumber(Command::kChisel));
  EXPECT_EQ(m.flags.statusMessage, kMsgNotImplemented);
  InitModelStore(m.model);
  RunCommand(m, CommandNumber(Command::kSelectAll));
  EXPECT_EQ(m.model.triangleFlags[5], kSelectedBit);
  RunCommand(m, CommandNumber(Command::kClearSelection));
  EXPECT_EQ(m.model.triangleFlags[5], 0);
  m.view.angleXZ = 1.0f;
  m.flags.redrawRequested = false;
  RunCommand(m, CommandNumber(Command::kTopView));
  EXPECT_EQ(m.view.angleXZ, 0.0f);
  EXPECT_TRUE(m.flags.redrawRequested);
  EXPECT_THROW(RunCommand(m, CommandNumber(Command::kQuit)), ProgramEnded);
}

TEST_F(MenuInterface, ConfirmActsForTheMenuItWasChosenIn) {
  m.model.triangleFlags[4] = kSelectedBit;
  m.cells.Int(kCellChangeRed) = 31;
  OpenMenu(m, MenuNumber(Menu::kChangeColour));  // "Change color"
  Click(AreaOfItem(Menu::kChangeColour, 72));
  EXPECT_EQ(m.model.triangleColours[4], 31 << 10);
  EXPECT_EQ(m.model.triangleColours[3], 0);
  // "Delete selection": the same row deletes the selected triangle
  OpenMenu(m, MenuNumber(Menu::kDeleteSelection));
  m.flags.statusMessage = 0;
  Click(AreaOfItem(Menu::kDeleteSelection, 72));
  EXPECT_EQ(m.flags.statusMessage, kMsgDeleted);
  EXPECT_EQ(m.model.triangleCount, 5);
  EXPECT_EQ(m.model.triangleColours[4], 0);  // the recoloured triangle went
  OpenMenu(m, MenuNumber(Menu::kLightSource));
  Click(AreaOfItem(Menu::kLightSource, 155));  // "Mouse light"
  EXPECT_EQ(m.tools.mode, ToolMode::kMouseLight);
}

TEST_F(MenuInterface, VertSelectorRowMarksThePickedVertex) {
  m.model.vertexScratch[2] = ScratchVertex{10.0f, 20.0f, 5.0f};
  m.view.centreX = 300;
  m.view.centreY = 400;
  m.tools.pickedVertex = 2;
  OpenMenu(m, MenuNumber(Menu::kVertEdit));
  Draw();
  EXPECT_EQ(platform.screen().PixelRgb(308, 418), 0xFF00FFu);
  EXPECT_EQ(platform.screen().PixelRgb(312, 422), 0xFF00FFu);
  EXPECT_NE(platform.screen().PixelRgb(310, 420), 0xFF00FFu);
}

TEST_F(MenuInterface, CheckBoxes) {
  OpenMenu(m, MenuNumber(Menu::kOpen));
  m.menus.fileList.firstEntry = 28;
  m.menus.fileList.needsListing = false;
  Click(AreaOfItem(Menu::kOpen, 144));  // "[_] All files"
  EXPECT_TRUE(HasOption(m.options, kOptAllFiles));
  EXPECT_EQ(m.menus.fileList.firstEntry, 0);
  EXPECT_TRUE(m.menus.fileList.needsListing);
  OpenMenu(m, MenuNumber(Menu::kVertEdit));
  Click(AreaOfItem(Menu::kVertEdit, 117));  // "[_] vert Selectr"
  EXPECT_EQ(m.tools.mode, ToolMode::kVertexEdit);
}

TEST_F(MenuInterface, DrawnRows) {
  m.options |= 1u << kOptShowVerts;
  OpenMenu(m, MenuNumber(Menu::kView));  // View
  m.menus.focus = MenuNumber(Menu::kView);
  Draw();
  const Screen& s = platform.screen();
  EXPECT_EQ(TextAt(s, 2, 1, 40), "   File      Edit      View     Camera  ");
  EXPECT_EQ(TextAt(s, 4, 2, 16), "---- close -----");
  EXPECT_EQ(TextAt(s, 5, 2, 16), "[X] show veRts  ");
  EXPECT_EQ(TextAt(s, 6, 2, 16), "[X] show Tris   ");
  EXPECT_EQ(TextAt(s, 15, 2, 16), "drawdepth1000000");
  EXPECT_EQ(TextAt(s, 16, 2, 16), "coNtrast     160");
  // The highlighted close row is drawn in swapped colours with an outline.
  EXPECT_EQ(s.PixelRgb(8, 48), EntryColour(m, kColourCommandRow));
  OpenMenu(m, MenuNumber(Menu::kPartNames));
  m.model.partNames[1] = PartName{'w', 'h', 'e', 'e', 'l'};
  m.menus.partGroup[MenuNumber(Menu::kPartNames)] = 98;
  DrawOverlay(m);
  EXPECT_EQ(TextAt(s, 6, 19, 16), " 98             ");
  EXPECT_EQ(TextAt(s, 7, 19, 16), " 99             ");
  EXPECT_EQ(TextAt(s, 8, 19, 16), " 00 default     ");
  EXPECT_EQ(TextAt(s, 9, 19, 16), " 01 wheel       ");
  EXPECT_EQ(TextAt(s, 1, 3, 24), "current file: default.qv");
  EXPECT_EQ(TextAt(s, 3, 3, 15), "tool: mouselook");
}

}  // namespace
}  // namespace qelvar
