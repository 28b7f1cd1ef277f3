// Small hand-written files in the shapes public mesh collections use, read
// through the program's import and checked against the counts the import
// library's own command-line tool ("assimp info") reports for them.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

#include "core/messages.h"
#include "core/option_flags.h"
#include "file_test_util.h"
#include "model/model_file.h"

namespace qelvar {
namespace {

using namespace test;

struct ToolCounts {
  int faces = -1, meshes = -1;
  std::set<std::string> meshNames;
  std::vector<int> meshVertices;
};

// Runs "assimp info" (which triangulates and joins identical vertices within
// each mesh) and reads its totals and its mesh list.
ToolCounts AssimpInfo(const std::string& path) {
  ToolCounts c;
  std::FILE* pipe = popen(("assimp info '" + path + "' 2>/dev/null").c_str(), "r");
  if (!pipe) return c;
  std::string text;
  char buffer[4096];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
  pclose(pipe);
  std::istringstream lines(text);
  std::string line;
  bool inMeshes = false;
  while (std::getline(lines, line)) {
    if (line.rfind("Faces:", 0) == 0) c.faces = std::atoi(line.c_str() + 6);
    if (line.rfind("Meshes:  (name)", 0) == 0) {
      inMeshes = true;
      c.meshes = 0;
      continue;
    }
    if (!inMeshes) continue;
    // "    0 (one): [4 / 0 / 2 | triangle]"
    const size_t open = line.find(" ("), close = line.find("): [");
    if (open == std::string::npos || close == std::string::npos) {
      inMeshes = false;
      continue;
    }
    ++c.meshes;
    c.meshNames.insert(line.substr(open + 2, close - open - 2));
    c.meshVertices.push_back(std::atoi(line.c_str() + close + 4));
  }
  return c;
}

bool ToolPresent() { return std::system("command -v assimp >/dev/null 2>&1") == 0; }

Bytes BinaryPlyWithVertexColours() {
  Bytes b;
  const std::string header =
      "ply\nformat binary_little_endian 1.0\ncomment made by hand\nelement vertex 4\n"
      "property float x\nproperty float y\nproperty float z\nproperty uchar red\n"
      "property uchar green\nproperty uchar blue\nproperty uchar alpha\nelement face 2\n"
      "property list uchar int vertex_indices\nend_header\n";
  b.insert(b.end(), header.begin(), header.end());
  const float points[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 1}};
  for (int v = 0; v < 4; ++v) {
    for (float f : points[v]) AddF32(b, f);
    b.insert(b.end(), {uint8_t(60 * v), 200, 10, 255});
  }
  b.push_back(4);  // one quad and one triangle
  for (int i : {0, 1, 2, 3}) AddI32(b, i);
  b.push_back(3);
  for (int i : {0, 3, 1}) AddI32(b, i);
  return b;
}

struct CorpusFile {
  const char* name;
  std::string text;
  // What the program makes of it: welded vertices, triangles, groups used.
  int32_t vertices, triangles;
  int groups;
  bool colours;
};

TEST(MeshCorpus, CountsAgreeWithTheImportLibrarysOwnTool) {
  if (!ToolPresent()) GTEST_SKIP() << "assimp (Debian assimp-utils) is not installed";
  const Bytes binaryPly = BinaryPlyWithVertexColours();
  const std::string cube =
      "# cube\nv -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\nv -1 -1 1\nv 1 -1 1\nv 1 1 1\n"
      "v -1 1 1\nvn 0 0 1\nf 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n";
  const CorpusFile files[] = {
      {"quads.obj", cube, 8, 12, 1, false},
      // A hexagon and a pentagon in three groups, slash forms, relative
      // indices, Windows line ends and no newline after the last line.
      {"ngons.obj",
       "o shapes\r\nv 0 0 0\r\nv 2 0 0\r\nv 3 1 0\r\nv 2 2 0\r\nv 0 2 0\r\nv -1 1 0\r\n"
       "vt 0 0\r\nvn 0 0 1\r\ng hexagon\r\nf 1/1/1 2/1/1 3/1/1 4/1/1 5/1/1 6/1/1\r\n"
       "g pentagon\r\nf -6 -5 -4 -3 -2\r\ng tri\r\nf 1//1 3//1 5//1",
       6, 8, 3, false},
      // Vertex colours after the coordinates.
      {"colours.obj", "v 0 0 0 1 0 0\nv 1 0 0 0 1 0\nv 1 1 0 0 0 1\nv 0 1 0 1 1 1\nf 1 2 3 4\n", 4,
       2, 1, true},
      {"colours.ply",
       "ply\nformat ascii 1.0\ncomment vertex colours\nelement vertex 5\nproperty float x\n"
       "property float y\nproperty float z\nproperty uchar red\nproperty uchar green\n"
       "property uchar blue\nelement face 3\nproperty list uchar int vertex_indices\n"
       "end_header\n0 0 0 255 0 0\n1 0 0 0 255 0\n1 1 0 0 0 255\n0 1 0 9 9 9\n0.5 0.5 1 1 2 3\n"
       "4 0 1 2 3\n3 0 1 4\n3 1 2 4\n",
       5, 4, 1, true},
      {"binary.ply", std::string(binaryPly.begin(), binaryPly.end()), 4, 3, 1, true},
  };
  for (const CorpusFile& f : files) {
    SCOPED_TRACE(f.name);
    const std::string dir = ::testing::TempDir();
    const std::string path = dir + "/qelvar_corpus_" + std::to_string(getpid()) + "_" + f.name;
    WriteBytes(path, Bytes(f.text.begin(), f.text.end()));
    ModelStore model;
    InitModelStore(model);
    std::string fileName = "old.qv";
    uint32_t options = 0;
    ASSERT_EQ(kMsgFileLoaded,
              LoadModelFile(path, ModelFileTarget{model, fileName, options}, nullptr));
    std::set<int> groups;
    for (int32_t t = 0; t < model.triangleCount; ++t) groups.insert(model.triangleFlags[size_t(t)]);
    EXPECT_EQ(f.vertices, model.vertexCount);
    EXPECT_EQ(f.triangles, model.triangleCount);
    EXPECT_EQ(f.groups, int(groups.size()));
    EXPECT_EQ(f.colours, (options & (1u << kOptModelColours)) != 0);

    const ToolCounts tool = AssimpInfo(path);
    std::remove(path.c_str());
    EXPECT_EQ(tool.faces, model.triangleCount);
    EXPECT_EQ(int(tool.meshNames.size()), int(groups.size()));
    // With one mesh the tool's joined vertices are the welded ones.
    if (tool.meshes == 1) {
      EXPECT_EQ(tool.meshVertices[0], model.vertexCount);
    }
  }
}

}  // namespace
}  // namespace qelvar
