// The whole program state, created once by start-up. Parts are grouped by
// lifetime: what start-up fixes, the model a file load replaces, and what the
// user changes by the minute.
#pragma once

#include <cstdint>
#include <string>

#include "app/loop_state.h"
#include "app/menu_state.h"
#include "core/option_flags.h"
#include "core/screen_geometry.h"
#include "app/settings.h"
#include "core/value_cells.h"
#include "model/model_store.h"
#include "platform/platform.h"
#include "render/render_buffers.h"
#include "render/view_state.h"
#include "tools/selection.h"

namespace qelvar {

// The active mouse tool, shown on the status line.
enum ToolMode : int {
  kToolNone = 0, kToolMousePlot = 1, kToolSelection = 2, kToolAutoTriangle = 3,
  kToolManualTriangle = 4, kToolFrameRate = 5, kToolVertexEdit = 6, kToolManualFan = 7,
  kToolMouseLight = 8,
};

struct ToolState {
  int toolMode = 0;  // active mouse tool, 0 none
  SelectionCentre selectionCentre;
  int32_t pickedVertex = -1;  // last vertex picked with the mouse, -1 none
  double frameRateStart = 0.0;  // frame-rate tool: start of the measurement
  int64_t frameRateFrames = 0;  // frames drawn since then
  // Mouse plotting: the point whose three cells are plotted (1..5, 0 for the
  // screenX/screenY cells only) and the menu whose "." row a click chooses.
  int plotGroup = 0;
  int plotMenu = 0;
};

struct Modeller {
  explicit Modeller(Platform& p) : platform(p) {}

  Platform& platform;
  // Fixed at start-up.
  Settings settings;
  ScreenGeometry geometry;
  ColourTables colours;
  // The model and its file.
  ModelStore model;
  std::string modelFileName = "default.qv";
  // Changed by the user.
  ViewState view;
  RenderBuffers buffers;
  Backdrop backdrop;
  int32_t screenshotCounter = 0;  // numbers the next "imageXXX.bmp"
  MenuState menus;
  ValueCells cells;
  uint32_t options = kStartOptions;
  ToolState tools;
  LoopFlags flags;
  MouseState mouse;
};

}  // namespace qelvar
