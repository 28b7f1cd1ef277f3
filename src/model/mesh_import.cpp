// The one file that uses the import library: the scene it reads is turned
// into the model's tables here and nowhere else.
#include "model/mesh_import.h"

#include <assimp/DefaultIOSystem.h>
#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <array>
#include <assimp/IOStream.hpp>
#include <assimp/Importer.hpp>
#include <assimp/ProgressHandler.hpp>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>

#include "core/messages.h"
#include "model/file_io.h"
#include "model/ply_scan.h"
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

// Meshes of one name share a part group: the OBJ reader makes a mesh of every
// run of a group's faces, so a group whose faces are interleaved with
// another's comes back as several meshes. A new name takes the lowest free
// group, or group N for the name "groupN" the export gives unnamed parts;
// once all are taken, the last group is shared.
class GroupsByName {
 public:
  // The group for the mesh's name; `isNew` when the name had none yet.
  int GroupFor(const aiString& name, bool& isNew) {
    const std::string text(name.C_Str(), name.length);
    if (!text.empty())
      for (int g = 0; g < kPartGroups; ++g)
        if (taken_[size_t(g)] && names_[size_t(g)] == text) return isNew = false, g;
    int g = ExportedNumber(text);
    if (g < 0 || taken_[size_t(g)]) g = LowestFree();
    if (g < 0) return isNew = false, kPartGroups - 1;
    isNew = true;
    taken_[size_t(g)] = true;
    names_[size_t(g)] = text;
    return g;
  }

 private:
  static int ExportedNumber(const std::string& text) {
    if (text.size() < 6 || text.size() > 7 || text.compare(0, 5, "group") != 0) return -1;
    int n = 0;
    for (size_t i = 5; i < text.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
      n = n * 10 + (text[i] - '0');
    }
    return text == "group" + std::to_string(n) && n < kPartGroups ? n : -1;
  }
  int LowestFree() const {
    for (int g = 0; g < kPartGroups; ++g)
      if (!taken_[size_t(g)]) return g;
    return -1;
  }

  std::array<bool, kPartGroups> taken_{};
  std::array<std::string, kPartGroups> names_;
};

// What the extra PLY walk found, when it matches the library's single mesh
// face by face; else nothing is taken from it.
const PlyExtras* MatchingExtras(const PlyScan& scan, const aiScene& scene) {
  if (!scan.hasExtras || scene.mNumMeshes != 1 || !scene.mMeshes[0]) return nullptr;
  const aiMesh& mesh = *scene.mMeshes[0];
  const PlyExtras& x = scan.extras;
  if (x.vertexCount != mesh.mNumVertices || x.faceCorners.size() != mesh.mNumFaces) return nullptr;
  for (unsigned f = 0; f < mesh.mNumFaces; ++f)
    if (mesh.mFaces[f].mNumIndices != x.faceCorners[f]) return nullptr;
  return &x;
}

class SceneConverter {
 public:
  SceneConverter(const aiScene& scene, ModelStore& m, ImportProgress* progress, int32_t triangles,
                 uint64_t vertices, const PlyExtras* extras)
      : scene_(scene),
        m_(m),
        progress_(progress),
        total_(triangles),
        index_(size_t(std::min<uint64_t>(vertices, uint64_t(triangles)))),
        extras_(extras) {}

  int Run() {
    MarkModelChanged(m_);
    GroupsByName groups;
    for (unsigned k = 0; k < scene_.mNumMeshes; ++k) {
      if (!scene_.mMeshes[k]) continue;
      bool isNew = false;
      const int group = groups.GroupFor(scene_.mMeshes[k]->mName, isNew);
      if (isNew) SetPartName(m_, group, scene_.mMeshes[k]->mName);
      const int message = Mesh(*scene_.mMeshes[k], uint8_t(group));
      if (message != kMsgNone) return message;
    }
    if (extras_) hasColours_ |= !extras_->faceColours.empty();
    return kMsgFileLoaded;
  }
  bool hasColours() const { return hasColours_; }

