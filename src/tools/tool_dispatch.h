// The one way the main loop reaches the mouse tools: entering and ending a
// mode, the per-pass step, the mouse step after menu dispatch, the display
// step of the screen update and the markers the status lines draw.
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
  int buttons = 0;             // bit 0 left, bit 1 right
  bool leftClick = false, rightClick = false;
  bool shiftHeld = false;
  bool keyTaken = false;  // a key came in this pass
  double now = 0.0;       // clock, seconds
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

// Every mode starts and ends here, so no tool leaves corners or picks behind.
void EnterTool(ToolState& tool, ToolMode mode);
ToolOutcome EndTool(ToolContext& c);

// Before input dispatch, once the mouse and key of the pass are read.
ToolOutcome ToolPassStep(ToolContext& c, const ToolInput& in);
// After menu dispatch, unless a menu row took the click: the active tool's
// mouse handling, or mouse look when no tool is active.
ToolOutcome ToolMouseStep(ToolContext& c, const ToolInput& in);
// In the screen update, before anything is drawn. The selection tool lives
// only while its box is ticked and its menu is open.
void ToolDisplayStep(ToolContext& c, bool selectionMenuOpen);
// The vertices to mark on the screen for the active tool.
ToolMarkers CollectToolMarkers(const ToolState& tool);

}  // namespace qelvar
