// Duplicate of the selection. With "[_]Connect edges" the selection is
// extruded: every edge on its border gets two wall triangles joining it to the
// same edge of the copy. Shared edges are found through hash tables, so the
// work grows linearly with the selection.
#include <array>
#include <climits>
#include <cstddef>
#include <utility>

#include "core/option_flags.h"
#include "tools/transforms.h"

namespace qelvar {
namespace {

using Triple = std::array<int32_t, 3>;

// Open addressing needs a power-of-two table with room to spare.
size_t TableSize(size_t entries) {
  size_t n = 16;
  while (n < entries + entries / 2) n <<= 1;
  return n;
}

uint64_t Mix(uint64_t k) {
  k ^= k >> 33;
  k *= 0xff51afd7ed558ccdULL;
  k ^= k >> 33;
  k *= 0xc4ceb9fe1a85ec53ULL;
  k ^= k >> 33;
  return k;
}

// An edge regardless of direction: lower index in the high half.
uint64_t EdgeKey(int32_t p, int32_t q) {
  if (p > q) std::swap(p, q);
  return (uint64_t(uint32_t(p)) << 32) | uint32_t(q);
}

// How many of the counted triangles have each edge. Key and count share a
// slot, so a look-up touches one cache line.
class EdgeCounts {
 public:
  explicit EdgeCounts(size_t edges) : slots_(TableSize(edges)), mask_(slots_.size() - 1) {}
  void Add(uint64_t key) {
    Slot& slot = Find(key);
    slot.key = key;
    ++slot.count;
  }
  int32_t Count(uint64_t key) { return Find(key).count; }

