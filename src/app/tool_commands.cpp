// Tool commands: they change the model through the tools layer and raise the
// loop's flags for what changed.
#include "app/tool_commands.h"

#include "app/tool_steps.h"
#include "core/messages.h"
#include "tools/triangle_tools.h"
#include "tools/vertex_edits.h"

namespace qelvar {
namespace {

Vec3 CellPoint(const ValueCells& cells, int firstCell) {
  return {cells.Real(firstCell), cells.Real(firstCell + 1), cells.Real(firstCell + 2)};
}

// Removals report "Deleted!"; moves only need the normals again, which the
// edit has marked in the model.
void NoteEdit(Modeller& m, VertexEdit edit) {
  if (edit == VertexEdit::kNothing) return;
  if (edit == VertexEdit::kRemoved) m.flags.statusMessage = kMsgDeleted;
  m.flags.redrawRequested = true;
  ForgetRemovedVertices(m.tools, m.model.vertexCount);
}

}  // namespace

bool RunToolCommand(Modeller& m, Command command) {
  switch (command) {
    case Command::kManualTriangle:
      StartTool(m, ToolMode::kManualTriangle);
      return true;
    case Command::kManualFan:
      StartTool(m, ToolMode::kManualFan);
      return true;
    case Command::kAutoTriangle:
      StartTool(m, ToolMode::kAutoTriangle);
      return true;
    case Command::kMoveToAbsolute:
      NoteEdit(m, MoveVertexTo(m.model, m.tools.pickedVertex, CellPoint(m.cells, kCellX1)));
      return true;
    case Command::kMoveToOffset:
      NoteEdit(m, MoveVertexBy(m.model, m.tools.pickedVertex, CellPoint(m.cells, kCellX5)));
      return true;
    case Command::kDeleteVert:
      NoteEdit(m, DeletePickedVertex(m.model, m.tools.pickedVertex));
      return true;
    case Command::kDeleteLastVert:
      NoteEdit(m, DeleteLastVertex(m.model));
      return true;
    case Command::kDeleteLastTriangle:
      NoteEdit(m, DeleteLastTriangle(m.model));
      return true;
    case Command::kDeleteLastLine:
      NoteEdit(m, DeleteLastLine(m.model));
      return true;
    default:
      return false;
  }
}

}  // namespace qelvar
