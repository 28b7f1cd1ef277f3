// Picture placement with integer arithmetic only, so the same window size
// always gives the same pixels.
#include "platform/window_fit.h"

#include <algorithm>
#include <cstdint>

namespace qelvar {
namespace {

// The picture coordinate of window offset d along a side of `window` pixels
// showing `size` picture pixels, clamped to the side.
int MapAxis(int d, int window, int size) {
  if (d <= 0 || window <= 0) return 0;
  const int64_t p = int64_t(d) * size / window;
  return static_cast<int>(std::min<int64_t>(p, size - 1));
}

}  // namespace

PictureRect FitPicture(int windowWidth, int windowHeight, int width, int height) {
  PictureRect r;
  if (width <= 0 || height <= 0 || windowWidth <= 0 || windowHeight <= 0) return r;
  const int factor = std::min(windowWidth / width, windowHeight / height);
  if (factor >= 1) {
    r.width = width * factor;
    r.height = height * factor;
  } else if (int64_t(windowWidth) * height <= int64_t(windowHeight) * width) {
    r.width = windowWidth;  // the width limits
    r.height = std::max(1, static_cast<int>(int64_t(height) * windowWidth / width));
  } else {
    r.height = windowHeight;
    r.width = std::max(1, static_cast<int>(int64_t(width) * windowHeight / height));
  }
  r.x = (windowWidth - r.width) / 2;
  r.y = (windowHeight - r.height) / 2;
  return r;
}

void WindowToPicture(const PictureRect& r, int width, int height, int wx, int wy, int& x, int& y) {
  x = MapAxis(wx - r.x, r.width, std::max(1, width));
  y = MapAxis(wy - r.y, r.height, std::max(1, height));
}

}  // namespace qelvar
