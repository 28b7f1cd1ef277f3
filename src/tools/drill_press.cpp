// The drill press. Every triangle is examined once in coordinates relative to
// the hole's centre, in single precision; pieces are appended as they are made
// and the replaced triangles removed once at the end.
#include "tools/drill_press.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>
#include <vector>

#include "tools/vertex_cleanup.h"

namespace qelvar {
namespace {

constexpr float kPi = 3.141593f;
constexpr float kTwoPi = 2 * kPi;
// Finest step allowed: a whole circle in 2^24 points.
constexpr float kFinestStep = kTwoPi / 16777216.0f;

struct Point {
  float x, y;
};

float SquaredDistance(Point p, Point q) {
  const float dx = p.x - q.x, dy = p.y - q.y;
  return dx * dx + dy * dy;
}

// The two points where the line through an edge meets the circle, kept only
// when there are two distinct ones.
struct EdgeCrossing {
  bool stored = false;
  Point point[2]{};

  // The point nearer to p, the first on a tie.
  Point NearestTo(Point p) const {
    return SquaredDistance(point[1], p) < SquaredDistance(point[0], p) ? point[1] : point[0];
  }
};

// Intersects the line through p and q with the circle of radius r. Returns bit
// 1 when the first point and bit 2 when the second lies strictly within the
// edge along its longer extent. An edge straight along y is never crossed.
int CrossEdge(Point p, Point q, float r, EdgeCrossing& out) {
  out = EdgeCrossing{};
  if (q.x == p.x) return 0;
  const float m = (q.y - p.y) / (q.x - p.x);
  const float c = q.y - m * q.x;
  const float d = 4 * c * c * m * m - (4 * m * m + 4) * (c * c - r * r);
  if (d < 0) return 0;
  const float root = std::sqrt(d), denominator = 2 * m * m + 2;
  const float x1 = (root - 2 * c * m) / denominator, x2 = (-root - 2 * c * m) / denominator;
  if (x1 == x2) return 0;
  out.stored = true;
  out.point[0] = {x1, m * x1 + c};
  out.point[1] = {x2, m * x2 + c};
  const bool alongX = std::fabs(q.x - p.x) > std::fabs(q.y - p.y);
  auto within = [&](Point s) {
    const float v = alongX ? s.x : s.y, a = alongX ? p.x : p.y, b = alongX ? q.x : q.y;
    return std::min(a, b) < v && v < std::max(a, b);
  };
  return int(within(out.point[0])) | int(within(out.point[1])) << 1;
}

// Polar angle from the sine y / length; rounding may carry the quotient just
// past 1, which would give no angle at all, so it is held to [-1, 1].
float PolarAngle(Point p, float length) {
  const float a = std::asin(std::clamp(p.y / length, -1.0f, 1.0f));
  return p.x < 0 ? kPi - a : a;
}

// Inside or on the border of triangle abc. A point counts as outside when two
// of the edge functions have opposite signs: one that is zero (the point on
// an edge's line) decides nothing on its own, since the point may lie on the
// line far beyond the edge.
bool InsideTriangle(Point a, Point b, Point c, Point t) {
  const float e1 = (a.y - c.y) * (t.x - c.x) - (t.y - c.y) * (a.x - c.x);
  const float e2 = (b.y - a.y) * (t.x - a.x) - (t.y - a.y) * (b.x - a.x);
  const float e3 = (c.y - b.y) * (t.x - b.x) - (t.y - b.y) * (c.x - b.x);
  const bool negative = e1 < 0 || e2 < 0 || e3<0, positive = e1> 0 || e2 > 0 || e3 > 0;
  return !(negative && positive);
}

float Length(Point p) { return std::sqrt(p.x * p.x + p.y * p.y); }

bool SameXY(Point p, Point q) { return p.x == q.x && p.y == q.y; }

constexpr int kInsideA = 256, kInsideB = 128, kInsideC = 64;
enum Edge { kAB = 0, kAC = 1, kBC = 2 };
constexpr int kEdgeEnds[3][2] = {{0, 1}, {0, 2}, {1, 2}};

// A triangle as the hole sees it: corners relative to the centre, the
// crossings of its edges' lines, and the mask of inside corners (A 256, B 128,
// C 64) and crossings within edges (A-B 16 and 32, A-C 4 and 8, B-C 1 and 2).
struct DrilledTriangle {
  int32_t corner[3];
  Point p[3];
  EdgeCrossing edge[3];
  int mask = 0;
};

// A piece on an edge with both ends outside and no crossing: triangle (from,
// to, new). When the rim point halfway between the ends' angles is not in the
// triangle, the new vertex is the crossing nearer to it of two candidates: on
// each candidate edge the crossing nearest to its corner.
struct EdgePiece {
  int clearMask, from, to;
  Edge candidateEdge[2];
  int candidateCorner[2];
};
constexpr EdgePiece kEdgePieces[3] = {
    {kInsideA | kInsideB | 48, 0, 1, {kAC, kBC}, {0, 1}},
    {kInsideA | kInsideC | 12, 2, 0, {kAB, kBC}, {0, 2}},
    {kInsideB | kInsideC | 3, 1, 2, {kAB, kAC}, {1, 2}},
};

// A fan from an outside corner along the rim between its two edges' crossings.
struct CornerFan {
  int insideBit, corner;
  Edge edges[2];
};
constexpr CornerFan kCornerFans[3] = {
    {kInsideA, 0, {kAB, kAC}}, {kInsideB, 1, {kAB, kBC}}, {kInsideC, 2, {kAC, kBC}}};

enum class Fate { kKeep, kRemove, kReplace };

class Drill {
 public:
  Drill(ModelStore& store, const DrillSettings& settings)
      : s_(store), d_(settings), r2_(settings.radius * settings.radius) {}

