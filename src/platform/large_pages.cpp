#include "platform/large_pages.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "platform/address_sanitizer.h"

namespace qelvar {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;

// The address sanitizer watches only memory from the allocator.
constexpr bool kMapLargeBlocks = !kAddressSanitizer;

bool Mapped(size_t bytes) { return kMapLargeBlocks && bytes >= kLargeBlockBytes; }
size_t RoundUp(size_t bytes) { return (bytes + kHugePage - 1) & ~(kHugePage - 1); }

}  // namespace

void* AllocateTableMemory(size_t bytes) {
  if (!Mapped(bytes)) return ::operator new(bytes);
  const size_t size = RoundUp(bytes);
  if (size < bytes || size > SIZE_MAX - kHugePage) throw std::bad_alloc();
  // Map a huge page more than needed and trim both ends to a 2 MiB boundary.
  void* raw =
      mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<uintptr_t>(raw);
  const uintptr_t aligned = (start + kHugePage - 1) & ~uintptr_t{kHugePage - 1};
  if (aligned > start) munmap(raw, aligned - start);
  const uintptr_t tail = start + size + kHugePage - (aligned + size);
  if (tail > 0) munmap(reinterpret_cast<void*>(aligned + size), tail);
  madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

bool TableMemoryComesZeroed(size_t bytes) { return Mapped(bytes); }

void FreeTableMemory(void* memory, size_t bytes) noexcept {
  if (!memory) return;
  if (!Mapped(bytes)) return ::operator delete(memory);
  munmap(memory, RoundUp(bytes));
}

}  // namespace qelvar
