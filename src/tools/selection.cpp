// Selection bits of the triangle flag bytes, changed for the whole model.
#include "tools/selection.h"

#include <algorithm>

namespace qelvar {

void SelectAll(ModelStore& s) {
  for (int32_t i = 0; i < s.triangleCount; ++i) s.triangleFlags[i] |= kSelectedBit;
}

void ClearSelection(ModelStore& s) {
  for (int32_t i = 0; i < s.triangleCount; ++i) s.triangleFlags[i] &= ~kSelectedBit & 0xFF;
}

void InvertSelection(ModelStore& s) {
  for (int32_t i = 0; i < s.triangleCount; ++i) s.triangleFlags[i] ^= kSelectedBit;
}

SelectionCentre ComputeSelectionCentre(const ModelStore& s) {
  float lo[3] = {1000000000.0f, 1000000000.0f, 1000000000.0f};
  float hi[3] = {-1000000000.0f, -1000000000.0f, -1000000000.0f};
  bool any = false;
  for (int32_t i = 0; i < s.triangleCount; ++i) {
    if (!(s.triangleFlags[i] & kSelectedBit)) continue;
    for (int32_t index : s.triangles[i].corner) {
      if (index < 0 || index >= s.vertexCount) continue;  // never follow a bad index
      const Vec3& v = s.vertices[index];
      const float c[3] = {v.x, v.y, v.z};
      for (int k = 0; k < 3; ++k) {
        lo[k] = std::min(lo[k], c[k]);
        hi[k] = std::max(hi[k], c[k]);
      }
      any = true;
    }
  }
  SelectionCentre centre;
  if (any) {
    centre.x = (lo[0] + hi[0]) / 2;
    centre.y = (lo[1] + hi[1]) / 2;
    centre.z = (lo[2] + hi[2]) / 2;
  }
  centre.minZ = lo[2];
  return centre;
}

}  // namespace qelvar
