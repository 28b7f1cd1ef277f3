// PLY header and body walk. Values are read one by one through a cursor that
// knows how much of the file is left, so no count from the file is trusted.
#include "model/ply_scan.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "model/file_io.h"
#include "model/model_store.h"

namespace qelvar {
namespace {

constexpr uint64_t kHeaderLimit = 1 << 20;

enum class Kind { kSigned, kUnsigned, kFloat };
struct PlyType {
  int size = 0;  // 0: not a PLY type
  Kind kind = Kind::kSigned;
};

PlyType TypeNamed(std::string_view name) {
  static const std::pair<const char*, PlyType> kTypes[] = {
      {"char", {1, Kind::kSigned}},     {"int8", {1, Kind::kSigned}},
      {"uchar", {1, Kind::kUnsigned}},  {"uint8", {1, Kind::kUnsigned}},
      {"short", {2, Kind::kSigned}},    {"int16", {2, Kind::kSigned}},
      {"ushort", {2, Kind::kUnsigned}}, {"uint16", {2, Kind::kUnsigned}},
      {"int", {4, Kind::kSigned}},      {"int32", {4, Kind::kSigned}},
      {"uint", {4, Kind::kUnsigned}},   {"uint32", {4, Kind::kUnsigned}},
      {"float", {4, Kind::kFloat}},     {"float32", {4, Kind::kFloat}},
      {"double", {8, Kind::kFloat}},    {"float64", {8, Kind::kFloat}}};
  for (const auto& [n, type] : kTypes)
    if (name == n) return type;
  return {};
}

struct Property {
  std::string name;
  PlyType type;       // of the value, or of each list item
  PlyType countType;  // size 0 unless a list
};
struct Element {
  std::string name;
  uint64_t count = 0;
  std::vector<Property> properties;
};
struct Header {
  std::string format;
  std::vector<Element> elements;
};

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    const size_t start = line.find_first_not_of(" \t\r", at);
    if (start == std::string_view::npos) break;
    const size_t end = std::min(line.find_first_of(" \t\r", start), line.size());
    words.push_back(line.substr(start, end - start));
    at = end;
  }
  return words;
}

bool IsFormat(std::string_view name) {
  return name == "ascii" || name == "binary_little_endian" || name == "binary_big_endian";
}

bool HasCoordinates(const Element& vertex) {
  int found = 0;
  for (const char* axis : {"x", "y", "z"})
    for (const Property& p : vertex.properties)
      if (p.name == axis && p.countType.size == 0) {
        ++found;
        break;
      }
  return found == 3;
}

// One header line after the magic one. Only the keywords PLY defines are
// taken: the import library reads a header its own way, and some headers
// this walk would pass over crash its reader.
bool ParseHeaderLine(const std::vector<std::string_view>& w, Header& h) {
  if (w.empty() || w[0] == "comment" || w[0] == "obj_info") return true;
  if (w[0] == "format") {
    if (!h.format.empty() || w.size() != 3 || !IsFormat(w[1])) return false;
    h.format = std::string(w[1]);
    return true;
  }
  if (w[0] == "element") {
    if (w.size() != 3) return false;
    Element e{std::string(w[1]), 0, {}};
    const auto [end, ec] = std::from_chars(w[2].data(), w[2].data() + w[2].size(), e.count);
    if (ec != std::errc() || end != w[2].data() + w[2].size()) return false;
    h.elements.push_back(std::move(e));
    return true;
  }
  if (w[0] != "property" || h.elements.empty() || w.size() < 3) return false;
  const bool list = w[1] == "list";
  if (w.size() != (list ? 5u : 3u)) return false;
  Property p{std::string(w[list ? 4 : 2]), TypeNamed(w[list ? 3 : 1]),
             list ? TypeNamed(w[2]) : PlyType{}};
  if (p.type.size == 0 || (list && p.countType.size == 0)) return false;
  h.elements.back().properties.push_back(std::move(p));
  return true;
}

// The header's lines up to the one that is just "end_header"; `body` is
// where the records start. A header the library could take another way
// (unknown keywords, no format, vertices without x, y and z) is refused.
bool ParseHeader(std::string_view text, Header& h, size_t& body) {
  const size_t magicEnd = text.find('\n');
  if (magicEnd == std::string_view::npos || Words(text.substr(0, magicEnd)).size() != 1)
    return false;
  size_t at = magicEnd + 1;
  while (at < text.size()) {
    const size_t end = text.find('\n', at);
    if (end == std::string_view::npos) return false;
    const std::vector<std::string_view> w = Words(text.substr(at, end - at));
    at = end + 1;
    if (w.size() == 1 && w[0] == "end_header") {
      body = at;
      for (const Element& e : h.elements)
        if (e.name == "vertex" && !HasCoordinates(e)) return false;
      return !h.format.empty();
    }
    if (!ParseHeaderLine(w, h)) return false;
  }
  return false;
}

