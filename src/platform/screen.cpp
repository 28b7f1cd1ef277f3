// The framebuffer: pixel formats of every depth, lines, text cells with the
// compiled-in glyphs, and the record of what the text grid shows.
#include "platform/screen.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/font.h"

namespace qelvar {
namespace {

// 5- and 6-bit channels are shifted up, not scaled: 31 shows as 248.
uint32_t Rgb565ToRgb(uint32_t v) {
  return ((v >> 11) & 31) << 19 | ((v >> 5) & 63) << 10 | (v & 31) << 3;
}
uint32_t Rgb555ToRgb(uint32_t v) {
  return ((v >> 10) & 31) << 19 | ((v >> 5) & 31) << 11 | (v & 31) << 3;
}

// Lines whose ends lie this far out are first cut to the screen, so a wild
// coordinate cannot make the pixel walk take billions of steps.
constexpr int kUnclippedReach = 1 << 15;

bool ClipToBox(double& x0, double& y0, double& x1, double& y1, double maxX, double maxY) {
  double t0 = 0, t1 = 1, dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 + 1, maxX - x0, y0 + 1, maxY - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    double t = q[i] / p[i];
    if (p[i] < 0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  if (t0 > t1) return false;
  x1 = x0 + t1 * dx, y1 = y0 + t1 * dy;
  x0 = x0 + t0 * dx, y0 = y0 + t0 * dy;
  return true;
}

}  // namespace

int BytesPerPixel(int depth) {
  switch (depth) {
    case 32:
      return 4;
    case 24:
      return 3;
    case 16:
    case 15:
      return 2;
    default:
      return 1;
  }
}

void Screen::Configure(int width, int height, int depth, int textColumns, int textRows) {
  width_ = width;
  height_ = height;
  depth_ = depth;
  bytesPerPixel_ = BytesPerPixel(depth);
  pixels_.assign(static_cast<size_t>(width) * height * bytesPerPixel_, 0);
  drawnRows_.assign(static_cast<size_t>(std::max(height, 0)), 1);
  palette_.fill(0);
  std::copy(kPlatformColours.begin(), kPlatformColours.end(), palette_.begin());
  textColumns_ = 0;
  textRows_ = 0;
  SetTextGrid(textColumns, textRows);
}

void Screen::SetTextGrid(int columns, int rows) {
  if (columns < 1 || rows < 1) return;
  textColumns_ = columns;
  textRows_ = rows;
  textRecord_.assign(static_cast<size_t>(columns) * rows, ' ');
}

void Screen::SetPalette(int index, int red, int green, int blue) {
  palette_[index & 255] =
      static_cast<uint32_t>((red & 255) << 16 | (green & 255) << 8 | (blue & 255));
}

uint32_t Screen::Encode(uint32_t colour) const {
  uint32_t r = (colour >> 16) & 255, g = (colour >> 8) & 255, b = colour & 255;
  switch (depth_) {
    case 32:
    case 24:
      return colour & 0xFFFFFF;
    case 16:
      return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
    case 15:
      return (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    default:
      return colour & 255;
  }
}

void Screen::Store(uint8_t* p, uint32_t encoded) const {
  switch (bytesPerPixel_) {
    case 4:
      p[3] = 0;
      [[fallthrough]];
    case 3:
      p[2] = static_cast<uint8_t>(encoded >> 16);
      [[fallthrough]];
    case 2:
      p[1] = static_cast<uint8_t>(encoded >> 8);
      [[fallthrough]];
    default:
      p[0] = static_cast<uint8_t>(encoded);
  }
}

void Screen::PutPixel(int x, int y, uint32_t colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  drawnRows_[static_cast<size_t>(y)] = 1;
  Store(pixels_.data() + (static_cast<size_t>(y) * width_ + x) * bytesPerPixel_, Encode(colour));
}

void Screen::DrawLine(int x0, int y0, int x1, int y1, uint32_t colour) {
  if (std::abs(x0) > kUnclippedReach || std::abs(y0) > kUnclippedReach ||
      std::abs(x1) > kUnclippedReach || std::abs(y1) > kUnclippedReach) {
    double fx0 = x0, fy0 = y0, fx1 = x1, fy1 = y1;
    if (!ClipToBox(fx0, fy0, fx1, fy1, width_, height_)) return;
    x0 = static_cast<int>(std::lround(fx0)), y0 = static_cast<int>(std::lround(fy0));
    x1 = static_cast<int>(std::lround(fx1)), y1 = static_cast<int>(std::lround(fy1));
  }
  // Bresenham from the first end to the second; pixels off the screen are skipped.
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int error = dx + dy;
  for (;;) {
    PutPixel(x0, y0, colour);
    if (x0 == x1 && y0 == y1) break;
    int e2 = 2 * error;
    if (e2 >= dy) error += dy, x0 += sx;
    if (e2 <= dx) error += dx, y0 += sy;
  }
}

void Screen::DrawRectOutline(int x0, int y0, int x1, int y1, uint32_t colour) {
  DrawLine(x0, y0, x1, y0, colour);
  DrawLine(x1, y0, x1, y1, colour);
  DrawLine(x1, y1, x0, y1, colour);
  DrawLine(x0, y1, x0, y0, colour);
}

void Screen::FillCellRow(uint8_t* p, uint8_t bits, uint32_t fg, uint32_t bg, int pixels) const {
  for (int i = 0; i < pixels; ++i, p += bytesPerPixel_) {
    Store(p, (bits & (0x80 >> i)) ? fg : bg);
  }
}

void Screen::PrintText(int row, int column, std::string_view text, uint32_t foreground,
                       uint32_t background) {
  if (row < 1 || row > textRows_) return;
  const int cell = cellHeight();
  const uint32_t fg = Encode(foreground), bg = Encode(background);
  for (size_t i = 0; i < text.size(); ++i) {
    const long col = column + static_cast<long>(i);
    if (col < 1) continue;
    if (col > textColumns_) break;
    const auto code = static_cast<uint8_t>(text[i]);
    textRecord_[static_cast<size_t>(row - 1) * textColumns_ + (col - 1)] = code;
    const int x = static_cast<int>(col - 1) * 8, top = (row - 1) * cell;
    const int pixels = std::min(8, width_ - x);
    for (int r = 0; r < cell && top + r < height_ && pixels > 0; ++r) {
      drawnRows_[static_cast<size_t>(top + r)] = 1;
      uint8_t bits = 0;
      if (cell >= 16) {
        bits = r < 16 ? kGlyphs8x16[code][r] : 0;
      } else {
        bits = r < 8 ? kGlyphs8x8[code][r] : 0;
      }
      uint8_t* p = pixels_.data() + (static_cast<size_t>(top + r) * width_ + x) * bytesPerPixel_;
      FillCellRow(p, bits, fg, bg, pixels);
    }
  }
}

uint32_t Screen::PixelRgb(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  const uint8_t* p = pixels_.data() + (static_cast<size_t>(y) * width_ + x) * bytesPerPixel_;
  switch (depth_) {
    case 32:
    case 24:
      return static_cast<uint32_t>(p[2] << 16 | p[1] << 8 | p[0]);
    case 16:
      return Rgb565ToRgb(static_cast<uint32_t>(p[1] << 8 | p[0]));
    case 15:
      return Rgb555ToRgb(static_cast<uint32_t>(p[1] << 8 | p[0]));
    default:
      return palette_[p[0]];
  }
}

void Screen::RowRgb(int y, uint32_t* out) const {
  const uint8_t* p = pixels_.data() + static_cast<size_t>(y) * pitch();
  const int w = width_;
  switch (depth_) {
    case 32:
      // Stored as B, G, R, 0: on a little-endian host exactly the words 0x00RRGGBB.
      static_assert(std::endian::native == std::endian::little);
      std::memcpy(out, p, static_cast<size_t>(w) * 4);
      break;
    case 24:
      for (int x = 0; x < w; ++x, p += 3) out[x] = p[2] << 16 | p[1] << 8 | p[0];
      break;
    case 16:
      for (int x = 0; x < w; ++x, p += 2) out[x] = Rgb565ToRgb(p[1] << 8 | p[0]);
      break;
    case 15:
      for (int x = 0; x < w; ++x, p += 2) out[x] = Rgb555ToRgb(p[1] << 8 | p[0]);
      break;
    default:
      for (int x = 0; x < w; ++x) out[x] = palette_[p[x]];
  }
}

uint8_t Screen::TextCell(int row, int column) const {
  if (row < 1 || row > textRows_ || column < 1 || column > textColumns_) return ' ';
  return textRecord_[static_cast<size_t>(row - 1) * textColumns_ + (column - 1)];
}

void Screen::ForgetText() { std::fill(textRecord_.begin(), textRecord_.end(), ' '); }

}  // namespace qelvar
