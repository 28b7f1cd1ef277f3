// Colour tables prepared once at start-up: interface colours per depth and the
// dither pairs of the 16-colour mode.
#pragma once

#include "core/screen_geometry.h"

namespace qelvar {

// Pairs of 16-colour palette indices that best approximate each 3-3-3 colour.
std::array<uint16_t, 512> ComputeDitherPairs();
// Interface colours in the form the depth draws with: RGB, or palette indices.
std::array<uint32_t, 16> InterfaceColoursForDepth(int depth);

}  // namespace qelvar
