// The geometry that follows from a screen and a detail level.
#include "core/screen_geometry.h"

#include <gtest/gtest.h>

namespace qelvar {
namespace {

TEST(ScreenGeometry, DetailLevelSizesTheRenderBuffer) {
  struct Case {
    int width, height, textRows, detail;
    int bufferWidth;
    float hSampling;
    int usedDetail, cellHeight;
  } cases[] = {
      {801, 600, 37, 0, 400, 0.5f, 0, 16},  // odd width: the half is rounded down
      {800, 600, 37, 1, 800, 1.0f, 1, 16},  {800, 600, 37, 2, 1600, 2.0f, 2, 16},
      {800, 600, 37, 3, 800, 1.0f, 1, 16},  // unknown levels run at the normal one
      {800, 600, 37, -1, 800, 1.0f, 1, 16}, {640, 480, 60, 1, 640, 1.0f, 1, 8},
      {640, 480, 0, 1, 640, 1.0f, 1, 8},  // no text grid: 8-pixel rows, no division by 0
  };
  for (const Case& c : cases) {
    const ScreenGeometry g = DeriveScreenGeometry(c.width, c.height, 16, 80, c.textRows, c.detail);
    EXPECT_EQ(g.bufferWidth, c.bufferWidth) << c.width << " detail " << c.detail;
    EXPECT_EQ(g.bufferHeight, c.height);
    EXPECT_EQ(g.hSampling, c.hSampling) << c.detail;
    EXPECT_EQ(g.detail, c.usedDetail) << c.detail;
    EXPECT_EQ(g.cellHeight, c.cellHeight) << c.textRows;
    EXPECT_EQ(g.colourDepth, 16);
  }
}

}  // namespace
}  // namespace qelvar
