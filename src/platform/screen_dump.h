// Files the headless runner writes from the screen: an uncompressed 24-bit BMP
// of the visible pixels and the text grid as the screen shows it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/screen.h"

namespace qelvar {

// The whole BMP file: 54-byte header, bottom row first, rows padded to 4 bytes.
std::vector<uint8_t> EncodeScreenBmp(const Screen& screen);
// textRows lines of exactly textColumns bytes, each ended by "\n".
std::string TextGridDump(const Screen& screen);

// Replace the file at path; false when it cannot be written completely.
bool WriteFileBytes(const std::string& path, const void* data, size_t size);

}  // namespace qelvar
