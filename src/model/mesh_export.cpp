// OBJ and PLY writers. Both go through a temporary file renamed over the
// target, so a failed export leaves any earlier file whole.
#include "model/mesh_export.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <vector>

#include "core/messages.h"
#include "model/file_io.h"
#include "model/stl_file.h"

namespace qelvar {
namespace {

bool EndsWithNoCase(const std::string& name, std::string_view ext) {
  if (name.size() < ext.size()) return false;
  return std::equal(
      ext.begin(), ext.end(), name.end() - std::ptrdiff_t(ext.size()),
      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// Text collected in memory and handed to the writer in large pieces.
class TextOut {
 public:
  explicit TextOut(AtomicFileWriter& out) : out_(out) {}
  ~TextOut() { Flush(); }
  TextOut& operator<<(std::string_view s) {
    text_ += s;
    if (text_.size() >= kFlushSize) Flush();
    return *this;
  }
  TextOut& operator<<(int64_t v) { return *this << std::string_view(std::to_string(v)); }
  void Flush() {
    out_.Write(text_.data(), text_.size());
    text_.clear();
  }

 private:
  static constexpr size_t kFlushSize = 1 << 20;
  AtomicFileWriter& out_;
  std::string text_;
};

int Channel(uint16_t colour, int shift) { return ((colour >> shift) & 31) * 8; }

std::string MaterialName(uint16_t colour) {
  char name[8];
  std::snprintf(name, sizeof name, "c%04x", colour & 0x7FFF);
  return name;
}

// A part name as one OBJ word: trailing blanks dropped, inner blanks and
// control bytes replaced, an empty name replaced by the group number.
std::string GroupWord(const ModelStore& m, int group) {
  const PartName& name = m.partNames[size_t(group)];
  std::string word(name.begin(), name.end());
  while (!word.empty() && (word.back() == ' ' || word.back() == '\0')) word.pop_back();
  for (char& c : word)
    if (static_cast<unsigned char>(c) <= ' ') c = '_';
  return word.empty() ? "group" + std::to_string(group) : word;
}

// One word per group, made distinct so that groups of the same name do not
// merge when the file is read back (groups are told apart by name there).
std::vector<std::string> GroupWords(const ModelStore& m) {
  std::vector<std::string> words;
  for (int g = 0; g < kPartGroups; ++g) {
    std::string word = GroupWord(m, g);
    while (std::find(words.begin(), words.end(), word) != words.end())
      word += "_" + std::to_string(g);
    words.push_back(word);
  }
  return words;
}

std::vector<uint8_t> UsedVertices(const ModelStore& m) {
  std::vector<uint8_t> used(size_t(std::max(m.vertexCount, 0)), 0);
  auto mark = [&](int32_t i) {
    if (i >= 0 && i < m.vertexCount) used[size_t(i)] = 1;
  };
  for (int32_t t = 0; t < m.triangleCount; ++t)
    for (int32_t c : m.triangles[size_t(t)].corner) mark(c);
  for (int32_t l = 0; l < m.lineCount; ++l) {
    mark(m.lines[size_t(l)].a);
    mark(m.lines[size_t(l)].b);
  }
  return used;
}

int WriteMaterials(const ModelStore& m, const std::string& path) {
  std::map<uint16_t, bool> colours;
  for (int32_t t = 0; t < m.triangleCount; ++t)
    colours[m.triangleColours[size_t(t)] & 0x7FFF] = true;
  AtomicFileWriter out(path);
  if (!out.Open()) return kMsgCantOpenFile;
  {
    TextOut text(out);
    for (const auto& [colour, unused] : colours) {
      text << "newmtl " << MaterialName(colour) << "\nKd";
      for (int shift : {10, 5, 0})
        text << " " << ExactFloatText(float(Channel(colour, shift)) / 255.0f);
      text << "\n";
    }
  }
  return out.Commit() ? kMsgFileSaved : kMsgCantOpenFile;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string ExactFloatText(float value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  const std::string sign = std::signbit(value) ? "-" : "";
  const float a = std::fabs(value);
  char buffer[64];
  if (a != 0 && (a < 0x1p-20f || a >= 0x1p63f)) {
    std::snprintf(buffer, sizeof buffer, "%.9g", double(value));
    return buffer;
  }
  // Integer and fraction parts are both exact floats; 15 fraction digits put
  // the fraction well within half its own unit in the last place.
  const float whole = std::trunc(a);
  const float fraction = a - whole;
  std::snprintf(buffer, sizeof buffer, "%.0f", double(whole));
  std::string text = sign + buffer;
  if (fraction == 0) return text;
  std::snprintf(buffer, sizeof buffer, "%.15f", double(fraction));
  std::string digits(buffer + 1);  // ".ddd..."
  while (digits.back() == '0') digits.pop_back();
  return text + digits;
}

std::string MaterialPath(const std::string& objPath) {
  const size_t dot = objPath.find_last_of('.');
  const size_t slash = objPath.find_last_of('/');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasExtension ? objPath.substr(0, dot) : objPath) + ".mtl";
}

int ExportObj(const ModelStore& m, const std::string& path) {
  const std::string materials = MaterialPath(path);
  if (WriteMaterials(m, materials) != kMsgFileSaved) return kMsgCantOpenFile;
  AtomicFileWriter out(path);
  if (!out.Open()) return kMsgCantOpenFile;
  {
    TextOut text(out);
    text << "mtllib " << BaseName(materials) << "\n";
    for (int32_t v = 0; v < m.vertexCount; ++v) {
      const Vec3& p = m.vertices[size_t(v)];
      text << "v " << ExactFloatText(p.x) << " " << ExactFloatText(p.y) << " "
           << ExactFloatText(p.z) << "\n";
    }
    const std::vector<std::string> words = GroupWords(m);
    int lastGroup = -1, lastColour = -1;
    for (int32_t t = 0; t < m.triangleCount; ++t) {
      const int group = m.triangleFlags[size_t(t)] & kGroupMask;
      const int colour = m.triangleColours[size_t(t)] & 0x7FFF;
      if (group != lastGroup || colour != lastColour) {
        // Each run becomes one mesh on import, so the triangle order survives.
        text << "g " << words[size_t(std::min(group, kPartGroups - 1))] << "\nusemtl "
             << MaterialName(uint16_t(colour)) << "\n";
        lastGroup = group;
        lastColour = colour;
      }
      const Triangle& tri = m.triangles[size_t(t)];
      text << "f " << tri.corner[0] + int64_t{1} << " " << tri.corner[1] + int64_t{1} << " "
           << tri.corner[2] + int64_t{1} << "\n";
    }
    for (int32_t l = 0; l < m.lineCount; ++l)
      text << "l " << m.lines[size_t(l)].a + int64_t{1} << " " << m.lines[size_t(l)].b + int64_t{1}
           << "\n";
    const std::vector<uint8_t> used = UsedVertices(m);
    for (int32_t v = 0; v < m.vertexCount; ++v)
      if (!used[size_t(v)]) text << "p " << v + int64_t{1} << "\n";
  }
  return out.Commit() ? kMsgFileSaved : kMsgCantOpenFile;
}

int ExportPly(const ModelStore& m, const std::string& path) {
  AtomicFileWriter out(path);
  if (!out.Open()) return kMsgCantOpenFile;
  const std::string header =
      "ply\nformat binary_little_endian 1.0\nelement vertex " + std::to_string(m.vertexCount) +
      "\nproperty float x\nproperty float y\nproperty float z\nelement face " +
      std::to_string(m.triangleCount) +
      "\nproperty list uchar int vertex_indices\nproperty uchar red\nproperty uchar green\n"
      "property uchar blue\nproperty uchar group\nelement edge " +
      std::to_string(m.lineCount) + "\nproperty int vertex1\nproperty int vertex2\nend_header\n";
  out.Write(header.data(), header.size());
  out.Write(m.vertices.data(), 12 * size_t(std::max(m.vertexCount, 0)));
  constexpr size_t kFaceSize = 1 + 12 + 4;
  std::vector<uint8_t> buffer;
  buffer.reserve(kFaceSize * 4096);
  for (int32_t t = 0; t < m.triangleCount; ++t) {
    uint8_t face[kFaceSize];
    face[0] = 3;
    std::memcpy(face + 1, &m.triangles[size_t(t)], 12);
    const uint16_t colour = m.triangleColours[size_t(t)];
    face[13] = uint8_t(Channel(colour, 10));
    face[14] = uint8_t(Channel(colour, 5));
    face[15] = uint8_t(Channel(colour, 0));
    face[16] = m.triangleFlags[size_t(t)] & kGroupMask;
    buffer.insert(buffer.end(), face, face + kFaceSize);
    if (buffer.size() >= kFaceSize * 4096) {
      out.Write(buffer.data(), buffer.size());
      buffer.clear();
    }
  }
  out.Write(buffer.data(), buffer.size());
  out.Write(m.lines.data(), 8 * size_t(std::max(m.lineCount, 0)));
  return out.Commit() ? kMsgFileSaved : kMsgCantOpenFile;
}

int ExportModel(const ModelStore& model, const std::string& path) {
  if (EndsWithNoCase(path, ".obj")) return ExportObj(model, path);
  if (EndsWithNoCase(path, ".ply")) return ExportPly(model, path);
  return ExportStl(model, path);
}

}  // namespace qelvar
