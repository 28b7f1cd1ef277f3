// The one way the main loop reaches the mouse tools: entering and ending a
// mode, the per-pass step, the mouse step after menu dispatch, the display
// step of the screen update and the markers the status lines draw.
#pragma once

#include "tools/tool_context.h"
#include "tools/tool_state.h"

namespace qelvar {

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
// The per-pass work of the picking and plotting tools happens here, at the
// pointer of the pass: the nearest vertices, the plotted point.
void ToolDisplayStep(ToolContext& c, const ToolInput& in, bool selectionMenuOpen);
// The vertices to mark on the screen for the active tool.
ToolMarkers CollectToolMarkers(const ToolState& tool);

}  // namespace qelvar
