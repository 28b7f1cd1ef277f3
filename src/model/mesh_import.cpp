// The one file that uses the import library: the scene it reads is turned
// into the model's tables here and nowhere else.
#include "model/mesh_import.h"

#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>

#include "core/messages.h"
#include "model/weld_index.h"

namespace qelvar {
namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// Sums over the meshes, checked against the table limits before anything is built.
struct SceneCounts {
  uint64_t vertices = 0, triangles = 0, lines = 0;
};

SceneCounts CountScene(const aiScene& scene) {
  SceneCounts n;
  for (unsigned k = 0; k < scene.mNumMeshes; ++k) {
    const aiMesh* mesh = scene.mMeshes[k];
    if (!mesh) continue;
    n.vertices += mesh->mNumVertices;
    for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
      const unsigned corners = mesh->mFaces[f].mNumIndices;
      if (corners == 2) ++n.lines;
      if (corners >= 3) n.triangles += corners - 2;
    }
  }
  return n;
}

constexpr uint64_t kTableLimit = INT32_MAX - 8192;

uint16_t ColourWord(float r, float g, float b) {
  auto channel = [](float c) {
    const float scaled = std::nearbyint(c * 255.0f);
    return !(scaled > 0) ? 0 : scaled >= 255 ? 31 : int(scaled) >> 3;
  };
  return ComposeColour(channel(r), channel(g), channel(b));
}

// The diffuse colour of a named material the file gave (not the library's stand-in).
bool MaterialColour(const aiScene& scene, const aiMesh& mesh, uint16_t& colour) {
  if (mesh.mMaterialIndex >= scene.mNumMaterials) return false;
  const aiMaterial* material = scene.mMaterials[mesh.mMaterialIndex];
  // Readers without materials (OFF, PLY) put in an unnamed white one.
  aiString name;
  if (material->Get(AI_MATKEY_NAME, name) != AI_SUCCESS || name.length == 0 ||
      std::strcmp(name.C_Str(), AI_DEFAULT_MATERIAL_NAME) == 0)
    return false;
  aiColor4D c;
  if (aiGetMaterialColor(material, AI_MATKEY_COLOR_DIFFUSE, &c) != AI_SUCCESS) return false;
  colour = ColourWord(c.r, c.g, c.b);
  return true;
}

void SetPartName(ModelStore& m, int group, const aiString& name) {
  if (name.length == 0) return;
  PartName& part = m.partNames[size_t(group)];
  part.fill(' ');
  std::copy_n(name.C_Str(), std::min<size_t>(name.length, kPartNameLength), part.begin());
}

class SceneConverter {
 public:
  SceneConverter(const aiScene& scene, ModelStore& m, ImportProgress* progress, int32_t triangles)
      : scene_(scene), m_(m), progress_(progress), total_(triangles), index_(size_t(triangles)) {}

  int Run() {
    for (unsigned k = 0; k < scene_.mNumMeshes; ++k) {
      if (!scene_.mMeshes[k]) continue;
      const int group = int(std::min<unsigned>(k, kPartGroups - 1));
      if (k < kPartGroups) SetPartName(m_, group, scene_.mMeshes[k]->mName);
      const int message = Mesh(*scene_.mMeshes[k], uint8_t(group));
      if (message != kMsgNone) return message;
    }
    return kMsgFileLoaded;
  }
  bool hasColours() const { return hasColours_; }

