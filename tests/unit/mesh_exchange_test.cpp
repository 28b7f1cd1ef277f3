// OBJ and PLY export and the import library's formats: round trips of the
// start-up scene, small hand-written files, and hostile files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "core/messages.h"
#include "core/option_flags.h"
#include "fake_platform.h"
#include "file_test_util.h"
#include "model/file_browser.h"
#include "model/mesh_export.h"
#include "model/mesh_import.h"
#include "model/model_file.h"
#include "model/stl_progress.h"

namespace qelvar {
namespace {

using namespace test;

constexpr uint32_t kColoursBit = 1u << kOptModelColours;

std::array<uint32_t, 3> Bits(const Vec3& v) {
  std::array<uint32_t, 3> b;
  std::memcpy(b.data(), &v, 12);
  return b;
}

// Same triangles corner by corner (through the vertex bytes, as vertex order
// may differ), same lines, groups and colours.
void ExpectSameMesh(const ModelStore& a, const ModelStore& b) {
  ASSERT_EQ(a.vertexCount, b.vertexCount);
  ASSERT_EQ(a.triangleCount, b.triangleCount);
  ASSERT_EQ(a.lineCount, b.lineCount);
  std::vector<std::array<uint32_t, 3>> va, vb;
  for (int32_t i = 0; i < a.vertexCount; ++i) va.push_back(Bits(a.vertices[size_t(i)]));
  for (int32_t i = 0; i < b.vertexCount; ++i) vb.push_back(Bits(b.vertices[size_t(i)]));
  std::sort(va.begin(), va.end());
  std::sort(vb.begin(), vb.end());
  EXPECT_EQ(va, vb);
  for (int32_t t = 0; t < a.triangleCount; ++t) {
    for (int c = 0; c < 3; ++c)
      EXPECT_EQ(Bits(a.vertices[size_t(a.triangles[size_t(t)].corner[c])]),
                Bits(b.vertices[size_t(b.triangles[size_t(t)].corner[c])]))
          << "triangle " << t << " corner " << c;
    EXPECT_EQ(a.triangleFlags[size_t(t)] & kGroupMask, b.triangleFlags[size_t(t)]) << t;
    EXPECT_EQ(a.triangleColours[size_t(t)] & 0x7FFF, b.triangleColours[size_t(t)]) << t;
  }
  for (int32_t l = 0; l < a.lineCount; ++l) {
    EXPECT_EQ(Bits(a.vertices[size_t(a.lines[size_t(l)].a)]),
              Bits(b.vertices[size_t(b.lines[size_t(l)].a)]));
    EXPECT_EQ(Bits(a.vertices[size_t(a.lines[size_t(l)].b)]),
              Bits(b.vertices[size_t(b.lines[size_t(l)].b)]));
  }
}

class MeshExchange : public TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    InitModelStore(model_);
  }
  int Load(const std::string& path) {
    return LoadModelFile(path, ModelFileTarget{model_, fileName_, options_}, nullptr);
  }
  int LoadText(const std::string& name, const std::string& text) {
    Bytes b;
    AddText(b, text);
    WriteBytes(Path(name), b);
    return Load(Path(name));
  }
  // The start-up scene with two named groups, colours, an odd coordinate and
  // a vertex nothing uses.
  static ModelStore Scene() {
    ModelStore m;
    InitModelStore(m);
    m.vertices[4] = Vec3{0.1f, -0.0f, 20.333333f};
    AppendVertex(m, Vec3{1e-30f, 3e9f, -123456.789f});
    for (int32_t t = 3; t < m.triangleCount; ++t) {
      m.triangleFlags[size_t(t)] = 1 | kSelectedBit;
      m.triangleColours[size_t(t)] = ComposeColour(31, 7, 0);
    }
    m.triangleColours[0] = m.triangleColours[1] = m.triangleColours[2] = ComposeColour(3, 0, 30);
    std::memcpy(m.partNames[1].data(), "roof part   ", 12);
    return m;
  }

  ModelStore model_;
  std::string fileName_ = "old.qv";
  uint32_t options_ = kStartOptions & ~kColoursBit;
};

