// Growth rules, appending and compaction of the model store.
#include "model/model_store.h"

#include <gtest/gtest.h>

#include <functional>

namespace qelvar {
namespace {

ModelStore FreshStore() {
  ModelStore s;
  InitModelStore(s);
  return s;
}

TEST(ModelStore, StartsWithSampleScene) {
  ModelStore s = FreshStore();
  EXPECT_EQ(s.vertexCount, 9);
  EXPECT_EQ(s.triangleCount, 6);
  EXPECT_EQ(s.lineCount, 4);
  EXPECT_EQ(s.vertexCapacity, 8191);
  EXPECT_EQ(s.vertices.size(), 8192u);
  EXPECT_EQ(s.triangles[0].corner[1], 3);
  EXPECT_EQ(s.vertices[4].z, 20.0f);
  EXPECT_TRUE(s.normalsDirty);
  EXPECT_EQ(std::string(s.partNames[0].data(), 12), "default     ");
  EXPECT_EQ(s.partNames[1][0], '\0');
}

TEST(ModelStore, AppendingTheLastSlotGrowsAtOnce) {
  ModelStore s = FreshStore();
  while (s.vertexCount < 8190) AppendVertex(s, Vec3{1, 2, 3});
  EXPECT_EQ(s.vertexCapacity, 8191);
  AppendVertex(s, Vec3{4, 5, 6});  // count becomes 8191 == capacity
  EXPECT_EQ(s.vertexCount, 8191);
  EXPECT_EQ(s.vertexCapacity, 16383);
  EXPECT_EQ(s.vertexScratch.size(), 16384u);
  EXPECT_EQ(s.vertices[0].x, -10.0f);
  EXPECT_EQ(s.vertices[8190].z, 6.0f);
}

TEST(ModelStore, CountEqualToCapacityAfterLoadAppendsIntoLastSlot) {
  ModelStore s = FreshStore();
  s.vertexCount = 8191;  // as a loader may leave it
  AppendVertex(s, Vec3{7, 8, 9});
  EXPECT_EQ(s.vertices[8191].x, 7.0f);
  EXPECT_EQ(s.vertexCapacity, 16383);
}

TEST(ModelStore, EnsureRules) {
  ModelStore s = FreshStore();
  s.triangleFlags[3] = 5;
  s.triangleColours[3] = 0x1234;
  s.normalsDirty = false;
  s.triangleNormals[0] = Vec3{1, 0, 0};
  EnsureVertexCapacity(s, 8191);  // strictly greater only
  EXPECT_EQ(s.vertexCapacity, 8191);
  EnsureTriangleCapacity(s, 10000);
  EXPECT_EQ(s.triangleCapacity, 14096);
  EXPECT_EQ(s.triangleFlags[3], 5);
  EXPECT_EQ(s.triangleColours[3], 0x1234);
  EXPECT_EQ(s.triangles[2].corner[2], 4);
  EXPECT_EQ(s.triangleNormals[0].x, 0.0f);
  EXPECT_EQ(s.triangleNormals.size(), 14097u);
  EXPECT_TRUE(s.normalsDirty);
  EnsureLineCapacity(s, 9000);
  EXPECT_EQ(s.lineCapacity, 10024);
}

// Appending one element at a time must not copy a table at every growth step:
// the capacity numbers keep their fixed steps, the storage beneath doubles.
TEST(ModelStore, AppendingManyElementsMovesEachTableRarely) {
  ModelStore s = FreshStore();
  constexpr int kAppends = 400000;  // about 49 growth steps of 8192 slots
  struct Watch {
    const char* table;
    std::function<const void*()> storage;
    std::function<void(int)> append;
    std::function<int32_t()> capacity;
  };
  const Watch watches[] = {
      {"vertices", [&] { return s.vertices.data(); },
       [&](int i) {
         AppendVertex(s, {float(i), 0, 0});
       },
       [&] { return s.vertexCapacity; }},
      {"triangles", [&] { return s.triangles.data(); },
       [&](int i) {
         AppendTriangle(s, {{i, i, i}}, 3, 7);
       },
       [&] { return s.triangleCapacity; }},
      {"lines", [&] { return s.lines.data(); },
       [&](int i) {
         AppendLine(s, {i, i});
       },
       [&] { return s.lineCapacity; }},
  };
  for (const Watch& w : watches) {
    int moves = 0;
    const void* last = w.storage();
    for (int i = 0; i < kAppends; ++i) {
      w.append(i);
      if (w.storage() != last) ++moves, last = w.storage();
    }
    EXPECT_LE(moves, 8) << w.table;
    EXPECT_EQ((w.capacity() + 1) % 8192, 0) << w.table;  // the visible steps stay
  }
  EXPECT_EQ(s.vertices[8].z, 30.0f);  // the sample scene survives the moves
  EXPECT_EQ(s.vertices[kAppends + 8].x, float(kAppends - 1));
  EXPECT_EQ(s.triangles[kAppends + 5].corner[1], kAppends - 1);
  EXPECT_EQ(s.triangleFlags[kAppends + 5], 3);
  EXPECT_EQ(s.triangleColours[kAppends + 5], 7);
  EXPECT_EQ(s.lines[kAppends + 3].b, kAppends - 1);
  EXPECT_EQ(s.triangleNormals.size(), s.triangleFlags.size());
  EXPECT_TRUE(s.normalsDirty);
}

TEST(ModelStore, ImpossibleGrowthKeepsCapacityMatchingTables) {
  ModelStore s = FreshStore();
  EXPECT_FALSE(EnsureVertexCapacity(s, INT32_MAX - 10));
  EXPECT_EQ(s.vertexCapacity, 8191);
  EXPECT_EQ(s.vertices.size(), 8192u);
  s.lineCapacity = INT32_MAX - 100;  // a growth step would overflow
  EXPECT_FALSE(GrowLines(s));
  EXPECT_EQ(s.lineCapacity, INT32_MAX - 100);
}

TEST(ModelStore, ClearModelKeepsCapacityNamesAndColours) {
  ModelStore s = FreshStore();
  EnsureTriangleCapacity(s, 10000);
  s.triangleFlags[0] = 128 | 4;
  s.triangleColours[0] = 0x7fff;
  s.normalsDirty = false;
  ClearModel(s);
  EXPECT_EQ(s.vertexCount + s.triangleCount + s.lineCount, 0);
  EXPECT_EQ(s.triangleCapacity, 14096);
  EXPECT_EQ(s.triangleFlags[0], 0);
  EXPECT_EQ(s.triangleColours[0], 0x7fff);
  EXPECT_EQ(s.partNames[0][0], 'd');
  EXPECT_TRUE(s.normalsDirty);
}

TEST(ModelStore, RemovingTrianglesKeepsOrderAttributesAndEveryFlagValue) {
  ModelStore s = FreshStore();
  for (int i = 0; i < 6; ++i) s.triangleColours[i] = static_cast<uint16_t>(100 + i);
  s.triangleFlags[2] = 127;  // a loaded file may hold it: it is a real triangle
  s.triangleFlags[5] = 128 | 3;
  RemoveTriangles(s, {0, 1, 0, 0, 1});  // entries past the vector are kept
  ASSERT_EQ(s.triangleCount, 4);
  EXPECT_EQ(s.triangleColours[1], 102);
  EXPECT_EQ(s.triangleFlags[1], 127);
  EXPECT_EQ(s.triangleColours[3], 105);
  EXPECT_EQ(s.triangleFlags[3], 128 | 3);
  EXPECT_EQ(s.triangles[3].corner[0], 3);
  EXPECT_EQ(s.vertexCount, 9);
}

TEST(ModelStore, RemovingVerticesRenumbersAndDropsWhatUsedThem) {
  ModelStore s;
  InitModelStore(s);
  ClearModel(s);
  for (int i = 0; i < 5; ++i) AppendVertex(s, {float(i), 0, 0});
  AppendTriangle(s, {{0, 1, 2}}, 0, 10);
  AppendTriangle(s, {{2, 3, 4}}, 5, 11);
  AppendTriangle(s, {{4, 0, 7}}, 6, 12);  // a corner outside the table goes too
  AppendLine(s, {1, 4});
  AppendLine(s, {3, 4});
  RemoveVertices(s, {0, 1});
  ASSERT_EQ(s.vertexCount, 4);
  EXPECT_EQ(s.vertices[1].x, 2.0f);
  ASSERT_EQ(s.triangleCount, 1);
  EXPECT_EQ(s.triangles[0].corner[0], 1);
  EXPECT_EQ(s.triangles[0].corner[2], 3);
  EXPECT_EQ(s.triangleColours[0], 11);
  ASSERT_EQ(s.lineCount, 1);
  EXPECT_EQ(s.lines[0].a, 2);
  EXPECT_EQ(s.lines[0].b, 3);
}

}  // namespace
}  // namespace qelvar
