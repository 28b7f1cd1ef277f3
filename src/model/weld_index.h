// Exact-match index over the 12 coordinate bytes of vertices, used to weld STL
// corners: the same answer as searching the vertices one by one, in O(1).
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "model/model_store.h"

namespace qelvar {

class WeldIndex {
 public:
  explicit WeldIndex(size_t expected = 0);
  // The index of the vertex whose bytes equal key, or -1. `vertices` must
  // hold every index added so far.
  int32_t Find(const Vec3* vertices, const uint8_t key[12]) const;
  // Find, and when absent record `index` for key in the same probe; returns
  // the index found or `index`. The caller then stores key at vertices[index].
  int32_t FindOrAdd(const Vec3* vertices, const uint8_t key[12], int32_t index);
  // Makes room for `expected` keys in all, so that they arrive without a
  // rehash on the way.
  void Reserve(size_t expected) {
    if (expected * 2 > slots_.size()) Rehash(SlotsFor(expected));
  }
  // Starts loading the slot where a probe for key begins, so that a probe a
  // few facets later does not wait for memory.
  void Prefetch(const uint8_t key[12]) const { __builtin_prefetch(&slots_[Hash(key) & mask_]); }

 private:
  // A slot holds the key's 32-bit hash beside the vertex index, so that a
  // probe looks at a vertex only when the hashes agree, and growing the table
  // needs no vertex at all.
  static constexpr uint64_t kEmpty = ~uint64_t{0};
  static uint32_t Hash(const uint8_t key[12]);
  static uint64_t Slot(uint32_t hash, int32_t index) {
    return uint64_t{hash} << 32 | static_cast<uint32_t>(index);
  }
  static size_t SlotsFor(size_t expected);
  void Rehash(size_t slots);

  Table<uint64_t> slots_;
  size_t mask_ = 0, used_ = 0;
};

}  // namespace qelvar
