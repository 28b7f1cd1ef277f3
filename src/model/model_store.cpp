// Table growth, appending and compaction of the model store.
#include "model/model_store.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <stdexcept>
#include <type_traits>

namespace qelvar {
namespace {

// Storage for at least `slots` slots. The capacity numbers grow by fixed
// steps, but the storage under them doubles, so that appending one element at
// a time costs amortised constant time instead of copying the whole table at
// every step. True when the table moved to storage that reads as zero past
// its elements.
template <typename Table>
bool ReserveGeometric(Table& table, size_t slots) {
  if (slots <= table.capacity()) return false;
  try {
    table.reserve(std::max(slots, 2 * table.capacity()));
  } catch (const std::bad_alloc&) {
    table.reserve(slots);  // doubling may not fit where the exact size still does
  }
  return TableMemoryComesZeroed(table.capacity() * sizeof(typename Table::value_type));
}

// Resizes within reserved storage; new slots are zero (already, in storage
// that came zeroed).
template <typename Table>
void ResizeCleared(Table& table, size_t slots, bool zeroed) {
  using T = typename Table::value_type;
  static_assert(std::is_trivially_copyable_v<T>, "table elements are plain bytes");
  const size_t old = table.size();
  table.resize(slots);
  if (slots > old && !zeroed)
    std::memset(static_cast<void*>(table.data() + old), 0, (slots - old) * sizeof(T));
}

// Enlarges every table of one kind to newCapacity + 1 slots, or none of them.
template <typename... Tables>
bool ResizeAll(int32_t newCapacity, Tables&... tables) {
  if (newCapacity < 0) return false;  // signed overflow of the count
  const size_t slots = static_cast<size_t>(newCapacity) + 1;
  bool zeroed[sizeof...(Tables)] = {};
  try {
    size_t k = 0;
    ((zeroed[k++] = ReserveGeometric(tables, slots)), ...);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  size_t k = 0;
  (ResizeCleared(tables, slots, zeroed[k++]), ...);
  return true;
}

bool ResizeVertices(ModelStore& s, int64_t capacity) {
  if (capacity > INT32_MAX - 1) return false;
  if (!ResizeAll(static_cast<int32_t>(capacity), s.vertices, s.vertexScratch)) return false;
  s.vertexCapacity = static_cast<int32_t>(capacity);
  return true;
}

// New normal slots come zeroed. The normals in use are zeroed too when they
// were valid; normals already marked dirty are recomputed before anything
// reads them, and zeroing them at every growth step of a long run of appends
// would make the run quadratic.
bool ResizeTriangles(ModelStore& s, int64_t capacity) {
  if (capacity > INT32_MAX - 1) return false;
  const auto c = static_cast<int32_t>(capacity);
  if (!ResizeAll(c, s.triangles, s.triangleFlags, s.triangleColours, s.triangleNormals)) {
    return false;
  }
  if (!s.normalsDirty) {
    const auto used = std::min(s.triangleNormals.size(), size_t(std::max(s.triangleCount, 0)));
    std::fill_n(s.triangleNormals.begin(), used, Vec3{0, 0, 0});
  }
  s.triangleCapacity = c;
  s.normalsDirty = true;
  return true;
}

bool ResizeLines(ModelStore& s, int64_t capacity) {
  if (capacity > INT32_MAX - 1) return false;
  if (!ResizeAll(static_cast<int32_t>(capacity), s.lines)) return false;
  s.lineCapacity = static_cast<int32_t>(capacity);
  return true;
}

// The capacity an ensure operation leaves for `need`; -1 when it overflows.
int32_t EnsuredCapacity(int32_t capacity, int32_t need, int32_t margin) {
  if (need <= capacity) return capacity;
  const int64_t grown = int64_t{need} + margin;
  return grown > INT32_MAX - 1 ? -1 : static_cast<int32_t>(grown);
}

struct LoadedCapacities {
  int32_t vertices, triangles, lines;
  bool valid() const { return vertices >= 0 && triangles >= 0 && lines >= 0; }
};

LoadedCapacities CapacitiesFor(const ModelStore& s, const LoadedTables& t) {
  return {EnsuredCapacity(s.vertexCapacity, t.vertexCount, 4096),
          EnsuredCapacity(s.triangleCapacity, t.triangleCount, 4096),
          EnsuredCapacity(s.lineCapacity, t.lineCount, 1024)};
}

// Slots a loaded table is read into: only its count when the model's table
// has room (it is then copied over), else the grown table it becomes.
size_t LoadedSlots(int32_t count, int32_t capacity, int32_t grown) {
  return count <= capacity ? size_t(count) : size_t(grown) + 1;
}

// A loaded table into the model's: copied when it fits, so that loading a
// small file costs no more than its size; else it takes the model's place,
// the slots past the count cleared.
template <typename T>
void Place(Table<T>& model, Table<T>& loaded, int32_t count, int32_t capacity, int32_t grown) {
  if (count <= capacity) {
    if (count > 0)
      std::memcpy(static_cast<void*>(model.data()), loaded.data(), sizeof(T) * size_t(count));
    return;
  }
  ResizeCleared(loaded, size_t(grown) + 1, false);
  model.swap(loaded);
}

// Room for the loaded tables as the store will hold them; throws when memory
// runs out.
void ReserveLoaded(const ModelStore& s, const LoadedCapacities& c, LoadedTables& t) {
  const size_t tri = LoadedSlots(t.triangleCount, s.triangleCapacity, c.triangles);
  t.vertices.reserve(LoadedSlots(t.vertexCount, s.vertexCapacity, c.vertices));
  t.triangles.reserve(tri), t.colours.reserve(tri), t.flags.reserve(tri);
  t.lines.reserve(LoadedSlots(t.lineCount, s.lineCapacity, c.lines));
}

}  // namespace

bool PrepareLoadedTables(const ModelStore& s, LoadedTables& t) {
  const LoadedCapacities c = CapacitiesFor(s, t);
  if (!c.valid() || t.vertexCount < 0 || t.triangleCount < 0 || t.lineCount < 0) return false;
  try {
    ReserveLoaded(s, c, t);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  t.vertices.resize(size_t(t.vertexCount));
  t.triangles.resize(size_t(t.triangleCount));
  t.colours.resize(size_t(t.triangleCount));
  t.flags.resize(size_t(t.triangleCount));
  t.lines.resize(size_t(t.lineCount));
  return true;
}

bool AdoptLoadedTables(ModelStore& s, LoadedTables& t) {
  const LoadedCapacities c = CapacitiesFor(s, t);
  if (!c.valid()) return false;
  bool zeroed[2] = {};
  try {  // the only allocations; after them nothing can fail
    zeroed[0] = ReserveGeometric(s.vertexScratch, size_t(c.vertices) + 1);
    zeroed[1] = ReserveGeometric(s.triangleNormals, size_t(c.triangles) + 1);
    ReserveLoaded(s, c, t);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  ResizeCleared(s.vertexScratch, size_t(c.vertices) + 1, zeroed[0]);
  ResizeCleared(s.triangleNormals, size_t(c.triangles) + 1, zeroed[1]);
  Place(s.vertices, t.vertices, t.vertexCount, s.vertexCapacity, c.vertices);
  Place(s.triangles, t.triangles, t.triangleCount, s.triangleCapacity, c.triangles);
  Place(s.triangleColours, t.colours, t.triangleCount, s.triangleCapacity, c.triangles);
  Place(s.triangleFlags, t.flags, t.triangleCount, s.triangleCapacity, c.triangles);
  Place(s.lines, t.lines, t.lineCount, s.lineCapacity, c.lines);
  s.vertexCapacity = c.vertices, s.triangleCapacity = c.triangles, s.lineCapacity = c.lines;
  s.vertexCount = t.vertexCount, s.triangleCount = t.triangleCount, s.lineCount = t.lineCount;
  s.normalsDirty = true;
  MarkModelChanged(s);
  return true;
}

bool EnsureVertexCapacity(ModelStore& s, int32_t need) {
  return need <= s.vertexCapacity || ResizeVertices(s, int64_t{need} + 4096);
}
bool EnsureTriangleCapacity(ModelStore& s, int32_t need) {
  return need <= s.triangleCapacity || ResizeTriangles(s, int64_t{need} + 4096);
}
bool EnsureLineCapacity(ModelStore& s, int32_t need) {
  return need <= s.lineCapacity || ResizeLines(s, int64_t{need} + 1024);
}
bool GrowVertices(ModelStore& s) { return ResizeVertices(s, int64_t{s.vertexCapacity} + 8192); }
bool GrowTriangles(ModelStore& s) { return ResizeTriangles(s, int64_t{s.triangleCapacity} + 8192); }
bool GrowLines(ModelStore& s) { return ResizeLines(s, int64_t{s.lineCapacity} + 8192); }

bool AppendVertex(ModelStore& s, Vec3 v) {
  if (s.vertexCount > s.vertexCapacity) return false;
  MarkModelChanged(s);
  s.vertices[s.vertexCount++] = v;
  return s.vertexCount < s.vertexCapacity || GrowVertices(s);
}

bool AppendTriangle(ModelStore& s, Triangle t, uint8_t flags, uint16_t colour) {
  if (s.triangleCount > s.triangleCapacity) return false;
  MarkModelChanged(s);
  s.triangles[s.triangleCount] = t;
  s.triangleFlags[s.triangleCount] = flags;
  s.triangleColours[s.triangleCount] = colour;
  ++s.triangleCount;
  return s.triangleCount < s.triangleCapacity || GrowTriangles(s);
}

bool AppendLine(ModelStore& s, Line l) {
  if (s.lineCount > s.lineCapacity) return false;
  MarkModelChanged(s);
  s.lines[s.lineCount++] = l;
  return s.lineCount < s.lineCapacity || GrowLines(s);
}

void InitModelStore(ModelStore& s) {
  s.vertexCapacity = s.triangleCapacity = s.lineCapacity = -1;
  ResizeVertices(s, kStartCapacity);
  ResizeTriangles(s, kStartCapacity);
  ResizeLines(s, kStartCapacity);
  s.partNames = {};
  constexpr char kDefaultName[] = "default     ";
  std::copy_n(kDefaultName, kPartNameLength, s.partNames[0].begin());
  LoadSampleScene(s);
}

void LoadSampleScene(ModelStore& s) {
  static constexpr Vec3 kVertices[] = {{-10, -10, 0}, {10, -10, 0}, {10, 10, 0},
                                       {-10, 10, 0},  {0, 0, 20},   {-20, -20, 30},
                                       {20, -20, 30}, {20, 20, 30}, {-20, 20, 30}};
  static constexpr Triangle kTriangles[] = {{{0, 3, 2}}, {{2, 1, 0}}, {{0, 1, 4}},
                                            {{1, 2, 4}}, {{2, 3, 4}}, {{3, 0, 4}}};
  static constexpr Line kLines[] = {{5, 6}, {6, 7}, {7, 8}, {8, 5}};
  s.vertexCount = s.triangleCount = s.lineCount = 0;
  for (const Vec3& v : kVertices) AppendVertex(s, v);
  for (const Triangle& t : kTriangles) AppendTriangle(s, t, 0, 0);
  for (const Line& l : kLines) AppendLine(s, l);
  s.normalsDirty = true;
}

void ClearTriangleFlags(ModelStore& s) {
  if (s.triangleCapacity > 0) std::fill_n(s.triangleFlags.begin(), s.triangleCapacity, uint8_t{0});
}

int32_t CountSelected(const ModelStore& s) {
  int32_t n = 0;
  for (int32_t i = 0; i < s.triangleCount; ++i) n += (s.triangleFlags[i] & kSelectedBit) ? 1 : 0;
  return n;
}

void ClearModel(ModelStore& s) {
  ClearTriangleFlags(s);
  s.lineCount = s.vertexCount = s.triangleCount = 0;
  s.normalsDirty = true;
  MarkModelChanged(s);
}

void RemoveTriangles(ModelStore& s, const std::vector<uint8_t>& remove) {
  const int32_t marked = int32_t(std::min<size_t>(remove.size(), size_t(s.triangleCount)));
  MarkModelChanged(s);
  int32_t kept = 0;
  for (int32_t i = 0; i < s.triangleCount; ++i) {
    if (i < marked && remove[size_t(i)] != 0) continue;
    if (kept != i) {
      s.triangles[kept] = s.triangles[i];
      s.triangleNormals[kept] = s.triangleNormals[i];
      s.triangleFlags[kept] = s.triangleFlags[i];
      s.triangleColours[kept] = s.triangleColours[i];
    }
    ++kept;
  }
  s.triangleCount = kept;
}

uint16_t ComposeColour(int red, int green, int blue) {
  return static_cast<uint16_t>(((red & 31) << 10) | ((green & 31) << 5) | (blue & 31));
}

void RemoveVertices(ModelStore& s, const std::vector<uint8_t>& drop) {
  const int32_t marked = int32_t(std::min<size_t>(drop.size(), size_t(s.vertexCount)));
  MarkModelChanged(s);
  std::vector<int32_t> newIndex(size_t(s.vertexCount));
  int32_t kept = 0;
  for (int32_t j = 0; j < s.vertexCount; ++j) {
    if (j < marked && drop[size_t(j)] != 0) {
      newIndex[size_t(j)] = -1;
      continue;
    }
    newIndex[size_t(j)] = kept;
    if (kept != j) s.vertices[size_t(kept)] = s.vertices[size_t(j)];
    ++kept;
  }
  // An index outside the old table maps to -1 as a dropped one does.
  const int32_t oldCount = s.vertexCount;
  auto renumber = [&](int32_t& v) {
    v = (v >= 0 && v < oldCount) ? newIndex[size_t(v)] : -1;
    return v >= 0;
  };
  s.vertexCount = kept;
  std::vector<uint8_t> removeTriangle(size_t(s.triangleCount), 0);
  for (int32_t i = 0; i < s.triangleCount; ++i) {
    Triangle& t = s.triangles[size_t(i)];
    const bool a = renumber(t.corner[0]), b = renumber(t.corner[1]), c = renumber(t.corner[2]);
    removeTriangle[size_t(i)] = !(a && b && c);
  }
  RemoveTriangles(s, removeTriangle);
  int32_t keptLines = 0;
  for (int32_t i = 0; i < s.lineCount; ++i) {
    Line l = s.lines[size_t(i)];
    const bool a = renumber(l.a), b = renumber(l.b);
    if (a && b) s.lines[size_t(keptLines++)] = l;
  }
  s.lineCount = keptLines;
}

}  // namespace qelvar
