// Model files: exact bytes written, round trips of both variants, colour modes,
// and refusal of damaged files without touching the model.
#include "model/model_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstring>
#include <vector>

#include "core/messages.h"
#include "core/option_flags.h"
#include "file_test_util.h"

namespace qelvar {
namespace {

// The byte helpers and the temporary-directory fixture of file_test_util.h.
using namespace test;

constexpr uint32_t kColoursBit = 1u << kOptModelColours;

// Everything of a store that a model file carries, compared byte for byte.
void ExpectSameModel(const ModelStore& a, const ModelStore& b) {
  ASSERT_EQ(a.vertexCount, b.vertexCount);
  ASSERT_EQ(a.triangleCount, b.triangleCount);
  ASSERT_EQ(a.lineCount, b.lineCount);
  EXPECT_EQ(0, std::memcmp(a.vertices.data(), b.vertices.data(), 12 * size_t(a.vertexCount)));
  EXPECT_EQ(0, std::memcmp(a.triangles.data(), b.triangles.data(), 12 * size_t(a.triangleCount)));
  EXPECT_EQ(0, std::memcmp(a.lines.data(), b.lines.data(), 8 * size_t(a.lineCount)));
  EXPECT_EQ(0,
            std::memcmp(a.triangleFlags.data(), b.triangleFlags.data(), size_t(a.triangleCount)));
  EXPECT_EQ(0, std::memcmp(a.triangleColours.data(), b.triangleColours.data(),
                           2 * size_t(a.triangleCount)));
  EXPECT_EQ(a.partNames, b.partNames);
}

class ModelFile : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    InitModelStore(model_);
  }
  int Load(const std::string& path) {
    return LoadModelFile(path, ModelFileTarget{model_, fileName_, options_}, nullptr);
  }
  // A model with every kind of content: odd floats, colours with bit 15, flags, names.
  void MakeRichModel(ModelStore& m) {
    InitModelStore(m);
    AppendVertex(m, Vec3{-0.0f, 1e-40f, 3.5f});
    AppendTriangle(m, Triangle{{9, 0, 4}}, kSelectedBit | 42, 0x8000 | 0x1234);
    m.triangleFlags[1] = 7;
    m.triangleColours[2] = 0x7FFF;
    AppendLine(m, Line{9, 1});
    std::memcpy(m.partNames[99].data(), "last group!!", 12);
  }

  ModelStore model_;
  std::string fileName_ = "default.qv";
  uint32_t options_ = kStartOptions;
};

TEST_F(ModelFile, StartupSceneSavesTo1450BytesInQvfaOrder) {
  ASSERT_EQ(SaveModelFile(model_, Path("default.qv"), false), kMsgFileSaved);
  const Bytes b = ReadBytes(Path("default.qv"));
  ASSERT_EQ(b.size(), 1450u);
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "QVFA");
  EXPECT_EQ(I32At(b, 4), 9);
  EXPECT_EQ(I32At(b, 8), 6);
  EXPECT_EQ(I32At(b, 12), 4);
  EXPECT_EQ(I32At(b, 16), 2);  // box unticked: colour block still written
  float x;
  std::memcpy(&x, &b[20], 4);
  EXPECT_EQ(x, -10.0f);
  EXPECT_EQ(I32At(b, 20 + 108), 5);           // first line (5, 6)
  EXPECT_EQ(I32At(b, 20 + 108 + 32 + 4), 3);  // first triangle (0, 3, 2)
  EXPECT_EQ(std::string(b.end() - 1200, b.end() - 1188), "default     ");
  EXPECT_EQ(b.back(), 0);
  EXPECT_EQ(test::CountFiles(dir_), 1u);  // no temporary left behind
}

TEST_F(ModelFile, TickedBoxWritesColourMode1AndLoadingTicksIt) {
  ASSERT_EQ(SaveModelFile(model_, Path("a.qv"), true), kMsgFileSaved);
  EXPECT_EQ(I32At(ReadBytes(Path("a.qv")), 16), 1);
  options_ = 0;
  ASSERT_EQ(Load(Path("a.qv")), kMsgFileLoaded);
  EXPECT_TRUE(options_ & kColoursBit);
  ASSERT_EQ(SaveModelFile(model_, Path("b.qv"), false), kMsgFileSaved);
  ASSERT_EQ(Load(Path("b.qv")), kMsgFileLoaded);
  EXPECT_FALSE(options_ & kColoursBit);
  EXPECT_EQ(options_, 0u);  // no other bit touched
}