TEST_F(MeshExchange, SceneRoundTripsThroughObjAndPly) {
  // Groups interleaved in triangle order, and two groups of one name.
  ModelStore scene = Scene();
  scene.triangleFlags[4] = 2;
  scene.triangleColours[4] = ComposeColour(0, 31, 9);
  scene.partNames[2] = scene.partNames[1];
  for (const std::string name : {"scene.obj", "scene.PLY"}) {
    SCOPED_TRACE(name);
    ModelStore before = scene;
    ASSERT_EQ(kMsgFileSaved, ExportModel(scene, Path(name)));
    // Export only reads the model.
    EXPECT_EQ(0, std::memcmp(before.triangleFlags.data(), scene.triangleFlags.data(), 6));
    InitModelStore(model_);
    options_ = 0;
    ASSERT_EQ(kMsgFileLoaded, Load(Path(name)));
    EXPECT_EQ(Path(name.substr(0, 5) + ".qv"), fileName_);
    EXPECT_NE(0u, options_ & kColoursBit);
    ExpectSameMesh(scene, model_);
  }
  // OBJ keeps the part names (made distinct); PLY has none.
  ASSERT_EQ(kMsgFileLoaded, Load(Path("scene.obj")));
  EXPECT_EQ(std::string("roof_part   "), std::string(model_.partNames[1].data(), 12));
  EXPECT_EQ(std::string("roof_part_2 "), std::string(model_.partNames[2].data(), 12));
}

struct PlyCase {
  const char* what;
  std::string format, faceProperties, faces, edges;
  int32_t lines;
  bool colours;
  uint8_t group;  // of the first triangle
};

// The extra walk over faces and edges: taken whole in ASCII and both binary
// byte orders, and dropped whole (geometry kept) when anything in it is odd.
TEST_F(MeshExchange, PlyFaceColoursGroupsAndEdgesAreTakenOnlyWhenSound) {
  const std::string props = "property uchar red\nproperty uchar green\nproperty uchar blue\n";
  const PlyCase cases[] = {
      {"all", "ascii", props + "property uchar group\n", "3 0 1 2 248 0 8 5\n", "2 3\n", 1, true,
       5},
      {"float colours", "ascii", "property float red\nproperty float green\nproperty float blue\n",
       "3 0 1 2 1.0 0 0.5\n", "", 0, true, 0},
      {"edge out of range", "ascii", props, "3 0 1 2 248 0 8\n", "2 4\n", 0, false, 0},
      {"no blue", "ascii", "property uchar red\nproperty uchar green\n", "3 0 1 2 1 2\n", "", 0,
       false, 0},
      {"group too large", "ascii", "property int group\n", "3 0 1 2 300\n", "0 3\n", 1, false, 99},
      {"little endian", "binary_little_endian", props + "property uchar group\n",
       std::string("\3\0\0\0\0\1\0\0\0\2\0\0\0\xf8\0\x08\x05", 17),
       std::string("\2\0\0\0\3\0\0\0", 8), 1, true, 5},
      {"big endian", "binary_big_endian", props + "property uchar group\n",
       std::string("\3\0\0\0\0\0\0\0\1\0\0\0\2\xf8\0\x08\x05", 17),
       std::string("\0\0\0\2\0\0\0\3", 8), 1, true, 5},
  };
  for (const PlyCase& c : cases) {
    SCOPED_TRACE(c.what);
    const bool ascii = c.format == "ascii";
    std::string text = "ply\nformat " + c.format + " 1.0\nelement vertex 4\n" +
                       "property float x\nproperty float y\nproperty float z\nelement face 1\n" +
                       "property list uchar int vertex_indices\n" + c.faceProperties +
                       "element edge " + (c.edges.empty() ? "0" : "1") +
                       "\nproperty int vertex1\nproperty int vertex2\nend_header\n";
    if (ascii) {
      text += "0 0 0\n1 0 0\n0 1 0\n5 5 5\n";
    } else {
      const float big[12] = {0, 0, 0, 1, 0, 0, 0, 1, 0, 5, 5, 5};
      for (float f : big) {
        char b[4];
        std::memcpy(b, &f, 4);
        if (c.format == "binary_big_endian") std::reverse(b, b + 4);
        text.append(b, 4);
      }
    }
    text += c.faces + c.edges;
    InitModelStore(model_);
    options_ = 0;
    ASSERT_EQ(kMsgFileLoaded, LoadText("x.ply", text));
    EXPECT_EQ(4, model_.vertexCount);
    ASSERT_EQ(1, model_.triangleCount);
    EXPECT_EQ(c.lines, model_.lineCount);
    EXPECT_EQ(c.colours, (options_ & kColoursBit) != 0);
    EXPECT_EQ(c.group, model_.triangleFlags[0]);
    if (c.colours && c.faces.size() == 17) {
      EXPECT_EQ(ComposeColour(31, 0, 1), model_.triangleColours[0]);
    }
    if (c.lines == 1) {
      EXPECT_EQ(5.0f, model_.vertices[size_t(model_.lines[0].b)].x);
    }
  }
}

