// Memory for big tables in whole 2 MiB pages where the kernel offers them:
// filling a table of hundreds of megabytes then takes one page fault per
// 2 MiB instead of one per 4 KiB, which is most of a cold import's system time.
#pragma once

#include <cstddef>

namespace qelvar {

// Like ::operator new (throws std::bad_alloc); blocks of at least
// kLargeBlockBytes come from their own mapping, aligned and marked for huge
// pages. Memory from here is not cleared.
void* AllocateTableMemory(size_t bytes);
// `bytes` must be the size given to AllocateTableMemory.
void FreeTableMemory(void* memory, size_t bytes) noexcept;

constexpr size_t kLargeBlockBytes = size_t{4} << 20;

// True when a block of `bytes` from AllocateTableMemory comes from a fresh
// mapping, whose pages read as zero until written: clearing it again would
// only fault every page in ahead of its use.
bool TableMemoryComesZeroed(size_t bytes);

}  // namespace qelvar
