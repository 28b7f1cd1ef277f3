// Whole passes of the main loop on a scripted platform: what is drawn when,
// the idle poll, Alt and the dropped key, which keys end the pass with or
// without the end-of-pass bookkeeping, camera keys, and the mouse readings.
#include "app/main_loop.h"

#include <gtest/gtest.h>

#include "app/menu_hooks.h"
#include "app/menus.h"
#include "core/menu_ids.h"
#include "fake_platform.h"
#include "render/rasteriser.h"
#include "render/view.h"

namespace qelvar {
namespace {

const std::string kF1 = ExtendedKey(kScanF1), kF2 = ExtendedKey(kScanF2);
const std::string kF6 = ExtendedKey(kScanF6), kRight = ExtendedKey(kScanRight);
const std::string kPageUp = ExtendedKey(kScanPageUp);

class Loop : public ::testing::Test {
 protected:
  Loop() : m(p) { Start(1); }

  void Start(int detail) {
    SetUpModeller(m);
    ScreenGeometry& g = m.geometry;
    g = DeriveScreenGeometry(g.screenWidth, g.screenHeight, 32, g.textColumns, g.textRows, detail);
    InitRenderBuffers(m.buffers, g);
    InitView(m.view, g);
    m.model.normalsDirty = true;
  }
  // One pass that polls once: the key (if any) arrives with the mouse reading.
  void Pass(const std::string& key = "", MouseReading mouse = {-1, -1, 0, 0}) {
    if (!key.empty()) p.Key(key);
    if (mouse.x >= 0) p.mouseQueue.push_back(mouse);
    MainLoopPass(m);
  }
  // The first pass: renders and presents the start-up scene.
  void FirstPass() { Pass("x"); }