// Reports every call and answers Escape from the `escapeAt`-th call on.
class ScriptedProgress : public ImportProgress {
 public:
  explicit ScriptedProgress(int escapeAt) : escapeAt_(escapeAt) {}
  bool Cancelled(int32_t, int32_t) override { return ++calls >= escapeAt_; }
  int calls = 0;

 private:
  int escapeAt_;
};

TEST_F(MeshExchange, EscapeDuringTheLibrarysReadLeavesTheModel) {
  // Points only: no triangle, so only the library's read reports progress.
  Bytes b;
  AddText(b, "v 0 0 0\nv 1 0 0\nv 0 1 0\np 1 2 3\n");
  WriteBytes(Path("p.obj"), b);
  ScriptedProgress quiet(1 << 30);
  ASSERT_EQ(kMsgFileLoaded,
            LoadModelFile(Path("p.obj"), ModelFileTarget{model_, fileName_, options_}, &quiet));
  EXPECT_LT(0, quiet.calls);
  InitModelStore(model_);
  fileName_ = "old.qv";
  for (int at = 1; at <= quiet.calls; ++at) {
    ScriptedProgress escape(at);
    EXPECT_EQ(kMsgCanceled,
              LoadModelFile(Path("p.obj"), ModelFileTarget{model_, fileName_, options_}, &escape));
    EXPECT_EQ(9, model_.vertexCount);
    EXPECT_EQ("old.qv", fileName_);
  }
  // The same through the status-line progress and the platform's key queue.
  FakePlatform platform;
  platform.keys = {"\x1b"};
  ScreenImportProgress screen(platform, 0x80C080, 0);
  EXPECT_EQ(kMsgCanceled,
            LoadModelFile(Path("p.obj"), ModelFileTarget{model_, fileName_, options_}, &screen));
  EXPECT_EQ(9, model_.vertexCount);
  EXPECT_TRUE(platform.keys.empty());
}

TEST_F(MeshExchange, PlyHeaderAndFaceRecords) {
  const ModelStore scene = Scene();
  ASSERT_EQ(kMsgFileSaved, ExportPly(scene, Path("s.ply")));
  const Bytes b = ReadBytes(Path("s.ply"));
  const std::string text(b.begin(), b.end());
  const size_t end = text.find("end_header\n") + 11;
  EXPECT_NE(std::string::npos, text.find("element vertex 10\n"));
  EXPECT_NE(std::string::npos, text.find("element face 6\n"));
  EXPECT_NE(std::string::npos, text.find("element edge 4\n"));
  const size_t faces = end + 12 * 10;
  ASSERT_EQ(faces + 17 * 6 + 8 * 4, b.size());
  // Face 3: corners 1 2 4, colour (31, 7, 0) times 8, group 1 without the selection bit.
  const size_t f3 = faces + 17 * 3;
  EXPECT_EQ(3, b[f3]);
  EXPECT_EQ(1, I32At(b, f3 + 1));
  EXPECT_EQ(4, I32At(b, f3 + 9));
  EXPECT_EQ((Bytes{248, 56, 0, 1}), Bytes(b.begin() + long(f3) + 13, b.begin() + long(f3) + 17));
  EXPECT_EQ(8, I32At(b, faces + 17 * 6 + 3 * 8));  // last edge 8 -> 5
}

