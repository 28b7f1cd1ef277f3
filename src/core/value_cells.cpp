// Start values of the value cells.
#include "core/value_cells.h"

namespace qelvar {

void InitValueCells(ValueCells& cells) {
  cells = ValueCells{};
  cells.Int(kCellSides) = 18;
  cells.Int(kCellDefaultRed) = 10;
  cells.Int(kCellDefaultGreen) = 10;
  cells.Int(kCellDefaultBlue) = 10;
  cells.Int(kCellSeparation) = 15;
  cells.Int(kCellContrast) = 160;
  cells.Real(kCellXScale) = 1.0f;
  cells.Real(kCellYScale) = 1.0f;
  cells.Real(kCellZScale) = 1.0f;
  cells.Real(kCellRadius1) = 10.0f;
  cells.Real(kCellHeight) = 10.0f;
  cells.Real(kCellSliceSize) = 0.2f;
  cells.Real(kCellDrawDepth) = 1000000.0f;
}

}  // namespace qelvar
