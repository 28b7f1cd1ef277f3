// Dispatch of the mouse tools by mode.
#include "tools/tool_dispatch.h"

#include "core/option_flags.h"
#include "render/camera.h"
#include "tools/mouse_light.h"
#include "tools/mouse_plot.h"
#include "tools/selection_tool.h"
#include "tools/triangle_tools.h"

namespace qelvar {
namespace {

constexpr uint32_t kPickColour = 0x00FF00;
constexpr uint32_t kCornerColour = 0xFF00FF;
constexpr uint32_t kCandidateColour = 0x0000FF;
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

PickPoint PointerPick(const ToolContext& c, const ToolInput& in) {
  return {c.view.centreX, c.view.centreY, in.mouseX, in.mouseY, c.cells.Real(kCellDrawDepth)};
}

// A left click chooses the remembered menu's "." row with the plotted point;
// the tool ends on a right click, when its box is unticked, or when no open
// menu shows the box any more (which unticks it).
ToolOutcome MousePlotMouseStep(ToolContext& c, const ToolInput& in) {
  ToolOutcome out;
  if (in.moved) out.screenDirty = 2;  // the plotted values follow the pointer
  out.choosePlotRow = in.leftClick;
  if (!in.mousePlotRowShown) c.options &= ~(1u << kOptMousePlot);
  if (in.rightClick || !HasOption(c.options, kOptMousePlot)) {
    const ToolOutcome end = EndTool(c);
    out.screenDirty = end.screenDirty;
  }
  return out;
}

// The picking tools present the frame again whenever the pointer moves, so
// that their markers follow it (markers are drawn over the presented frame
// and vanish with it).
ToolOutcome FollowPointer(const ToolInput& in) {
  return ToolOutcome{.screenDirty = in.moved || in.leftClick ? 1 : 0};
}

ToolOutcome TriangleToolMouseStep(ToolContext& c, const ToolInput& in) {
  if (in.rightClick) return EndTool(c);
  ToolOutcome out = FollowPointer(in);
  if (!in.leftClick) return out;
  const bool made =
      c.tool.mode == ToolMode::kAutoTriangle
          ? AutoTriangleClick(c.model, c.tool.candidates, c.view.centreX, c.view.centreY)
          : ManualTriangleClick(c.model, c.tool, c.tool.mode == ToolMode::kManualFan);
  if (made) out.redraw = true;
  return out;
}

// Any click ends the vertex editor, as does unticking its box or closing the
// menu that shows it; the picked vertex stays for the editing commands.
ToolOutcome VertexEditMouseStep(ToolContext& c, const ToolInput& in) {
  if (in.leftClick || in.rightClick || !in.vertSelectorRowShown ||
      !HasOption(c.options, kOptVertSelector))
    return EndTool(c);
  return FollowPointer(in);
}

void VertexEditDisplayStep(ToolContext& c, const ToolInput& in) {
  ToolState& t = c.tool;
  t.pickedVertex = PickNearestVertex(c.model, PointerPick(c, in), t.pickedVertex);
  if (t.pickedVertex < 0 || t.pickedVertex >= c.model.vertexCount) return;
  const Vec3 p = c.model.vertices[size_t(t.pickedVertex)];
  c.cells.Real(kCellX1) = p.x;
  c.cells.Real(kCellY1) = p.y;
  c.cells.Real(kCellZ1) = p.z;
}

}  // namespace

void EnterTool(ToolState& tool, ToolMode mode) {
  tool.mode = mode;
  tool.corners = {-1, -1, -1};
  tool.cornerCount = 0;
  tool.candidates = {-1, -1, -1};
  if (mode == ToolMode::kManualTriangle || mode == ToolMode::kManualFan) tool.pickedVertex = -1;
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
    case ToolMode::kMousePlot:
      return MousePlotMouseStep(c, in);
    case ToolMode::kAutoTriangle:
    case ToolMode::kManualTriangle:
    case ToolMode::kManualFan:
      return TriangleToolMouseStep(c, in);
    case ToolMode::kVertexEdit:
      return VertexEditMouseStep(c, in);
    case ToolMode::kMouseLight:
      if (in.rightClick) return EndTool(c);
      MouseLightTool(c.view, c.geometry, in.dx, in.dy, in.buttons, c.cells);
      return {.redraw = true};
    default:  // the frame-rate tool ends every pass before the mouse step
      return {};
  }
}

void ToolDisplayStep(ToolContext& c, const ToolInput& in, bool selectionMenuOpen) {
  ToolState& t = c.tool;
  ForgetRemovedVertices(t, c.model.vertexCount);
  if (t.mode == ToolMode::kSelection) t.mode = ToolMode::kNone;
  if (t.mode == ToolMode::kNone && HasOption(c.options, kOptSelectTool) && selectionMenuOpen)
    t.mode = ToolMode::kSelection;
  switch (t.mode) {
    case ToolMode::kFrameRate:
      t.frameRateFrames += 1;
      break;
    case ToolMode::kMousePlot:
      PlotPointerPosition(c, in);
      break;
    case ToolMode::kAutoTriangle:
      if (c.model.vertexCount > 0) t.candidates = NearestThreeVertices(c.model, PointerPick(c, in));
      break;
    case ToolMode::kManualTriangle:
    case ToolMode::kManualFan:
      t.pickedVertex = PickNearestVertex(c.model, PointerPick(c, in), t.pickedVertex);
      break;
    case ToolMode::kVertexEdit:
      VertexEditDisplayStep(c, in);
      break;
    default:
      break;
  }
}

ToolMarkers CollectToolMarkers(const ToolState& tool) {
  ToolMarkers markers;
  switch (tool.mode) {
    case ToolMode::kAutoTriangle:
      for (const int32_t v : tool.candidates) markers.Add(v, kCandidateColour);
      break;
    case ToolMode::kManualTriangle:
    case ToolMode::kManualFan:
      markers.Add(tool.pickedVertex, kPickColour);
      if (tool.cornerCount > 0) markers.Add(tool.corners[0], kCornerColour);
      if (tool.cornerCount > 1) markers.Add(tool.corners[1], kCornerColour);
      break;
    case ToolMode::kVertexEdit:
      markers.Add(tool.pickedVertex, kPickColour);
      break;
    default:
      break;
  }
  return markers;
}

}  // namespace qelvar