TEST_F(MeshExchange, FloatTextReadsBackExactly) {
  std::mt19937 random(7);
  std::uniform_int_distribution<uint32_t> bits;
  std::string obj;
  std::vector<float> values = {0.1f, -0.0f, 1.0f / 3, 16777215.5f, 0x1p-20f, 123456.789f};
  while (values.size() < 3000) {
    const uint32_t u = bits(random);
    float f;
    std::memcpy(&f, &u, 4);
    const float a = std::fabs(f);
    if (a >= 0x1p-20f && a < 0x1p63f) values.push_back(f);
  }
  for (size_t i = 0; i + 2 < values.size(); i += 3)
    obj += "v " + ExactFloatText(values[i]) + " " + ExactFloatText(values[i + 1]) + " " +
           ExactFloatText(values[i + 2]) + "\n";
  for (size_t i = 1; i <= values.size() / 3; ++i) obj += "p " + std::to_string(i) + "\n";
  ASSERT_EQ(kMsgFileLoaded, LoadText("f.obj", obj));
  ASSERT_EQ(int32_t(values.size() / 3), model_.vertexCount);
  for (int32_t v = 0; v < model_.vertexCount; ++v)
    EXPECT_EQ(0, std::memcmp(&model_.vertices[size_t(v)], &values[3 * size_t(v)], 12))
        << ExactFloatText(values[3 * size_t(v)]);
}

struct SmallFile {
  const char* name;
  const char* text;
  int32_t vertices, triangles, lines;
  int groups;  // part groups used
  bool colours;
};

TEST_F(MeshExchange, SmallFilesImportWithWeldingGroupsAndColours) {
  const SmallFile files[] = {
      // A quad and a pentagon in two groups, no final newline.
      {"a.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 2 2 0\ng one\nf 1 2 3 4\ng two\nf 1 2 3 4 5",
       5, 5, 0, 2, false},
      // Vertex colours; a repeated coordinate welds into one vertex; a line.
      {"b.obj", "v 0 0 0 1 0 0\nv 1 0 0 1 0 0\nv 0 1 0 1 0 0\nv 0 0 0 1 0 0\nf 1 2 3\nl 4 2\n", 3,
       1, 1, 1, true},
      {"c.off", "OFF\n4 2 0\n0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n3 0 2 3\n", 4, 3, 0, 1, false},
      {"d.PLY",
       "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\n"
       "property float z\nelement face 1\nproperty list uchar int vertex_indices\nend_header\n"
       "0 0 0\n1 0 0\n1 1 0\n0 1 0\n4 0 1 2 3\n",
       4, 2, 0, 1, false},
  };
  for (const SmallFile& f : files) {
    SCOPED_TRACE(f.name);
    InitModelStore(model_);
    options_ = 0;
    ASSERT_EQ(kMsgFileLoaded, LoadText(f.name, f.text));
    EXPECT_EQ(f.vertices, model_.vertexCount);
    EXPECT_EQ(f.triangles, model_.triangleCount);
    EXPECT_EQ(f.lines, model_.lineCount);
    int groups = 0;
    for (int32_t t = 0; t < model_.triangleCount; ++t)
      groups = std::max(groups, model_.triangleFlags[size_t(t)] + 1);
    EXPECT_EQ(f.groups, groups);
    EXPECT_EQ(f.colours, (options_ & kColoursBit) != 0);
    for (int32_t t = 0; t < model_.triangleCount; ++t)
      for (int32_t c : model_.triangles[size_t(t)].corner) EXPECT_LT(c, model_.vertexCount);
    if (std::string(f.name) == "a.obj") {
      EXPECT_EQ(std::string("two         "), std::string(model_.partNames[1].data(), 12));
    }
  }
  // More names than groups: the last group is shared and keeps its own name;
  // a name seen again goes back to its group.
  std::string many = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
  for (int g = 0; g < kPartGroups + 2; ++g) many += "g n" + std::to_string(g) + "\nf 1 2 3\n";
  many += "g n1\nf 1 2 3\n";
  ASSERT_EQ(kMsgFileLoaded, LoadText("many.obj", many));
  ASSERT_EQ(kPartGroups + 3, model_.triangleCount);
  EXPECT_EQ(kPartGroups - 1, model_.triangleFlags[size_t(kPartGroups + 1)]);
  EXPECT_EQ(1, model_.triangleFlags[size_t(kPartGroups + 2)]);
  EXPECT_EQ(std::string("n99         "), std::string(model_.partNames[99].data(), 12));
}

