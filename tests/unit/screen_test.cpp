// The framebuffer: pixel formats per depth, lines, text cells, the text record,
// the glyph tables and the screen modes.
#include "platform/screen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/font.h"
#include "platform/screen_modes.h"

namespace qelvar {
namespace {

Screen Make(int depth, int width = 16, int height = 8) {
  Screen s;
  s.Configure(width, height, depth, width / 8, height / 8);
  return s;
}

std::vector<uint8_t> PixelBytes(const Screen& s, int x, int y) {
  const uint8_t* p = s.pixels() + y * s.pitch() + x * s.bytesPerPixel();
  return {p, p + s.bytesPerPixel()};
}

TEST(ScreenPixels, EachDepthStoresItsOwnFormat) {
  struct Case {
    int depth;
    std::vector<uint8_t> bytes;
    uint32_t shown;
  };
  // 0x123456: 16-bit 0x11AA and 15-bit 0x08CA; channels come back shifted up.
  const Case cases[] = {
      {32, {0x56, 0x34, 0x12, 0x00}, 0x123456},
      {24, {0x56, 0x34, 0x12}, 0x123456},
      {16, {0xAA, 0x11}, 0x103450},
      {15, {0xCA, 0x08}, 0x103050},
  };
  for (const Case& c : cases) {
    Screen s = Make(c.depth);
    s.PutPixel(3, 2, 0x123456);
    EXPECT_EQ(PixelBytes(s, 3, 2), c.bytes) << c.depth;
    EXPECT_EQ(s.PixelRgb(3, 2), c.shown) << c.depth;
    EXPECT_EQ(s.PixelRgb(2, 2), 0u) << c.depth;
    EXPECT_EQ(s.pitch(), 16 * s.bytesPerPixel());
  }
}

TEST(ScreenPixels, PaletteDepthsStoreIndicesAndShowThePalette) {
  Screen s8 = Make(8);
  s8.SetPalette(200, 0xC0, 0x80, 0x40);
  s8.PutPixel(0, 0, 200);
  EXPECT_EQ(PixelBytes(s8, 0, 0), std::vector<uint8_t>{200});
  EXPECT_EQ(s8.PixelRgb(0, 0), 0xC08040u);

  Screen s4 = Make(4);
  for (int i = 0; i < 16; ++i) s4.PutPixel(i, 1, i);
  EXPECT_EQ(s4.PixelRgb(6, 1), 0xAA5500u);
  EXPECT_EQ(s4.PixelRgb(9, 1), 0x5555FFu);
  EXPECT_EQ(s4.PixelRgb(15, 1), 0xFFFFFFu);
  std::vector<uint32_t> row(16);
  s4.RowRgb(1, row.data());
  for (int i = 0; i < 16; ++i) EXPECT_EQ(row[i], kPlatformColours[i]);
}

TEST(ScreenPixels, RowRgbMatchesPixelRgbAtEveryDepth) {
  for (int depth : {32, 24, 16, 15, 8, 4}) {
    Screen s = Make(depth);
    for (int x = 0; x < 16; ++x) s.PutPixel(x, 5, 0x010203u * (x * 13 + 7));
    std::vector<uint32_t> row(16);
    s.RowRgb(5, row.data());
    for (int x = 0; x < 16; ++x) EXPECT_EQ(row[x], s.PixelRgb(x, 5)) << depth << " x " << x;
  }
}

TEST(ScreenPixels, OffScreenPixelsAreIgnored) {
  Screen s = Make(32);
  s.PutPixel(-1, 0, 0xFFFFFF);
  s.PutPixel(16, 0, 0xFFFFFF);
  s.PutPixel(0, 8, 0xFFFFFF);
  for (int i = 0; i < 16 * 8 * 4; ++i) ASSERT_EQ(s.pixels()[i], 0) << i;
  EXPECT_EQ(s.PixelRgb(99, 99), 0u);
}

int CountLit(const Screen& s) {
  int lit = 0;
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) lit += s.PixelRgb(x, y) != 0;
  }
  return lit;
}

TEST(ScreenLines, LinesAreOnePixelWideAndIncludeBothEnds) {
  Screen s = Make(32, 32, 16);
  s.DrawLine(2, 3, 12, 3, 0xFF0000);
  EXPECT_EQ(CountLit(s), 11);
  EXPECT_EQ(s.PixelRgb(2, 3), 0xFF0000u);
  EXPECT_EQ(s.PixelRgb(12, 3), 0xFF0000u);

  Screen d = Make(32, 32, 16);
  d.DrawLine(10, 10, 0, 0, 0x00FF00);  // diagonal, drawn backwards
  EXPECT_EQ(CountLit(d), 11);
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(d.PixelRgb(i, i), 0x00FF00u) << i;

  Screen p = Make(32, 32, 16);
  p.DrawLine(4, 4, 4, 4, 0xFFFFFF);
  EXPECT_EQ(CountLit(p), 1);
}

