// The creation menus' primitives, appended vertex by vertex and triangle by
// triangle in a fixed order: the order is what files and later tools see.
#include "tools/primitives.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/option_flags.h"
#include "render/view_state.h"

namespace qelvar {
namespace {

Vec3 PointCells(const ValueCells& c, int xCell) {
  return {c.Real(xCell), c.Real(xCell + 1), c.Real(xCell + 2)};
}

bool SamePoint(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// Appends one primitive. Any failure to get memory rolls the counts back, so
// a primitive is added whole or not at all and no index points past a table.
class Builder {
 public:
  Builder(ModelStore& store, uint8_t partGroup)
      : s_(store),
        flags_(static_cast<uint8_t>(partGroup & kGroupMask)),
        colour_(store.defaultColour),
        vertexCount_(store.vertexCount),
        triangleCount_(store.triangleCount),
        lineCount_(store.lineCount) {}

  // The index the point has in the table afterwards.
  int32_t Point(Vec3 p) {
    if (first_) {
      first_ = false;
      const int32_t last = s_.vertexCount - 1;
      if (last >= 0 && SamePoint(s_.vertices[last], p)) return last;
    }
    if (ok_ && !AppendVertex(s_, p)) ok_ = false;
    return s_.vertexCount - 1;
  }

  // A triangle with the growth check after it (the single triangle).
  void Append(int32_t a, int32_t b, int32_t c) {
    if (ok_ && !AppendTriangle(s_, Triangle{{a, b, c}}, flags_, colour_)) ok_ = false;
  }

  // A triangle in a slot made free beforehand.
  void Store(int32_t a, int32_t b, int32_t c) {
    if (!ok_ || s_.triangleCount > s_.triangleCapacity) {
      ok_ = false;
      return;
    }
    const int32_t i = s_.triangleCount++;
    s_.triangles[i] = Triangle{{a, b, c}};
    s_.triangleFlags[i] = flags_;
    s_.triangleColours[i] = colour_;
  }

  // Grows the triangle tables when fewer than `slots` slots are free.
  void Reserve(int32_t slots) {
    if (ok_ && s_.triangleCount > s_.triangleCapacity - slots && !GrowTriangles(s_)) ok_ = false;
  }

  // Room for exactly `more` triangles beyond the count.
  void Ensure(int64_t more) {
    const int64_t need = int64_t{s_.triangleCount} + more;
    if (need > std::numeric_limits<int32_t>::max() ||
        !EnsureTriangleCapacity(s_, static_cast<int32_t>(need)))
      ok_ = false;
  }

  void Line(int32_t a, int32_t b) {
    if (ok_ && !AppendLine(s_, qelvar::Line{a, b})) ok_ = false;
  }

  bool Finish() {
    if (!ok_) {
      s_.vertexCount = vertexCount_;
      s_.triangleCount = triangleCount_;
      s_.lineCount = lineCount_;
    }
    return ok_;
  }

 private:
  ModelStore& s_;
  const uint8_t flags_;
  const uint16_t colour_;
  const int32_t vertexCount_, triangleCount_, lineCount_;
  bool first_ = true;
  bool ok_ = true;
};

struct Corners {
  int32_t a, b, c, d;
};

// Two triangles over four points: (a, b, c), (c, d, a), or reversed
// (a, d, c), (c, b, a).
Corners Quad(Builder& b, Vec3 p1, Vec3 p2, Vec3 p3, Vec3 p4, bool reversed) {
  Corners q;
  q.a = b.Point(p1), q.b = b.Point(p2), q.c = b.Point(p3), q.d = b.Point(p4);
  b.Reserve(2);
  if (reversed) {
    b.Store(q.a, q.d, q.c);
    b.Store(q.c, q.b, q.a);
  } else {
    b.Store(q.a, q.b, q.c);
    b.Store(q.c, q.d, q.a);
  }
  return q;
}

// Centred on X1, Y1 in x and y, from Z1 to Z1 + size in z; faces outwards.
void Cube(Builder& b, const ValueCells& cells) {
  const Vec3 o = PointCells(cells, kCellX1);
  const float size = cells.Real(kCellSize), h = size / 2, top = o.z + size;
  const Corners lo = Quad(b, {o.x - h, o.y - h, o.z}, {o.x + h, o.y - h, o.z},
                          {o.x + h, o.y + h, o.z}, {o.x - h, o.y + h, o.z}, true);
  const Corners hi = Quad(b, {o.x - h, o.y - h, top}, {o.x + h, o.y - h, top},
                          {o.x + h, o.y + h, top}, {o.x - h, o.y + h, top}, false);
  b.Reserve(8);
  const int32_t a = lo.a, bb = lo.b, c = lo.c, d = lo.d;
  const int32_t e = hi.a, f = hi.b, g = hi.c, k = hi.d;
  b.Store(a, f, e), b.Store(f, a, bb), b.Store(k, a, e), b.Store(a, k, d);
  b.Store(bb, g, f), b.Store(g, bb, c), b.Store(k, c, d), b.Store(c, k, g);
}

// Rim points of the circular primitives: the angle starts at 0 and steps
// clockwise (seen from +z) by 2 pi / sides, accumulated in single precision.
class Rim {
 public:
  Rim(const ValueCells& cells, int32_t sides)
      : x_(cells.Real(kCellX1)),
        y_(cells.Real(kCellY1)),
        step_(2.0f * kPi / static_cast<float>(sides)) {}
  Vec3 At(float radius, float z) const {
    return {x_ + radius * std::cos(angle_), y_ + radius * std::sin(angle_), z};
  }
  void Step() { angle_ -= step_; }

 private:
  float x_, y_, step_;
  float angle_ = 0.0f;
};

// A fan around its first point: the disc (centre at Z1) or the cone (apex
// at Z1 + Height); the rim lies at Z1.
void Fan(Builder& b, const ValueCells& cells, int32_t sides, bool cone) {
  const Vec3 o = PointCells(cells, kCellX1);
  const int32_t j = b.Point({o.x, o.y, cone ? o.z + cells.Real(kCellHeight) : o.z});
  Rim rim(cells, sides);
  const float radius = cells.Real(kCellRadius1);
  for (int32_t i = 1; i <= sides; ++i, rim.Step()) b.Point(rim.At(radius, o.z));
  b.Ensure(sides);
  for (int32_t i = 1; i <= sides; ++i) b.Store(j, i < sides ? j + i + 1 : j + 1, j + i);
}

// Open at both ends; the sides face the axis.
void Cylinder(Builder& b, const ValueCells& cells, int32_t sides) {
  const float z = cells.Real(kCellZ1), top = z + cells.Real(kCellHeight);
  const float radius = cells.Real(kCellRadius1);
  b.Ensure(2 * int64_t{sides});
  Rim rim(cells, sides);
  int32_t j = 0, n = 0;
  for (int32_t i = 1; i <= sides; ++i, rim.Step()) {
    const Vec3 bottom = rim.At(radius, z);
    const int32_t first = b.Point(bottom);
    if (i == 1) j = first;
    n = b.Point({bottom.x, bottom.y, top}) + 1;
    if (i > 1) {
      b.Store(n - 1, n - 3, n - 4);
      b.Store(n - 4, n - 2, n - 1);
    }
  }
  b.Store(j + 1, n - 1, n - 2);
  b.Store(n - 2, j, j + 1);
}

// Flat, between the circles of Radius1 (even offsets) and rAdius2 (odd).
void Ring(Builder& b, const ValueCells& cells, int32_t sides) {
  const float z = cells.Real(kCellZ1);
  const float inner = cells.Real(kCellRadius1), outer = cells.Real(kCellRadius2);
  Rim rim(cells, sides);
  int32_t j = 0;
  for (int32_t i = 1; i <= sides; ++i, rim.Step()) {
    const int32_t first = b.Point(rim.At(inner, z));
    if (i == 1) j = first;
    b.Point(rim.At(outer, z));
  }
  b.Ensure(2 * int64_t{sides});
  const int32_t last = 2 * sides - 2;
  for (int32_t i = 0; i <= last; i += 2) {
    const bool closing = i == last;
    b.Store(j + i, closing ? j : j + i + 2, j + i + 1);
    b.Store(j + i + 1, closing ? j : j + i + 2, closing ? j + 1 : j + i + 3);
  }
}

// The next line of a chain starts where this one ended.
void ContinueChain(ValueCells& cells) {
  cells.Real(kCellX1) = cells.Real(kCellX2);
  cells.Real(kCellY1) = cells.Real(kCellY2);
  cells.Real(kCellZ1) = cells.Real(kCellZ2);
}

// The circular primitives; fewer than one side creates nothing.
CreateOutcome Circular(Builder& b, Menu menu, const ValueCells& cells) {
  const int32_t sides = cells.Int(kCellSides);
  if (sides < 1) return CreateOutcome::kNothing;
  switch (menu) {
    case Menu::kNewDisc:
      Fan(b, cells, sides, false);
      break;
    case Menu::kNewCone:
      Fan(b, cells, sides, true);
      break;
    case Menu::kNewCylinder:
      Cylinder(b, cells, sides);
      break;
    default:
      Ring(b, cells, sides);
      break;
  }
  return CreateOutcome::kTriangles;
}

}  // namespace

CreateOutcome CreatePrimitive(ModelStore& store, Menu menu, ValueCells& cells, uint32_t options,
                              uint8_t partGroup) {
  Builder b(store, partGroup);
  CreateOutcome outcome = CreateOutcome::kTriangles;
  switch (menu) {
    case Menu::kNewVertex:
      b.Point(PointCells(cells, kCellX1));
      outcome = CreateOutcome::kPointsOnly;
      break;
    case Menu::kNewLine: {
      const int32_t start = b.Point(PointCells(cells, kCellX1));
      b.Line(start, b.Point(PointCells(cells, kCellX2)));
      outcome = CreateOutcome::kPointsOnly;
      break;
    }
    case Menu::kNewTriangle: {
      const int32_t a = b.Point(PointCells(cells, kCellX1));
      const int32_t c1 = b.Point(PointCells(cells, kCellX2));
      const int32_t c2 = b.Point(PointCells(cells, kCellX3));
      b.Append(a, c1, c2);
      break;
    }
    case Menu::kNewQuad:
      Quad(b, PointCells(cells, kCellX1), PointCells(cells, kCellX2), PointCells(cells, kCellX3),
           PointCells(cells, kCellX4), false);
      break;
    case Menu::kNewCube:
      Cube(b, cells);
      break;
    case Menu::kNewDisc:
    case Menu::kNewCone:
    case Menu::kNewCylinder:
    case Menu::kNewRing:
      outcome = Circular(b, menu, cells);
      break;
    default:
      return CreateOutcome::kNothing;
  }
  if (outcome == CreateOutcome::kNothing || !b.Finish()) return CreateOutcome::kNothing;
  if (menu == Menu::kNewLine && HasOption(options, kOptPlotChain)) ContinueChain(cells);
  return outcome;
}

CreateOutcome CreateAtOffset(ModelStore& store, const ValueCells& cells) {
  Builder b(store, 0);
  const Vec3 p = PointCells(cells, kCellX1), d = PointCells(cells, kCellX5);
  b.Point({p.x + d.x, p.y + d.y, p.z + d.z});
  return b.Finish() ? CreateOutcome::kPointsOnly : CreateOutcome::kNothing;
}

}  // namespace qelvar