// The file seen through a window that is refilled as the walk moves on, so
// that a large file is never held in memory whole and skipped elements are
// not read at all.
class FileWindow {
 public:
  FileWindow(InputFile& file, uint64_t at) : file_(file), at_(at) {}
  uint64_t left() const { return file_.size() - at_; }
  // The next n bytes (at most kSize), or nullptr when the file ends first or
  // cannot be read.
  const uint8_t* Peek(size_t n) {
    if (at_ < start_ || at_ + n > start_ + length_) {
      if (n > left()) return nullptr;
      start_ = at_;
      length_ = size_t(std::min<uint64_t>(kSize, left()));
      if (file_.ReadAt(start_, buffer_.data(), length_) != length_) {
        length_ = 0;
        return nullptr;
      }
    }
    return buffer_.data() + (at_ - start_);
  }
  void Advance(uint64_t n) { at_ += n; }  // n is at most left()
  // The bytes already in the window from the current place on (refilled
  // when none are), or none at the end of the file.
  const uint8_t* Buffered(size_t& n) {
    if (at_ < start_ || at_ >= start_ + length_) {
      if (!Peek(1)) {
        n = 0;
        return nullptr;
      }
    }
    n = size_t(start_ + length_ - at_);
    return buffer_.data() + (at_ - start_);
  }

 private:
  static constexpr size_t kSize = 1 << 20;
  InputFile& file_;
  std::vector<uint8_t> buffer_ = std::vector<uint8_t>(kSize);
  uint64_t at_, start_ = 0;
  size_t length_ = 0;
};

template <class Cursor>
bool SkipRecords(Cursor& c, const Element& e);

class BinaryCursor {
 public:
  BinaryCursor(FileWindow& window, bool bigEndian) : window_(window), big_(bigEndian) {}
  bool Value(PlyType t, double& v) {
    uint64_t bits;
    if (!Bits(t, bits)) return false;
    v = Decode(t, bits);
    return true;
  }
  bool Skip(PlyType t, uint64_t n) {
    if (n > window_.left() / uint64_t(t.size)) return false;
    window_.Advance(n * uint64_t(t.size));
    return true;
  }
  // Fixed-size records are stepped over in one go; records with lists one
  // by one, their counts read as whole numbers.
  bool SkipElement(const Element& e) {
    uint64_t record = 0;
    bool lists = false;
    for (const Property& p : e.properties) {
      if (p.countType.kind == Kind::kFloat && p.countType.size != 0) return SkipRecords(*this, e);
      lists |= p.countType.size != 0;
      record += uint64_t(p.type.size);
    }
    if (lists) return SkipListRecords(e);
    if (record != 0 && e.count > window_.left() / record) return false;
    window_.Advance(e.count * record);
    return true;
  }

 private:
  static double Decode(PlyType t, uint64_t bits) {
    if (t.kind == Kind::kFloat) {
      if (t.size == 8) {
        double d;
        std::memcpy(&d, &bits, 8);
        return d;
      }
      const auto u = uint32_t(bits);
      float f;
      std::memcpy(&f, &u, 4);
      return f;
    }
    if (t.kind == Kind::kUnsigned) return double(bits);
    const int shift = 64 - 8 * t.size;
    return double(int64_t(bits << shift) >> shift);
  }

  // A list count of an integer type: not negative and at most 4e9, as a
  // count read as a number must be.
  bool Count(PlyType t, uint64_t& n) {
    return Bits(t, n) && CountFits(t, n);
  }
  static bool CountFits(PlyType t, uint64_t bits) {
    return !(t.kind == Kind::kSigned && (bits >> (8 * t.size - 1)) != 0) && bits <= 4000000000u;
  }

  // The next value's bytes as a number in the file's byte order.
  uint64_t Assemble(const uint8_t* p, size_t size) const {
    uint64_t bits = 0;
    for (size_t i = 0; i < size; ++i) bits = bits << 8 | p[big_ ? i : size - 1 - i];
    return bits;
  }
  bool Bits(PlyType t, uint64_t& bits) {
    const uint8_t* p = window_.Peek(size_t(t.size));
    if (!p) return false;
    bits = Assemble(p, size_t(t.size));
    window_.Advance(uint64_t(t.size));
    return true;
  }

