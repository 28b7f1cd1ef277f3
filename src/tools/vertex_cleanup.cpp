// Vertex welding through an open-addressing hash of float coordinates: the
// same groups, representatives and compaction as comparing every vertex with
// every later one, in linear time.
#include "tools/vertex_cleanup.h"

#include <bit>
#include <cmath>
#include <vector>

namespace qelvar {
namespace {

// Bits of a coordinate for hashing: 0.0 and -0.0 compare equal, so both
// hash as +0.0.
uint32_t KeyBits(float f) { return f == 0.0f ? 0u : std::bit_cast<uint32_t>(f); }

uint32_t HashPoint(const Vec3& v) {
  uint64_t h = (uint64_t{KeyBits(v.x)} | uint64_t{KeyBits(v.y)} << 32) * 0x9E3779B97F4A7C15ull;
  h ^= uint64_t{KeyBits(v.z)} * 0xC2B2AE3D27D4EB4Full;
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  return uint32_t(h ^ (h >> 32));
}

bool SamePoint(const Vec3& a, const Vec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// Representatives seen so far, keyed by position. A slot keeps the hash next
// to the index so that most mismatches are settled without reading a vertex.
class PointTable {
 public:
  explicit PointTable(const Vec3* vertices) : vertices_(vertices) { Resize(1024); }

  // The representative equal to v, or -1 after recording `index` as a new one.
  int32_t FindOrAdd(const Vec3& v, int32_t index) {
    const uint32_t hash = HashPoint(v);
    for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
      const Slot s = slots_[i];
      if (s.index < 0) break;
      if (s.hash == hash && SamePoint(vertices_[s.index], v)) return s.index;
    }
    if ((used_ + 1) * 2 > slots_.size()) Resize(slots_.size() * 2);
    Insert({hash, index});
    ++used_;
    return -1;
  }

 private:
  struct Slot {
    uint32_t hash;
    int32_t index;  // -1: empty
  };

  void Insert(Slot s) {
    size_t i = s.hash & mask_;
    while (slots_[i].index >= 0) i = (i + 1) & mask_;
    slots_[i] = s;
  }

  void Resize(size_t count) {
    std::vector<Slot> old(count, Slot{0, -1});
    old.swap(slots_);
    mask_ = count - 1;
    for (const Slot& s : old) {
      if (s.index >= 0) Insert(s);
    }
  }

  const Vec3* vertices_;
  std::vector<Slot> slots_;
  size_t mask_ = 0, used_ = 0;
};

bool HasNaN(const Vec3& v) { return std::isnan(v.x) || std::isnan(v.y) || std::isnan(v.z); }

// Index after the weld of every vertex from `first` on: a vertex that stays
// gets the next free slot, a merged one its representative's new index.
// Kept vertices are moved down as they are numbered. Returns the new count.
int32_t CompactVertices(ModelStore& store, int32_t first, std::vector<int32_t>& newIndex) {
  Vec3* v = store.vertices.data();
  PointTable table(v);
  int32_t w = first;
  for (int32_t j = first; j < store.vertexCount; ++j) {
    const Vec3 p = v[j];
    // A NaN coordinate equals nothing: such a vertex always stays on its own.
    const int32_t rep = HasNaN(p) ? -1 : table.FindOrAdd(p, w);
    if (rep >= 0) {
      newIndex[size_t(j - first)] = rep;
      continue;
    }
    // The table holds new indices, so it must see the vertex at its new slot.
    v[w] = p;
    newIndex[size_t(j - first)] = w++;
  }
  return w;
}

}  // namespace

int32_t WeldVertices(ModelStore& store, int32_t firstVertex) {
  const int32_t first = firstVertex < 0 ? 0 : firstVertex;
  const int32_t oldCount = store.vertexCount;
  if (first >= oldCount) return 0;
  std::vector<int32_t> newIndex(size_t(oldCount - first));
  store.vertexCount = CompactVertices(store, first, newIndex);
  // Indices outside the old table are left as they were.
  const uint32_t span = uint32_t(oldCount - first);
  auto renumber = [&](int32_t& index) {
    const uint32_t k = uint32_t(index) - uint32_t(first);
    if (k < span) index = newIndex[k];
  };
  for (int32_t i = 0; i < store.triangleCount; ++i) {
    for (int32_t& c : store.triangles[size_t(i)].corner) renumber(c);
  }
  for (int32_t i = 0; i < store.lineCount; ++i) {
    renumber(store.lines[size_t(i)].a);
    renumber(store.lines[size_t(i)].b);
  }
  return oldCount - store.vertexCount;
}

}  // namespace qelvar
