// BMP and text-grid dumps of the screen.
#include "platform/screen_dump.h"

#include <cstdio>

#include "platform/bmp_encode.h"

namespace qelvar {

std::vector<uint8_t> EncodeScreenBmp(const Screen& screen) {
  const int w = screen.width(), h = screen.height();
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
  for (int y = 0; y < h; ++y) screen.RowRgb(y, pixels.data() + static_cast<size_t>(y) * w);
  return EncodeBmp24(pixels.data(), w, h);
}

std::string TextGridDump(const Screen& screen) {
  std::string out;
  out.reserve(static_cast<size_t>(screen.textRows()) * (screen.textColumns() + 1));
  for (int row = 1; row <= screen.textRows(); ++row) {
    for (int col = 1; col <= screen.textColumns(); ++col) {
      out.push_back(static_cast<char>(screen.TextCell(row, col)));
    }
    out.push_back('\n');
  }
  return out;
}

bool WriteFileBytes(const std::string& path, const void* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace qelvar