 private:
  int Mesh(const aiMesh& mesh, uint8_t group) {
    corners_.resize(mesh.mNumVertices);
    // The index's slots are far apart in memory: each is asked for well
    // before its probe.
    constexpr unsigned kAhead = 16;
    for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
      if (v + kAhead < mesh.mNumVertices) index_.Prefetch(Key(mesh.mVertices[v + kAhead]).data());
      corners_[v] = Weld(mesh.mVertices[v]);
    }
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
      const uint8_t faceGroup = FaceGroup(f, group);
      const uint16_t faceColour = FaceColour(f, colour);
      // Polygons are split as fans from their first corner.
      for (unsigned i = 2; i < face.mNumIndices; ++i) {
        if (m_.triangleCount % kStlProgressStep == 0 && progress_ &&
            progress_->Cancelled(m_.triangleCount, total_))
          return kMsgCanceled;
        const unsigned a = face.mIndices[0], b = face.mIndices[i - 1], c = face.mIndices[i];
        const uint16_t word = vertexColours ? CornerColour(vertexColours, a, b, c) : faceColour;
        // The tables were sized for every triangle up front.
        const auto t = size_t(m_.triangleCount++);
        m_.triangles[t] = Triangle{{corners_[a], corners_[b], corners_[c]}};
        m_.triangleFlags[t] = faceGroup;
        m_.triangleColours[t] = word;
      }
    }
    if (extras_)
      for (const auto& [a, b] : extras_->edges)
        AppendLine(m_, Line{corners_[size_t(a)], corners_[size_t(b)]});
    return kMsgNone;
  }

  uint8_t FaceGroup(unsigned f, uint8_t group) const {
    return extras_ && !extras_->faceGroups.empty() ? extras_->faceGroups[f] : group;
  }
  uint16_t FaceColour(unsigned f, uint16_t colour) const {
    return extras_ && !extras_->faceColours.empty() ? extras_->faceColours[f] : colour;
  }

  static uint16_t CornerColour(const aiColor4D* colours, unsigned a, unsigned b, unsigned c) {
    return ColourWord((colours[a].r + colours[b].r + colours[c].r) / 3,
                      (colours[a].g + colours[b].g + colours[c].g) / 3,
                      (colours[a].b + colours[b].b + colours[c].b) / 3);
  }

  // The model vertex with exactly these coordinate bytes, appended when new.
  int32_t Weld(const aiVector3D& p) {
    const std::array<uint8_t, 12> key = Key(p);
    const int32_t found = index_.FindOrAdd(m_.vertices.data(), key.data(), m_.vertexCount);
    if (found == m_.vertexCount)
      std::memcpy(&m_.vertices[size_t(m_.vertexCount++)], key.data(), 12);
    return found;
  }
  static std::array<uint8_t, 12> Key(const aiVector3D& p) {
    static_assert(sizeof(ai_real) == 4, "coordinates are welded on their float bytes");
    std::array<uint8_t, 12> key;
    std::memcpy(key.data(), &p.x, 4);
    std::memcpy(key.data() + 4, &p.y, 4);
    std::memcpy(key.data() + 8, &p.z, 4);
    return key;
  }

  const aiScene& scene_;
  ModelStore& m_;
  ImportProgress* progress_;
  int32_t total_;
  WeldIndex index_;
  const PlyExtras* extras_;
  std::vector<int32_t> corners_;
  bool hasColours_ = false;
};

PlyScan ScanPlyFile(const std::string& path) {
  InputFile file;
  if (file.Open(path)) return ScanPly(file);
  PlyScan scan;
  scan.refused = true;
  return scan;
}

// Escape during the library's read. The library reports coarse steps of its
// own, and its readers take the file through streams in chunks of up to a few
// megabytes, so both are watched. When the key came, the watch throws out of
// the reader, which the library turns into a failed read. The library owns
// (and deletes) the handler, the file system and its streams.
struct ReadCanceled {};

class ReadWatch {
 public:
  explicit ReadWatch(ImportProgress* progress) : progress_(progress) {}
  void Check(double share) {
    constexpr int32_t kSteps = 1000;
    if (progress_->Cancelled(int32_t(std::clamp(share, 0.0, 1.0) * kSteps), kSteps)) {
      canceled_ = true;
      throw ReadCanceled{};
    }
  }
  bool canceled() const { return canceled_; }

 private:
  ImportProgress* progress_;
  bool canceled_ = false;
};

