// The framebuffer both platforms draw into: pixels in the colour depth's own
// format, the text grid, palette, and the text and line drawing written once
// over that buffer and the compiled-in code page 437 font.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qelvar {

// The platform's 16 colours, 0x00RRGGBB: the palette at depth 4 and the first
// 16 palette entries of a freshly configured screen.
inline constexpr std::array<uint32_t, 16> kPlatformColours = {
    0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA, 0xAA5500, 0xAAAAAA,
    0x555555, 0x5555FF, 0x55FF55, 0x55FFFF, 0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF,
};

// Bytes of one screen pixel at a colour depth (4 and 8 bits: one index byte).
int BytesPerPixel(int depth);

class Screen {
 public:
  // Sets size and depth (4, 8, 15, 16, 24 or 32) and the default text grid of
  // 8 x 8 cells (8 x 16 from 400 rows up is chosen by the caller via SetTextGrid).
  void Configure(int width, int height, int depth, int textColumns, int textRows);
  void SetTextGrid(int columns, int rows);
  void SetPalette(int index, int red, int green, int blue);

  int width() const { return width_; }
  int height() const { return height_; }
  int depth() const { return depth_; }
  int bytesPerPixel() const { return bytesPerPixel_; }
  int pitch() const { return width_ * bytesPerPixel_; }
  int textColumns() const { return textColumns_; }
  int textRows() const { return textRows_; }
  int cellHeight() const { return textRows_ > 0 ? height_ / textRows_ : 8; }
  uint8_t* pixels() { return pixels_.data(); }
  const uint8_t* pixels() const { return pixels_.data(); }
  // 0x00RRGGBB of palette entry i (8- and 4-bit depths).
  uint32_t paletteEntry(int i) const { return palette_[i & 255]; }

  // Colour arguments are in the depth's own meaning: 0x00RRGGBB at 24 and 32
  // bits (converted to the pixel format at 15 and 16), a palette index at 8 and 4.
  void DrawLine(int x0, int y0, int x1, int y1, uint32_t colour);
  // The four sides of the box with opposite corners (x0, y0) and (x1, y1).
  void DrawRectOutline(int x0, int y0, int x1, int y1, uint32_t colour);
  // Prints at a 1-based (row, column) cell; text past the right edge is cut.
  void PrintText(int row, int column, std::string_view text, uint32_t foreground,
                 uint32_t background);
  void PutPixel(int x, int y, uint32_t colour);
  // The 0x00RRGGBB a screen pixel shows (palette applied at 8 and 4 bits;
  // 5- and 6-bit channels shifted up to 8 bits); 0 outside the screen.
  uint32_t PixelRgb(int x, int y) const;
  // PixelRgb of a whole row y (0 <= y < height) into out[0 .. width).
  void RowRgb(int y, uint32_t* out) const;

  // What the text grid shows: the code printed last into each cell since the
  // frame was last presented, blank where nothing was printed.
  uint8_t TextCell(int row, int column) const;
  void ForgetText();

  // Whether pixel row y was drawn on (text, lines, pixels, a new mode) since
  // the last ForgetDrawnRows: a frame presented after it must cover it again.
  bool RowDrawn(int y) const { return drawnRows_[static_cast<size_t>(y)] != 0; }
  void ForgetDrawnRows() { std::fill(drawnRows_.begin(), drawnRows_.end(), uint8_t{0}); }

 private:
  uint32_t Encode(uint32_t colour) const;
  void Store(uint8_t* p, uint32_t encoded) const;
  void FillCellRow(uint8_t* p, uint8_t bits, uint32_t fg, uint32_t bg, int pixels) const;

  int width_ = 0, height_ = 0, depth_ = 32, bytesPerPixel_ = 4;
  int textColumns_ = 0, textRows_ = 0;
  std::vector<uint8_t> pixels_;
  std::vector<uint8_t> textRecord_;
  std::vector<uint8_t> drawnRows_;  // one per pixel row
  std::array<uint32_t, 256> palette_{};
};

}  // namespace qelvar