 private:
  static constexpr uint64_t kEmpty = ~uint64_t{0};  // no key of two indices has bit 63
  struct Slot {
    uint64_t key = kEmpty;
    int32_t count = 0;
  };
  Slot& Find(uint64_t key) {
    size_t i = Mix(key) & mask_;
    while (slots_[i].key != kEmpty && slots_[i].key != key) i = (i + 1) & mask_;
    return slots_[i];
  }
  std::vector<Slot> slots_;
  size_t mask_;
};

Triple SortedCorners(const Triangle& t) {
  Triple k{t.corner[0], t.corner[1], t.corner[2]};
  if (k[0] > k[1]) std::swap(k[0], k[1]);
  if (k[1] > k[2]) std::swap(k[1], k[2]);
  if (k[0] > k[1]) std::swap(k[0], k[1]);
  return k;
}

// A triangle with a repeated corner covers no area: it has no border to extrude.
bool Degenerate(const Triangle& t) {
  return t.corner[0] == t.corner[1] || t.corner[0] == t.corner[2] || t.corner[1] == t.corner[2];
}

// repeat[k] = 1 when an earlier source triangle uses the same three vertex indices.
std::vector<uint8_t> FindRepeats(const ModelStore& s, const std::vector<int32_t>& sources) {
  std::vector<Triple> table(TableSize(sources.size()), Triple{-1, -1, -1});  // corners >= 0
  const size_t mask = table.size() - 1;
  std::vector<uint8_t> repeat(sources.size(), 0);
  for (size_t k = 0; k < sources.size(); ++k) {
    const Triangle& t = s.triangles[size_t(sources[k])];
    if (Degenerate(t)) continue;
    const Triple key = SortedCorners(t);
    size_t i = Mix(EdgeKey(key[0], key[1]) ^ Mix(uint32_t(key[2]))) & mask;
    while (table[i][0] >= 0 && table[i] != key) i = (i + 1) & mask;
    repeat[k] = table[i][0] >= 0;
    table[i] = key;
  }
  return repeat;
}

// Which edges of each source triangle get walls: bit 1 a-b, 2 a-c, 4 b-c.
// An edge is shared when another counted triangle has both its vertices.
// Repeats of an earlier triangle and triangles with a repeated corner are
// not counted and get no walls.
struct WallPlan {
  std::vector<uint8_t> repeat;
  std::vector<uint8_t> open;
  int64_t walls = 0;  // wall triangles
};

WallPlan PlanWalls(const ModelStore& s, const std::vector<int32_t>& sources) {
  WallPlan plan;
  plan.repeat = FindRepeats(s, sources);
  plan.open.assign(sources.size(), 0);
  EdgeCounts counts(3 * sources.size());
  auto counted = [&](size_t k) {
    return plan.repeat[k] == 0 && !Degenerate(s.triangles[size_t(sources[k])]);
  };
  for (size_t k = 0; k < sources.size(); ++k) {
    if (!counted(k)) continue;
    const int32_t* c = s.triangles[size_t(sources[k])].corner;
    counts.Add(EdgeKey(c[0], c[1]));
    counts.Add(EdgeKey(c[0], c[2]));
    counts.Add(EdgeKey(c[1], c[2]));
  }
  for (size_t k = 0; k < sources.size(); ++k) {
    if (!counted(k)) continue;
    const int32_t* c = s.triangles[size_t(sources[k])].corner;
    auto open = [&](int32_t p, int32_t q) { return counts.Count(EdgeKey(p, q)) < 2; };
    const uint8_t bits = uint8_t((open(c[0], c[1]) ? 1 : 0) | (open(c[0], c[2]) ? 2 : 0) |
                                 (open(c[1], c[2]) ? 4 : 0));
    plan.open[k] = bits;
    plan.walls += 2 * ((bits & 1) + ((bits >> 1) & 1) + ((bits >> 2) & 1));
  }
  return plan;
}

// Selected triangles whose corners all lie in the vertex table: only these
// can be copied.
std::vector<int32_t> CopyableTriangles(const ModelStore& s) {
  std::vector<int32_t> sources;
  for (int32_t t = 0; t < s.triangleCount; ++t) {
    if (!(s.triangleFlags[size_t(t)] & kSelectedBit)) continue;
    const int32_t* c = s.triangles[size_t(t)].corner;
    bool valid = true;
    for (int i = 0; i < 3; ++i) valid = valid && c[i] >= 0 && c[i] < s.vertexCount;
    if (valid) sources.push_back(t);
  }
  return sources;
}

// Room for the vertices and triangles to come, so appending never runs past a
// table; false (nothing changed) when the memory cannot be had.
bool MakeRoom(ModelStore& s, int64_t vertices, int64_t triangles) {
  // The appending convention keeps one free slot below the capacity.
  const int64_t vertexNeed = int64_t{s.vertexCount} + vertices + 1;
  const int64_t triangleNeed = int64_t{s.triangleCount} + triangles + 1;
  if (vertexNeed > INT32_MAX || triangleNeed > INT32_MAX) return false;
  return EnsureVertexCapacity(s, int32_t(vertexNeed)) &&
         EnsureTriangleCapacity(s, int32_t(triangleNeed));
}

void PutTriangle(ModelStore& s, Triangle t, uint8_t flags, uint16_t colour) {
  const auto i = size_t(s.triangleCount++);
  s.triangles[i] = t;
  s.triangleFlags[i] = flags;
  s.triangleColours[i] = colour;
}

// Two walls per open edge, joining it to the copy's edge (corners primed).
void PutWalls(ModelStore& s, int32_t source, uint8_t open, const std::vector<int32_t>& copyOf,
              uint8_t flags) {
  const int32_t* c = s.triangles[size_t(source)].corner;
  const int32_t a = c[0], b = c[1], cc = c[2];
  const int32_t a2 = copyOf[size_t(a)], b2 = copyOf[size_t(b)], c2 = copyOf[size_t(cc)];
  const uint16_t colour = s.triangleColours[size_t(source)];
  if (open & 1) {
    PutTriangle(s, {{b, a, a2}}, flags, colour);
    PutTriangle(s, {{a2, b2, b}}, flags, colour);
  }
  if (open & 2) {
    PutTriangle(s, {{a, cc, c2}}, flags, colour);
    PutTriangle(s, {{c2, a2, a}}, flags, colour);
  }
  if (open & 4) {
    PutTriangle(s, {{cc, b, b2}}, flags, colour);
    PutTriangle(s, {{b2, c2, cc}}, flags, colour);
  }
}

}  // namespace

TransformOutcome DuplicateSelection(ModelStore& s, const ValueCells& cells, uint32_t options,
                                    const SelectionCentre& centre) {
  if (s.triangleCount == 0) return {};
  std::vector<uint8_t> marks;
  if (MarkSelectedVertices(s, marks) == 0) return {kMsgNothingSelected, false, false};
  const Vec3 d = SelectionOffset(cells, options, centre);
  const bool connect = HasOption(options, kOptConnectEdges);
  const uint8_t mask = HasOption(options, kOptUnselectDupe) ? kGroupMask : 0xFF;
  const std::vector<int32_t> sources = CopyableTriangles(s);
  const WallPlan plan = connect ? PlanWalls(s, sources) : WallPlan{};
  int64_t newVertices = 0;
  for (const uint8_t mark : marks) newVertices += mark;
  if (!MakeRoom(s, newVertices, int64_t(sources.size()) + plan.walls)) return {};

  std::vector<int32_t> copyOf(marks.size(), -1);
  const int32_t vertexCount = s.vertexCount;
  for (int32_t v = 0; v < vertexCount; ++v) {
    if (marks[size_t(v)] == 0) continue;
    const Vec3 p = s.vertices[size_t(v)];
    copyOf[size_t(v)] = s.vertexCount;
    s.vertices[size_t(s.vertexCount++)] = {p.x + d.x, p.y + d.y, p.z + d.z};
  }
  for (const int32_t t : sources) {
    const int32_t* c = s.triangles[size_t(t)].corner;
    PutTriangle(s, {{copyOf[size_t(c[0])], copyOf[size_t(c[1])], copyOf[size_t(c[2])]}},
                s.triangleFlags[size_t(t)] & mask, s.triangleColours[size_t(t)]);
  }
  if (connect) {
    for (size_t k = 0; k < sources.size(); ++k) {
      uint8_t& flags = s.triangleFlags[size_t(sources[k])];
      if (plan.repeat[k] != 0) {
        flags &= kGroupMask;  // a repeat is unselected; its copy was made already
        continue;
      }
      PutWalls(s, sources[k], plan.open[k], copyOf, flags & mask);
    }
  }
  return {kMsgNone, true, false};
}

}  // namespace qelvar
