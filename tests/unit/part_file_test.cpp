// Part files: the bytes of a saved selection, appending to a model, which
// blocks of model files are used, and refusal of damaged files.
#include "model/part_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/messages.h"
#include "file_test_util.h"
#include "model/model_file.h"

namespace qelvar {
namespace {

// The byte helpers and the temporary-directory fixture of file_test_util.h.
using namespace test;

class PartFile : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    InitModelStore(model_);
  }
  // The first triangle (0, 3, 2) selected, with colour 0x1234, saved as a part.
  Bytes SaveFirstTriangle() {
    model_.triangleFlags[0] = kSelectedBit | 4;
    model_.triangleColours[0] = 0x1234;
    EXPECT_EQ(SavePartFile(model_, Path("tri.qvp")), kMsgFileSaved);
    model_.triangleFlags[0] = 0;
    return ReadBytes(Path("tri.qvp"));
  }
  ModelStore model_;
};

TEST_F(PartFile, FirstTriangleSavesAs70Bytes) {
  const Bytes b = SaveFirstTriangle();
  ASSERT_EQ(b.size(), 70u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "QVFA");
  EXPECT_EQ(I32At(b, 4), 3);
  EXPECT_EQ(I32At(b, 8), 1);
  EXPECT_EQ(I32At(b, 12), 0);
  EXPECT_EQ(I32At(b, 16), 1);
  float f[9];
  std::memcpy(f, &b[20], 36);  // vertices 0, 2, 3 in that order
  EXPECT_EQ(f[0], -10.0f);
  EXPECT_EQ(f[3], 10.0f);
  EXPECT_EQ(f[4], 10.0f);
  EXPECT_EQ(f[6], -10.0f);
  EXPECT_EQ(I32At(b, 56), 0);
  EXPECT_EQ(I32At(b, 60), 2);
  EXPECT_EQ(I32At(b, 64), 1);
  EXPECT_EQ(U16At(b, 68), 0x1234);
}

TEST_F(PartFile, AHugeFileIsReadOnlyAsFarAsItsBlocks) {
  SaveFirstTriangle();
  test::ExtendSparse(Path("tri.qvp"));
  EXPECT_EQ(LoadPartFile(model_, Path("tri.qvp"), 3), kMsgFileLoaded);
  EXPECT_EQ(model_.triangleCount, 7);
  EXPECT_EQ(model_.triangleColours[6], 0x1234);
}

TEST_F(PartFile, SharedVerticesAreWrittenOnce) {
  for (int i : {2, 3, 4}) model_.triangleFlags[size_t(i)] = kSelectedBit;  // all use vertex 4
  ASSERT_EQ(SavePartFile(model_, Path("p")), kMsgFileSaved);
  const Bytes b = ReadBytes(Path("p"));
  // (0, 1, 4), (1, 2, 4), (2, 3, 4): nine corners over five vertices.
  ASSERT_EQ(b.size(), 20u + 5 * 12 + 3 * 12 + 3 * 2);
  EXPECT_EQ(I32At(b, 4), 5);
  EXPECT_EQ(I32At(b, 8), 3);
  EXPECT_EQ(I32At(b, 80 + 12 + 8), 4);  // corner 2 of (1, 2, 4)
}

TEST_F(PartFile, NothingSelectedWritesNoFile) {
  EXPECT_EQ(SavePartFile(model_, Path("none")), kMsgNothingSelected);
  EXPECT_FALSE(std::filesystem::exists(Path("none")));
  model_.triangleFlags[0] = kSelectedBit;
  EXPECT_EQ(SavePartFile(model_, Path("no/dir")), kMsgCantOpenFile);
}

TEST_F(PartFile, LoadingAppendsBehindTheModelInTheGivenGroup) {
  SaveFirstTriangle();
  model_.triangleFlags[1] = kSelectedBit | 2;
  model_.defaultColour = 0x0155;
  ASSERT_EQ(LoadPartFile(model_, Path("tri.qvp"), 17), kMsgFileLoaded);
  EXPECT_EQ(model_.vertexCount, 12);
  EXPECT_EQ(model_.triangleCount, 7);
  EXPECT_EQ(model_.lineCount, 4);
  EXPECT_EQ(std::memcmp(&model_.vertices[9], &model_.vertices[0], 12), 0);
  EXPECT_EQ(std::memcmp(&model_.vertices[10], &model_.vertices[2], 12), 0);
  EXPECT_EQ(std::memcmp(&model_.vertices[11], &model_.vertices[3], 12), 0);
  EXPECT_EQ(model_.triangles[6].corner[0], 9);
  EXPECT_EQ(model_.triangles[6].corner[1], 11);
  EXPECT_EQ(model_.triangles[6].corner[2], 10);
  EXPECT_EQ(model_.triangleFlags[6], 17);
  EXPECT_EQ(model_.triangleColours[6], 0x1234);
  EXPECT_EQ(model_.triangleFlags[1], kSelectedBit | 2);  // existing selection kept
}

