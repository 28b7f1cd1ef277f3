// The one file that uses the import library: the scene it reads is turned
// into the model's tables here and nowhere else.
#include "model/mesh_import.h"

#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <assimp/Importer.hpp>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <sstream>

#include "core/messages.h"
#include "model/file_io.h"
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
      // Polygons are split as fans from their first corner.
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
    const int32_t found = index_.FindOrAdd(m_.vertices.data(), key, m_.vertexCount);
    if (found == m_.vertexCount) std::memcpy(&m_.vertices[size_t(m_.vertexCount++)], key, 12);
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

// The library's binary PLY reader runs past the end of a truncated file, so
// the element layout its header declares is walked first: every list count
// read and every record found whole within the file.
int PlyTypeSize(const std::string& type) {
  static const std::pair<const char*, int> kSizes[] = {
      {"char", 1},   {"int8", 1},    {"uchar", 1},  {"uint8", 1},  {"short", 2}, {"int16", 2},
      {"ushort", 2}, {"uint16", 2},  {"int", 4},    {"int32", 4},  {"uint", 4},  {"uint32", 4},
      {"float", 4},  {"float32", 4}, {"double", 8}, {"float64", 8}};
  for (const auto& [name, size] : kSizes)
    if (type == name) return size;
  return 0;
}

struct PlyProperty {
  int size = 0;       // fixed size, or the size of one list item
  int countSize = 0;  // non-zero for a list: size of its count
};
struct PlyElement {
  uint64_t count = 0;
  std::vector<PlyProperty> properties;
};

uint64_t ReadCount(const uint8_t* p, int size, bool bigEndian) {
  uint64_t v = 0;
  for (int i = 0; i < size; ++i) v = v << 8 | p[bigEndian ? i : size - 1 - i];
  return v;
}

bool PlyBodyWhole(const std::vector<PlyElement>& elements, const std::vector<uint8_t>& bytes,
                  size_t at, bool bigEndian) {
  const uint64_t size = bytes.size();
  for (const PlyElement& e : elements) {
    bool fixed = true;
    uint64_t recordSize = 0;
    for (const PlyProperty& p : e.properties) {
      fixed = fixed && p.countSize == 0;
      recordSize += uint64_t(p.size);
    }
    if (fixed) {
      if (recordSize != 0 && e.count > (size - at) / recordSize) return false;
      at += size_t(e.count * recordSize);
      continue;
    }
    for (uint64_t i = 0; i < e.count; ++i)
      for (const PlyProperty& p : e.properties) {
        if (size - at < uint64_t(p.countSize + (p.countSize ? 0 : p.size))) return false;
        if (p.countSize == 0) {
          at += size_t(p.size);
          continue;
        }
        const uint64_t n = ReadCount(bytes.data() + at, p.countSize, bigEndian);
        at += size_t(p.countSize);
        if (n > (size - at) / uint64_t(p.size)) return false;
        at += size_t(n * uint64_t(p.size));
      }
  }
  return true;
}

bool BinaryPlyWhole(const std::string& path) {
  InputFile file;
  std::vector<uint8_t> bytes;
  if (!file.Open(path) || !ReadPrefix(file, file.size(), bytes)) return false;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  const size_t end = text.find("end_header");
  if (text.substr(0, 3) != "ply" || end == std::string_view::npos) return true;  // not for us
  const size_t body = text.find('\n', end);
  if (body == std::string_view::npos) return false;
  std::istringstream header{std::string(text.substr(0, end))};
  std::string line, format;
  std::vector<PlyElement> elements;
  while (std::getline(header, line)) {
    std::istringstream words(line);
    std::string keyword, a, b, c;
    words >> keyword >> a >> b >> c;
    if (keyword == "format") format = a;
    if (keyword == "element") {
      elements.push_back({});
      if (!(std::istringstream(b) >> elements.back().count)) return false;
    }
    if (keyword != "property") continue;
    if (elements.empty()) return false;
    PlyProperty p;
    p.countSize = a == "list" ? PlyTypeSize(b) : 0;
    p.size = PlyTypeSize(a == "list" ? c : a);
    if (p.size == 0 || (a == "list" && p.countSize == 0)) return false;
    elements.back().properties.push_back(p);
  }
  if (format == "ascii") return true;
  return PlyBodyWhole(elements, bytes, body + 1, format == "binary_big_endian");
}

bool HasPlyExtension(const std::string& path) {
  return path.size() >= 4 && Lower(path.substr(path.size() - 4)) == ".ply";
}

const aiScene* ReadScene(Assimp::Importer& importer, const std::string& path) {
  // Bones without meshes would otherwise come back as made-up skeleton meshes.
  importer.SetPropertyBool(AI_CONFIG_IMPORT_NO_SKELETON_MESHES, true);
  // Polygons are split here rather than by the library, whose triangulation
  // aborts on faces without corners.
  const aiScene* scene = importer.ReadFile(path, 0);
  if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mMeshes ||
      scene->mNumMeshes == 0)
    return nullptr;
  return scene;
}

MeshImportResult Import(const std::string& path, ModelStore& m, ImportProgress* progress) {
  if (HasPlyExtension(path) && !BinaryPlyWhole(path)) return {kMsgInvalidFile, false};
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
