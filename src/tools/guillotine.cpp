// The guillotine: one pass over the triangles that were there when it began,
// with the tables grown once beforehand and the dropped pieces removed once
// at the end.
#include "tools/guillotine.h"

#include <climits>
#include <cmath>
#include <vector>

namespace qelvar {
namespace {

struct Plane {
  CutAxis axis;
  float position;
};

float OnAxis(const Vec3& v, CutAxis axis) {
  return axis == CutAxis::kX ? v.x : axis == CutAxis::kY ? v.y : v.z;
}

bool Above(const Vec3& v, Plane plane) { return OnAxis(v, plane.axis) >= plane.position; }

// Bit k set when corner k is above the plane.
int SideCode(const ModelStore& s, const Triangle& t, Plane plane) {
  const Vec3* v = s.vertices.data();
  return int(Above(v[t.corner[0]], plane)) | int(Above(v[t.corner[1]], plane)) << 1 |
         int(Above(v[t.corner[2]], plane)) << 2;
}

// The point where edge p->q meets the plane, in single precision.
Vec3 SplitPoint(const Vec3& p, const Vec3& q, Plane plane) {
  const float pa = OnAxis(p, plane.axis), qa = OnAxis(q, plane.axis);
  const float t = pa == qa ? 0.0f : (plane.position - pa) / (qa - pa);
  return {p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t, p.z + (q.z - p.z) * t};
}

bool HasCoincidentCorners(const ModelStore& s, const Triangle& t) {
  auto same = [&](int i, int j) {
    const Vec3 &a = s.vertices[size_t(t.corner[i])], &b = s.vertices[size_t(t.corner[j])];
    return a.x == b.x && a.y == b.y && a.z == b.z;
  };
  return same(0, 1) || same(1, 2) || same(2, 0);
}

int32_t CountCut(const ModelStore& s, Plane plane) {
  int32_t cut = 0;
  for (int32_t i = 0; i < s.triangleCount; ++i) {
    const int code = SideCode(s, s.triangles[size_t(i)], plane);
    cut += code != 0 && code != 7;
  }
  return cut;
}

// Appends a point twice, once for each side of the cut; returns the first.
int32_t AppendSplit(ModelStore& s, Vec3 point) {
  s.vertices[size_t(s.vertexCount)] = point;
  s.vertices[size_t(s.vertexCount) + 1] = point;
  s.vertexCount += 2;
  return s.vertexCount - 2;
}

int32_t AppendPiece(ModelStore& s, Triangle t, bool selected, uint16_t colour) {
  const auto k = size_t(s.triangleCount);
  s.triangles[k] = t;
  s.triangleFlags[k] = selected ? kSelectedBit : 0;
  s.triangleColours[k] = colour;
  return s.triangleCount++;
}

// Splits triangle i, whose corner k is alone on its side, into the piece at
// that corner (l, ln, ml) and the pieces (ml', ln', m) and i with ln' in place
// of the corner, where n follows l and m follows n; all keep i's winding.
// Edge l->n and edge m->l are split, the one that comes first in a-b, b-c,
// c-a first. Marks pieces with coincident corners in `remove`.
void SplitTriangle(ModelStore& s, int32_t i, int k, Plane plane, std::vector<uint8_t>& remove) {
  Triangle& tri = s.triangles[size_t(i)];
  const int32_t l = tri.corner[k], n = tri.corner[(k + 1) % 3], m = tri.corner[(k + 2) % 3];
  const Vec3* v = s.vertices.data();
  const Vec3 lnPoint = SplitPoint(v[l], v[n], plane), mlPoint = SplitPoint(v[m], v[l], plane);
  int32_t ln, ml;
  if (k == 0) {
    ln = AppendSplit(s, lnPoint);
    ml = AppendSplit(s, mlPoint);
  } else {
    ml = AppendSplit(s, mlPoint);
    ln = AppendSplit(s, lnPoint);
  }
  v = s.vertices.data();
  const uint16_t colour = s.triangleColours[size_t(i)];
  const int32_t first = AppendPiece(s, {{l, ln, ml}}, Above(v[l], plane), colour);
  const int32_t second = AppendPiece(s, {{ml + 1, ln + 1, m}}, Above(v[m], plane), colour);
  tri.corner[k] = ln + 1;
  uint8_t& flags = s.triangleFlags[size_t(i)];
  flags = uint8_t((flags & kGroupMask) | (Above(v[n], plane) ? kSelectedBit : 0));
  for (const int32_t piece : {i, first, second}) {
    if (HasCoincidentCorners(s, s.triangles[size_t(piece)])) remove[size_t(piece)] = 1;
  }
}

}  // namespace

GuillotineOutcome Guillotine(ModelStore& s, CutAxis axis, float position) {
  const Plane plane{axis, std::nearbyint(position)};
  GuillotineOutcome outcome;
  outcome.cut = CountCut(s, plane);
  // Room for every piece up front, keeping one free slot as appending does.
  const int64_t needVertices = int64_t{s.vertexCount} + 4 * int64_t{outcome.cut} + 1;
  const int64_t needTriangles = int64_t{s.triangleCount} + 2 * int64_t{outcome.cut} + 1;
  if (needVertices > INT32_MAX || needTriangles > INT32_MAX ||
      !EnsureVertexCapacity(s, int32_t(needVertices)) ||
      !EnsureTriangleCapacity(s, int32_t(needTriangles)))
    return GuillotineOutcome{};
  std::vector<uint8_t> remove;
  if (outcome.cut > 0) remove.assign(size_t(needTriangles), 0);
  static constexpr int kLoneCorner[8] = {-1, 0, 1, 2, 2, 1, 0, -1};
  const int32_t count = s.triangleCount;
  for (int32_t i = 0; i < count; ++i) {
    const int code = SideCode(s, s.triangles[size_t(i)], plane);
    uint8_t& flags = s.triangleFlags[size_t(i)];
    if (code == 0)
      flags &= kGroupMask;
    else if (code == 7)
      flags |= kSelectedBit;
    else
      SplitTriangle(s, i, kLoneCorner[code], plane, remove);
  }
  if (outcome.cut > 0) {
    for (const uint8_t r : remove) outcome.removed += r;
    if (outcome.removed > 0) RemoveTriangles(s, remove);
  }
  outcome.done = true;
  return outcome;
}

}  // namespace qelvar
