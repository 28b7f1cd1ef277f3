// Glue between the main loop and the tools.
#include "app/tool_steps.h"

#include "app/menu_actions.h"
#include "app/menus.h"
#include "core/menu_ids.h"
#include "core/option_flags.h"

namespace qelvar {
namespace {

// Whether an open menu shows the check box of option `bit`.
bool CheckBoxShown(const MenuState& menus, int bit) {
  for (int i = 0; i < menus.areaCount; ++i) {
    const MenuItem& item = kMenuItems[menus.areas[i].item];
    if (item.kind == kKindCheckBox && item.parameter == bit) return true;
  }
  return false;
}

// A mouse-plot click acts as the "." hotkey in the menu the plotted cells
// belong to: its create or confirm row, if that menu is still open.
void ChoosePlotRow(Modeller& m) {
  const MenuState& menus = m.menus;
  for (int i = 0; i < menus.areaCount; ++i) {
    const MenuArea& a = menus.areas[i];
    if (a.menu == m.tools.plotMenu && kMenuItems[a.item].hotkey == '.') {
      ActivateArea(m, i);
      return;
    }
  }
}

}  // namespace

ToolContext MakeToolContext(Modeller& m) {
  return ToolContext{m.tools, m.model, m.view, m.cells, m.options, m.geometry, m.buffers};
}

ToolInput MakeToolInput(Modeller& m) {
  const MouseState& s = m.mouse;
  ToolInput in;
  in.mouseX = s.mouseX, in.mouseY = s.mouseY;
  in.dx = s.mouseX - s.pressX, in.dy = s.mouseY - s.pressY;
  in.moved = s.mouseX != s.previousMouseX || s.mouseY != s.previousMouseY;
  in.buttons = s.buttons;
  in.leftClick = s.leftClick != 0, in.rightClick = s.rightClick != 0;
  in.shiftHeld = m.platform.KeyHeld(kScanLeftShift) || m.platform.KeyHeld(kScanRightShift);
  in.keyTaken = !m.flags.lastKey.empty();
  in.now = m.platform.Clock();
  in.mousePlotRowShown = CheckBoxShown(m.menus, kOptMousePlot);
  in.vertSelectorRowShown = CheckBoxShown(m.menus, kOptVertSelector);
  return in;
}

void ApplyToolOutcome(Modeller& m, const ToolOutcome& out) {
  if (out.redraw) m.flags.redrawRequested = true;
  if (out.screenDirty == 1 || (out.screenDirty == 2 && m.flags.screenDirty == 0))
    m.flags.screenDirty = out.screenDirty;
  if (out.message != 0) m.flags.statusMessage = out.message;
  if (out.choosePlotRow) ChoosePlotRow(m);
}

void RunToolDisplayStep(Modeller& m) {
  ToolContext c = MakeToolContext(m);
  ToolDisplayStep(c, MakeToolInput(m), MenuIsOpen(m.menus, MenuNumber(Menu::kSelection)));
}

void StartTool(Modeller& m, ToolMode mode) {
  // Leaving the vertex editor unticks its box, as ending it does.
  if (m.tools.mode == ToolMode::kVertexEdit && mode != ToolMode::kVertexEdit)
    m.options &= ~(1u << kOptVertSelector);
  EnterTool(m.tools, mode);
}

void StopTool(Modeller& m) {
  ToolContext c = MakeToolContext(m);
  ApplyToolOutcome(m, EndTool(c));
}

}  // namespace qelvar
