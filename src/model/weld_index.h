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
  // Records that vertices[index] holds key (not yet present).
  void Add(const Vec3* vertices, const uint8_t key[12], int32_t index);

 private:
  static uint64_t Hash(const uint8_t key[12]);
  void Rehash(const Vec3* vertices, size_t slots);

  std::vector<int32_t> slots_;  // vertex index or -1, open addressing
  size_t mask_ = 0, used_ = 0;
};

}  // namespace qelvar
