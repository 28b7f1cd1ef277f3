// OBJ and PLY export and the import library's formats: round trips of the
// start-up scene, small hand-written files, and hostile files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "core/messages.h"
#include "core/option_flags.h"
#include "file_test_util.h"
#include "model/file_browser.h"
#include "model/mesh_export.h"
#include "model/mesh_import.h"
#include "model/model_file.h"

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
  for (const std::string name : {"scene.obj", "scene.PLY"}) {
    SCOPED_TRACE(name);
    const ModelStore scene = Scene();
    ModelStore before = scene;
    ASSERT_EQ(kMsgFileSaved, ExportModel(scene, Path(name)));
    // Export only reads the model.
    EXPECT_EQ(0, std::memcmp(before.triangleFlags.data(), scene.triangleFlags.data(), 6));
    InitModelStore(model_);
    ASSERT_EQ(kMsgFileLoaded, Load(Path(name)));
    EXPECT_EQ(Path(name.substr(0, 5) + ".qv"), fileName_);
    if (name == "scene.obj") {
      EXPECT_NE(0u, options_ & kColoursBit);
      ExpectSameMesh(scene, model_);
      EXPECT_EQ(std::string("roof_part   "), std::string(model_.partNames[1].data(), 12));
    } else {
      // The library's PLY reader keeps the geometry only: per-face colour,
      // group and edge elements are not read back.
      EXPECT_EQ(scene.vertexCount, model_.vertexCount);
      EXPECT_EQ(scene.triangleCount, model_.triangleCount);
    }
  }
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
  // NaN coordinates are bytes like any other: imported, never a crash.
  EXPECT_EQ(kMsgFileLoaded, LoadText("nan.obj", "v nan 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"));
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
