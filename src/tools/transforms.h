// Operations on the selected triangles and the vertices they use: move,
// duplicate (optionally extruded), rotate, scale, mirror, reverse winding,
// part-group reassignment and delete.
#pragma once

#include <cstdint>
#include <vector>

#include "core/messages.h"
#include "core/value_cells.h"
#include "model/model_store.h"
#include "tools/selection.h"

namespace qelvar {

// What an operation did, for the caller to turn into loop flags.
struct TransformOutcome {
  int message = kMsgNone;        // status message to show
  bool geometryChanged = false;  // normals must be recomputed (and the view re-rendered)
  bool redraw = false;           // re-render only
};

enum class Axis { kX, kY, kZ };

// marks[v] = 1 for every vertex a selected triangle uses, 0 for the others
// (sized to the vertex count; corners outside the table are skipped).
// Returns the number of selected triangles.
int32_t MarkSelectedVertices(const ModelStore& store, std::vector<uint8_t>& marks);

// Offset by "X5".."Z5", or to that target with "[_] absolute co." ticked.
TransformOutcome MoveSelection(ModelStore& store, const ValueCells& cells, uint32_t options,
                               const SelectionCentre& centre);
// Appends copies of the selected vertices and triangles, offset as a move
// would; "[_]Connect edges" adds walls along the border of the selection.
TransformOutcome DuplicateSelection(ModelStore& store, const ValueCells& cells, uint32_t options,
                                    const SelectionCentre& centre);
// About ("X1", "Y1", "Z1") by the XY, then XZ, then YZ angle.
TransformOutcome RotateSelection(ModelStore& store, const ValueCells& cells);
// About ("X1", "Y1", "Z1") by the three scale factors.
TransformOutcome ScaleSelection(ModelStore& store, const ValueCells& cells);
// Mirrors along one axis through the selection centre (winding unchanged).
TransformOutcome FlipSelection(ModelStore& store, Axis axis, const SelectionCentre& centre);
TransformOutcome ReverseSelectedFaces(ModelStore& store);
// Every selected triangle joins `group` (and stays selected).
TransformOutcome ReassignSelection(ModelStore& store, int group);
// Removes the selected triangles; with "[_] remove verts" ticked also the
// vertices only they use.
TransformOutcome DeleteSelection(ModelStore& store, uint32_t options);
// "selection center": the centre into "X1", "Y1", "Z1".
void CopySelectionCentre(const SelectionCentre& centre, ValueCells& cells);

// The offset of a move or duplicate.
Vec3 SelectionOffset(const ValueCells& cells, uint32_t options, const SelectionCentre& centre);

}  // namespace qelvar
