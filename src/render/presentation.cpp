// Presentation of the colour buffer in every colour depth and detail level:
// one sequential read of the buffer and one sequential write of the screen.
#include "render/presentation.h"

#include <algorithm>
#include <cstring>

#include "platform/screen.h"

namespace qelvar {
namespace {

// Pixel writers by depth: Encode gives the stored value, Store writes it.
struct Depth32 {
  static constexpr int kBytes = 4;
  static uint32_t Encode(uint32_t p) { return p; }
  static void Store(uint8_t* d, uint32_t v) { std::memcpy(d, &v, 4); }
};
struct Depth24 {
  static constexpr int kBytes = 3;
  static uint32_t Encode(uint32_t p) { return p; }
  static void Store(uint8_t* d, uint32_t v) {
    d[0] = static_cast<uint8_t>(v);
    d[1] = static_cast<uint8_t>(v >> 8);
    d[2] = static_cast<uint8_t>(v >> 16);
  }
};
template <uint16_t (*kConvert)(uint32_t)>
struct Depth16Bit {
  static constexpr int kBytes = 2;
  static uint32_t Encode(uint32_t p) { return kConvert(p); }
  static void Store(uint8_t* d, uint32_t v) {
    const auto w = static_cast<uint16_t>(v);
    std::memcpy(d, &w, 2);
  }
};
using Depth16 = Depth16Bit<ToDepth16>;
using Depth15 = Depth16Bit<ToDepth15>;
struct Depth8 {
  static constexpr int kBytes = 1;
  static uint32_t Encode(uint32_t p) { return ToDepth8(p); }
  static void Store(uint8_t* d, uint32_t v) { *d = static_cast<uint8_t>(v); }
};

// One screen row from one buffer row; `pixels` is the number of buffer pixels
// (detail 0, 1) or screen pixels (detail 2) to convert.
template <class F>
void RowDetail1(const uint32_t* src, uint8_t* dst, int pixels) {
  for (int x = 0; x < pixels; ++x) F::Store(dst + x * F::kBytes, F::Encode(src[x]));
}
template <class F>
void RowDetail0(const uint32_t* src, uint8_t* dst, int pixels) {
  for (int x = 0; x < pixels; ++x) {
    const uint32_t v = F::Encode(src[x]);
    F::Store(dst + (2 * x) * F::kBytes, v);
    F::Store(dst + (2 * x + 1) * F::kBytes, v);
  }
}
template <class F>
void RowDetail2(const uint32_t* src, uint8_t* dst, int pixels) {
  for (int x = 0; x < pixels; ++x) {
    F::Store(dst + x * F::kBytes, F::Encode(BoxFilter(src[2 * x], src[2 * x + 1])));
  }
}

// Depth 24 at detail 1: four pixels (12 bytes) as three 32-bit words.
void RowDetail1Depth24(const uint32_t* src, uint8_t* dst, int pixels) {
  int x = 0;
  for (; x + 4 <= pixels; x += 4, dst += 12) {
    const uint32_t p0 = src[x] & 0xFFFFFFu, p1 = src[x + 1] & 0xFFFFFFu;
    const uint32_t p2 = src[x + 2] & 0xFFFFFFu, p3 = src[x + 3] & 0xFFFFFFu;
    const uint32_t w0 = p0 | p1 << 24, w1 = p1 >> 8 | p2 << 16, w2 = p2 >> 16 | p3 << 8;
    std::memcpy(dst, &w0, 4);
    std::memcpy(dst + 4, &w1, 4);
    std::memcpy(dst + 8, &w2, 4);
  }
  for (; x < pixels; ++x, dst += 3) Depth24::Store(dst, src[x]);
}

// Depth 4 pairs two palette indices per colour level; a buffer pixel shown
// on two screen pixels takes both, a single screen pixel the one of its column.
uint16_t DitherEntry(const ColourTables& t, uint32_t p) {
  return t.ditherPairs[((p >> 21) & 7) * 64 + ((p >> 13) & 7) * 8 + ((p >> 5) & 7)];
}
void RowDepth4(const ColourTables& t, int detail, const uint32_t* src, uint8_t* dst, int pixels) {
  for (int x = 0; x < pixels; ++x) {
    if (detail == 0) {
      const uint16_t e = DitherEntry(t, src[x]);
      dst[2 * x] = static_cast<uint8_t>(e);
      dst[2 * x + 1] = static_cast<uint8_t>(e >> 8);
    } else {
      const uint32_t p = detail == 2 ? BoxFilter(src[2 * x], src[2 * x + 1]) : src[x];
      const uint16_t e = DitherEntry(t, p);
      dst[x] = static_cast<uint8_t>((x & 1) ? e >> 8 : e);
    }
  }
}

// At low detail an odd screen width has one column more than the buffer
// covers; it repeats the pixel before it, so that it is presented like every
// other column and nothing drawn there earlier (an outline at the pointer)
// stays on the screen.
void RepeatLastColumn(uint8_t* screen, int rows, const uint8_t* only, size_t pitch, int bytes,
                      int from, int to) {
  for (int y = 0; y < rows; ++y) {
    if (only && !only[y]) continue;
    uint8_t* line = screen + y * pitch;
    for (int x = from; x < to; ++x)
      std::memcpy(line + x * bytes, line + (from - 1) * bytes, static_cast<size_t>(bytes));
  }
}

using RowFunction = void (*)(const uint32_t*, uint8_t*, int);

template <class F>
RowFunction RowFor(int detail) {
  return detail == 0 ? RowDetail0<F> : (detail == 2 ? RowDetail2<F> : RowDetail1<F>);
}

RowFunction RowFor(int depth, int detail) {
  switch (depth) {
    case 32:
      return RowFor<Depth32>(detail);
    case 24:
      return detail == 1 ? RowDetail1Depth24 : RowFor<Depth24>(detail);
    case 16:
      return RowFor<Depth16>(detail);
    case 15:
      return RowFor<Depth15>(detail);
    default:
      return RowFor<Depth8>(detail);
  }
}

}  // namespace

void PresentFrame(const RenderBuffers& buffers, int detail, int depth, const ColourTables& tables,
                  uint8_t* screen, int screenWidth, int screenHeight) {
  PresentRows(buffers, detail, depth, tables, screen, screenWidth, screenHeight, nullptr);
}

void PresentRows(const RenderBuffers& buffers, int detail, int depth, const ColourTables& tables,
                 uint8_t* screen, int screenWidth, int screenHeight, const uint8_t* only) {
  const int rows = std::min(buffers.height, screenHeight);
  if (rows <= 0 || buffers.width <= 0 || screenWidth <= 0) return;
  const size_t pitch = static_cast<size_t>(screenWidth) * BytesPerPixel(depth);
  const uint32_t* src = buffers.colour.data();
  const auto bufferWidth = static_cast<size_t>(buffers.width);
  if (depth == 32 && detail == 1 && buffers.width == screenWidth) {
    if (!only) {
      std::memcpy(screen, src, static_cast<size_t>(rows) * pitch);
      return;
    }
    for (int y = 0; y < rows; ++y) {
      if (only[y]) std::memcpy(screen + y * pitch, src + y * bufferWidth, pitch);
    }
    return;
  }
  int pixels = std::min(buffers.width, screenWidth);  // detail 1
  if (detail == 0) pixels = std::min(buffers.width, screenWidth / 2);
  if (detail == 2) pixels = std::min(buffers.width / 2, screenWidth);
  if (depth == 4) {
    for (int y = 0; y < rows; ++y) {
      if (!only || only[y])
        RowDepth4(tables, detail, src + y * bufferWidth, screen + y * pitch, pixels);
    }
  } else {
    const RowFunction row = RowFor(depth, detail);
    for (int y = 0; y < rows; ++y) {
      if (!only || only[y]) row(src + y * bufferWidth, screen + y * pitch, pixels);
    }
  }
  if (detail == 0 && pixels > 0 && screenWidth > 2 * pixels)
    RepeatLastColumn(screen, rows, only, pitch, BytesPerPixel(depth), 2 * pixels, screenWidth);
}

}  // namespace qelvar
