// The backdrop image shown behind the model.
#pragma once

#include <cstdint>
#include <vector>

namespace qelvar {

// A loaded backdrop image, 0x00RRGGBB pixels row by row from the top.
struct Backdrop {
  bool loaded = false;
  int lastColumn = -1, lastRow = -1;  // width - 1, height - 1
  std::vector<uint32_t> pixels;
};

}  // namespace qelvar
