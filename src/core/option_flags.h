// The check-box option word: bit n belongs to the check box whose parameter is n.
#pragma once

#include <cstdint>

namespace qelvar {

enum OptionBit : int {
  kOptShowVerts = 0, kOptShowTris = 1, kOptShowLines = 2, kOptLockView = 3,
  kOptBackface = 4, kOptShowGrid = 5, kOptWireframe = 6, kOptMousePlot = 7,
  kOptOnlyVisible = 8, kOptSelectTool = 9, kOptUnselect = 10, kOptAbsolute = 11,
  kOptRemoveVerts = 12, kOptVertSelector = 13, kOptModelColours = 14,
  kOptConnectEdges = 15, kOptUnselectDupe = 16, kOptHideSelected = 17,
  kOptAllFiles = 18, kOptPlotChain = 19, kOptStereo = 20, kOptQuickRender = 21,
};

constexpr uint32_t kStartOptions = (1u << kOptShowTris) | (1u << kOptShowLines) |
                                   (1u << kOptShowGrid) | (1u << kOptQuickRender);

inline bool HasOption(uint32_t options, OptionBit bit) { return (options >> bit) & 1u; }

}  // namespace qelvar
