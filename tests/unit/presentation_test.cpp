// Presentation of the colour buffer in every colour depth and detail level.
#include "render/presentation.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/screen.h"
#include "render_test_support.h"

namespace qelvar {
namespace {

// A buffer of the given pixels in one row, presented onto a screen row of
// `screenWidth` pixels pre-filled with 0xEE.
std::vector<uint8_t> Present(const std::vector<uint32_t>& row, int detail, int depth,
                             int screenWidth, const ColourTables& tables = ColourTables{}) {
  RenderBuffers b;
  b.width = static_cast<int>(row.size()), b.height = 1;
  b.colour = row;
  std::vector<uint8_t> screen(static_cast<size_t>(screenWidth) * BytesPerPixel(depth), 0xEE);
  PresentFrame(b, detail, depth, tables, screen.data(), screenWidth, 1);
  return screen;
}

using Bytes = std::vector<uint8_t>;

TEST(Present, OnePixelInEveryDepth) {
  const std::vector<uint32_t> p = {0x00123456};
  EXPECT_EQ(Present(p, 1, 32, 1), (Bytes{0x56, 0x34, 0x12, 0x00}));
  EXPECT_EQ(Present(p, 1, 24, 1), (Bytes{0x56, 0x34, 0x12}));
  EXPECT_EQ(Present(p, 1, 16, 1), (Bytes{0xAA, 0x11}));
  EXPECT_EQ(Present(p, 1, 15, 1), (Bytes{0xCA, 0x08}));
  EXPECT_EQ(Present(p, 1, 8, 1), (Bytes{0x0D}));
  EXPECT_EQ(Present({0xFFFFFF}, 1, 15, 1), (Bytes{0xFF, 0x7F}));
  EXPECT_EQ(Present({0xFFFFFF}, 1, 8, 1), (Bytes{0xFF}));
}

TEST(Present, LowDetailDoublesEachPixel) {
  const std::vector<uint32_t> p = {0x00123456, 0x00FF0000};
  EXPECT_EQ(Present(p, 0, 24, 4),
            (Bytes{0x56, 0x34, 0x12, 0x56, 0x34, 0x12, 0, 0, 0xFF, 0, 0, 0xFF}));
  EXPECT_EQ(Present(p, 0, 16, 4), (Bytes{0xAA, 0x11, 0xAA, 0x11, 0x00, 0xF8, 0x00, 0xF8}));
  EXPECT_EQ(Present(p, 0, 8, 4), (Bytes{0x0D, 0x0D, 0xC0, 0xC0}));
  // An odd screen width has no buffer pixel for its last column; it repeats
  // the pixel before it, so nothing drawn there earlier stays on the screen.
  EXPECT_EQ(Present(p, 0, 8, 5), (Bytes{0x0D, 0x0D, 0xC0, 0xC0, 0xC0}));
  EXPECT_EQ(Present(p, 0, 16, 5),
            (Bytes{0xAA, 0x11, 0xAA, 0x11, 0x00, 0xF8, 0x00, 0xF8, 0x00, 0xF8}));
  EXPECT_EQ(Present(p, 0, 32, 5), (Bytes{0x56, 0x34, 0x12, 0, 0x56, 0x34, 0x12, 0, 0,    0,
                                         0xFF, 0,    0,    0, 0xFF, 0,    0,    0, 0xFF, 0}));
}

TEST(Present, FourBitTakesDitherPairs) {
  ColourTables t;
  t.ditherPairs[(0x12 >> 5) * 64 + (0x34 >> 5) * 8 + (0x56 >> 5)] = 0x0A05;
  t.ditherPairs[511] = 0x0F0E;
  EXPECT_EQ(Present({0x123456, 0xFFFFFF}, 0, 4, 4, t), (Bytes{0x05, 0x0A, 0x0E, 0x0F}));
  EXPECT_EQ(Present({0x123456, 0xFFFFFF}, 0, 4, 5, t), (Bytes{0x05, 0x0A, 0x0E, 0x0F, 0x0F}));
}

TEST(Present, HighDetailFiltersPairs) {
  // Each channel halved with truncation and summed: 0x13 + 0x13 gives 0x12.
  const std::vector<uint32_t> p = {0xFF0000, 0x0000FF, 0x133557, 0x133557};
  EXPECT_EQ(Present(p, 2, 32, 2), (Bytes{0x7F, 0x00, 0x7F, 0x00, 0x56, 0x34, 0x12, 0x00}));
  // Other depths: the same filter, then their own format.
  EXPECT_EQ(Present(p, 2, 24, 2), (Bytes{0x7F, 0x00, 0x7F, 0x56, 0x34, 0x12}));
  EXPECT_EQ(Present(p, 2, 16, 2), (Bytes{0x0F, 0x78, 0xAA, 0x11}));
  EXPECT_EQ(Present(p, 2, 15, 1), (Bytes{0x0F, 0x3C}));
  EXPECT_EQ(Present(p, 2, 8, 2), (Bytes{0x41, 0x0D}));
}

TEST(Present, TwentyFourBitsEveryWidth) {
  for (int width = 1; width <= 11; ++width) {
    std::vector<uint32_t> row(width);
    Bytes expected;
    for (int x = 0; x < width; ++x) {
      row[x] = 0xA00000u + static_cast<uint32_t>(x) * 0x010203u;
      expected.insert(expected.end(),
                      {static_cast<uint8_t>(row[x]), static_cast<uint8_t>(row[x] >> 8),
                       static_cast<uint8_t>(row[x] >> 16)});
    }
    row.back() |= 0xFF000000u;  // a stray top byte must not reach the next pixel
    EXPECT_EQ(Present(row, 1, 24, width), expected) << width;
  }
}

TEST(Present, RowsFollowTheScreenPitch) {
  RenderBuffers b;
  b.width = 3, b.height = 2;
  b.colour = {1, 2, 3, 4, 5, 6};
  std::vector<uint8_t> screen(3 * 2 * 2, 0);
  PresentFrame(b, 1, 15, ColourTables{}, screen.data(), 3, 2);
  // Channel values below 8 vanish in 5 bits; only the row layout is checked here.
  b.colour = {0x080000, 0, 0, 0, 0, 0x000008};
  PresentFrame(b, 1, 15, ColourTables{}, screen.data(), 3, 2);
  EXPECT_EQ(screen, (Bytes{0x00, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x00}));
  std::vector<uint8_t> wide(3 * 2 * 4, 0);
  b.colour = {1, 2, 3, 4, 5, 6};
  PresentFrame(b, 1, 32, ColourTables{}, wide.data(), 3, 2);  // one block copy
  EXPECT_EQ(wide[5 * 4], 6);
}

}  // namespace
}  // namespace qelvar
