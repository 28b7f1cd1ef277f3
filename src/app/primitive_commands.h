// ".... create ...." and "Create at offset" as menu commands: the creation
// itself lives with the tools; here the loop learns what to redraw.
#pragma once

#include "app/modeller.h"

namespace qelvar {

// The primitive of chosenMenu, in the part group of the "create Primitive" menu.
void CreateCommand(Modeller& m);
void CreateAtOffsetCommand(Modeller& m);

}  // namespace qelvar
