// Every header field is written explicitly in little-endian order.
#include "platform/bmp_encode.h"

#include <cstddef>

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

std::vector<uint8_t> EncodeBmp24(const uint32_t* pixels, int width, int height) {
  const uint32_t w = width > 0 ? static_cast<uint32_t>(width) : 0;
  const uint32_t h = height > 0 ? static_cast<uint32_t>(height) : 0;
  const uint32_t rowSize = (w * 3 + 3) & ~3u;
  std::vector<uint8_t> out;
  out.reserve(kBmpHeaderSize + static_cast<size_t>(rowSize) * h);
  out.push_back('B');
  out.push_back('M');
  Put32(out, kBmpHeaderSize + rowSize * h);  // file size
  Put32(out, 0);                             // reserved
  Put32(out, kBmpHeaderSize);                // offset of the pixel data
  Put32(out, 40);                            // size of the information header
  Put32(out, w);                             // width
  Put32(out, h);                             // height, positive: rows stored bottom-up
  Put16(out, 1);                             // planes
  Put16(out, 24);                            // bits per pixel
  Put32(out, 0);                             // no compression
  Put32(out, rowSize * h);                   // image size
  Put32(out, 3780);                          // horizontal pixels per metre
  Put32(out, 3780);                          // vertical pixels per metre
  Put32(out, 0);                             // palette colours
  Put32(out, 0);                             // important colours
  for (uint32_t y = h; y-- > 0;) {
    const uint32_t* row = pixels + static_cast<size_t>(y) * w;
    for (uint32_t x = 0; x < w; ++x) {
      out.push_back(static_cast<uint8_t>(row[x]));
      out.push_back(static_cast<uint8_t>(row[x] >> 8));
      out.push_back(static_cast<uint8_t>(row[x] >> 16));
    }
    out.insert(out.end(), rowSize - w * 3, 0);
  }
  return out;
}

}  // namespace qelvar
