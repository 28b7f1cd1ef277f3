// Glue between the main loop and the tools.
#include "app/tool_steps.h"

#include "app/menus.h"
#include "core/menu_ids.h"

namespace qelvar {

ToolContext MakeToolContext(Modeller& m) {
  return ToolContext{m.tools, m.model, m.view, m.cells, m.options, m.geometry, m.buffers};
}

ToolInput MakeToolInput(Modeller& m) {
  const MouseState& s = m.mouse;
  ToolInput in;
  in.mouseX = s.mouseX, in.mouseY = s.mouseY;
  in.dx = s.mouseX - s.pressX, in.dy = s.mouseY - s.pressY;
  in.buttons = s.buttons;
  in.leftClick = s.leftClick != 0, in.rightClick = s.rightClick != 0;
  in.shiftHeld = m.platform.KeyHeld(kScanLeftShift) || m.platform.KeyHeld(kScanRightShift);
  in.keyTaken = !m.flags.lastKey.empty();
  in.now = m.platform.Clock();
  return in;
}

void ApplyToolOutcome(Modeller& m, const ToolOutcome& out) {
  if (out.redraw) m.flags.redrawRequested = true;
  if (out.screenDirty == 1 || (out.screenDirty == 2 && m.flags.screenDirty == 0))
    m.flags.screenDirty = out.screenDirty;
  if (out.message != 0) m.flags.statusMessage = out.message;
}

void RunToolDisplayStep(Modeller& m) {
  ToolContext c = MakeToolContext(m);
  ToolDisplayStep(c, MenuIsOpen(m.menus, MenuNumber(Menu::kSelection)));
}

void StartTool(Modeller& m, ToolMode mode) { EnterTool(m.tools, mode); }

void StopTool(Modeller& m) {
  ToolContext c = MakeToolContext(m);
  ApplyToolOutcome(m, EndTool(c));
}

}  // namespace qelvar
