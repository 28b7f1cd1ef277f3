// Drawing every open menu row: label in its kind's colour, check-box X, value,
// part-group number and name, and the outline of the highlighted row.
#pragma once

#include <string>

#include "app/modeller.h"

namespace qelvar {

// Background entry of a row by its item's kind.
int RowColour(int kind);
// The first `width` characters of an item's label, padded with blanks.
std::string ItemText(int item);

// Applies the automatic highlight and draws every area in table order.
void DrawMenus(Modeller& m);

}  // namespace qelvar