TEST_F(MeshExchange, HostileFilesAreRefusedWithoutTouchingTheModel) {
  const std::pair<const char*, const char*> files[] = {
      {"trunc.ply",
       "ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty float x\nproperty float "
       "y\n"
       "property float z\nelement face 1\nproperty list uchar int "
       "vertex_indices\nend_header\n\1\2"},
      {"huge.ply",
       "ply\nformat binary_little_endian 1.0\nelement vertex 2000000000\nproperty float x\n"
       "property float y\nproperty float z\nelement face 2000000000\nproperty list uchar int "
       "vertex_indices\nend_header\n"},
      {"range.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 99\n"},
      {"negative.off", "OFF\n3 1 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 -7\n"},
      {"empty.obj", ""},
      {"words.gltf", "{ \"asset\": { \"version\": \"2.0\" }, \"meshes\": [ {"},
      // The library reads anything that starts like PLY as PLY, whatever its name:
      // a header cut short made its reader wait for bytes forever.
      {"cut_header.gltf", "ply\nformat binary_\1ply\nformat "},
      {"bare_property.ply",
       "ply\nformat ascii 1.0\nelement vertex 1\nproperty\nend_header\n0 0 0\n"},
      {"trunc_upper.obj",
       "PLY\nformat binary_little_endian 1.0\nelement vertex 3\nproperty float x\n"
       "property float y\nproperty float z\nend_header\n\1\2"},
  };
  for (const auto& [name, text] : files) {
    SCOPED_TRACE(name);
    InitModelStore(model_);
    const int message = LoadText(name, text);
    EXPECT_TRUE(message == kMsgInvalidFile || message == kMsgFileLoaded) << message;
    if (message == kMsgInvalidFile) {
      ModelStore start;
      InitModelStore(start);
      EXPECT_EQ(start.vertexCount, model_.vertexCount);
      EXPECT_EQ(start.triangleCount, model_.triangleCount);
      EXPECT_EQ(0, std::memcmp(start.vertices.data(), model_.vertices.data(), 12 * 9));
    }
    for (int32_t t = 0; t < model_.triangleCount; ++t)
      for (int32_t c : model_.triangles[size_t(t)].corner) EXPECT_LT(c, model_.vertexCount);
  }
  // Whole binary PLY files with a face of no corners, and cut inside a list.
  const std::string head =
      "ply\nformat binary_little_endian 1.0\nelement vertex 3\nproperty float x\n"
      "property float y\nproperty float z\nelement face 1\n"
      "property list uchar int vertex_indices\nend_header\n";
  Bytes noCorners, cut;
  AddText(noCorners, head);
  noCorners.resize(noCorners.size() + 36 + 1, 0);
  AddText(cut, head);
  cut.resize(cut.size() + 36, 0);
  cut.insert(cut.end(), {3, 0, 0, 0, 0, 1});
  WriteBytes(Path("zero.ply"), noCorners);
  WriteBytes(Path("cut.ply"), cut);
  EXPECT_EQ(kMsgFileLoaded, Load(Path("zero.ply")));
  EXPECT_EQ(0, model_.triangleCount);
  EXPECT_EQ(kMsgInvalidFile, Load(Path("cut.ply")));
  EXPECT_EQ(1, model_.vertexCount) << "the previous file's model (three welded zeros) is kept";
  // A header with unknown keywords and vertices without coordinates, as the
  // fuzzer made it: the library's reader crashed on it.
  const char garbled[] =
      "ply\nformat binary_little_endian 0.\001ply\nform0\nelemenat binary_litt vert"
      "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxle_endian 1.0\n"
      "element vertex 9\npropertefacend_header\n\000\000 \301\000\000 \301\000\000\000\000\000"
      "\000 A\000\000 \301\000\000\000\000\000t";
  WriteBytes(Path("garbled.ply"), Bytes(garbled, garbled + sizeof garbled - 1));
  EXPECT_EQ(kMsgInvalidFile, Load(Path("garbled.ply")));
  // NaN coordinates are bytes like any other: imported, never a crash.
  EXPECT_EQ(kMsgFileLoaded, LoadText("nan.obj", "v nan 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"));
}