TEST_F(ModelFile, RoundTripKeepsEveryTableSelectionAndName) {
  ModelStore rich;
  MakeRichModel(rich);
  ASSERT_EQ(SaveModelFile(rich, Path("rich.qv"), false), kMsgFileSaved);
  ClearModel(model_);
  ASSERT_EQ(Load(Path("rich.qv")), kMsgFileLoaded);
  ExpectSameModel(model_, rich);
  EXPECT_EQ(model_.triangleFlags[6], kSelectedBit | 42);
  EXPECT_EQ(model_.triangleColours[6], 0x9234);
  EXPECT_EQ(fileName_, Path("rich.qv"));
  EXPECT_TRUE(model_.normalsDirty);
}

// Builds a "QVNE" file holding the same content as a store.
Bytes QvneBytes(const ModelStore& m, int32_t colourMode) {
  Bytes b;
  AddText(b, "QVNE");
  b.push_back(0xEE);
  for (int32_t v : {m.vertexCount, m.triangleCount, m.lineCount, colourMode}) AddI32(b, v);
  auto add = [&b](const void* p, size_t n) {
    b.insert(b.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
  };
  add(m.vertices.data(), 12 * size_t(m.vertexCount));
  add(m.triangles.data(), 12 * size_t(m.triangleCount));
  add(m.triangleFlags.data(), size_t(m.triangleCount));
  if (colourMode != 0) add(m.triangleColours.data(), 2 * size_t(m.triangleCount));
  add(m.lines.data(), 8 * size_t(m.lineCount));
  for (const PartName& n : m.partNames) add(n.data(), 12);
  return b;
}

TEST_F(ModelFile, QvneLoadsToTheSameModelAsQvfa) {
  ModelStore rich;
  MakeRichModel(rich);
  WriteBytes(Path("rich.qvne"), QvneBytes(rich, 1));
  ASSERT_EQ(Load(Path("rich.qvne")), kMsgFileLoaded);
  ExpectSameModel(model_, rich);
  EXPECT_TRUE(options_ & kColoursBit);
}

TEST_F(ModelFile, ColourMode0GivesDefaultColourAndSavesAsMode2) {
  ModelStore rich;
  MakeRichModel(rich);
  WriteBytes(Path("plain.qvne"), QvneBytes(rich, 0));
  model_.defaultColour = ComposeColour(1, 2, 3);
  options_ |= kColoursBit;
  ASSERT_EQ(Load(Path("plain.qvne")), kMsgFileLoaded);
  EXPECT_FALSE(options_ & kColoursBit);
  for (int i = 0; i < model_.triangleCount; ++i)
    EXPECT_EQ(model_.triangleColours[size_t(i)], ComposeColour(1, 2, 3));
  ASSERT_EQ(SaveModelFile(model_, Path("again.qv"), false), kMsgFileSaved);
  const Bytes b = ReadBytes(Path("again.qv"));
  EXPECT_EQ(I32At(b, 16), 2);
  EXPECT_EQ(U16At(b, 20 + 12 * 10 + 8 * 5 + 12 * 7), ComposeColour(1, 2, 3));
}

TEST_F(ModelFile, OtherColourModesReadTheBlockAndLeaveTheBoxUnticked) {
  ModelStore rich;
  MakeRichModel(rich);
  for (int32_t mode : {2, 3, -5}) {
    WriteBytes(Path("m.qvne"), QvneBytes(rich, mode));
    options_ |= kColoursBit;
    ASSERT_EQ(Load(Path("m.qvne")), kMsgFileLoaded) << mode;
    EXPECT_FALSE(options_ & kColoursBit);
    EXPECT_EQ(model_.triangleColours[6], 0x9234);
  }
}

TEST_F(ModelFile, CountsAtCapacityLoadWithoutGrowing) {
  ModelStore big;
  InitModelStore(big);
  while (big.vertexCount < 8190) AppendVertex(big, Vec3{1, 2, float(big.vertexCount)});
  big.vertices[8190] = Vec3{5, 5, 5};
  big.vertexCount = 8191;  // count equal to capacity, as a loaded file may leave it
  ASSERT_EQ(big.vertexCapacity, 8191);
  ASSERT_EQ(SaveModelFile(big, Path("big.qv"), false), kMsgFileSaved);
  ASSERT_EQ(Load(Path("big.qv")), kMsgFileLoaded);
  EXPECT_EQ(model_.vertexCount, 8191);
  EXPECT_EQ(model_.vertexCapacity, 8191);
  EXPECT_EQ(model_.vertices[8190].z, 5.0f);
  AppendVertex(model_, Vec3{7, 7, 7});
  EXPECT_EQ(model_.vertexCapacity, 16383);
  EXPECT_EQ(model_.vertices[8191].x, 7.0f);
}

// A load replaces the tables: every table of a kind must come out with the
// same slot count, by the growth rule, and the slots past the counts empty.
TEST_F(ModelFile, LoadingALargerModelSizesEveryTableByTheGrowthRule) {
  ModelStore big;
  InitModelStore(big);
  for (int i = 0; i < 20000; ++i) AppendVertex(big, Vec3{float(i), 1, 2});
  for (int i = 0; i < 12000; ++i) AppendTriangle(big, Triangle{{i, i + 1, i + 2}}, 5, 0x1111);
  ASSERT_EQ(SaveModelFile(big, Path("bigger.qv"), false), kMsgFileSaved);
  ASSERT_TRUE(EnsureTriangleCapacity(model_, 20000));  // room enough: copied in
  ASSERT_EQ(Load(Path("bigger.qv")), kMsgFileLoaded);
  ExpectSameModel(big, model_);
  struct Kind {
    const char* name;
    int32_t capacity;
    std::vector<size_t> sizes;
  };
  const Kind kinds[] = {
      {"vertices", 20009 + 4096, {model_.vertices.size(), model_.vertexScratch.size()}},
      {"triangles",
       20000 + 4096,
       {model_.triangles.size(), model_.triangleNormals.size(), model_.triangleFlags.size(),
        model_.triangleColours.size()}},
      {"lines", 8191, {model_.lines.size()}},
  };
  const int32_t capacities[] = {model_.vertexCapacity, model_.triangleCapacity,
                                model_.lineCapacity};
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(capacities[k], kinds[k].capacity) << kinds[k].name;
    for (size_t size : kinds[k].sizes)
      EXPECT_EQ(size, size_t(kinds[k].capacity) + 1) << kinds[k].name;
  }
  EXPECT_EQ(model_.vertices[model_.vertexCapacity].x, 0.0f);
  EXPECT_TRUE(model_.normalsDirty);
}

