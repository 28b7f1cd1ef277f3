// The active mouse tool and what the tools keep between passes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "tools/selection.h"

namespace qelvar {

// The active mouse tool, shown on the status line ("tool: ").
enum class ToolMode : uint8_t {
  kNone = 0,
  kMousePlot = 1,
  kSelection = 2,
  kAutoTriangle = 3,
  kManualTriangle = 4,
  kFrameRate = 5,
  kVertexEdit = 6,
  kManualFan = 7,
  kMouseLight = 8,
};
constexpr int kToolModeCount = 9;
constexpr int ToolNumber(ToolMode t) { return static_cast<int>(t); }

// A vertex the screen update marks for the active tool, in an RGB colour.
struct ToolMarker {
  int32_t vertex = -1;
  uint32_t rgb = 0;
};
struct ToolMarkers {
  std::array<ToolMarker, 4> marker{};
  int count = 0;
  void Add(int32_t vertex, uint32_t rgb) {
    if (count < static_cast<int>(marker.size())) marker[size_t(count++)] = {vertex, rgb};
  }
};

struct ToolState {
  ToolMode mode = ToolMode::kNone;
  SelectionCentre selectionCentre;
  int32_t pickedVertex = -1;    // last vertex picked with the mouse, -1 none
  double frameRateStart = 0.0;  // frame-rate tool: start of the measurement
  int64_t frameRateFrames = 0;  // frames drawn since then
  // Mouse plotting: the point whose three cells are plotted (1..5, 0 for the
  // screenX/screenY cells only) and the menu whose "." row a click chooses.
  int plotGroup = 0;
  int plotMenu = 0;
  // Selection tool: the left button went down in the tool and is held; the
  // press point is the rectangle's first corner.
  bool selectionDrag = false;
  // Triangle and fan tools: the corners chosen so far (-1 empty) and the
  // candidate vertices the auto triangle offers (-1 none).
  std::array<int32_t, 3> corners{-1, -1, -1};
  int cornerCount = 0;
  std::array<int32_t, 3> candidates{-1, -1, -1};
};

inline bool ToolActive(const ToolState& t) { return t.mode != ToolMode::kNone; }

}  // namespace qelvar