TEST(ScreenLines, ClippedToTheScreenEvenForWildEnds) {
  Screen s = Make(16, 32, 16);
  s.DrawLine(-5, 2, 40, 2, 0xFFFFFF);
  EXPECT_EQ(CountLit(s), 32);
  Screen far = Make(32, 32, 16);
  far.DrawLine(-2000000000, 5, 2000000000, 5, 0xFFFFFF);  // must not walk 4e9 steps
  EXPECT_EQ(CountLit(far), 32);
  EXPECT_EQ(far.PixelRgb(0, 5), 0xFFFFFFu);
  Screen off = Make(32, 32, 16);
  off.DrawLine(-100, -100, -100000, 50, 0xFFFFFF);
  EXPECT_EQ(CountLit(off), 0);
}

TEST(ScreenLines, PaletteDepthsTakeTheColourAsIndex) {
  Screen s = Make(8, 32, 16);
  s.DrawLine(0, 0, 3, 0, 81);
  EXPECT_EQ(s.pixels()[3], 81);
  EXPECT_EQ(s.pixels()[4], 0);
}

TEST(ScreenLines, RectOutlineLightsExactlyTheBorder) {
  struct Case {
    int x0, y0, x1, y1;
    int lit;
    const char* what;
  } cases[] = {
      {2, 3, 6, 5, 5 * 2 + 1 * 2, "corners in order"},
      {6, 5, 2, 3, 5 * 2 + 1 * 2, "corners swapped"},
      {4, 4, 4, 4, 1, "a single pixel"},
      {3, 2, 9, 2, 7, "a flat box is one line"},
      {-3, -3, 1, 1, 3, "clipped at the top left: only two sides show"},
  };
  for (const Case& c : cases) {
    Screen s = Make(32, 32, 16);
    s.DrawRectOutline(c.x0, c.y0, c.x1, c.y1, 0xFFFFFF);
    EXPECT_EQ(CountLit(s), c.lit) << c.what;
    EXPECT_EQ(s.PixelRgb(std::max(c.x0, c.x1), std::max(c.y0, c.y1)), 0xFFFFFFu) << c.what;
    if (std::abs(c.x1 - c.x0) > 1 && std::abs(c.y1 - c.y0) > 1) {
      EXPECT_EQ(s.PixelRgb((c.x0 + c.x1) / 2, (c.y0 + c.y1) / 2), 0u) << c.what << ": inside";
    }
  }
}

TEST(ScreenText, PrintsGlyphRowsWithForegroundAndBackground) {
  Screen s = Make(32, 24, 16);  // 3 x 2 cells of 8 x 8
  s.PrintText(2, 2, "\xDB ", 0xFFFF00, 0x000080);
  for (int y = 8; y < 16; ++y) {
    for (int x = 8; x < 16; ++x) EXPECT_EQ(s.PixelRgb(x, y), 0xFFFF00u);   // full block
    for (int x = 16; x < 24; ++x) EXPECT_EQ(s.PixelRgb(x, y), 0x000080u);  // blank
  }
  EXPECT_EQ(s.PixelRgb(7, 8), 0u);
  EXPECT_EQ(s.PixelRgb(8, 7), 0u);
}

TEST(ScreenText, CellHeightChoosesThe16RowFont) {
  Screen s;
  s.Configure(16, 32, 8, 2, 4);
  s.SetTextGrid(2, 2);
  ASSERT_EQ(s.cellHeight(), 16);
  s.PrintText(1, 1, "A", 15, 1);
  for (int r = 0; r < 16; ++r) {
    for (int x = 0; x < 8; ++x) {
      const bool on = kGlyphs8x16['A'][r] & (0x80 >> x);
      EXPECT_EQ(s.pixels()[r * 16 + x], on ? 15 : 1) << r << "," << x;
    }
  }
}

TEST(ScreenText, TextPastTheGridIsCutAndRecorded) {
  Screen s = Make(24, 24, 16);  // 3 x 2 cells
  s.PrintText(1, 2, "abcd", 0xFFFFFF, 0);
  s.PrintText(0, 1, "x", 0xFFFFFF, 0);
  s.PrintText(3, 1, "x", 0xFFFFFF, 0);
  s.PrintText(2, -1, "xyz", 0xFFFFFF, 0);
  EXPECT_EQ(s.TextCell(1, 1), ' ');
  EXPECT_EQ(s.TextCell(1, 2), 'a');
  EXPECT_EQ(s.TextCell(1, 3), 'b');
  EXPECT_EQ(s.TextCell(2, 1), 'z');
  EXPECT_EQ(s.TextCell(2, 2), ' ');
  EXPECT_EQ(s.TextCell(4, 9), ' ');
}