TEST_F(ModelFile, PartFileOpensAsModelWithoutFlagsKeepingNames) {
  // QVFA cut after its colour block: one triangle over three vertices.
  Bytes b;
  AddText(b, "QVFA");
  for (int32_t v : {3, 1, 0, 1}) AddI32(b, v);
  for (float f : {1.f, 2.f, 3.f, 4.f, 5.f, 6.f, 7.f, 8.f, 9.f}) AddF32(b, f);
  for (int32_t v : {0, 2, 1}) AddI32(b, v);
  AddU16(b, 0x0421);
  ASSERT_EQ(b.size(), 70u);
  WriteBytes(Path("part.qv"), b);
  model_.triangleFlags[0] = kSelectedBit | 3;
  std::memcpy(model_.partNames[5].data(), "kept name   ", 12);
  ASSERT_EQ(Load(Path("part.qv")), kMsgFileLoaded);
  EXPECT_EQ(model_.vertexCount, 3);
  EXPECT_EQ(model_.triangleCount, 1);
  EXPECT_EQ(model_.lineCount, 0);
  EXPECT_EQ(model_.triangles[0].corner[1], 2);
  EXPECT_EQ(model_.triangleFlags[0], 0);
  EXPECT_EQ(model_.triangleColours[0], 0x0421);
  EXPECT_EQ(std::string(model_.partNames[5].data(), 12), "kept name   ");
  EXPECT_TRUE(options_ & kColoursBit);
}

