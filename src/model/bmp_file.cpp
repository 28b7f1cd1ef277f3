// BMP writing for screenshots and reading for backdrops. Header fields are
// read one by one, little-endian.
#include "model/bmp_file.h"

#include <vector>

#include "core/messages.h"
#include "model/file_io.h"
#include "model/file_paths.h"

namespace qelvar {
namespace {

uint64_t RowSize(int width, int bytesPerPixel) {
  return (uint64_t(width) * bytesPerPixel + 3) / 4 * 4;
}

// How the pixels of a file row are laid out.
enum class PixelFormat { kRgb555, kRgb565, kBgr, kBgrx };

// 16-bit pixels are 5-5-5 unless the header's bit fields (compression 3,
// masks at offset 54) say 5-6-5. A 32-bit pixel is blue, green, red and an
// unused byte; every other depth above 16 is read as three bytes.
PixelFormat FormatOf(const uint8_t* h, size_t headerBytes, int bitsPerPixel) {
  if (bitsPerPixel == 32) return PixelFormat::kBgrx;
  if (bitsPerPixel != 16) return PixelFormat::kBgr;
  const bool sixGreenBits = headerBytes >= 66 && GetU32(h + 30) == 3 && GetU32(h + 54) == 0xF800 &&
                            GetU32(h + 58) == 0x07E0 && GetU32(h + 62) == 0x001F;
  return sixGreenBits ? PixelFormat::kRgb565 : PixelFormat::kRgb555;
}

int BytesPerPixel(PixelFormat format) {
  switch (format) {
    case PixelFormat::kRgb555:
    case PixelFormat::kRgb565:
      return 2;
    case PixelFormat::kBgr:
      return 3;
    case PixelFormat::kBgrx:
      return 4;
  }
  return 3;
}

uint32_t Widen16(uint16_t w, PixelFormat format) {
  const uint32_t blue = uint32_t(w & 31) << 3;
  if (format == PixelFormat::kRgb565)
    return blue | uint32_t((w >> 5) & 63) << 2 << 8 | uint32_t((w >> 11) & 31) << 3 << 16;
  return blue | uint32_t((w >> 5) & 31) << 3 << 8 |
         uint32_t((w >> 10) & 31) << 3 << 16;  // bit 15 is ignored
}

// Decodes one file row into image row dst; short rows leave the rest black.
void DecodeRow(const uint8_t* src, size_t bytes, int width, PixelFormat format, uint32_t* dst) {
  const int step = BytesPerPixel(format);
  for (int x = 0; x < width && size_t(step) * size_t(x + 1) <= bytes; ++x) {
    const uint8_t* p = src + size_t(step) * size_t(x);
    dst[x] = step == 2 ? Widen16(GetU16(p), format)
                       : uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
  }
}

}  // namespace

constexpr int kLastScreenshotLetter = '~';

std::string ScreenshotName(int32_t n) {
  std::string name = "image";
  name += char(65 + (n >> 8));
  name += char(65 + ((n >> 4) & 15));
  name += char(65 + (n & 15));
  return name + ".bmp";
}

bool WriteBmp24(const std::string& path, const uint32_t* pixels, int width, int height) {
  AtomicFileWriter out(path);
  if (!out.Open()) return false;
  const std::vector<uint8_t> bytes = EncodeBmp24(pixels, width, height);
  out.Write(bytes.data(), bytes.size());
  return out.Commit();
}

int SaveScreenshot(const uint32_t* pixels, int width, int height, int32_t& counter,
                   std::string* savedName) {
  if (pixels == nullptr || width < 0 || height < 0) return kMsgCantOpenFile;
  // Screenshots of earlier runs stay: their names are passed over.
  while (counter >= 0 && (counter >> 8) <= kLastScreenshotLetter - 'A' &&
         PathExists(ScreenshotName(counter)))
    ++counter;
  // Past "~" the first letter would run into characters that are no file name
  // (a slash, a NUL) and at last wrap round onto imageAAA.bmp of this run.
  if (counter < 0 || (counter >> 8) > kLastScreenshotLetter - 'A') return kMsgCantOpenFile;
  const std::string name = ScreenshotName(counter);
  if (!WriteBmp24(name, pixels, width, height)) return kMsgCantOpenFile;
  if (savedName) *savedName = name;
  ++counter;
  return kMsgScreenshotSaved;
}

int LoadBackdrop(const std::string& path, Backdrop& backdrop) {
  backdrop.loaded = false;
  InputFile file;
  if (!file.Open(path)) return kMsgCantOpenFile;
  uint8_t h[66] = {};
  const size_t headerBytes = file.ReadAt(0, h, sizeof h);
  if (headerBytes < 26 || GetU16(h) != 19778) return kMsgCantOpenFile;
  const uint32_t dataAt = GetU32(h + 10);
  const int32_t width = GetI32(h + 18), height = GetI32(h + 22);
  if (width < 1 || width > kBackdropMaxSide || height < 1 || height > kBackdropMaxSide)
    return kMsgCantOpenFile;
  backdrop.pixels.assign(size_t(width) * size_t(height), 0);
  backdrop.lastColumn = width - 1;  // kept in step with the table even when refused below
  backdrop.lastRow = height - 1;
  const int bitsPerPixel = GetU16(h + 28);  // 0 when the header ends before it
  if (bitsPerPixel < 16) return kMsgCantOpenFile;

  const PixelFormat format = FormatOf(h, headerBytes, bitsPerPixel);
  const uint64_t rowSize = RowSize(width, BytesPerPixel(format));
  std::vector<uint8_t> row(rowSize);
  for (int32_t k = 0; k < height; ++k) {
    const size_t got = file.ReadAt(dataAt + uint64_t(k) * rowSize, row.data(), row.size());
    if (got == 0) break;
    uint32_t* dst = backdrop.pixels.data() + size_t(height - 1 - k) * size_t(width);
    DecodeRow(row.data(), got, width, format, dst);
  }
  backdrop.loaded = true;
  return kMsgFileLoaded;
}

}  // namespace qelvar
