// Open-addressing hash of vertex coordinate bytes.
#include "model/weld_index.h"

#include "model/file_io.h"

namespace qelvar {

WeldIndex::WeldIndex(size_t expected) {
  const size_t slots = SlotsFor(expected);
  slots_.assign(slots, kEmpty);
  mask_ = slots - 1;
}

size_t WeldIndex::SlotsFor(size_t expected) {
  size_t slots = 1024;
  while (slots < expected * 2) slots *= 2;
  return slots;
}

uint32_t WeldIndex::Hash(const uint8_t key[12]) {
  uint64_t h = (uint64_t{GetU32(key)} | uint64_t{GetU32(key + 4)} << 32) * 0x9E3779B97F4A7C15ull;
  h ^= uint64_t{GetU32(key + 8)} * 0xC2B2AE3D27D4EB4Full;
  h ^= h >> 29;
  h *= 0xBF58476D1CE4E5B9ull;
  return static_cast<uint32_t>(h ^ (h >> 32));
}

int32_t WeldIndex::Find(const Vec3* vertices, const uint8_t key[12]) const {
  const uint32_t hash = Hash(key);
  for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
    const uint64_t slot = slots_[i];
    if (slot == kEmpty) return -1;
    const auto index = static_cast<int32_t>(static_cast<uint32_t>(slot));
    if (slot >> 32 == hash && std::memcmp(&vertices[index], key, 12) == 0) return index;
  }
}

int32_t WeldIndex::FindOrAdd(const Vec3* vertices, const uint8_t key[12], int32_t index) {
  if ((used_ + 1) * 2 > slots_.size()) Rehash(slots_.size() * 2);
  const uint32_t hash = Hash(key);
  size_t i = hash & mask_;
  for (;; i = (i + 1) & mask_) {
    const uint64_t slot = slots_[i];
    if (slot == kEmpty) break;
    const auto other = static_cast<int32_t>(static_cast<uint32_t>(slot));
    if (slot >> 32 == hash && std::memcmp(&vertices[other], key, 12) == 0) return other;
  }
  slots_[i] = Slot(hash, index);
  ++used_;
  return index;
}

void WeldIndex::Rehash(size_t slots) {
  Table<uint64_t> old(slots, kEmpty);
  old.swap(slots_);
  mask_ = slots - 1;
  for (const uint64_t slot : old) {
    if (slot == kEmpty) continue;
    size_t i = (slot >> 32) & mask_;
    while (slots_[i] != kEmpty) i = (i + 1) & mask_;
    slots_[i] = slot;
  }
}

}  // namespace qelvar
