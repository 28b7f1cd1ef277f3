// The uncompressed 24-bit BMP layout shared by screenshots and screen dumps.
#pragma once

#include <cstdint>
#include <vector>

namespace qelvar {

constexpr int kBmpHeaderSize = 54;

// The whole file for width x height pixels 0x00RRGGBB given top row first:
// 54-byte header, rows stored bottom row first as blue, green, red, each row
// padded with zeros to a multiple of 4 bytes.
std::vector<uint8_t> EncodeBmp24(const uint32_t* pixels, int width, int height);

}  // namespace qelvar
