// The value editor, the text prompt and the help box, each running its own
// little loop on queued keys and mouse readings.
#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "app/menu_actions.h"
#include "app/menu_hooks.h"
#include "app/menus.h"
#include "app/status_lines.h"
#include "app/text_drawing.h"
#include "app/text_prompt.h"
#include "app/tool_steps.h"
#include "app/value_fields.h"
#include "core/menu_ids.h"
#include "fake_platform.h"
#include "model/stl_progress.h"

namespace qelvar {
namespace {

class ModalLoops : public ::testing::Test {
 protected:
  ModalLoops() : m(platform) { SetUpModeller(m); }

  int AreaOfItem(Menu menu, int item) {
    for (int i = 0; i < m.menus.areaCount; ++i)
      if (m.menus.areas[i].menu == MenuNumber(menu) && m.menus.areas[i].item == item) return i;
    return -1;
  }
  void Edit(Menu menu, int item) { ActivateArea(m, AreaOfItem(menu, item)); }

  FakePlatform platform;
  Modeller m;
};

TEST_F(ModalLoops, TypedNumbersAreStored) {
  OpenMenu(m, MenuNumber(Menu::kRotate));  // Rotate selection
  platform.Type("45d\r");
  Edit(Menu::kRotate, 69);  // "XY angle"
  EXPECT_FLOAT_EQ(m.cells.Real(63), kPi / 4);
  EXPECT_EQ(m.flags.screenDirty, 1);
  platform.Type("1.5\r");
  Edit(Menu::kRotate, 42);
  EXPECT_EQ(m.cells.Real(50), 1.5f);
  platform.Type("-2\r");
  Edit(Menu::kRotate, 42);
  EXPECT_EQ(m.cells.Real(50), -2.0f);
  platform.Type("\r");
  Edit(Menu::kRotate, 42);
  EXPECT_EQ(m.cells.Real(50), 0.0f);
  m.cells.Real(50) = 7.0f;
  platform.Type("12\x1b");
  Edit(Menu::kRotate, 42);
  EXPECT_EQ(m.cells.Real(50), 7.0f);  // Escape keeps the old value
}

TEST_F(ModalLoops, SeventhCharacterAcceptsAndIntegerCellsRoundToEven) {
  OpenMenu(m, MenuNumber(Menu::kNewDisc));  // new Disc
  platform.Type("1234567");
  platform.Type("9");  // left over for whoever reads next
  Edit(Menu::kNewDisc, 85);
  EXPECT_EQ(m.cells.Real(82), 1234567.0f);
  EXPECT_EQ(platform.keys.size(), 1u);
  platform.keys.clear();
  platform.Type("2.5\r");
  Edit(Menu::kNewDisc, 87);  // "sIdes", an integer cell
  EXPECT_EQ(m.cells.Int(12), 2);
  platform.Type("3.5\r");
  Edit(Menu::kNewDisc, 87);
  EXPECT_EQ(m.cells.Int(12), 4);
}

TEST_F(ModalLoops, TabGoesOnToTheNextValueRow) {
  OpenMenu(m, MenuNumber(Menu::kNewDisc));  // X1 Y1 Z1 Radius1 sIdes
  platform.Type("1\t2\t3\r");
  Edit(Menu::kNewDisc, 42);
  EXPECT_EQ(m.cells.Real(50), 1.0f);
  EXPECT_EQ(m.cells.Real(51), 2.0f);
  EXPECT_EQ(m.cells.Real(52), 3.0f);
  EXPECT_EQ(m.cells.Real(82), 10.0f);
  platform.Type("9\t");  // Tab on the last value row ends the edit
  Edit(Menu::kNewDisc, 87);
  EXPECT_EQ(m.cells.Int(12), 9);
}

TEST_F(ModalLoops, LeftClickAcceptsAndRendersWhereNeeded) {
  OpenMenu(m, MenuNumber(Menu::kView));
  MouseReading up, down;
  down.buttons = 1;
  platform.Type("5");
  platform.mouseQueue = {up, up, down};
  Edit(Menu::kView, 150);  // "coNtrast"
  EXPECT_EQ(m.cells.Int(26), 5);
  EXPECT_TRUE(m.flags.redrawRequested);
  EXPECT_EQ(m.mouse.buttons, 1);  // the main loop sees no second click
  m.flags.redrawRequested = false;
  OpenMenu(m, MenuNumber(Menu::kLightSource));
  platform.Type("1\r");
  Edit(Menu::kLightSource, 153);  // "LXY"
  EXPECT_TRUE(m.flags.redrawRequested);
}

TEST_F(ModalLoops, EchoesIntoTheLastSevenCells) {
  OpenMenu(m, MenuNumber(Menu::kNewCube));  // new cUbe: "siZe" on row 9
  platform.Type("12");
  platform.Key(ExtendedKey(kScanClose));
  EXPECT_THROW(Edit(Menu::kNewCube, 55), ProgramEnded);
  const int row = m.menus.areas[AreaOfItem(Menu::kNewCube, 55)].row;
  EXPECT_EQ(TextAt(platform.screen(), row, 19 + 9, 7), "12     ");
}

TEST_F(ModalLoops, MousePlotInsteadOfTyping) {
  m.options |= 1u << kOptMousePlot;
  OpenMenu(m, MenuNumber(Menu::kNewTriangle));
  Edit(Menu::kNewTriangle, 45);  // "X2"
  EXPECT_EQ(m.tools.mode, ToolMode::kMousePlot);
  EXPECT_EQ(m.tools.plotGroup, 2);
  EXPECT_EQ(m.tools.plotMenu, MenuNumber(Menu::kNewTriangle));
  EXPECT_EQ(platform.mousePolls, 0);
  m.tools.mode = ToolMode::kNone;
  OpenMenu(m, MenuNumber(Menu::kNewCube));
  platform.Type("4\r");
  Edit(Menu::kNewCube, 55);  // "siZe" is typed
  EXPECT_EQ(m.cells.Real(62), 4.0f);
  EXPECT_EQ(m.tools.mode, ToolMode::kNone);
}

TEST_F(ModalLoops, PromptLayoutAndAnswer) {
  platform.Type("  name,rest\r");
  EXPECT_EQ(AskText(m, "    OPEN  - enter filename    "), "name");
  const Screen& s = platform.screen();
  EXPECT_EQ(TextAt(s, 7, 4, 32), "     OPEN  - enter filename     ");
  EXPECT_EQ(TextAt(s, 8, 6, 12), "?   name,res");
  EXPECT_EQ(s.PixelRgb(3 * 8, 5 * 16), EntryColour(m, kColourFrame));
  EXPECT_EQ(s.PixelRgb(5 * 8, 8 * 16), EntryColour(m, kColourPlainRow));
  platform.Type("abc\x1b\r");
  EXPECT_EQ(AskText(m, "t"), "");
}

TEST_F(ModalLoops, LongPromptTextWrapsAtTheScreenEdge) {
  platform.Type(std::string(100, 'x') + "\r");
  EXPECT_EQ(AskText(m, "t").size(), 100u);
  EXPECT_EQ(TextAt(platform.screen(), 9, 1, 8), "xxxxxxx ");  // 93 on row 8, 7 on row 9
}

TEST_F(ModalLoops, RenamingAPartGroup) {
  m.menus.partGroup[MenuNumber(Menu::kPartNames)] = 4;
  OpenMenu(m, MenuNumber(Menu::kPartNames));
  DrawOverlay(m);
  platform.Type("a twenty character n\r");
  ActivateArea(m, AreaOfItem(Menu::kPartNames, 90) + 1);  // shows group 5
  EXPECT_EQ(std::string(m.model.partNames[5].data(), 12), "a twenty cha");
  platform.Type("\r");
  ActivateArea(m, AreaOfItem(Menu::kPartNames, 90) + 1);
  EXPECT_EQ(m.model.partNames[5], PartName{});
  EXPECT_EQ(TextAt(platform.screen(), 7, 5, 30), "    enter new part name       ");
}

TEST_F(ModalLoops, CloseRequestEndsThePrompt) {
  EXPECT_THROW(AskText(m, "t"), ProgramEnded);  // no key left: the window closes
}

TEST_F(ModalLoops, HelpSwallowsOneKey) {
  platform.Key("\x1b");
  platform.Key("w");
  ShowHelp(m);
  EXPECT_EQ(platform.keys.size(), 1u);
  EXPECT_EQ(m.flags.screenDirty, 1);
  const Screen& s = platform.screen();
  EXPECT_EQ(TextAt(s, 6, 6, 28), "  F1 (this reminder)        ");
  EXPECT_EQ(TextAt(s, 20, 7, 26), " W/A/S/D pan camera       ");
  EXPECT_EQ(s.PixelRgb(5 * 8, 4 * 16), EntryColour(m, kColourFrame));
  platform.keys.clear();
  platform.Key(ExtendedKey(kScanClose));
  EXPECT_THROW(ShowHelp(m), ProgramEnded);
}

TEST_F(ModalLoops, StatusMessages) {
  m.flags.statusMessage = 8;
  PrintStatusMessage(m);
  EXPECT_TRUE(m.flags.messageOnScreen);
  EXPECT_EQ(TextAt(platform.screen(), 23, 1, 26), "Model cleared!            ");
  m.flags.statusMessage = 10;
  PrintStatusMessage(m);
  EXPECT_EQ(TextAt(platform.screen(), 23, 1, 25), "function not implemented ");
  EXPECT_EQ(StatusMessageText(4).size(), 25u);
}

TEST_F(ModalLoops, ToolLine) {
  m.options |= 1u << kOptStereo;
  m.modelFileName = "a_very_long_model_file_name_indeed.qv";
  DrawOverlay(m);
  const Screen& s = platform.screen();
  EXPECT_EQ(TextAt(s, 1, 3, 38), "current file: a_very_long_model_file_n");
  EXPECT_EQ(TextAt(s, 1, 41, 2), "  ");
  EXPECT_EQ(TextAt(s, 3, 3, 18), "tool: stereo view ");
  // The selection tool exists while its box is ticked and its menu is open.
  m.options |= 1u << kOptSelectTool;
  RunToolDisplayStep(m);
  DrawOverlay(m);
  EXPECT_EQ(m.tools.mode, ToolMode::kNone);
  OpenMenu(m, MenuNumber(Menu::kSelection));
  m.mouse.dragOriginX = 500;
  m.mouse.dragOriginY = 300;
  m.mouse.screenMouseX = 540;
  m.mouse.screenMouseY = 320;
  RunToolDisplayStep(m);
  DrawOverlay(m);
  EXPECT_EQ(m.tools.mode, ToolMode::kSelection);
  EXPECT_EQ(s.PixelRgb(520, 300), EntryColour(m, kColourSelectRect));
  EXPECT_EQ(s.PixelRgb(540, 310), EntryColour(m, kColourSelectRect));
  EXPECT_NE(s.PixelRgb(520, 310), EntryColour(m, kColourSelectRect));
  CloseMenu(m.menus, MenuNumber(Menu::kSelection));
  RunToolDisplayStep(m);
  DrawOverlay(m);
  EXPECT_EQ(m.tools.mode, ToolMode::kNone);
  m.tools.mode = ToolMode::kFrameRate;
  m.tools.frameRateStart = 1.0;
  m.tools.frameRateFrames = 9;
  platform.clock = 3.0;
  RunToolDisplayStep(m);
  DrawOverlay(m);
  EXPECT_EQ(TextAt(s, 3, 3, 30), "tool: FPS (R-click to end)  5 ");
}

TEST_F(ModalLoops, StlImportTakesEscapeAndEndsOnTheCloseRequest) {
  ScreenImportProgress progress(platform, EntryColour(m, kColourCheckRow),
                                EntryColour(m, kColourText));
  EXPECT_FALSE(progress.Cancelled(128, 300));  // no key: the import goes on
  platform.Type("x");
  EXPECT_FALSE(progress.Cancelled(256, 300));
  platform.Key("\x1b");
  EXPECT_TRUE(progress.Cancelled(256, 300));
  platform.Key(ExtendedKey(kScanClose));  // taken by the import, it must not be lost
  EXPECT_THROW(progress.Cancelled(256, 300), ProgramEnded);
}

// The close request is never taken as an ordinary key: neither the frame-rate
// tool (which ends on any key) nor a pass that drops its key for Alt loses it.
TEST_F(ModalLoops, CloseRequestIsNeverSwallowedByTheMainLoop) {
  m.model.normalsDirty = false;
  m.tools.mode = ToolMode::kFrameRate;
  platform.Key(ExtendedKey(kScanClose));
  EXPECT_THROW(MainLoopPass(m), ProgramEnded);
  EXPECT_EQ(m.tools.mode, ToolMode::kFrameRate);
}

}  // namespace
}  // namespace qelvar
