// The selection tool's rectangle: dragged with the left button, applied on release.
#pragma once

#include "app/modeller.h"

namespace qelvar {

// One tool step. While the left button is held the drag goes on and the pass
// must end without its bookkeeping, so that the press point stays the first
// corner: then false. On release after a drag the triangles under the
// rectangle are selected (or unselected).
bool SelectionToolStep(Modeller& m);

}  // namespace qelvar