TEST_F(ModelFile, MissingOrShortUnknownFilesAreRefused) {
  EXPECT_EQ(Load(Path("nothing-here.qv")), kMsgCantOpenFile);
  EXPECT_EQ(Load(dir_.string()), kMsgCantOpenFile);  // a directory
  ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
  EXPECT_EQ(Load(Path("pipe")), kMsgCantOpenFile);  // refused, not waited on
  WriteBytes(Path("empty"), {});
  EXPECT_EQ(Load(Path("empty")), kMsgInvalidFile);
  WriteBytes(Path("short"), Bytes(129, 'x'));
  EXPECT_EQ(Load(Path("short")), kMsgInvalidFile);
  ModelStore fresh;
  InitModelStore(fresh);
  ExpectSameModel(model_, fresh);
  EXPECT_EQ(fileName_, "default.qv");
}

// Damaged model files: every one is refused and leaves model, name and box alone.
class HostileModelFile : public ModelFile {
 protected:
  void ExpectRefused(const Bytes& b, const std::string& what) {
    WriteBytes(Path("bad.qv"), b);
    ModelStore before;
    MakeRichModel(before);
    MakeRichModel(model_);
    options_ = kStartOptions | kColoursBit;
    EXPECT_EQ(Load(Path("bad.qv")), kMsgInvalidFile) << what;
    ExpectSameModel(model_, before);
    EXPECT_EQ(model_.vertexCapacity, before.vertexCapacity) << what;
    EXPECT_EQ(fileName_, "default.qv") << what;
    EXPECT_EQ(options_, kStartOptions | kColoursBit) << what;
  }
  Bytes Saved(bool qvne) {
    ModelStore m;
    MakeRichModel(m);
    if (qvne) return QvneBytes(m, 1);
    EXPECT_EQ(SaveModelFile(m, Path("good.qv"), true), kMsgFileSaved);
    return ReadBytes(Path("good.qv"));
  }
  Bytes Header(int32_t v, int32_t t, int32_t l, int32_t mode, size_t tail) {
    Bytes b;
    AddText(b, "QVFA");
    for (int32_t x : {v, t, l, mode}) AddI32(b, x);
    b.resize(b.size() + tail, 0);
    return b;
  }
};

TEST_F(HostileModelFile, EveryPrefixIsRefusedButThePartFileCut) {
  for (bool qvne : {false, true}) {
    const Bytes whole = Saved(qvne);
    // QVFA: the part-file cut lies after 10 vertices, 5 lines, 7 triangles, 7 colours.
    const size_t partCut = 20 + 120 + 40 + 84 + 14;
    for (size_t n = 4; n < whole.size(); ++n) {
      if (!qvne && n == partCut) continue;
      ExpectRefused(Bytes(whole.begin(), whole.begin() + std::ptrdiff_t(n)),
                    (qvne ? "QVNE prefix " : "QVFA prefix ") + std::to_string(n));
    }
  }
}

TEST_F(HostileModelFile, NegativeHugeAndOverflowingCountsAreRefused) {
  ExpectRefused(Header(-1, 0, 0, 1, 1200), "negative vertices");
  ExpectRefused(Header(0, -1, 0, 1, 1200), "negative triangles");
  ExpectRefused(Header(0, 0, INT32_MIN, 1, 1200), "negative lines");
  ExpectRefused(Header(INT32_MAX, 0, 0, 1, 1200), "huge vertices");
  ExpectRefused(Header(0, INT32_MAX, 0, 2, 1200), "huge triangles");
  // 12 * 357913942 wraps a 32-bit size to 8: a 32-bit length check would pass.
  ExpectRefused(Header(357913942, 0, 0, 1, 8 + 1200), "vertex bytes overflow 32 bits");
  ExpectRefused(Header(0, 0, 536870913, 1, 8 + 1200), "line bytes overflow 32 bits");
  ExpectRefused(Header(0, 268435457, 0, 0, 1200), "triangle bytes overflow 32 bits");
}

TEST_F(HostileModelFile, IndicesOutsideTheVerticesAreRefused) {
  for (bool qvne : {false, true}) {
    const Bytes whole = Saved(qvne);
    ModelStore m;
    MakeRichModel(m);
    const size_t tris = qvne ? 21 + 120 : 20 + 120 + 40,
                 lines = qvne ? 21 + 120 + 84 + 7 + 14 : 20 + 120;
    for (int32_t bad : {-1, 10, INT32_MAX, INT32_MIN}) {
      Bytes b = whole;
      std::memcpy(&b[tris + 12 * 6 + 8], &bad, 4);  // corner 2 of the last triangle
      ExpectRefused(b, "triangle index " + std::to_string(bad));
      b = whole;
      std::memcpy(&b[lines + 8 * 4 + 4], &bad, 4);  // end b of the last line
      ExpectRefused(b, "line index " + std::to_string(bad));
    }
  }
}

