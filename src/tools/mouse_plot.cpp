// The mouse-plot tool's per-pass plotting.
#include "tools/mouse_plot.h"

#include "render/view.h"
#include "tools/vertex_pick.h"

namespace qelvar {
namespace {

void WritePoint(ValueCells& cells, int group, Vec3 p) {
  const int first = PlotGroupFirstCell(group);
  cells.Real(first) = p.x;
  cells.Real(first + 1) = p.y;
  cells.Real(first + 2) = p.z;
}

// Shift: the nearest vertex found at this pointer, or -1. Only a vertex found
// now is snapped to; the picked vertex keeps its old value when none is found.
int32_t SnapVertex(ToolContext& c, const ToolInput& in, float drawDepth) {
  const PickPoint at{c.view.centreX, c.view.centreY, in.mouseX, in.mouseY, drawDepth};
  const int32_t v = PickNearestVertex(c.model, at, -1);
  if (v < 0 || v >= c.model.vertexCount) return -1;
  c.tool.pickedVertex = v;
  return v;
}

}  // namespace

int PlotGroupFirstCell(int group) { return group == 5 ? kCellX5 : kCellX1 + 3 * (group - 1); }

void PlotPointerPosition(ToolContext& c, const ToolInput& in) {
  c.cells.Int(kCellScreenX) = in.mouseX;
  c.cells.Int(kCellScreenY) = in.mouseY;
  const int group = c.tool.plotGroup;
  if (group < 1 || group > 5) return;
  const float drawDepth = c.cells.Real(kCellDrawDepth);
  if (in.shiftHeld) {
    const int32_t v = SnapVertex(c, in, drawDepth);
    if (v >= 0) {
      WritePoint(c.cells, group, c.model.vertices[size_t(v)]);
      return;
    }
  }
  const RenderBuffers& b = c.buffers;
  if (in.mouseX < 0 || in.mouseX >= b.width || in.mouseY < 0 || in.mouseY >= b.height) return;
  const float stored = b.depth[size_t(in.mouseY) * size_t(b.width) + size_t(in.mouseX)];
  const float depth = 1.0f / stored;
  WritePoint(c.cells, group,
             ScreenToModel(c.view, c.geometry, c.options, drawDepth, in.mouseX, in.mouseY, depth));
}

}  // namespace qelvar