  Fate Examine(int32_t i, DrilledTriangle& t) const;
  // Appends the pieces that replace triangle i; false when the tables could
  // not grow (the pieces made so far stay, triangle i too).
  bool Replace(int32_t i, const DrilledTriangle& t);
  int32_t added() const { return added_; }

 private:
  Point EdgePieceApex(const DrilledTriangle& t, const EdgePiece& piece) const;
  bool AppendFan(int32_t i, const DrilledTriangle& t, const CornerFan& fan);
  bool Reserve(int64_t vertices, int64_t triangles);
  int32_t AppendPoint(Point p);
  void AppendPiece(int32_t i, Triangle piece);

  ModelStore& s_;
  DrillSettings d_;
  float r2_;
  std::vector<float> arc_;  // rim angles of the fan being built
  int32_t added_ = 0;
};

Fate Drill::Examine(int32_t i, DrilledTriangle& t) const {
  int mask = 0;
  for (int k = 0; k < 3; ++k) {
    t.corner[k] = s_.triangles[size_t(i)].corner[k];
    const Vec3& v = s_.vertices[size_t(t.corner[k])];
    t.p[k] = {v.x - d_.centreX, v.y - d_.centreY};
    mask = 2 * mask + int(t.p[k].x * t.p[k].x + t.p[k].y * t.p[k].y < r2_);
  }
  if (mask == 7) return Fate::kRemove;
  if (SameXY(t.p[0], t.p[1]) || SameXY(t.p[0], t.p[2]) || SameXY(t.p[1], t.p[2]))
    return Fate::kKeep;
  for (int e = 0; e < 3; ++e)
    mask = 4 * mask + CrossEdge(t.p[kEdgeEnds[e][0]], t.p[kEdgeEnds[e][1]], d_.radius, t.edge[e]);
  t.mask = mask;
  if (mask == 0 && !InsideTriangle(t.p[0], t.p[1], t.p[2], Point{0, 0})) return Fate::kKeep;
  return Fate::kReplace;
}

Point Drill::EdgePieceApex(const DrilledTriangle& t, const EdgePiece& piece) const {
  float low = PolarAngle(t.p[piece.from], Length(t.p[piece.from]));
  float high = PolarAngle(t.p[piece.to], Length(t.p[piece.to]));
  if (low > high) std::swap(low, high);
  if (high - low > kPi) low += kTwoPi;
  const float mid = (low + high) / 2;
  const Point apex{d_.radius * std::cos(mid), d_.radius * std::sin(mid)};
  if (InsideTriangle(t.p[0], t.p[1], t.p[2], apex)) return apex;
  // An edge whose line misses the circle offers no candidate.
  const EdgeCrossing& first = t.edge[piece.candidateEdge[0]];
  const EdgeCrossing& second = t.edge[piece.candidateEdge[1]];
  if (!first.stored && !second.stored) return apex;
  const Point a = first.NearestTo(t.p[piece.candidateCorner[0]]);
  const Point b = second.NearestTo(t.p[piece.candidateCorner[1]]);
  if (!second.stored) return a;
  if (!first.stored) return b;
  return SquaredDistance(b, apex) < SquaredDistance(a, apex) ? b : a;
}

// Room for `need` slots in a table of `capacity`. A table that must grow
// grows by half at least, so that drilling many triangles copies the tables
// a few times rather than once per few thousand pieces.
int32_t RoomFor(int64_t need, int32_t capacity) {
  constexpr int64_t kLargest = INT32_MAX - 8192;
  if (need <= capacity) return int32_t(need);
  const int64_t grown = std::min(std::max(need, int64_t{capacity} + capacity / 2), kLargest);
  return need <= grown ? int32_t(grown) : -1;
}

bool Drill::Reserve(int64_t vertices, int64_t triangles) {
  // One slot beyond the new ones stays free, as appending keeps it.
  const int32_t v = RoomFor(int64_t{s_.vertexCount} + vertices + 1, s_.vertexCapacity);
  const int32_t t = RoomFor(int64_t{s_.triangleCount} + triangles + 1, s_.triangleCapacity);
  return v >= 0 && t >= 0 && EnsureVertexCapacity(s_, v) && EnsureTriangleCapacity(s_, t);
}

int32_t Drill::AppendPoint(Point p) {
  s_.vertices[size_t(s_.vertexCount)] = {d_.centreX + p.x, d_.centreY + p.y, 0.0f};
  return s_.vertexCount++;
}

// Pieces copy the flag byte and colour of the triangle they replace.
void Drill::AppendPiece(int32_t i, Triangle piece) {
  const auto k = size_t(s_.triangleCount++);
  s_.triangles[k] = piece;
  s_.triangleFlags[k] = s_.triangleFlags[size_t(i)];
  s_.triangleColours[k] = s_.triangleColours[size_t(i)];
  ++added_;
}

bool Drill::AppendFan(int32_t i, const DrilledTriangle& t, const CornerFan& fan) {
  const EdgeCrossing& e1 = t.edge[fan.edges[0]];
  const EdgeCrossing& e2 = t.edge[fan.edges[1]];
  // Without crossings on both edges' lines there is no rim to follow.
  if (!e1.stored || !e2.stored) return true;
  Point start = e1.NearestTo(t.p[fan.corner]), end = e2.NearestTo(t.p[fan.corner]);
  float from = PolarAngle(start, d_.radius), to = PolarAngle(end, d_.radius);
  if (from == to) return true;
  if (from > to) {
    std::swap(from, to);
    std::swap(start, end);
  }
  if (to - from > kPi) {  // the short way round passes angle 0
    std::swap(start, end);
    const float wrapped = from + kTwoPi;
    from = to;
    to = wrapped;
  }
  arc_.clear();
  for (int32_t k = 1;; ++k) {
    const float angle = from + float(k) * d_.step;
    if (!(angle < to)) break;
    arc_.push_back(angle);
  }
  const auto points = int64_t(arc_.size()) + 2;
  if (!Reserve(points, points - 1)) return false;
  const int32_t first = AppendPoint(start);
  for (const float angle : arc_)
    AppendPoint({d_.radius * std::cos(angle), d_.radius * std::sin(angle)});
  AppendPoint(end);
  for (int32_t k = 0; k + 1 < points; ++k)
    AppendPiece(i, {{t.corner[fan.corner], first + k, first + k + 1}});
  return true;
}

bool Drill::Replace(int32_t i, const DrilledTriangle& t) {
  for (const EdgePiece& piece : kEdgePieces) {
    if ((t.mask & piece.clearMask) != 0) continue;
    if (!Reserve(1, 1)) return false;
    const int32_t apex = AppendPoint(EdgePieceApex(t, piece));
    AppendPiece(i, {{t.corner[piece.from], t.corner[piece.to], apex}});
  }
  for (const CornerFan& fan : kCornerFans) {
    if ((t.mask & fan.insideBit) == 0 && !AppendFan(i, t, fan)) return false;
  }
  return true;
}

bool Usable(const DrillSettings& d) {
  return std::isfinite(d.centreX) && std::isfinite(d.centreY) && std::isfinite(d.radius) &&
         d.radius > 0 && std::isfinite(d.step) && d.step >= kFinestStep;
}

}  // namespace

DrillOutcome DrillPress(ModelStore& store, const DrillSettings& settings) {
  DrillOutcome outcome;
  if (store.triangleCount == 0 || !Usable(settings)) return outcome;
  const int32_t firstVertex = store.vertexCount, count = store.triangleCount;
  std::vector<uint8_t> remove(size_t(count), 0);
  Drill drill(store, settings);
  DrilledTriangle t;
  for (int32_t i = 0; i < count; ++i) {
    const Fate fate = drill.Examine(i, t);
    if (fate == Fate::kKeep) continue;
    if (fate == Fate::kReplace && !drill.Replace(i, t)) break;
    remove[size_t(i)] = 1;
    ++outcome.replaced;
  }
  if (outcome.replaced > 0) RemoveTriangles(store, remove);
  WeldVertices(store, firstVertex);
  outcome.done = true;
  outcome.added = drill.added();
  return outcome;
}

}  // namespace qelvar