  FakePlatform p;
  Modeller m;
};

TEST_F(Loop, FirstPassComputesNormalsRendersAndShowsTheValues) {
  FirstPass();
  EXPECT_FALSE(m.model.normalsDirty);
  EXPECT_FALSE(m.flags.redrawRequested);
  EXPECT_EQ(m.flags.screenDirty, 0);
  EXPECT_EQ(p.unlocks, 1);
  const ValueCells& c = m.cells;
  EXPECT_EQ(c.Int(0), 9);
  EXPECT_EQ(c.Int(1), 6);
  EXPECT_EQ(c.Int(2), 4);
  EXPECT_EQ(c.Int(6), 229);  // 4 radians in whole degrees
  EXPECT_EQ(c.Int(7), 250);
  EXPECT_EQ(c.Int(8), 400);
  EXPECT_EQ(c.Int(9), 400);  // "h offset" shows the projection centre
  EXPECT_EQ(c.Int(10), 375);
  EXPECT_EQ(c.Int(11), 0);
  // The frame is on the screen.
  const uint32_t centre = m.buffers.colour[375 * 800 + 400];
  EXPECT_NE(centre, 0u);
  EXPECT_EQ(p.screen().PixelRgb(400, 375), centre);
}

TEST_F(Loop, IdleProgramPollsEvery40MillisecondsAndDrawsNothing) {
  FirstPass();
  // Moving the mouse without buttons: passes that redraw nothing.
  Pass("", {300, 200, 0, 0});
  Pass("", {310, 205, 0, 0});
  EXPECT_EQ(p.unlocks, 1);
  EXPECT_EQ(p.sleptMs, 0);
  const int polls = p.mousePolls;
  EXPECT_THROW(Pass(), ProgramEnded);  // the fake ends a wait that would never end
  EXPECT_EQ(p.unlocks, 1);
  EXPECT_EQ(p.sleptMs, 40 * p.idleSleeps);
  EXPECT_EQ(p.mousePolls - polls, p.idleSleeps);
}

TEST_F(Loop, AltTogglesTheBarFocusOnItsEdgeAndDropsTheKeyOfThatPoll) {
  FirstPass();
  p.held.insert(kScanAlt);
  Pass("w");
  EXPECT_EQ(m.menus.focus, 0);
  EXPECT_EQ(m.view.vOffset, 75.0f / 400.0f);  // "w" was lost
  EXPECT_TRUE(p.keys.empty());
  EXPECT_EQ(m.flags.screenDirty, 2);
  EXPECT_EQ(p.unlocks, 1);
  Pass("x");  // Alt still held: no new edge
  EXPECT_EQ(m.menus.focus, 0);
  EXPECT_EQ(p.unlocks, 2);
  p.held.clear();
  Pass("x");
  p.held.insert(kScanAlt);
  Pass("x");
  EXPECT_EQ(m.menus.focus, -1);
  OpenMenu(m.menus, MenuNumber(Menu::kFile));
  m.menus.focus = MenuNumber(Menu::kFile);  // a focused menu hands the focus back to the bar
  p.held.clear();
  Pass("x");
  p.held.insert(kScanAlt);
  Pass("x");
  EXPECT_EQ(m.menus.focus, 0);
  EXPECT_EQ(m.menus.highlight, -1);
  // Alt and F4 together: the window's close request is never the key dropped.
  p.held.clear();
  Pass("x");
  p.held.insert(kScanAlt);
  EXPECT_THROW(Pass(ExtendedKey(kScanClose)), ProgramEnded);
}

TEST_F(Loop, HelpEndsThePassWithoutBookkeepingEscapeWithIt) {
  FirstPass();
  p.Key(kF1);
  p.Key("y");  // swallowed by the help box
  Pass("", {100, 50, 0, 0});
  EXPECT_TRUE(p.keys.empty());
  EXPECT_EQ(m.mouse.pressX, 0);
  EXPECT_EQ(m.mouse.dragOriginX, 0);
  EXPECT_EQ(m.flags.screenDirty, 1);
  m.view.distance = 99.0f;
  m.view.vOffset = 3.0f;
  Pass("\x1b");
  EXPECT_EQ(m.mouse.pressX, 100);
  EXPECT_EQ(m.mouse.dragOriginY, 50);
  EXPECT_EQ(m.view.distance, 250.0f);
  EXPECT_EQ(m.view.vOffset, 0.0f);
  EXPECT_EQ(m.view.previousDistance, 250.0f);
  EXPECT_TRUE(m.flags.redrawRequested);
}

TEST_F(Loop, MenuKeysGoOnToMouseLookSelectionKeysDoNot) {
  FirstPass();
  Pass("", {0, 0, 0, 1});  // left button down: the drag starts here
  Pass(kF2, {80, 0, 0, 1});
  EXPECT_TRUE(MenuIsOpen(m.menus, MenuNumber(Menu::kCreatePrimitive)));
  EXPECT_EQ(m.view.angleXY, 80.0f * kTwoPi / 800.0f);
  const float turned = m.view.angleXY;
  Pass(kF6, {160, 0, 0, 1});
  EXPECT_EQ(m.view.angleXY, turned);
  EXPECT_EQ(CountSelected(m.model), 6);
  EXPECT_EQ(m.mouse.pressX, 160);  // the bookkeeping ran
  Pass("", {200, 0, 0, 1});
  EXPECT_EQ(m.view.angleXY, turned + 40.0f * kTwoPi / 800.0f);
}

TEST_F(Loop, CameraKeysStepsShiftLockAndFocus) {
  FirstPass();
  Pass(kRight);
  EXPECT_EQ(m.view.angleXY, kPi / 90.0f);
  p.held.insert(kScanLeftShift);
  Pass(kRight);
  EXPECT_EQ(m.view.angleXY, kPi / 90.0f + kPi / 8.0f);
  p.held.clear();
  Pass("}");  // typed with Shift: always the large step
  EXPECT_EQ(m.view.angleXZ, kPi / 8.0f);
  m.view.angleXY = m.view.previousAngleXY = 0.0f;
  Pass(ExtendedKey(kScanLeft));
  EXPECT_EQ(m.view.angleXY, -kPi / 90.0f + kTwoPi);
  Pass("x");
  EXPECT_EQ(m.cells.Int(4), 358);
  // An open menu without the focus does not block the keys; a focused one does.
  OpenMenu(m.menus, MenuNumber(Menu::kFile));
  Pass(kPageUp);
  EXPECT_EQ(m.view.distance, 250.0f * 0.9f);
  m.menus.focus = MenuNumber(Menu::kFile);
  Pass(kPageUp);
  EXPECT_EQ(m.view.distance, 250.0f * 0.9f);
  m.menus.focus = -1;
  m.options |= 1u << kOptLockView;
  Pass("d");
  EXPECT_EQ(m.view.hOffset, 0.0f);
  Pass("\x1b");  // Escape works while the view is locked
  EXPECT_EQ(m.view.distance, 250.0f);
}

TEST_F(Loop, ClickOnAMenuThenDragDoesNotTurnTheView) {
  FirstPass();
  Pass("", {20, 20, 0, 1});  // "  File" on the bar
  EXPECT_TRUE(m.flags.menuItemClicked);
  EXPECT_TRUE(MenuIsOpen(m.menus, MenuNumber(Menu::kFile)));
  Pass("", {120, 60, 0, 1});
  EXPECT_EQ(m.view.angleXY, 0.0f);
  EXPECT_EQ(m.view.angleYZ, 4.0f);
  Pass("", {120, 60, 0, 0});
  EXPECT_FALSE(m.flags.menuItemClicked);
}

TEST_F(Loop, FrameRateToolTakesEveryKeyAsItsEnd) {
  FirstPass();
  m.tools.mode = ToolMode::kFrameRate;
  m.tools.frameRateFrames = 7;
  p.clock = 4.5;
  Pass("", {10, 10, 0, 0});
  EXPECT_EQ(m.tools.mode, ToolMode::kFrameRate);
  EXPECT_TRUE(m.flags.redrawRequested);
  EXPECT_EQ(m.tools.frameRateStart, 4.5);  // more than 4 s: the measurement restarts
  EXPECT_EQ(m.tools.frameRateFrames, 0);
  EXPECT_EQ(m.mouse.pressX, 0);  // the pass ended before the bookkeeping
  Pass("w");
  EXPECT_EQ(m.tools.mode, ToolMode::kNone);
  EXPECT_EQ(m.view.vOffset, 75.0f / 400.0f);  // the key only ended the tool
  // Closing the window is no key to end the tool with: it ends the program.
  m.tools.mode = ToolMode::kFrameRate;
  EXPECT_THROW(Pass(ExtendedKey(kScanClose)), ProgramEnded);
}

TEST_F(Loop, MousePlotAndVertexEditEndInWholePasses) {
  FirstPass();
  // Mouse plot from the vertex-edit menu, which shows "[_] Mouse plot":
  // dragging does not turn the view, a right click ends the tool.
  OpenMenu(m, MenuNumber(Menu::kVertEdit));
  m.options |= 1u << kOptMousePlot;
  m.tools.mode = ToolMode::kMousePlot;
  const float angle = m.view.angleXY;
  Pass("", {60, 101, 0, 0});
  Pass("", {60, 100, 0, 1});
  Pass("", {110, 100, 0, 1});
  EXPECT_EQ(m.view.angleXY, angle);
  EXPECT_EQ(m.tools.mode, ToolMode::kMousePlot);
  Pass("", {111, 100, 0, 0});
  Pass("", {112, 100, 0, 2});
  EXPECT_EQ(m.tools.mode, ToolMode::kNone);
  EXPECT_EQ(m.flags.screenDirty, 1);
  // Vertex edit ends on a left click and clears its check box.
  Pass("", {113, 100, 0, 0});
  m.options |= 1u << kOptVertSelector;
  m.tools.mode = ToolMode::kVertexEdit;
  Pass("", {114, 100, 0, 0});
  EXPECT_EQ(m.tools.mode, ToolMode::kVertexEdit);
  Pass("", {115, 100, 0, 1});
  EXPECT_EQ(m.tools.mode, ToolMode::kNone);
  EXPECT_FALSE(HasOption(m.options, kOptVertSelector));
}

TEST_F(Loop, AutoRepeatClickMakesEveryIdlePollAClick) {
  FirstPass();
  Pass("", {30, 30, 0, 1});
  m.flags.autoRepeatClick = true;
  const int slept = p.sleptMs;
  Pass();  // nothing changed: one 40 ms sleep, then the pass goes on as a click
  EXPECT_EQ(p.sleptMs - slept, 40);
  EXPECT_TRUE(m.flags.autoRepeatClick);
  Pass("", {30, 30, 0, 0});
  EXPECT_FALSE(m.flags.autoRepeatClick);
}

TEST_F(Loop, ReadMouseConvertsColumnsAndFindsClickEdges) {
  p.mouse = {301, 7, 3, 1};
  ReadMouse(m);
  EXPECT_EQ(m.mouse.mouseX, 301);
  EXPECT_EQ(m.mouse.mouseY, 7);
  EXPECT_EQ(m.mouse.leftClick, 1);
  EXPECT_EQ(m.mouse.rightClick, 0);
  p.mouse.buttons = 3;
  ReadMouse(m);
  EXPECT_EQ(m.mouse.leftClick, 0);  // held: no further click
  EXPECT_EQ(m.mouse.rightClick, 2);
  p.mouseFails = true;  // no reading: last pass's values, no click
  ReadMouse(m);
  EXPECT_EQ(m.mouse.buttons, 3);
  EXPECT_EQ(m.mouse.previousButtons, 3);
  EXPECT_EQ(m.mouse.rightClick, 0);
  p.mouseFails = false;
  m.geometry.detail = 0;
  p.mouse = {-3, 9, 3, 0};
  ReadMouse(m);
  EXPECT_EQ(m.mouse.mouseX, -2);  // arithmetic shift
  EXPECT_EQ(m.mouse.screenMouseX, -3);
  m.geometry.detail = 2;
  p.mouse.x = 301;
  ReadMouse(m);
  EXPECT_EQ(m.mouse.mouseX, 602);
  EXPECT_EQ(m.mouse.wheel, 3);
}

TEST_F(Loop, DisplayRefreshBuildsDefaultColourBeforeClampingTheColourCells) {
  m.cells.Int(15) = 99;
  m.cells.Int(16) = -5;
  m.cells.Int(18) = 40;
  m.cells.Int(19) = -1;
  m.cells.Int(20) = 31;
  m.view.distance = 2.5f;  // ties go to even
  m.view.scaling = 3.5f;
  m.flags.screenDirty = 1;
  UpdateScreen(m);
  EXPECT_EQ(m.model.defaultColour, (8 << 10) | (31 << 5) | 31);
  EXPECT_EQ(m.cells.Int(15), 31);
  EXPECT_EQ(m.cells.Int(16), 0);
  EXPECT_EQ(m.cells.Int(18), 31);
  EXPECT_EQ(m.cells.Int(19), 0);
  EXPECT_EQ(m.cells.Int(7), 2);
  EXPECT_EQ(m.cells.Int(8), 4);
}

TEST_F(Loop, MessageStaysUntilAPresentationErasesIt) {
  std::fill(m.buffers.colour.begin(), m.buffers.colour.end(), 0x123456u);
  const auto shown = [&] { return p.screen().PixelRgb(700, 500) == 0x123456u; };
  m.flags.screenDirty = 2;  // overlays only: the frame is not presented
  UpdateScreen(m);
  EXPECT_FALSE(shown());
  m.flags.statusMessage = 5;
  m.flags.screenDirty = 2;
  UpdateScreen(m);
  EXPECT_FALSE(shown());
  EXPECT_TRUE(m.flags.messageOnScreen);
  EXPECT_EQ(m.flags.statusMessage, 0);
  EXPECT_EQ(TextAt(p.screen(), 23, 1, 11), "File saved.");
  m.flags.screenDirty = 2;  // a message is on the screen: present to erase it
  UpdateScreen(m);
  EXPECT_TRUE(shown());
  EXPECT_FALSE(m.flags.messageOnScreen);
  EXPECT_EQ(TextAt(p.screen(), 23, 1, 11), "           ");
  EXPECT_EQ(m.flags.screenDirty, 0);
}

TEST_F(Loop, StereoRedrawsWhenTheToolChanges) {
  FirstPass();
  m.options |= 1u << kOptStereo;
  m.tools.mode = ToolMode::kAutoTriangle;
  const int unlocks = p.unlocks;
  Pass("x");
  EXPECT_EQ(p.unlocks, unlocks + 1);
  EXPECT_EQ(m.flags.previousTool, 3);
  Pass("x");
  EXPECT_EQ(p.unlocks, unlocks + 1);  // same tool: nothing to draw
}

}  // namespace
}  // namespace qelvar
