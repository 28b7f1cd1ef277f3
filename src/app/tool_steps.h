// The main loop's side of the mouse tools: it hands them the parts they work
// on and turns what they report into the loop's flags.
#pragma once

#include "app/modeller.h"
#include "tools/tool_dispatch.h"

namespace qelvar {

ToolContext MakeToolContext(Modeller& m);
ToolInput MakeToolInput(Modeller& m);
// Raises the flags and the message a tool step asked for.
void ApplyToolOutcome(Modeller& m, const ToolOutcome& out);

// The active tool's display step of the screen update.
void RunToolDisplayStep(Modeller& m);

// Starts a mode (ending whatever was active) and ends the active one.
void StartTool(Modeller& m, ToolMode mode);
void StopTool(Modeller& m);

}  // namespace qelvar
