// Dispatch of the mouse tools by mode.
#include "tools/tool_dispatch.h"

#include "core/option_flags.h"
#include "render/camera.h"
#include "tools/mouse_light.h"
#include "tools/selection_tool.h"

namespace qelvar {
namespace {

constexpr uint32_t kPickColour = 0x00FF00;
constexpr double kFrameRatePeriod = 4.0;  // seconds before the measurement restarts

// The frame-rate tool re-renders every pass; any key or a right click ends it.
ToolOutcome FrameRatePassStep(ToolContext& c, const ToolInput& in) {
  ToolState& t = c.tool;
  ToolOutcome out{.redraw = true, .endsPass = true};
  if (in.now - t.frameRateStart > kFrameRatePeriod) {
    t.frameRateStart = in.now;
    t.frameRateFrames = 0;
  }
  if (in.rightClick || in.keyTaken) {
    EndTool(c);
    out.screenDirty = 0;  // the pass re-renders and presents anyway
  }
  return out;
}

}  // namespace

void EnterTool(ToolState& tool, ToolMode mode) {
  tool.mode = mode;
  tool.corners = {-1, -1, -1};
  tool.cornerCount = 0;
  tool.candidates = {-1, -1, -1};
}

ToolOutcome EndTool(ToolContext& c) {
  if (c.tool.mode == ToolMode::kVertexEdit) c.options &= ~(1u << kOptVertSelector);
  EnterTool(c.tool, ToolMode::kNone);
  return ToolOutcome{.screenDirty = 1};
}

ToolOutcome ToolPassStep(ToolContext& c, const ToolInput& in) {
  if (c.tool.mode == ToolMode::kFrameRate) return FrameRatePassStep(c, in);
  return {};
}

ToolOutcome ToolMouseStep(ToolContext& c, const ToolInput& in) {
  switch (c.tool.mode) {
    case ToolMode::kNone:
      if (HasOption(c.options, kOptLockView)) return {};
      return {.redraw = MouseLook(c.view, c.geometry, in.dx, in.dy, in.buttons)};
    case ToolMode::kSelection:
      return SelectionMouseStep(c, in);
    case ToolMode::kMouseLight:
      if (in.rightClick) return EndTool(c);
      MouseLightTool(c.view, c.geometry, in.dx, in.dy, in.buttons, c.cells);
      return {.redraw = true};
    case ToolMode::kVertexEdit:
      // Picking and editing vertices is not built yet; the tool still ends as
      // it will: on a click, or when its check box is unticked.
      if (in.leftClick || in.rightClick || !HasOption(c.options, kOptVertSelector))
        return EndTool(c);
      return {};
    default:
      // The other construction tools are not built yet; a right click ends
      // them, so the view never stays stuck without mouse look.
      if (in.rightClick) return EndTool(c);
      return {};
  }
}

void ToolDisplayStep(ToolContext& c, bool selectionMenuOpen) {
  ToolState& t = c.tool;
  if (t.mode == ToolMode::kSelection) t.mode = ToolMode::kNone;
  if (t.mode == ToolMode::kNone && HasOption(c.options, kOptSelectTool) && selectionMenuOpen)
    t.mode = ToolMode::kSelection;
  if (t.mode == ToolMode::kFrameRate) t.frameRateFrames += 1;
}

ToolMarkers CollectToolMarkers(const ToolState& tool) {
  ToolMarkers markers;
  switch (tool.mode) {
    case ToolMode::kManualTriangle:
    case ToolMode::kManualFan:
    case ToolMode::kVertexEdit:
      markers.Add(tool.pickedVertex, kPickColour);
      break;
    default:
      break;
  }
  return markers;
}

}  // namespace qelvar