class WatchedProgress : public Assimp::ProgressHandler {
 public:
  explicit WatchedProgress(ReadWatch& watch) : watch_(watch) {}
  bool Update(float share) override {
    watch_.Check(share);
    return true;
  }

 private:
  ReadWatch& watch_;
};

class WatchedStream : public Assimp::IOStream {
 public:
  WatchedStream(Assimp::IOStream* stream, ReadWatch& watch) : stream_(stream), watch_(watch) {}
  ~WatchedStream() override { delete stream_; }
  size_t Read(void* buffer, size_t size, size_t count) override {
    const size_t total = stream_->FileSize();
    if (total > 0) watch_.Check(double(stream_->Tell()) / double(total));
    return stream_->Read(buffer, size, count);
  }
  size_t Write(const void* buffer, size_t size, size_t count) override {
    return stream_->Write(buffer, size, count);
  }
  aiReturn Seek(size_t offset, aiOrigin origin) override { return stream_->Seek(offset, origin); }
  size_t Tell() const override { return stream_->Tell(); }
  size_t FileSize() const override { return stream_->FileSize(); }
  void Flush() override { stream_->Flush(); }

 private:
  Assimp::IOStream* stream_;
  ReadWatch& watch_;
};

class WatchedFiles : public Assimp::DefaultIOSystem {
 public:
  explicit WatchedFiles(ReadWatch& watch) : watch_(watch) {}
  Assimp::IOStream* Open(const char* file, const char* mode) override {
    Assimp::IOStream* stream = DefaultIOSystem::Open(file, mode);
    return stream ? new WatchedStream(stream, watch_) : nullptr;
  }
  void Close(Assimp::IOStream* stream) override { delete stream; }

 private:
  ReadWatch& watch_;
};

const aiScene* ReadScene(Assimp::Importer& importer, const std::string& path, ReadWatch* watch) {
  // Bones without meshes would otherwise come back as made-up skeleton meshes.
  importer.SetPropertyBool(AI_CONFIG_IMPORT_NO_SKELETON_MESHES, true);
  if (watch) {
    importer.SetProgressHandler(new WatchedProgress(*watch));
    importer.SetIOHandler(new WatchedFiles(*watch));
  }
  // Polygons are split here rather than by the library, whose triangulation
  // aborts on faces without corners.
  const aiScene* scene = importer.ReadFile(path, 0);
  if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mMeshes ||
      scene->mNumMeshes == 0)
    return nullptr;
  return scene;
}

MeshImportResult Import(const std::string& path, ModelStore& m, ImportProgress* progress) {
  // Every file is looked at: the library reads a file that starts like a PLY
  // file as one whatever its extension.
  const PlyScan ply = ScanPlyFile(path);
  if (ply.refused) return {kMsgInvalidFile, false};
  ReadWatch watch(progress);
  Assimp::Importer importer;
  const aiScene* scene = ReadScene(importer, path, progress ? &watch : nullptr);
  if (watch.canceled()) return {kMsgCanceled, false};
  if (!scene) return {kMsgInvalidFile, false};
  const PlyExtras* extras = MatchingExtras(ply, *scene);
  SceneCounts n = CountScene(*scene);
  if (extras) n.lines += extras->edges.size();
  if (n.vertices > kTableLimit || n.triangles > kTableLimit || n.lines > kTableLimit)
    return {kMsgInvalidFile, false};
  // Room for every vertex up front: welding only ever uses fewer.
  if (!EnsureVertexCapacity(m, int32_t(n.vertices)) ||
      !EnsureTriangleCapacity(m, int32_t(n.triangles)) || !EnsureLineCapacity(m, int32_t(n.lines)))
    return {kMsgInvalidFile, false};
  m.vertexCount = m.triangleCount = m.lineCount = 0;
  ClearTriangleFlags(m);
  SceneConverter converter(*scene, m, progress, int32_t(n.triangles), n.vertices, extras);
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
  } catch (const ReadCanceled&) {
    return {kMsgCanceled, false};
  } catch (const std::bad_alloc&) {
    return {kMsgInvalidFile, false};
  } catch (const std::exception&) {
    return {kMsgInvalidFile, false};
  }
}

}  // namespace qelvar
