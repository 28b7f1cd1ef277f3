// Value rows of the menus: drawing a cell's number into its row and the
// in-place number editor that a chosen value row starts.
#pragma once

#include "app/modeller.h"

namespace qelvar {

// The value of a cell as a number (integer cells converted).
float CellValue(const ValueCells& cells, int cell);

// Draws the value of a display or editable row into the last 7 cells of the area.
void FormatValue(Modeller& m, int area);

// Edits the cell of an editable row in place until Enter, a left click, Tab
// (which goes on with the next editable row), Escape or the seventh character.
// With mouse plotting ticked, a point's coordinate row starts plotting instead.
void EditValue(Modeller& m, int area);

}  // namespace qelvar