// Face records are checked for length through a window of the file: lists
// that cross its edge, bodies cut by one byte, counts that are negative.
TEST_F(MeshExchange, BinaryPlyFaceListsAreWalkedWholeAcrossTheReadWindow) {
  constexpr int kFaces = 90000;  // 13 bytes each: past a one-megabyte window
  struct Case {
    const char* name;
    bool big;
    const char* countType;
    int countBytes;
    size_t cut;
    uint32_t lastCount;
    int message;
  } cases[] = {
      {"whole", false, "uchar", 1, 0, 3, kMsgFileLoaded},
      {"whole big-endian int counts", true, "int", 4, 0, 3, kMsgFileLoaded},
      {"cut by one byte", false, "uchar", 1, 1, 3, kMsgInvalidFile},
      {"cut, ushort counts", true, "ushort", 2, 1, 3, kMsgInvalidFile},
      // -1 as a short, with as many items behind it as 65535 would need.
      {"negative last count", false, "short", 2, 0, 0xFFFFu, kMsgInvalidFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes b;
    AddText(b, std::string("ply\nformat ") + (c.big ? "binary_big_endian" : "binary_little_endian") +
                   " 1.0\nelement vertex 3\nproperty float x\nproperty float y\nproperty float "
                   "z\nelement face " +
                   std::to_string(kFaces) + "\nproperty list " + c.countType +
                   " int vertex_indices\nend_header\n");
    const auto put = [&](uint32_t v, int bytes) {
      for (int k = 0; k < bytes; ++k) {
        const int shift = 8 * (c.big ? bytes - 1 - k : k);
        b.push_back(uint8_t(v >> shift));
      }
    };
    const float corners[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    for (float f : corners) {
      uint32_t bits;
      std::memcpy(&bits, &f, 4);
      put(bits, 4);
    }
    for (int f = 0; f < kFaces; ++f) {
      put(f + 1 == kFaces ? c.lastCount : 3, c.countBytes);
      for (uint32_t v = 0; v < (f + 1 == kFaces ? c.lastCount : 3u); ++v) put(v % 3, 4);
    }
    b.resize(b.size() - c.cut);
    WriteBytes(Path("window.ply"), b);
    InitModelStore(model_);
    EXPECT_EQ(c.message, Load(Path("window.ply")));
    if (c.message == kMsgFileLoaded) {
      EXPECT_EQ(kFaces, model_.triangleCount);
    }
  }
}

TEST_F(MeshExchange, ExtensionsDecideTheFormat) {
  EXPECT_TRUE(HasMeshExtension("a.OBJ"));
  for (const char* ext : {".obj", ".ply", ".off", ".gltf", ".glb", ".3mf", ".3ds", ".dae", ".fbx"})
    EXPECT_TRUE(HasMeshExtension(std::string("x") + ext)) << ext;
  EXPECT_FALSE(HasMeshExtension("a.stl"));
  EXPECT_FALSE(HasMeshExtension("a.qv"));
  EXPECT_EQ(MaterialPath("dir.v2/scene.obj"), "dir.v2/scene.mtl");
  EXPECT_EQ(MaterialPath("dir.v2/scene"), "dir.v2/scene.mtl");
  // Any other name is binary STL: 84 + 50 bytes per triangle.
  ASSERT_EQ(kMsgFileSaved, ExportModel(model_, Path("plain.obj.stl")));
  EXPECT_EQ(84u + 50u * 6u, ReadBytes(Path("plain.obj.stl")).size());
  // A text STL named .obj is still STL.
  EXPECT_EQ(kMsgNone,
            LoadText("t.obj",
                     "solid t\nfacet normal 0 0 1\nouter loop\nvertex 0 0 0\nvertex 1 0 0\n"
                     "vertex 0 1 0\nendloop\nendfacet\nendsolid t\n"));
  EXPECT_EQ(1, model_.triangleCount);
  // The file list shows them.
  WriteBytes(Path("m.Gltf"), Bytes{1});
  WriteBytes(Path("n.txt"), Bytes{1});
  const auto entries = ListDirectory(dir_.string(), false);
  bool gltf = false, txt = false;
  for (const auto& e : entries) {
    gltf |= e.name == "m.Gltf";
    txt |= e.name == "n.txt";
  }
  EXPECT_TRUE(gltf);
  EXPECT_FALSE(txt);
}

}  // namespace
}  // namespace qelvar
