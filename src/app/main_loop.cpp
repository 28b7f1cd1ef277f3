// One pass of the main loop, step by step: everything the program does after
// start-up happens inside it or in the modal loops it calls.
#include "app/main_loop.h"

#include <algorithm>

#include "app/menu_hooks.h"
#include "app/menus.h"
#include "app/tool_steps.h"
#include "app/unsaved_work.h"
#include "core/menu_ids.h"
#include "render/camera.h"
#include "render/presentation.h"
#include "render/render_view.h"
#include "render/rounding.h"
#include "render/shading.h"
#include "render/view.h"
#include "tools/selection.h"

namespace qelvar {
namespace {

constexpr int kIdleSleepMs = 40;

void RefreshDisplayedValues(Modeller& m) {
  ValueCells& c = m.cells;
  const ViewState& v = m.view;
  c.Int(kCellVertexCount) = m.model.vertexCount;
  c.Int(kCellTriangleCount) = m.model.triangleCount;
  c.Int(kCellLineCount) = m.model.lineCount;
  c.Int(kCellCXY) = RoundToInt(180.0f * v.angleXY / kPi);
  c.Int(kCellCXZ) = RoundToInt(180.0f * v.angleXZ / kPi);
  c.Int(kCellCYZ) = RoundToInt(180.0f * v.angleYZ / kPi);
  c.Int(kCellDistance) = RoundToInt(v.distance);
  c.Int(kCellScaling) = RoundToInt(v.scaling);
  c.Int(kCellHOffset) = v.centreX;
  c.Int(kCellVOffset) = v.centreY;
  m.model.defaultColour =
      ComposeColour(c.Int(kCellDefaultRed), c.Int(kCellDefaultGreen), c.Int(kCellDefaultBlue));
  for (int cell = kCellChangeRed; cell <= kCellDefaultBlue; ++cell)
    c.Int(cell) = std::clamp(c.Int(cell), 0, 31);
}

bool MouseUnchanged(const MouseState& s) {
  return s.mouseX == s.previousMouseX && s.mouseY == s.previousMouseY &&
         s.buttons == s.previousButtons && s.wheel == s.previousWheel;
}

// Polls until something happened. False when the pass ends here.
bool WaitForInput(Modeller& m) {
  LoopFlags& f = m.flags;
  for (;;) {
    ReadMouse(m);
    f.lastKey = m.platform.TakeKey();
    // The close request is answered wherever it arrives (at once, or after
    // the question when there is unsaved work); the frame-rate tool's "any
    // key" and the key Alt drops must not swallow it.
    if (IsCloseRequest(f.lastKey)) {
      RequestQuit(m);  // returns when the user keeps the program
      f.lastKey.clear();
    }
    ToolContext c = MakeToolContext(m);
    const ToolOutcome step = ToolPassStep(c, MakeToolInput(m));
    ApplyToolOutcome(m, step);
    if (step.endsPass) return false;
    const bool alt = m.platform.KeyHeld(kScanAlt);
    if (alt && !f.previousAltState) {
      f.screenDirty = 2;
      ToggleMenuBarFocus(m);
    }
    f.previousAltState = alt;
    if (f.screenDirty != 0) return false;  // the key of this pass is dropped
    if (!f.lastKey.empty() || !MouseUnchanged(m.mouse)) return true;
    m.platform.Sleep(kIdleSleepMs);
    if (f.autoRepeatClick) {
      m.mouse.leftClick = 1;
      return true;
    }
  }
}

enum class GlobalKey { kNone, kToolStep, kEndPass, kHelp };

// F1, F2..F5, F6/F8 and Escape.
GlobalKey HandleGlobalKeys(Modeller& m) {
  const std::string& key = m.flags.lastKey;
  if (IsExtendedKey(key, kScanF1)) {
    ShowHelp(m);
    m.flags.screenDirty = 1;
    return GlobalKey::kHelp;
  }
  static constexpr struct {
    int scan;
    Menu menu;
  } kMenuKeys[] = {{kScanF2, Menu::kCreatePrimitive},
                   {kScanF3, Menu::kSelection},
                   {kScanF4, Menu::kActions},
                   {kScanF5, Menu::kMiscTools}};
  for (const auto& k : kMenuKeys) {
    if (IsExtendedKey(key, k.scan)) {
      OpenMenu(m, MenuNumber(k.menu));
      m.flags.screenDirty = 1;
      return GlobalKey::kToolStep;
    }
  }
  if (IsExtendedKey(key, kScanF6) || IsExtendedKey(key, kScanF8)) {
    if (IsExtendedKey(key, kScanF6)) {
      InvertSelection(m.model);
    } else {
      ClearSelection(m.model);
    }
    m.flags.redrawRequested = true;
    return GlobalKey::kEndPass;
  }
  if (key == "\x1b") {
    ResetView(m.view, m.geometry);
    m.flags.redrawRequested = true;
    return GlobalKey::kEndPass;
  }
  return GlobalKey::kNone;  // the close request never gets here (WaitForInput)
}

// Camera keys while the view is unlocked and no menu has the focus.
void HandleCameraKeys(Modeller& m) {
  if (HasOption(m.options, kOptLockView) || MenuHasKeyboardFocus(m)) return;
  const bool shift = m.platform.KeyHeld(kScanLeftShift) || m.platform.KeyHeld(kScanRightShift);
  if (CameraKey(m.view, m.flags.lastKey, shift) == CameraKeyEffect::kViewChanged)
    m.flags.redrawRequested = true;
}

// The active tool takes the mouse; with none, mouse look. False when the
// pass ends without the bookkeeping (a selection rectangle being dragged).
bool ToolStep(Modeller& m) {
  if (m.flags.menuItemClicked) return true;
  ToolContext c = MakeToolContext(m);
  const ToolOutcome out = ToolMouseStep(c, MakeToolInput(m));
  ApplyToolOutcome(m, out);
  return !out.keepDragReference;
}

// The reference positions and previous-pass view values.
void EndOfPass(Modeller& m) {
  MouseState& s = m.mouse;
  m.tools.selectionDrag = false;
  s.pressX = s.mouseX;
  s.pressY = s.mouseY;
  s.dragOriginX = s.screenMouseX;
  s.dragOriginY = s.screenMouseY;
  RememberPreviousView(m.view, m.cells);
}

// Global keys, wheel, menu keys, camera keys and the mouse on menus; returns
// how the pass goes on.
PassFlow DispatchInput(Modeller& m) {
  MouseState& s = m.mouse;
  if (!(s.buttons & 1)) m.flags.autoRepeatClick = false;
  if (s.leftClick || s.rightClick) {
    s.pressX = s.mouseX;
    s.pressY = s.mouseY;
  }
  switch (HandleGlobalKeys(m)) {
    case GlobalKey::kHelp:
      return PassFlow::kEndPassNoBookkeeping;
    case GlobalKey::kToolStep:
      return PassFlow::kToolStep;
    case GlobalKey::kEndPass:
      return PassFlow::kEndPass;
    case GlobalKey::kNone:
      break;
  }
  if (s.wheel != s.previousWheel) {
    const PassFlow flow = MenuWheelStep(m);
    if (flow != PassFlow::kContinue) return flow;
  }
  const PassFlow keys = MenuKeyStep(m);
  if (keys != PassFlow::kContinue) return keys;
  if (!(s.buttons & 1)) m.flags.menuItemClicked = false;
  HandleCameraKeys(m);
  if (m.flags.redrawRequested) return PassFlow::kToolStep;
  const PassFlow mouse = MenuMouseStep(m);
  return mouse == PassFlow::kContinue ? PassFlow::kToolStep : mouse;
}

}  // namespace

void ReadMouse(Modeller& m) {
  MouseState& s = m.mouse;
  s.previousMouseX = s.mouseX;
  s.previousMouseY = s.mouseY;
  s.previousWheel = s.wheel;
  s.previousButtons = s.buttons;
  s.leftClick = 0;
  s.rightClick = 0;
  MouseReading r;
  if (!m.platform.ReadMouse(r)) return;
  s.screenMouseX = r.x;
  s.screenMouseY = r.y;
  s.wheel = r.wheel;
  s.buttons = r.buttons;
  s.mouseY = r.y;
  s.mouseX = m.geometry.detail == 0 ? (r.x >> 1) : m.geometry.detail == 2 ? r.x * 2 : r.x;
  if ((r.buttons & 1) && !(s.previousButtons & 1)) s.leftClick = 1;
  if ((r.buttons & 2) && !(s.previousButtons & 2)) s.rightClick = 2;
}

void UpdateScreen(Modeller& m) {
  LoopFlags& f = m.flags;
  RefreshDisplayedValues(m);
  m.cells.Int(kCellSelectedCount) = CountSelected(m.model);
  RunToolDisplayStep(m);
  m.platform.SetTitle(WindowTitle(m));
  m.platform.Lock();
  if (!(f.screenDirty == 2 && !f.messageOnScreen)) {
    PresentFrame(m.buffers, m.geometry, m.colours, m.platform.screen());
    f.messageOnScreen = false;
  }
  DrawOverlay(m);
  if (f.statusMessage != 0) {
    PrintStatusMessage(m);
    f.messageOnScreen = true;
  }
  m.platform.Unlock();
  f.statusMessage = 0;
  f.messageDetailOf = 0;
  f.screenDirty = 0;
}

void MainLoopPass(Modeller& m) {
  LoopFlags& f = m.flags;
  if (m.model.normalsDirty) {
    // Every edit of the geometry raises normalsDirty; loads settle theirs
    // before they get here (MarkModelSaved), so this counts only edits.
    MarkModelChanged(m.model);
    ComputeNormals(m.model, m.buffers);
    m.model.normalsDirty = false;
    f.redrawRequested = true;
  }
  const int tool = ToolNumber(m.tools.mode);
  if (StereoNeedsRedraw(m.options, tool, f.previousTool)) f.redrawRequested = true;
  f.previousTool = tool;
  if (f.redrawRequested) {
    RenderView(m.view, m.model, m.buffers, m.backdrop, m.geometry,
               MakeFrameSettings(m.options, m.cells, ToolActive(m.tools)));
    f.redrawRequested = false;
    f.screenDirty = 1;
    m.tools.selectionCentre = ComputeSelectionCentre(m.model);
  }
  if (f.screenDirty != 0) UpdateScreen(m);
  if (!WaitForInput(m)) return;
  switch (DispatchInput(m)) {
    case PassFlow::kEndPassNoBookkeeping:
      return;
    case PassFlow::kEndPass:
      break;
    case PassFlow::kContinue:
    case PassFlow::kToolStep:
      if (!ToolStep(m)) return;
      break;
  }
  EndOfPass(m);
}

void MainLoop(Modeller& m) {
  for (;;) MainLoopPass(m);
}

}  // namespace qelvar
