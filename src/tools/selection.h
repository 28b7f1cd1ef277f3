// Whole-model selection changes and what is derived from the selection.
#pragma once

#include <cstdint>

#include "model/model_store.h"

namespace qelvar {

// Centre of the bounding box of all vertices of selected triangles, and its
// minimum z (1000000000 with nothing selected).
struct SelectionCentre {
  float x = 0, y = 0, z = 0;
  float minZ = 1000000000.0f;
};

void SelectAll(ModelStore& store);
void ClearSelection(ModelStore& store);
void InvertSelection(ModelStore& store);
SelectionCentre ComputeSelectionCentre(const ModelStore& store);

}  // namespace qelvar