TEST_F(PartFile, ModelFilesLoadAsPartsSkippingLinesAndUsingColoursOnlyInMode1) {
  model_.triangleColours[5] = 0x0ABC;
  ASSERT_EQ(SaveModelFile(model_, Path("m2.qv"), false), kMsgFileSaved);
  ASSERT_EQ(SaveModelFile(model_, Path("m1.qv"), true), kMsgFileSaved);
  ModelStore target;
  InitModelStore(target);
  target.defaultColour = 0x0007;
  ASSERT_EQ(LoadPartFile(target, Path("m2.qv"), 3), kMsgFileLoaded);
  EXPECT_EQ(target.vertexCount, 18);
  EXPECT_EQ(target.triangleCount, 12);
  EXPECT_EQ(target.lineCount, 4);                    // the file's lines never arrive
  EXPECT_EQ(target.triangles[11].corner[0], 3 + 9);  // (3, 0, 4) moved by 9
  EXPECT_EQ(target.triangleColours[11], 0x0007);
  ASSERT_EQ(LoadPartFile(target, Path("m1.qv"), 3), kMsgFileLoaded);
  EXPECT_EQ(target.triangleColours[17], 0x0ABC);
  EXPECT_EQ(target.triangles[17].corner[2], 4 + 18);
}

TEST_F(PartFile, QvneModelFilesSkipTheirFlagsBeforeTheColours) {
  Bytes b;
  AddText(b, "QVNE");
  b.push_back(0);
  for (int32_t v : {3, 1, 1, 1}) AddI32(b, v);
  b.resize(b.size() + 36, 0);                // vertices
  for (int32_t v : {2, 1, 0}) AddI32(b, v);  // triangle
  b.push_back(kSelectedBit | 5);             // flags
  test::AddU16(b, 0x4321);                   // colours
  for (int32_t v : {0, 1}) AddI32(b, v);     // line
  b.resize(b.size() + 1200, 0);
  WriteBytes(Path("ne.qv"), b);
  ASSERT_EQ(LoadPartFile(model_, Path("ne.qv"), 8), kMsgFileLoaded);
  EXPECT_EQ(model_.triangles[6].corner[0], 11);
  EXPECT_EQ(model_.triangleColours[6], 0x4321);
  EXPECT_EQ(model_.triangleFlags[6], 8);
}

// A refused part leaves the model exactly as it was.
class HostilePartFile : public PartFile {
 protected:
  void ExpectRefused(const Bytes& b, int message, const std::string& what) {
    WriteBytes(Path("bad"), b);
    ModelStore before = model_;
    EXPECT_EQ(LoadPartFile(model_, Path("bad"), 1), message) << what;
    EXPECT_EQ(model_.vertexCount, before.vertexCount) << what;
    EXPECT_EQ(model_.triangleCount, before.triangleCount) << what;
    EXPECT_EQ(model_.vertexCapacity, before.vertexCapacity) << what;
    EXPECT_EQ(std::memcmp(model_.triangleColours.data(), before.triangleColours.data(),
                          2 * model_.triangleColours.size()),
              0);
  }
};

TEST_F(HostilePartFile, WrongMagicMissingFileAndStlAreNotQvFiles) {
  ExpectRefused({}, kMsgNotQvFile, "empty");
  ExpectRefused(Bytes(134, ' '), kMsgNotQvFile, "STL-like");
  EXPECT_EQ(LoadPartFile(model_, Path("absent"), 0), kMsgCantOpenFile);
}

TEST_F(HostilePartFile, EveryPrefixAndBadCountOrIndexIsRefused) {
  const Bytes whole = SaveFirstTriangle();
  for (size_t n = 4; n < whole.size(); ++n)
    ExpectRefused(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(n)), kMsgInvalidFile,
                  "prefix " + std::to_string(n));
  for (int32_t bad : {-1, 3, INT32_MIN}) {
    Bytes b = whole;
    std::memcpy(&b[60], &bad, 4);
    ExpectRefused(b, kMsgInvalidFile, "index " + std::to_string(bad));
  }
  for (size_t field : {4u, 8u, 12u}) {
    for (int32_t bad : {-1, INT32_MAX, 357913942}) {
      Bytes b = whole;
      std::memcpy(&b[field], &bad, 4);
      ExpectRefused(b, kMsgInvalidFile, "count at " + std::to_string(field));
    }
  }
}

}  // namespace
}  // namespace qelvar
