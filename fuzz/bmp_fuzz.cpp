// Backdrop images: a refused file leaves the backdrop off; a loaded one has
// one 0x00RRGGBB pixel per position, copies into render buffers of any size,
// and comes back unchanged once written as a 24-bit image and loaded again.
#include "core/messages.h"
#include "fuzz_support.h"
#include "model/bmp_file.h"
#include "model/file_io.h"
#include "render/overlays.h"
#include "render/rasteriser.h"

using namespace qelvar;
using namespace qelvar::fuzz;

namespace {

void CheckCopies(const Backdrop& backdrop, int width, int height) {
  ScreenGeometry g;
  g.bufferWidth = width, g.bufferHeight = height;
  RenderBuffers buffers;
  InitRenderBuffers(buffers, g);
  CopyBackdrop(backdrop, buffers);
  Check(buffers.colour.size() == size_t(width) * size_t(height), "the buffer keeps its size");
}

// Width times height from the header, when it has them.
int64_t ClaimedPixels(const uint8_t* data, size_t size) {
  if (size < 26) return 0;
  return int64_t{GetI32(data + 18)} * GetI32(data + 22);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Images of up to 8192 x 8192 load, but clearing up to a quarter of a
  // gigabyte per input would leave little time for anything else; the
  // loader's bounds do not depend on the size.
  if (ClaimedPixels(data, size) > (int64_t{1} << 18)) return 0;
  const std::string path = WriteInput("input.bmp", data, size);
  Backdrop backdrop;
  if (LoadBackdrop(path, backdrop) != kMsgFileLoaded) {
    Check(!backdrop.loaded, "a refused image leaves the backdrop off");
    return 0;
  }
  Check(backdrop.loaded, "a loaded image switches the backdrop on");
  const int width = backdrop.lastColumn + 1, height = backdrop.lastRow + 1;
  Check(width >= 1 && width <= kBackdropMaxSide && height >= 1 && height <= kBackdropMaxSide,
        "the image size is within bounds");
  Check(backdrop.pixels.size() == size_t(width) * size_t(height), "one pixel per position");
  for (uint32_t p : backdrop.pixels) Check(p <= 0xFFFFFF, "pixels are 0x00RRGGBB");
  CheckCopies(backdrop, 1, 1);
  CheckCopies(backdrop, 37, 23);
  CheckCopies(backdrop, 640, 480);
  const std::string again = Directory() + "/again.bmp";
  Check(WriteBmp24(again, backdrop.pixels.data(), width, height), "the image can be written");
  Backdrop reloaded;
  Check(LoadBackdrop(again, reloaded) == kMsgFileLoaded, "the written image loads");
  Check(reloaded.pixels == backdrop.pixels, "the written image loads unchanged");
  return 0;
}
