// Commands of the "Misc tools" and vertex-edit menus: the triangle tools, the
// vertex editor's edits and the removal of the last vertex, triangle or line.
#pragma once

#include "app/modeller.h"
#include "core/menu_ids.h"

namespace qelvar {

// Runs the command if it is one of these; false for any other command.
bool RunToolCommand(Modeller& m, Command command);

}  // namespace qelvar
