// "Benchmark" starts the frame-rate tool with a measurement from now. (The
// selection operations are driven through their menus by a replay case.)
#include <gtest/gtest.h>

#include "app/menu_actions.h"
#include "core/menu_ids.h"
#include "fake_platform.h"

namespace qelvar {
namespace {

TEST(BenchmarkCommand, StartsTheFrameRateToolFromNow) {
  FakePlatform platform;
  Modeller m(platform);
  SetUpModeller(m);
  m.tools.frameRateFrames = 40;
  platform.clock = 12.5;
  m.menus.chosenMenu = MenuNumber(Menu::kMiscTools);
  RunCommand(m, CommandNumber(Command::kBenchmark));
  EXPECT_EQ(m.tools.mode, ToolMode::kFrameRate);
  EXPECT_EQ(m.tools.frameRateStart, 12.5);
  EXPECT_EQ(m.tools.frameRateFrames, 0);
  EXPECT_TRUE(m.flags.redrawRequested);
  EXPECT_EQ(m.flags.statusMessage, 0);
}

}  // namespace
}  // namespace qelvar
