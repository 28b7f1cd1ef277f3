// The picture in a window of any size: whole factors, the shrunk fit, the
// centring, and window points mapped back to picture pixels.
#include "platform/window_fit.h"

#include <gtest/gtest.h>

namespace qelvar {
namespace {

TEST(WindowFit, LargestWholeFactorElseLargestFitCentred) {
  const struct {
    int windowWidth, windowHeight, width, height;
    PictureRect expected;
  } kCases[] = {
      {800, 600, 800, 600, {0, 0, 800, 600}},
      {1600, 1200, 800, 600, {0, 0, 1600, 1200}},
      {1700, 1300, 800, 600, {50, 50, 1600, 1200}},   // factor 2 with borders
      {2500, 1300, 800, 600, {450, 50, 1600, 1200}},  // the height limits
      {1000, 700, 800, 600, {100, 50, 800, 600}},     // no factor 2: factor 1
      {600, 500, 800, 600, {0, 25, 600, 450}},        // too small: shrunk
      {800, 300, 800, 600, {200, 0, 400, 300}},       // too low: shrunk by the height
      {1, 1, 800, 600, {0, 0, 1, 1}},                 // never empty
      {0, 0, 800, 600, {0, 0, 0, 0}},                 // a window with no area
  };
  for (const auto& c : kCases) {
    const PictureRect r = FitPicture(c.windowWidth, c.windowHeight, c.width, c.height);
    EXPECT_EQ(r.x, c.expected.x) << c.windowWidth << "x" << c.windowHeight;
    EXPECT_EQ(r.y, c.expected.y) << c.windowWidth << "x" << c.windowHeight;
    EXPECT_EQ(r.width, c.expected.width) << c.windowWidth << "x" << c.windowHeight;
    EXPECT_EQ(r.height, c.expected.height) << c.windowWidth << "x" << c.windowHeight;
  }
}

TEST(WindowFit, WindowPointsMapToPicturePixelsClampedAtTheEdges) {
  const PictureRect twice{50, 50, 1600, 1200};
  const PictureRect shrunk{0, 25, 600, 450};
  const struct {
    const PictureRect* rect;
    int wx, wy, x, y;
  } kCases[] = {
      {&twice, 50, 50, 0, 0},        {&twice, 51, 51, 0, 0},
      {&twice, 52, 53, 1, 1},        {&twice, 1649, 1249, 799, 599},
      {&twice, 0, 0, 0, 0},          {&twice, 1699, 1299, 799, 599},  // on the border
      {&twice, -5, 2000, 0, 599},    {&shrunk, 3, 28, 4, 4},
      {&shrunk, 599, 474, 798, 598}, {&shrunk, 300, 10, 400, 0},
  };
  for (const auto& c : kCases) {
    int x = -1, y = -1;
    WindowToPicture(*c.rect, 800, 600, c.wx, c.wy, x, y);
    EXPECT_EQ(x, c.x) << c.wx << "," << c.wy;
    EXPECT_EQ(y, c.y) << c.wx << "," << c.wy;
  }
}

}  // namespace
}  // namespace qelvar
