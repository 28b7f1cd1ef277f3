// What a mouse tool is given each pass and what it hands back to the main loop.
#pragma once

#include <cstdint>

#include "core/screen_geometry.h"
#include "core/value_cells.h"
#include "model/model_store.h"
#include "render/render_buffers.h"
#include "render/view_state.h"
#include "tools/tool_state.h"

namespace qelvar {

// The input of one pass as the tools see it.
struct ToolInput {
  int mouseX = 0, mouseY = 0;  // render-buffer pixels
  int dx = 0, dy = 0;          // movement since the drag reference, buffer pixels
  bool moved = false;          // the pointer moved since the previous reading
  int buttons = 0;             // bit 0 left, bit 1 right
  bool leftClick = false, rightClick = false;
  bool shiftHeld = false;
  bool keyTaken = false;  // a key came in this pass
  // Whether an open menu shows the "[_] Mouse plot" or "[_] vert Selectr" row:
  // the tools that belong to those rows end when no menu shows them.
  bool mousePlotRowShown = false;
  bool vertSelectorRowShown = false;
  double now = 0.0;  // clock, seconds
};

// The parts of the program a tool reads and changes.
struct ToolContext {
  ToolState& tool;
  ModelStore& model;
  ViewState& view;
  ValueCells& cells;
  uint32_t& options;
  const ScreenGeometry& geometry;
  RenderBuffers& buffers;  // read under the mouse; the selection pass draws into it
};

// What a tool step asks of the main loop.
struct ToolOutcome {
  bool redraw = false;             // render the model image again
  int screenDirty = 0;             // 1 present and redraw everything, 2 overlays only
  int message = 0;                 // status message number, 0 none
  bool choosePlotRow = false;      // mouse plot: choose the "." row of tool.plotMenu
  bool endsPass = false;           // the pass ends after the per-pass step
  bool keepDragReference = false;  // a drag goes on: skip the end-of-pass bookkeeping
};

}  // namespace qelvar
