// The one in-memory model: vertex, triangle and line tables in their file
// layouts, per-triangle attributes, part names, counts and capacities.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "platform/large_pages.h"

namespace qelvar {

struct Vec3 {
  float x, y, z;
};
struct Triangle {
  int32_t corner[3];
};
struct Line {
  int32_t a, b;
};
// Per-vertex working storage: the projection of the last frame (column and row
// offsets from the projection centre, camera depth), or marks between frames.
struct ScratchVertex {
  float column, row, depth;
};
static_assert(sizeof(Vec3) == 12 && sizeof(Triangle) == 12 && sizeof(Line) == 8);
static_assert(sizeof(ScratchVertex) == 12);

constexpr int kPartGroups = 100;
constexpr int kPartNameLength = 12;
constexpr uint8_t kSelectedBit = 128;
constexpr uint8_t kGroupMask = 127;
constexpr int32_t kStartCapacity = 8191;

using PartName = std::array<char, kPartNameLength>;

// Allocates table storage without clearing it: a file read fills the slots
// anyway. The store's own growth clears new slots itself. Big tables sit in
// huge pages.
template <typename T>
struct TableAllocator : std::allocator<T> {
  template <typename U>
  struct rebind {
    using other = TableAllocator<U>;
  };
  TableAllocator() = default;
  template <typename U>
  TableAllocator(const TableAllocator<U>&) noexcept {}
  T* allocate(size_t n) {
    if (n > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(AllocateTableMemory(n * sizeof(T)));
  }
  void deallocate(T* p, size_t n) noexcept { FreeTableMemory(p, n * sizeof(T)); }
  template <typename U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <typename U, typename... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};
template <typename T>
using Table = std::vector<T, TableAllocator<T>>;

struct ModelStore {
  // Each table has capacity + 1 slots; [0, count) is model data.
  Table<Vec3> vertices;
  Table<ScratchVertex> vertexScratch;
  Table<Triangle> triangles;
  Table<Vec3> triangleNormals;
  Table<uint8_t> triangleFlags;     // bit 7 selected, bits 0..6 group
  Table<uint16_t> triangleColours;  // 15-bit R5 G5 B5
  Table<Line> lines;

  int32_t vertexCount = 0, triangleCount = 0, lineCount = 0;
  int32_t vertexCapacity = -1, triangleCapacity = -1, lineCapacity = -1;
  bool normalsDirty = false;
  // Counts changes to what a save writes. Every writer through the helpers
  // below bumps it; code that writes the tables directly calls
  // MarkModelChanged. Compared with the count at the last load or save, it
  // tells whether the model holds unsaved work.
  uint64_t revision = 0;
  std::array<PartName, kPartGroups> partNames{};
  uint16_t defaultColour = 0;
};

inline void MarkModelChanged(ModelStore& store) { ++store.revision; }

// Sizes every table to 8192 slots and fills in the sample scene.
void InitModelStore(ModelStore& store);
void LoadSampleScene(ModelStore& store);

// Capacity operations. Each returns false when memory could not be had; the
// capacity then still matches the tables.
bool EnsureVertexCapacity(ModelStore& store, int32_t need);
bool EnsureTriangleCapacity(ModelStore& store, int32_t need);
bool EnsureLineCapacity(ModelStore& store, int32_t need);
bool GrowVertices(ModelStore& store);
bool GrowTriangles(ModelStore& store);
bool GrowLines(ModelStore& store);

// Tables read whole from a file to take the place of the model's: the first
// count elements of each are filled by the reader.
struct LoadedTables {
  int32_t vertexCount = 0, triangleCount = 0, lineCount = 0;
  Table<Vec3> vertices;
  Table<Triangle> triangles;
  Table<Line> lines;
  Table<uint16_t> colours;
  Table<uint8_t> flags;
};
// Sizes the loaded tables to their counts, with room for the capacities the
// ensure operations would give; their contents are left for the reader.
// False when memory is short.
bool PrepareLoadedTables(const ModelStore& store, LoadedTables& loaded);
// Puts the loaded tables in place of the model's with the capacities the
// ensure operations would give (slots past the counts zeroed) and takes over
// the counts. False, with the model unchanged, when memory is short.
bool AdoptLoadedTables(ModelStore& store, LoadedTables& loaded);

// Appending convention: store at count, count + 1, grow when count >= capacity.
bool AppendVertex(ModelStore& store, Vec3 v);
bool AppendTriangle(ModelStore& store, Triangle t, uint8_t flags, uint16_t colour);
bool AppendLine(ModelStore& store, Line l);

void ClearTriangleFlags(ModelStore& store);
// The number of triangles whose selected bit is set.
int32_t CountSelected(const ModelStore& store);
// " New": empties the model, keeping capacities, part names and colour words.
void ClearModel(ModelStore& store);
// Removes the triangles whose entry in `remove` is non-zero (entries past the
// vector count as zero), keeping the order of the rest; corners, normals, flag
// bytes and colours move together. The mark lives apart from the flag bytes,
// so any flag value a file holds survives.
void RemoveTriangles(ModelStore& store, const std::vector<uint8_t>& remove);

// Drops the vertices whose entry in `drop` is non-zero, keeping the order of
// the rest. Triangles and lines that use a dropped vertex are removed (order
// kept); the remaining corners and line ends are renumbered.
void RemoveVertices(ModelStore& store, const std::vector<uint8_t>& drop);

uint16_t ComposeColour(int red, int green, int blue);

}  // namespace qelvar