 private:
  int Mesh(const aiMesh& mesh, uint8_t group) {
    corners_.resize(mesh.mNumVertices);
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) corners_[v] = Weld(mesh.mVertices[v]);
    uint16_t colour = m_.defaultColour;
    if (MaterialColour(scene_, mesh, colour)) hasColours_ = true;
    const aiColor4D* vertexColours = mesh.mColors[0];
    if (vertexColours) hasColours_ = true;
    for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
      const aiFace& face = mesh.mFaces[f];
      if (!face.mIndices && face.mNumIndices > 0) return kMsgInvalidFile;
      for (unsigned i = 0; i < face.mNumIndices; ++i)
        if (face.mIndices[i] >= mesh.mNumVertices) return kMsgInvalidFile;
      if (face.mNumIndices == 2) {
        AppendLine(m_, Line{corners_[face.mIndices[0]], corners_[face.mIndices[1]]});
        continue;
      }
      // Whatever the library left untriangulated is split as a fan.
      for (unsigned i = 2; i < face.mNumIndices; ++i) {
        if (m_.triangleCount % kStlProgressStep == 0 && progress_ &&
            progress_->Cancelled(m_.triangleCount, total_))
          return kMsgCanceled;
        const unsigned a = face.mIndices[0], b = face.mIndices[i - 1], c = face.mIndices[i];
        const uint16_t word = vertexColours ? CornerColour(vertexColours, a, b, c) : colour;
        AppendTriangle(m_, Triangle{{corners_[a], corners_[b], corners_[c]}}, group, word);
      }
    }
    return kMsgNone;
  }

  static uint16_t CornerColour(const aiColor4D* colours, unsigned a, unsigned b, unsigned c) {
    return ColourWord((colours[a].r + colours[b].r + colours[c].r) / 3,
                      (colours[a].g + colours[b].g + colours[c].g) / 3,
                      (colours[a].b + colours[b].b + colours[c].b) / 3);
  }

  // The model vertex with exactly these coordinate bytes, appended when new.
  int32_t Weld(const aiVector3D& p) {
    static_assert(sizeof(ai_real) == 4, "coordinates are welded on their float bytes");
    uint8_t key[12];
    std::memcpy(key, &p.x, 4);
    std::memcpy(key + 4, &p.y, 4);
    std::memcpy(key + 8, &p.z, 4);
    int32_t found = index_.Find(m_.vertices.data(), key);
    if (found >= 0) return found;
    found = m_.vertexCount;
    std::memcpy(&m_.vertices[size_t(found)], key, 12);
    index_.Add(m_.vertices.data(), key, found);
    ++m_.vertexCount;
    return found;
  }

  const aiScene& scene_;
  ModelStore& m_;
  ImportProgress* progress_;
  int32_t total_;
  WeldIndex index_;
  std::vector<int32_t> corners_;
  bool hasColours_ = false;
};

const aiScene* ReadScene(Assimp::Importer& importer, const std::string& path) {
  // Bones without meshes would otherwise come back as made-up skeleton meshes.
  importer.SetPropertyBool(AI_CONFIG_IMPORT_NO_SKELETON_MESHES, true);
  const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate);
  if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mMeshes ||
      scene->mNumMeshes == 0)
    return nullptr;
  return scene;
}

MeshImportResult Import(const std::string& path, ModelStore& m, ImportProgress* progress) {
  Assimp::Importer importer;
  const aiScene* scene = ReadScene(importer, path);
  if (!scene) return {kMsgInvalidFile, false};
  const SceneCounts n = CountScene(*scene);
  if (n.vertices > kTableLimit || n.triangles > kTableLimit || n.lines > kTableLimit)
    return {kMsgInvalidFile, false};
  // Room for every vertex up front: welding only ever uses fewer.
  if (!EnsureVertexCapacity(m, int32_t(n.vertices)) ||
      !EnsureTriangleCapacity(m, int32_t(n.triangles)) || !EnsureLineCapacity(m, int32_t(n.lines)))
    return {kMsgInvalidFile, false};
  m.vertexCount = m.triangleCount = m.lineCount = 0;
  ClearTriangleFlags(m);
  SceneConverter converter(*scene, m, progress, int32_t(n.triangles));
  const int message = converter.Run();
  m.normalsDirty = true;
  return {message, converter.hasColours()};
}

}  // namespace

const std::vector<std::string>& MeshExtensions() {
  static const std::vector<std::string> extensions = [] {
    std::vector<std::string> list;
    Assimp::Importer importer;
    std::string all;  // "*.3ds;*.obj;..."
    importer.GetExtensionList(all);
    size_t start = 0;
    while (start < all.size()) {
      size_t end = all.find(';', start);
      if (end == std::string::npos) end = all.size();
      std::string pattern = Lower(all.substr(start, end - start));
      if (pattern.rfind("*.", 0) == 0 && pattern != "*.stl") list.push_back(pattern.substr(1));
      start = end + 1;
    }
    return list;
  }();
  return extensions;
}

bool HasMeshExtension(const std::string& name) {
  const size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return false;
  const std::string ext = Lower(name.substr(dot));
  const auto& list = MeshExtensions();
  return std::find(list.begin(), list.end(), ext) != list.end();
}

MeshImportResult ImportMeshFile(const std::string& path, ModelStore& m, ImportProgress* progress) {
  try {
    return Import(path, m, progress);
  } catch (const std::bad_alloc&) {
    return {kMsgInvalidFile, false};
  } catch (const std::exception&) {
    return {kMsgInvalidFile, false};
  }
}

}  // namespace qelvar
