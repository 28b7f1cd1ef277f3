// Creation commands: new triangles need their normals, any creation a redraw.
#include "app/primitive_commands.h"

#include "core/menu_ids.h"
#include "tools/primitives.h"

namespace qelvar {
namespace {

void NoteCreation(Modeller& m, CreateOutcome outcome) {
  if (outcome == CreateOutcome::kTriangles) m.model.normalsDirty = true;
  m.flags.redrawRequested = true;
}

}  // namespace

void CreateCommand(Modeller& m) {
  const uint8_t group = m.menus.partGroup[MenuNumber(Menu::kCreatePrimitive)];
  NoteCreation(m, CreatePrimitive(m.model, static_cast<Menu>(m.menus.chosenMenu), m.cells,
                                  m.options, group));
}

void CreateAtOffsetCommand(Modeller& m) { NoteCreation(m, CreateAtOffset(m.model, m.cells)); }

}  // namespace qelvar
