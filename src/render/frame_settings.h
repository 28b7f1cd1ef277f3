// What one re-render reads besides the model and the view: the check-box
// options and the value cells that change the picture, taken once per frame.
#pragma once

#include <cstdint>

#include "core/option_flags.h"
#include "core/value_cells.h"

namespace qelvar {

struct FrameSettings {
  uint32_t options = kStartOptions;      // the check-box word
  float drawDepth = 1000000.0f;          // "drawdepth": the depth the buffers clear to
  int contrast = 160;                    // "coNtrast"
  int separation = 15;                   // "seParatin": half the eye distance of the pair
  float lightXY = 0.0f, lightYZ = 0.0f;  // "LXY", "LYZ"
  bool stereo = false;  // the side-by-side pair: "Stereo view" on and no tool active
};

inline FrameSettings MakeFrameSettings(uint32_t options, const ValueCells& cells, bool toolActive) {
  FrameSettings s;
  s.options = options;
  s.drawDepth = cells.Real(kCellDrawDepth);
  s.contrast = cells.Int(kCellContrast);
  s.separation = cells.Int(kCellSeparation);
  s.lightXY = cells.Real(kCellLightXY);
  s.lightYZ = cells.Real(kCellLightYZ);
  s.stereo = HasOption(options, kOptStereo) && !toolActive;
  return s;
}

}  // namespace qelvar