TEST_F(HostileModelFile, LongerFilesLoadAndIgnoreTheTail) {
  Bytes b = Saved(false);
  b.push_back(1);
  WriteBytes(Path("tail.qv"), b);
  EXPECT_EQ(Load(Path("tail.qv")), kMsgFileLoaded);
}

TEST_F(HostileModelFile, AHugeFileIsReadOnlyAsFarAsItsBlocks) {
  WriteBytes(Path("huge.qv"), Saved(false));
  test::ExtendSparse(Path("huge.qv"));
  EXPECT_EQ(Load(Path("huge.qv")), kMsgFileLoaded);
  EXPECT_EQ(std::string(model_.partNames[99].data(), 12), "last group!!");
}

TEST_F(ModelFile, NamesUpToTheLongestTheSystemAllowsCanBeSaved) {
  const std::string longName(255, 'n');  // the usual limit of one path component
  ASSERT_EQ(SaveModelFile(model_, Path(longName), false), kMsgFileSaved);
  EXPECT_EQ(ReadBytes(Path(longName)).size(), 1450u);
  ASSERT_EQ(SaveModelFile(model_, Path(longName), true), kMsgFileSaved);
  EXPECT_EQ(I32At(ReadBytes(Path(longName)), 16), 1);
  EXPECT_EQ(test::CountFiles(dir_), 1u);
}

TEST_F(ModelFile, FailedSaveKeepsTheOldFile) {
  ASSERT_EQ(SaveModelFile(model_, Path("keep.qv"), false), kMsgFileSaved);
  const Bytes before = ReadBytes(Path("keep.qv"));
  EXPECT_EQ(SaveModelFile(model_, Path("no-such-dir/x.qv"), false), kMsgCantOpenFile);
  std::filesystem::create_directory(Path("adir"));
  EXPECT_EQ(SaveModelFile(model_, Path("adir"), false), kMsgCantOpenFile);
  EXPECT_TRUE(std::filesystem::is_directory(Path("adir")));
  ClearModel(model_);
  ASSERT_EQ(SaveModelFile(model_, Path("keep.qv"), false), kMsgFileSaved);
  EXPECT_EQ(ReadBytes(Path("keep.qv")).size(), 20u + 1200u);
  EXPECT_NE(ReadBytes(Path("keep.qv")), before);
  EXPECT_EQ(test::CountFiles(dir_), 1u);
}

// A save that reaches the file-size limit fails like any other write error:
// the process lives on, the old file stays, and no temporary is left. The
// limit applies to a child process only.
TEST_F(ModelFile, SaveBeyondTheFileSizeLimitFailsAndLeavesNoTemporary) {
  ModelStore small;
  InitModelStore(small);
  ClearModel(small);
  ASSERT_EQ(SaveModelFile(small, Path("keep.qv"), false), kMsgFileSaved);
  const Bytes before = ReadBytes(Path("keep.qv"));
  ASSERT_EQ(before.size(), 1220u);
  const pid_t child = fork();
  if (child == 0) {
    const rlimit limit{1300, 1300};
    setrlimit(RLIMIT_FSIZE, &limit);
    for (int i = 0; i < 30; ++i) AppendTriangle(model_, Triangle{{0, 1, 2}}, 0, 0);
    const int model = SaveModelFile(model_, Path("keep.qv"), false);
    const int stl = ExportStl(model_, Path("keep.qv"));  // 84 + 36 * 50 bytes
    _exit(model == kMsgCantOpenFile && stl == kMsgCantOpenFile ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << (WIFSIGNALED(status) ? "ended by signal " + std::to_string(WTERMSIG(status)) : "");
  EXPECT_EQ(ReadBytes(Path("keep.qv")), before);
  EXPECT_EQ(test::CountFiles(dir_), 1u);
}

}  // namespace
}  // namespace qelvar
