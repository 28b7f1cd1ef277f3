// BMP and text-grid dumps of the screen, every header field written
// explicitly in little-endian order.
#include "platform/screen_dump.h"

#include <cstdio>

namespace qelvar {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeScreenBmp(const Screen& screen) {
  const uint32_t w = static_cast<uint32_t>(screen.width());
  const uint32_t h = static_cast<uint32_t>(screen.height());
  const uint32_t rowSize = (w * 3 + 3) & ~3u;
  std::vector<uint8_t> out;
  out.reserve(54 + static_cast<size_t>(rowSize) * h);
  out.push_back('B');
  out.push_back('M');
  Put32(out, 54 + rowSize * h);  // file size
  Put32(out, 0);                 // reserved
  Put32(out, 54);                // offset of the pixel data
  Put32(out, 40);                // size of the information header
  Put32(out, w);                 // width
  Put32(out, h);                 // height, positive: rows stored bottom-up
  Put16(out, 1);                 // planes
  Put16(out, 24);                // bits per pixel
  Put32(out, 0);                 // no compression
  Put32(out, rowSize * h);       // image size
  Put32(out, 3780);              // horizontal pixels per metre
  Put32(out, 3780);              // vertical pixels per metre
  Put32(out, 0);                 // palette colours
  Put32(out, 0);                 // important colours
  std::vector<uint32_t> row(w);
  for (int y = static_cast<int>(h) - 1; y >= 0; --y) {
    screen.RowRgb(y, row.data());
    for (uint32_t p : row) {
      out.push_back(static_cast<uint8_t>(p));
      out.push_back(static_cast<uint8_t>(p >> 8));
      out.push_back(static_cast<uint8_t>(p >> 16));
    }
    out.insert(out.end(), rowSize - w * 3, 0);
  }
  return out;
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