TEST(ScreenText, RecordKeepsTheLastCodeUntilForgotten) {
  Screen s = Make(32, 80, 16);
  s.PrintText(1, 1, "hello", 1, 0);
  s.PrintText(1, 2, "\xB2\x18", 1, 0);
  EXPECT_EQ(s.TextCell(1, 1), 'h');
  EXPECT_EQ(s.TextCell(1, 2), 178);
  EXPECT_EQ(s.TextCell(1, 3), 24);
  EXPECT_EQ(s.TextCell(1, 4), 'l');
  s.ForgetText();
  EXPECT_EQ(s.TextCell(1, 2), ' ');
  // Forgetting the record leaves the pixels alone.
  EXPECT_NE(s.PixelRgb(0, 0) | s.PixelRgb(1, 1) | s.PixelRgb(2, 2), 0u);
}

bool GlyphEmpty(const uint8_t* rows, int n) {
  for (int i = 0; i < n; ++i) {
    if (rows[i]) return false;
  }
  return true;
}

TEST(Glyphs, CodePage437ShapesArePresent) {
  for (int r = 0; r < 8; ++r) EXPECT_EQ(kGlyphs8x8[219][r], 0xFF);
  for (int r = 0; r < 16; ++r) EXPECT_EQ(kGlyphs8x16[219][r], 0xFF);
  EXPECT_TRUE(GlyphEmpty(kGlyphs8x8[32], 8));
  EXPECT_TRUE(GlyphEmpty(kGlyphs8x16[32], 16));
  EXPECT_TRUE(GlyphEmpty(kGlyphs8x16[0], 16));
  for (int code : {int{'A'}, int{'x'}, int{'0'}, int{'['}, 24, 25, 178, 176, 196, 205, 254}) {
    EXPECT_FALSE(GlyphEmpty(kGlyphs8x8[code], 8)) << code;
    EXPECT_FALSE(GlyphEmpty(kGlyphs8x16[code], 16)) << code;
  }
  // The dark shade covers more than the light one; up and down arrows differ.
  auto ink = [](const uint8_t* g) {
    int n = 0;
    for (int r = 0; r < 16; ++r) n += __builtin_popcount(g[r]);
    return n;
  };
  EXPECT_GT(ink(kGlyphs8x16[178]), ink(kGlyphs8x16[176]));
  EXPECT_NE(std::vector<uint8_t>(kGlyphs8x16[24], kGlyphs8x16[24] + 16),
            std::vector<uint8_t>(kGlyphs8x16[25], kGlyphs8x16[25] + 16));
}

TEST(ScreenModes, NumberedModesAndRefusals) {
  Screen s;
  ASSERT_TRUE(ConfigureNumberedMode(s, 15, 32));
  EXPECT_EQ(s.width(), 400);
  EXPECT_EQ(s.textColumns(), 50);
  EXPECT_EQ(s.textRows(), 37);
  EXPECT_EQ(s.cellHeight(), 8);
  ASSERT_TRUE(ConfigureNumberedMode(s, 19, 24));
  EXPECT_EQ(s.cellHeight(), 16);
  EXPECT_EQ(s.bytesPerPixel(), 3);
  EXPECT_FALSE(ConfigureNumberedMode(s, 12, 32));
  EXPECT_FALSE(ConfigureNumberedMode(s, 22, 32));
  EXPECT_FALSE(ConfigureNumberedMode(s, 19, 12));
  EXPECT_EQ(s.width(), 800);  // refusals leave the screen as it was
  for (const ScreenMode& m : kScreenModes) {
    EXPECT_TRUE(m.height / m.textRows == 8 || m.height / m.textRows == 16) << m.number;
  }
}

TEST(ScreenModes, CustomSizesGetEightByEightCellsWithinSaneBounds) {
  Screen s;
  ASSERT_TRUE(ConfigureWindowSize(s, 1152, 864, 16));
  EXPECT_EQ(s.textColumns(), 144);
  EXPECT_EQ(s.textRows(), 108);
  s.SetTextGrid(144, 54);
  EXPECT_EQ(s.cellHeight(), 16);
  EXPECT_TRUE(ConfigureWindowSize(s, 8, 8, 4));
  EXPECT_FALSE(ConfigureWindowSize(s, 0, 600, 32));
  EXPECT_FALSE(ConfigureWindowSize(s, 800, -1, 32));
  EXPECT_FALSE(ConfigureWindowSize(s, 99999, 600, 32));
  EXPECT_FALSE(ConfigureWindowSize(s, 800, 600, 0));
  EXPECT_EQ(s.width(), 8);
}

}  // namespace
}  // namespace qelvar
