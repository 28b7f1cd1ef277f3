// Move, rotate, scale, mirror, reverse, reassign and delete of the selection.
#include "tools/transforms.h"

#include <cmath>
#include <utility>

#include "core/option_flags.h"

namespace qelvar {
namespace {

constexpr TransformOutcome kNothingSelected{kMsgNothingSelected, false, false};
constexpr TransformOutcome kGeometryChanged{kMsgNone, true, false};

bool Selected(const ModelStore& s, int32_t t) { return (s.triangleFlags[t] & kSelectedBit) != 0; }

// Runs f(vertex) on every vertex a selected triangle uses. Returns the
// outcome: "Nothing selected!" when no triangle is selected.
template <typename F>
TransformOutcome ForSelectedVertices(ModelStore& s, F f) {
  std::vector<uint8_t> marks;
  if (MarkSelectedVertices(s, marks) == 0) return kNothingSelected;
  for (int32_t v = 0; v < s.vertexCount; ++v)
    if (marks[size_t(v)] != 0) f(s.vertices[size_t(v)]);
  return kGeometryChanged;
}

Vec3 Centre(const ValueCells& c) { return {c.Real(kCellX1), c.Real(kCellY1), c.Real(kCellZ1)}; }

}  // namespace

int32_t MarkSelectedVertices(const ModelStore& s, std::vector<uint8_t>& marks) {
  marks.assign(size_t(s.vertexCount), 0);
  int32_t selected = 0;
  for (int32_t t = 0; t < s.triangleCount; ++t) {
    if (!Selected(s, t)) continue;
    ++selected;
    for (const int32_t v : s.triangles[size_t(t)].corner)
      if (v >= 0 && v < s.vertexCount) marks[size_t(v)] = 1;
  }
  return selected;
}

Vec3 SelectionOffset(const ValueCells& c, uint32_t options, const SelectionCentre& centre) {
  Vec3 d{c.Real(kCellX5), c.Real(kCellY5), c.Real(kCellZ5)};
  if (HasOption(options, kOptAbsolute)) {
    d.x -= centre.x;
    d.y -= centre.y;
    // A selection resting on the ground keeps "Z5" as a relative offset.
    if (centre.minZ != 0.0f) d.z -= centre.z;
  }
  return d;
}

TransformOutcome MoveSelection(ModelStore& s, const ValueCells& cells, uint32_t options,
                               const SelectionCentre& centre) {
  if (s.triangleCount == 0) return {};
  const Vec3 d = SelectionOffset(cells, options, centre);
  return ForSelectedVertices(s, [d](Vec3& v) {
    v.x += d.x;
    v.y += d.y;
    v.z += d.z;
  });
}

TransformOutcome RotateSelection(ModelStore& s, const ValueCells& cells) {
  if (s.triangleCount == 0) return {};
  const Vec3 c = Centre(cells);
  const float a = cells.Real(kCellXYAngle), b = cells.Real(kCellXZAngle),
              g = cells.Real(kCellYZAngle);
  const float ca = std::cos(a), sa = std::sin(a), cb = std::cos(b), sb = std::sin(b),
              cg = std::cos(g), sg = std::sin(g);
  return ForSelectedVertices(s, [&](Vec3& v) {
    const float px = v.x - c.x, py = v.y - c.y, pz = v.z - c.z;
    const float x1 = ca * px - sa * py, y1 = ca * py + sa * px;
    const float x2 = cb * x1 - sb * pz, z2 = cb * pz + sb * x1;
    const float z3 = cg * z2 - sg * y1, y3 = cg * y1 + sg * z2;
    v = {c.x + x2, c.y + y3, c.z + z3};
  });
}

TransformOutcome ScaleSelection(ModelStore& s, const ValueCells& cells) {
  if (s.triangleCount == 0) return {};
  const Vec3 c = Centre(cells);
  const Vec3 f{cells.Real(kCellXScale), cells.Real(kCellYScale), cells.Real(kCellZScale)};
  return ForSelectedVertices(s, [c, f](Vec3& v) {
    v = {c.x + (v.x - c.x) * f.x, c.y + (v.y - c.y) * f.y, c.z + (v.z - c.z) * f.z};
  });
}

TransformOutcome FlipSelection(ModelStore& s, Axis axis, const SelectionCentre& centre) {
  switch (axis) {
    case Axis::kX:
      return ForSelectedVertices(s, [c = centre.x](Vec3& v) { v.x = (c - v.x) + c; });
    case Axis::kY:
      return ForSelectedVertices(s, [c = centre.y](Vec3& v) { v.y = (c - v.y) + c; });
    case Axis::kZ:
      return ForSelectedVertices(s, [c = centre.z](Vec3& v) { v.z = (c - v.z) + c; });
  }
  return {};
}

TransformOutcome ReverseSelectedFaces(ModelStore& s) {
  for (int32_t t = 0; t < s.triangleCount; ++t) {
    if (!Selected(s, t)) continue;
    int32_t* corner = s.triangles[size_t(t)].corner;
    std::swap(corner[1], corner[2]);
  }
  return kGeometryChanged;
}

TransformOutcome ReassignSelection(ModelStore& s, int group) {
  const auto flag = static_cast<uint8_t>(kSelectedBit + group % kPartGroups);
  for (int32_t t = 0; t < s.triangleCount; ++t)
    if (Selected(s, t)) s.triangleFlags[size_t(t)] = flag;
  return {};
}

TransformOutcome DeleteSelection(ModelStore& s, uint32_t options) {
  if (s.triangleCount == 0) return {};
  std::vector<uint8_t> marks;
  if (MarkSelectedVertices(s, marks) == 0) return kNothingSelected;
  std::vector<uint8_t> removeTriangle(size_t(s.triangleCount));
  for (int32_t t = 0; t < s.triangleCount; ++t) {
    removeTriangle[size_t(t)] = Selected(s, t) ? 1 : 0;
    if (removeTriangle[size_t(t)] != 0) continue;
    for (const int32_t v : s.triangles[size_t(t)].corner)  // kept: its vertices stay
      if (v >= 0 && v < s.vertexCount) marks[size_t(v)] = 0;
  }
  RemoveTriangles(s, removeTriangle);
  // Only selected triangles used the marked vertices, so dropping them takes
  // no kept triangle with it (the renumbering does drop triangles whose
  // corners were outside the table already); lines on them go.
  if (HasOption(options, kOptRemoveVerts)) RemoveVertices(s, marks);
  return {kMsgDeleted, false, true};
}

void CopySelectionCentre(const SelectionCentre& centre, ValueCells& cells) {
  cells.Real(kCellX1) = centre.x;
  cells.Real(kCellY1) = centre.y;
  cells.Real(kCellZ1) = centre.z;
}

}  // namespace qelvar