  bool SkipListRecords(const Element& e) {
    if (e.properties.size() == 1) return SkipLists(e.count, e.properties[0]);
    for (uint64_t i = 0; i < e.count; ++i)
      for (const Property& p : e.properties) {
        uint64_t n = 1;
        if (p.countType.size != 0 && !Count(p.countType, n)) return false;
        if (!Skip(p.type, n)) return false;
      }
    return true;
  }

  // Records of one list each (the usual faces), stepped through the window's
  // bytes; a record the window holds only in part goes the slow way.
  bool SkipLists(uint64_t count, const Property& list) {
    const PlyType t = list.countType;
    const auto countBytes = size_t(t.size), item = uint64_t(list.type.size);
    for (uint64_t i = 0; i < count;) {
      size_t held = 0, used = 0;
      const uint8_t* p = window_.Buffered(held);
      if (!p) return false;
      for (; i < count && used + countBytes <= held; ++i) {
        const uint64_t n = Assemble(p + used, countBytes);
        if (!CountFits(t, n)) return false;
        const uint64_t record = countBytes + n * item;
        if (record > held - used) break;
        used += size_t(record);
      }
      window_.Advance(used);
      if (i == count) break;
      uint64_t n;
      if (!Count(t, n) || !Skip(list.type, n)) return false;
      ++i;
    }
    return true;
  }

  FileWindow& window_;
  bool big_;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

class TextCursor {
 public:
  explicit TextCursor(FileWindow& window) : window_(window) {}
  bool Value(PlyType, double& v) {
    return Next() && std::from_chars(word_, word_ + length_, v).ec == std::errc();
  }
  bool Skip(PlyType, uint64_t n) {
    for (uint64_t i = 0; i < n; ++i)
      if (!Next()) return false;
    return true;
  }
  bool SkipElement(const Element& e) { return SkipRecords(*this, e); }

 private:
  // The next word; false at the end of the file or for a word too long to
  // be a number.
  bool Next() {
    const uint8_t* p;
    while ((p = window_.Peek(1)) && IsBlank(char(*p))) window_.Advance(1);
    length_ = 0;
    while ((p = window_.Peek(1)) && !IsBlank(char(*p))) {
      if (length_ == sizeof word_) return false;
      word_[length_++] = char(*p);
      window_.Advance(1);
    }
    return length_ > 0;
  }

