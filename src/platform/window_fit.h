// Where the screen's picture goes in a window of any size, and where a
// window point falls in the picture.
#pragma once

namespace qelvar {

struct PictureRect {
  int x = 0, y = 0, width = 0, height = 0;
};

// A width x height picture in a window: enlarged by the largest whole factor
// that fits, or, in a window too small for it, shrunk to the largest size
// that fits with its proportions; centred, the rest of the window is border.
PictureRect FitPicture(int windowWidth, int windowHeight, int width, int height);

// The picture pixel under window point (wx, wy); points on the border give
// the nearest edge pixel.
void WindowToPicture(const PictureRect& r, int width, int height, int wx, int wy, int& x, int& y);

}  // namespace qelvar
