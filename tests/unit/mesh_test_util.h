// Small models built from literal tables for the editing-tool tests.
#pragma once

#include <initializer_list>
#include <vector>

#include "model/model_store.h"

namespace qelvar {

inline ModelStore MeshStore(std::initializer_list<Vec3> vertices,
                            std::initializer_list<Triangle> triangles,
                            std::initializer_list<Line> lines = {}) {
  ModelStore s;
  InitModelStore(s);
  ClearModel(s);
  for (const Vec3& v : vertices) AppendVertex(s, v);
  for (const Triangle& t : triangles) AppendTriangle(s, t, 0, 0);
  for (const Line& l : lines) AppendLine(s, l);
  return s;
}

inline std::vector<Triangle> Triangles(const ModelStore& s) {
  return {s.triangles.begin(), s.triangles.begin() + s.triangleCount};
}

inline bool operator==(const Triangle& a, const Triangle& b) {
  return a.corner[0] == b.corner[0] && a.corner[1] == b.corner[1] && a.corner[2] == b.corner[2];
}

}  // namespace qelvar