  FileWindow& window_;
  char word_[64];
  size_t length_ = 0;
};

// A list's count: a whole number that is not negative.
template <class Cursor>
bool ListCount(Cursor& c, const Property& p, uint64_t& n) {
  double v;
  if (!c.Value(p.countType, v) || !(v >= 0) || v > 4e9 || v != std::floor(v)) return false;
  n = uint64_t(v);
  return true;
}

// Every record consumes at least one byte or word, so the loop ends with the file.
template <class Cursor>
bool SkipRecords(Cursor& c, const Element& e) {
  if (e.properties.empty()) return true;
  for (uint64_t i = 0; i < e.count; ++i)
    for (const Property& p : e.properties) {
      double v;
      uint64_t n = 1;
      if (p.countType.size != 0 ? !ListCount(c, p, n) : !c.Value(p.type, v)) return false;
      if (p.countType.size != 0 && !c.Skip(p.type, n)) return false;
    }
  return true;
}

int Column(const Element& e, std::string_view name) {
  for (size_t i = 0; i < e.properties.size(); ++i)
    if (e.properties[i].name == name) return int(i);
  return -1;
}

int Channel(double v, PlyType t) {
  if (!(v > 0)) return 0;
  if (t.kind == Kind::kFloat) v = std::nearbyint(std::min(v, 1.0) * 255);
  return int(std::min(v, 255.0)) >> 3;
}

// Reads the face or edge element into `x`; `odd` is raised by values that
// cannot be taken (the walk goes on to check the body is whole).
template <class Cursor>
bool ReadRecords(Cursor& c, const Element& e, bool face, PlyExtras& x, bool& odd) {
  const int red = Column(e, "red"), green = Column(e, "green"), blue = Column(e, "blue");
  const int group = Column(e, "group"), a = Column(e, "vertex1"), b = Column(e, "vertex2");
  const bool colours = red >= 0 && green >= 0 && blue >= 0;
  if (!face && (a < 0 || b < 0)) return c.SkipElement(e);
  std::vector<double> values(e.properties.size());
  for (uint64_t i = 0; i < e.count; ++i) {
    uint64_t corners = 0;
    bool listSeen = false;
    for (size_t j = 0; j < e.properties.size(); ++j) {
      const Property& p = e.properties[j];
      if (p.countType.size == 0) {
        if (!c.Value(p.type, values[j])) return false;
        continue;
      }
      uint64_t n;
      if (!ListCount(c, p, n) || !c.Skip(p.type, n)) return false;
      if (!listSeen) corners = n;
      listSeen = true;
    }
    if (!face) {
      const double va = values[size_t(a)], vb = values[size_t(b)];
      const double limit = double(x.vertexCount);
      odd |= !(va >= 0 && va < limit && vb >= 0 && vb < limit) || va != std::floor(va) ||
             vb != std::floor(vb);
      if (!odd) x.edges.push_back({int32_t(va), int32_t(vb)});
      continue;
    }
    x.faceCorners.push_back(uint32_t(corners));
    if (colours)
      x.faceColours.push_back(
          ComposeColour(Channel(values[size_t(red)], e.properties[size_t(red)].type),
                        Channel(values[size_t(green)], e.properties[size_t(green)].type),
                        Channel(values[size_t(blue)], e.properties[size_t(blue)].type)));
    if (group >= 0) {
      const double g = values[size_t(group)];
      odd |= !(g >= 0);
      x.faceGroups.push_back(uint8_t(std::min(g >= 0 ? g : 0, double(kPartGroups - 1))));
    }
  }
  return true;
}

// Whether the records hold anything the library drops: colours or groups in
// the first face element, or vertex pairs in the first edge element.
bool HasExtras(const Header& h) {
  bool faceSeen = false, edgeSeen = false;
  for (const Element& e : h.elements) {
    if (e.name == "face" && !faceSeen) {
      faceSeen = true;
      if ((Column(e, "red") >= 0 && Column(e, "green") >= 0 && Column(e, "blue") >= 0) ||
          Column(e, "group") >= 0)
        return true;
    } else if (e.name == "edge" && !edgeSeen) {
      edgeSeen = true;
      if (Column(e, "vertex1") >= 0 && Column(e, "vertex2") >= 0) return true;
    }
  }
  return false;
}

// False when the body ends before the header's last record.
template <class Cursor>
bool ReadBody(Cursor& c, const Header& h, PlyExtras& x, bool& odd) {
  bool faceSeen = false, edgeSeen = false, vertexSeen = false;
  for (const Element& e : h.elements) {
    if (e.name == "vertex" && !vertexSeen) {
      vertexSeen = true;
      x.vertexCount = e.count;
      odd |= x.vertexCount > uint64_t(INT32_MAX);
    }
    // Only the first face and edge elements are the ones the library reads.
    const bool face = e.name == "face" && !faceSeen, edge = e.name == "edge" && !edgeSeen;
    faceSeen |= face;
    edgeSeen |= edge;
    if (!(face || edge) || e.properties.empty()) {
      if (!c.SkipElement(e)) return false;
    } else if (!ReadRecords(c, e, face, x, odd)) {
      return false;
    }
  }
  return true;
}

}  // namespace

PlyScan ScanPly(InputFile& file) {
  PlyScan scan;
  // The library takes any file that starts so as PLY, whatever its name; other
  // files cost three bytes here.
  uint8_t magic[3] = {};
  const auto lower = [&](int i) { return std::tolower(magic[i]); };
  if (file.ReadAt(0, magic, 3) != 3 || lower(0) != 'p' || lower(1) != 'l' || lower(2) != 'y')
    return scan;
  // The header: within its first megabyte in any file seen in use.
  std::vector<uint8_t> head;
  if (!ReadPrefix(file, kHeaderLimit, head)) {
    scan.refused = true;
    return scan;
  }
  const std::string_view bytes(reinterpret_cast<const char*>(head.data()), head.size());
  scan.isPly = true;
  Header h;
  size_t body = 0;
  if (!ParseHeader(bytes, h, body)) {
    scan.refused = true;
    return scan;
  }
  // Without extras only a binary body needs the walk, to check its length.
  const bool extras = HasExtras(h);
  if (!extras && h.format == "ascii") return scan;
  FileWindow window(file, body);
  bool odd = false, whole;
  if (!extras) {
    BinaryCursor c(window, h.format == "binary_big_endian");
    scan.refused = !std::all_of(h.elements.begin(), h.elements.end(),
                                [&](const Element& e) { return c.SkipElement(e); });
    return scan;
  }
  if (h.format == "ascii") {
    TextCursor c(window);
    whole = ReadBody(c, h, scan.extras, odd);
  } else {
    BinaryCursor c(window, h.format == "binary_big_endian");
    whole = ReadBody(c, h, scan.extras, odd);
    scan.refused = !whole;
  }
  scan.hasExtras = whole && !odd;
  if (!scan.hasExtras) scan.extras = PlyExtras{};
  return scan;
}

}  // namespace qelvar
