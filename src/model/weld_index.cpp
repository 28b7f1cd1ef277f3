// Open-addressing hash of vertex coordinate bytes.
#include "model/weld_index.h"

#include "model/file_io.h"

namespace qelvar {

WeldIndex::WeldIndex(size_t expected) {
  size_t slots = 1024;
  while (slots < expected * 2) slots *= 2;
  slots_.assign(slots, -1);
  mask_ = slots - 1;
}

uint64_t WeldIndex::Hash(const uint8_t key[12]) {
  uint64_t h = (uint64_t{GetU32(key)} | uint64_t{GetU32(key + 4)} << 32) * 0x9E3779B97F4A7C15ull;
  h ^= uint64_t{GetU32(key + 8)} * 0xC2B2AE3D27D4EB4Full;
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  return h ^ (h >> 32);
}

int32_t WeldIndex::Find(const Vec3* vertices, const uint8_t key[12]) const {
  for (size_t i = Hash(key) & mask_;; i = (i + 1) & mask_) {
    const int32_t index = slots_[i];
    if (index < 0) return -1;
    if (std::memcmp(&vertices[index], key, 12) == 0) return index;
  }
}

void WeldIndex::Add(const Vec3* vertices, const uint8_t key[12], int32_t index) {
  if ((used_ + 1) * 2 > slots_.size()) Rehash(vertices, slots_.size() * 2);
  size_t i = Hash(key) & mask_;
  while (slots_[i] >= 0) i = (i + 1) & mask_;
  slots_[i] = index;
  ++used_;
}

void WeldIndex::Rehash(const Vec3* vertices, size_t slots) {
  std::vector<int32_t> old(slots, -1);
  old.swap(slots_);
  mask_ = slots - 1;
  for (const int32_t index : old) {
    if (index < 0) continue;
    size_t i = Hash(reinterpret_cast<const uint8_t*>(&vertices[index])) & mask_;
    while (slots_[i] >= 0) i = (i + 1) & mask_;
    slots_[i] = index;
  }
}

}  // namespace qelvar
