// The selection commands as the menus run them: which menu "....confirm....."
// was chosen in decides the operation, and outcomes become loop flags.
#include <gtest/gtest.h>

#include "app/menu_actions.h"
#include "core/menu_ids.h"
#include "core/messages.h"
#include "fake_platform.h"

namespace qelvar {
namespace {

class TransformCommands : public ::testing::Test {
 protected:
  TransformCommands() : m(platform) { SetUpModeller(m); }
  void Run(Command c, Menu chosen = Menu::kActions) {
    m.menus.chosenMenu = MenuNumber(chosen);
    RunCommand(m, CommandNumber(c));
  }
  FakePlatform platform;
  Modeller m;
};

TEST_F(TransformCommands, ConfirmRunsTheOperationOfItsMenu) {
  m.model.normalsDirty = false;
  Run(Command::kConfirm, Menu::kMove);  // nothing selected yet
  EXPECT_EQ(m.flags.statusMessage, kMsgNothingSelected);
  SelectAll(m.model);
  m.tools.selectionCentre = ComputeSelectionCentre(m.model);
  m.cells.Real(kCellX5) = 1;
  Run(Command::kConfirm, Menu::kDuplicate);
  EXPECT_EQ(m.model.triangleCount, 12);
  EXPECT_EQ(m.model.vertices[9].x, -9.0f);
  EXPECT_TRUE(m.model.normalsDirty);
  m.menus.partGroup[MenuNumber(Menu::kActions)] = 7;
  Run(Command::kReassign);
  EXPECT_EQ(m.model.triangleFlags[11], 128 | 7);
  Run(Command::kSelectionCentre, Menu::kRotate);
  EXPECT_EQ(m.cells.Real(kCellZ1), 10.0f);
  m.flags.statusMessage = 0;
  m.flags.redrawRequested = false;
  Run(Command::kConfirm, Menu::kDeleteSelection);
  EXPECT_EQ(m.model.triangleCount, 0);
  EXPECT_EQ(m.flags.statusMessage, kMsgDeleted);
  EXPECT_TRUE(m.flags.redrawRequested);
}

TEST_F(TransformCommands, BenchmarkStartsTheFrameRateToolFromNow) {
  m.tools.frameRateFrames = 40;
  platform.clock = 12.5;
  Run(Command::kBenchmark, Menu::kMiscTools);
  EXPECT_EQ(m.tools.mode, ToolMode::kFrameRate);
  EXPECT_EQ(m.tools.frameRateStart, 12.5);
  EXPECT_EQ(m.tools.frameRateFrames, 0);
  EXPECT_TRUE(m.flags.redrawRequested);
  EXPECT_NE(m.flags.statusMessage, kMsgNotImplemented);
}

}  // namespace
}  // namespace qelvar
