// Table growth, appending and compaction of the model store.
#include "model/model_store.h"

#include <algorithm>
#include <climits>
#include <new>
#include <stdexcept>

namespace qelvar {
namespace {

// Enlarges every table of one kind to newCapacity + 1 slots, or none of them.
template <typename... Tables>
bool ResizeAll(int32_t newCapacity, Tables&... tables) {
  if (newCapacity < 0) return false;  // signed overflow of the count
  const size_t slots = static_cast<size_t>(newCapacity) + 1;
  try {
    (tables.reserve(slots), ...);
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  (tables.resize(slots), ...);
  return true;
}

bool ResizeVertices(ModelStore& s, int64_t capacity) {
  if (capacity > INT32_MAX - 1) return false;
  if (!ResizeAll(static_cast<int32_t>(capacity), s.vertices, s.vertexScratch)) return false;
  s.vertexCapacity = static_cast<int32_t>(capacity);
  return true;
}

bool ResizeTriangles(ModelStore& s, int64_t capacity) {
  if (capacity > INT32_MAX - 1) return false;
  const auto c = static_cast<int32_t>(capacity);
  std::vector<Vec3> normals;
  try {
    normals.assign(static_cast<size_t>(c) + 1, Vec3{0, 0, 0});
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!ResizeAll(c, s.triangles, s.triangleFlags, s.triangleColours)) return false;
  s.triangleNormals = std::move(normals);
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

}  // namespace

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
