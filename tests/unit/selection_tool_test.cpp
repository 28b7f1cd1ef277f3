// The selection tool in whole main-loop passes: a one-pixel click, a drag
// that keeps its press point, hidden triangles, Unselect and Hide selected.
#include <gtest/gtest.h>

#include "app/main_loop.h"
#include "app/menu_hooks.h"
#include "app/menus.h"
#include "core/menu_ids.h"
#include "fake_platform.h"
#include "render/rasteriser.h"
#include "render/view.h"

namespace qelvar {
namespace {

class SelectionTool : public ::testing::Test {
 protected:
  SelectionTool() : m(p) {
    SetUpModeller(m);
    ScreenGeometry& g = m.geometry;
    g.colourDepth = 32;
    g.bufferWidth = 800;
    g.bufferHeight = 600;
    InitRenderBuffers(m.buffers, g);
    InitView(m.view, g);
    m.model.normalsDirty = true;
    Pass("x");  // renders the start-up scene: a pyramid in the middle
    OpenMenu(m, MenuNumber(Menu::kSelection));
    m.options |= 1u << kOptSelectTool;
    m.flags.screenDirty = 1;
    Pass("", {700, 100, 0, 0});  // the overlay upkeep starts the tool
  }
  void Pass(const std::string& key = "", MouseReading mouse = {-1, -1, 0, 0}) {
    if (!key.empty()) p.Key(key);
    if (mouse.x >= 0) p.mouseQueue.push_back(mouse);
    MainLoopPass(m);
  }
  // Press at (x1, y1), release at (x2, y2); every reading differs from the one
  // before, or the pass would wait for input forever.
  void Drag(int x1, int y1, int x2, int y2) {
    Pass("", {x1 + 1, y1, 0, 0});
    Pass("", {x1, y1, 0, 1});
    if (x2 != x1 || y2 != y1) Pass("", {x2, y2, 0, 1});
    Pass("", {x2, y2, 0, 0});
  }
  int Selected() const { return m.cells.Int(kCellSelectedCount); }

  FakePlatform p;
  Modeller m;
};

TEST_F(SelectionTool, DragKeepsThePressPointAndSelectsOnRelease) {
  ASSERT_EQ(m.tools.mode, ToolMode::kSelection);
  Pass("", {450, 450, 0, 0});
  Pass("", {450, 450, 0, 1});
  Pass("", {350, 300, 0, 1});
  EXPECT_EQ(m.mouse.pressX, 450);  // no bookkeeping while the rectangle is dragged
  EXPECT_EQ(m.mouse.dragOriginY, 450);
  EXPECT_EQ(Selected(), 0);
  Pass("", {350, 300, 0, 0});
  EXPECT_EQ(m.tools.mode, ToolMode::kSelection);
  Pass("", {351, 300, 0, 0});  // the next update counts the selection
  EXPECT_EQ(Selected(), 6);
  // Holding the right button selects nothing and ends nothing.
  Pass("", {700, 100, 0, 0});
  ClearSelection(m.model);
  Pass("", {450, 450, 0, 2});
  Pass("", {350, 300, 0, 2});
  Pass("", {350, 300, 0, 0});
  EXPECT_EQ(CountSelected(m.model), 0);
  EXPECT_EQ(m.tools.mode, ToolMode::kSelection);
}

TEST_F(SelectionTool, OnePixelClickReachesHiddenTrianglesOnlyWhenAllParts) {
  // The middle of the screen shows a side of the pyramid with its base behind.
  Drag(400, 380, 400, 380);
  const int all = CountSelected(m.model);
  EXPECT_EQ(all, 2);
  ClearSelection(m.model);
  m.options |= 1u << kOptOnlyVisible;
  Drag(400, 380, 400, 380);
  EXPECT_EQ(CountSelected(m.model), 1);
  // A click on the empty background selects nothing more.
  Drag(700, 500, 700, 500);
  EXPECT_EQ(CountSelected(m.model), 1);
}

TEST_F(SelectionTool, HiddenSelectedTrianglesCannotBeUnselected) {
  SelectAll(m.model);
  m.options |= (1u << kOptUnselect) | (1u << kOptHideSelected);
  Drag(350, 300, 450, 450);
  EXPECT_EQ(CountSelected(m.model), 6);
  m.options &= ~(1u << kOptHideSelected);
  Drag(350, 300, 450, 450);
  EXPECT_EQ(CountSelected(m.model), 0);
}

}  // namespace
}  // namespace qelvar
