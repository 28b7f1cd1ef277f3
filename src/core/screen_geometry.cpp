#include "core/screen_geometry.h"

namespace qelvar {

ScreenGeometry DeriveScreenGeometry(int width, int height, int colourDepth, int textColumns,
                                    int textRows, int detail) {
  ScreenGeometry g;
  g.screenWidth = width;
  g.screenHeight = height;
  g.colourDepth = colourDepth;
  g.textColumns = textColumns;
  g.textRows = textRows;
  g.cellHeight = textRows > 0 ? height / textRows : 8;
  g.detail = detail >= 0 && detail <= 2 ? detail : 1;
  g.bufferHeight = height;
  switch (g.detail) {
    case 0:
      g.bufferWidth = width >> 1;
      g.hSampling = 0.5f;
      break;
    case 2:
      g.bufferWidth = width * 2;
      g.hSampling = 2.0f;
      break;
    default:
      g.bufferWidth = width;
      g.hSampling = 1.0f;
  }
  return g;
}

}  // namespace qelvar
