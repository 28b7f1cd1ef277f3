// STL import with welded corners, progress and Escape; binary STL export.
#include "model/stl_file.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <stdexcept>

#include "core/messages.h"
#include "model/file_io.h"
#include "model/stl_text.h"
#include "model/weld_index.h"

namespace qelvar {
namespace {

// Facet records read from the file in large chunks.
class FileRecords {
 public:
  explicit FileRecords(InputFile& file) : file_(file) {
    available_ = file.size() > kStlHeaderSize ? (file.size() - kStlHeaderSize) / kStlRecordSize : 0;
  }
  uint64_t available() const { return available_; }
  // Record k (k < available, asked for in increasing order).
  const uint8_t* Record(uint64_t k) {
    if (k < first_ || k >= first_ + held_) {
      held_ = std::min<uint64_t>(kChunk, available_ - k);
      buffer_.resize(held_ * kStlRecordSize);
      const size_t got =
          file_.ReadAt(kStlHeaderSize + k * kStlRecordSize, buffer_.data(), buffer_.size());
      held_ = got / kStlRecordSize;
      first_ = k;
      if (held_ == 0) return nullptr;
    }
    return buffer_.data() + (k - first_) * kStlRecordSize;
  }
  // Record k + d when it is already held (k held), else null.
  const uint8_t* Ahead(uint64_t k, uint64_t d) const {
    return k + d < first_ + held_ ? buffer_.data() + (k + d - first_) * kStlRecordSize : nullptr;
  }

 private:
  static constexpr uint64_t kChunk = 8192;
  InputFile& file_;
  uint64_t available_ = 0, first_ = 0, held_ = 0;
  std::vector<uint8_t> buffer_;
};

// Facet records parsed from a text file.
class MemoryRecords {
 public:
  explicit MemoryRecords(const std::vector<uint8_t>& records) : records_(records) {}
  uint64_t available() const { return records_.size() / kStlRecordSize; }
  const uint8_t* Record(uint64_t k) const { return records_.data() + k * kStlRecordSize; }
  const uint8_t* Ahead(uint64_t k, uint64_t d) const {
    return k + d < available() ? Record(k + d) : nullptr;
  }

 private:
  const std::vector<uint8_t>& records_;
};

// The tables and the weld index are sized up front for at most this many
// facets: a long (perhaps sparse) file must not take memory before its facets
// arrive; the tables grow as they do.
constexpr uint64_t kReservedFacets = uint64_t{1} << 22;

int32_t RoundedQuotient(uint64_t value, double divisor) {
  const double q = std::nearbyint(static_cast<double>(value) / divisor);
  return q > INT32_MAX - 8192 ? INT32_MAX - 8192 : static_cast<int32_t>(q);
}

// Index of the vertex equal to the corner, appending it when new.
bool WeldCorner(ModelStore& m, WeldIndex& index, const uint8_t* corner, int32_t& out) {
  out = index.FindOrAdd(m.vertices.data(), corner, m.vertexCount);
  if (out < m.vertexCount) return true;
  std::memcpy(&m.vertices[out], corner, 12);
  ++m.vertexCount;
  return m.vertexCount < m.vertexCapacity || GrowVertices(m);
}

// How many facets ahead the weld slots are fetched: hash slots are spread over
// memory, and waiting for each one in turn would dominate the import.
constexpr uint64_t kPrefetchFacets = 8;

// After this many facets the weld index is sized for the whole file by the
// vertices per facet seen so far: a grid shares corners (about half a vertex
// per facet), a soup shares none (three), and growing by doubling on the way
// would rehash a soup's index three times.
constexpr int32_t kSampleFacets = 16384;

void ReserveForRest(WeldIndex& index, const ModelStore& m, uint64_t facets) {
  const uint64_t expected = (uint64_t(m.vertexCount) * facets + kSampleFacets - 1) / kSampleFacets;
  index.Reserve(std::min(expected, 3 * std::min(facets, kReservedFacets)));
}

// The facet loop shared by binary and text files: facet k becomes triangle k.
template <typename Records>
int ImportFacets(Records& records, int32_t n, ModelStore& m, ImportProgress* progress) {
  m.vertexCount = m.triangleCount = 0;
  WeldIndex index(std::min({uint64_t(n), records.available(), kReservedFacets}) / 2);
  for (int32_t k = 0; k < n; ++k) {
    if (k % kStlProgressStep == 0 && progress && progress->Cancelled(k, n)) return kMsgCanceled;
    if (uint64_t(k) >= records.available()) break;
    if (k == kSampleFacets) ReserveForRest(index, m, std::min(uint64_t(n), records.available()));
    const uint8_t* record = records.Record(uint64_t(k));
    if (!record) break;
    if (const uint8_t* ahead = records.Ahead(uint64_t(k), kPrefetchFacets)) {
      for (int c = 0; c < 3; ++c) index.Prefetch(ahead + 12 + 12 * c);
    }
    Triangle& t = m.triangles[m.triangleCount];
    for (int c = 0; c < 3; ++c)
      if (!WeldCorner(m, index, record + 12 + 12 * c, t.corner[c])) return kMsgInvalidFile;
    m.triangleColours[m.triangleCount] = GetU16(record + 48);
    ++m.triangleCount;
    if (m.triangleCount >= m.triangleCapacity && !GrowTriangles(m)) return kMsgInvalidFile;
  }
  return kMsgNone;
}

// Memory running out while the facets arrive (the weld index grows too) ends
// the import like a table that cannot grow: the facets so far stay, with
// counts that match the tables.
template <typename Records>
int ImportFacetsOrRefuse(Records& records, int32_t n, ModelStore& m, ImportProgress* progress) {
  try {
    return ImportFacets(records, n, m, progress);
  } catch (const std::bad_alloc&) {
    return kMsgInvalidFile;
  } catch (const std::length_error&) {
    return kMsgInvalidFile;
  }
}

// Lines go and flags are cleared even when no facet follows.
void PrepareModel(ModelStore& m, int32_t triangles, int32_t vertices) {
  EnsureTriangleCapacity(m, triangles);  // estimates: the tables grow further if needed
  EnsureVertexCapacity(m, vertices);
  m.lineCount = 0;
  ClearTriangleFlags(m);
  m.normalsDirty = true;
  MarkModelChanged(m);
}

// The facet records of a text STL file; false when it is not one, or when it
// is too large to hold in memory (a binary file with a "solid" header can be).
bool ParseTextFile(InputFile& file, std::vector<uint8_t>& records) {
  if (!MayBeTextStl(file)) return false;
  std::vector<uint8_t> text;
  if (!ReadPrefix(file, file.size(), text)) return false;
  try {
    return ParseTextStl({reinterpret_cast<const char*>(text.data()), text.size()}, records);
  } catch (const std::bad_alloc&) {
    records.clear();
    return false;
  }
}

bool ImportText(InputFile& file, ModelStore& m, ImportProgress* progress, int& message) {
  std::vector<uint8_t> records;
  if (!ParseTextFile(file, records)) return false;
  const uint64_t facets = records.size() / kStlRecordSize;
  if (facets > uint64_t(INT32_MAX)) return false;
  const auto n = static_cast<int32_t>(facets);
  PrepareModel(m, n, RoundedQuotient(facets, 2.0));
  MemoryRecords source(records);
  message = n < 1 ? kMsgNone : ImportFacetsOrRefuse(source, n, m, progress);
  return true;
}

}  // namespace

std::string StlProgressText(int32_t k, int32_t n) {
  std::string text = "importing stl... ";
  if (k >= 0) text += ' ';
  text += std::to_string(k);
  text += '/';
  if (n >= 0) text += ' ';
  text += std::to_string(n);
  return text + " (ESC to cancel)";
}

int ImportStl(InputFile& file, ModelStore& m, ImportProgress* progress) {
  uint8_t head[kStlHeaderSize] = {};
  const size_t got = file.ReadAt(0, head, sizeof head);
  int message = kMsgNone;
  if (ImportText(file, m, progress, message)) return message;
  const int32_t n = got < kStlHeaderSize ? 0 : GetI32(head + 80);
  // The tables are sized from the length of the file, but never for more than
  // the facets it claims: a long tail of other bytes must not take memory.
  const uint64_t claimed = kStlHeaderSize + kStlRecordSize * uint64_t(std::max(n, 0));
  const uint64_t length =
      std::min({file.size(), claimed, kStlHeaderSize + kStlRecordSize * kReservedFacets});
  PrepareModel(m, RoundedQuotient(length, 50.0), RoundedQuotient(length, 100.0));
  if (n < 1) return kMsgNone;
  FileRecords records(file);
  return ImportFacetsOrRefuse(records, n, m, progress);
}

// A text file starts with "solid" and has no NUL byte. A binary file with
// such a header has one in its facet count when it holds fewer than 2^24
// facets, and otherwise almost surely among its first facets (a zero normal
// or attribute word, the low bytes of round coordinates).
bool MayBeTextStl(InputFile& file) {
  std::vector<char> head(kStlTextProbeSize);
  const size_t got = file.ReadAt(0, head.data(), head.size());
  return StartsLikeTextStl({head.data(), got}) && std::memchr(head.data(), 0, got) == nullptr;
}

bool IsTextStl(InputFile& file) {
  std::vector<uint8_t> records;
  return ParseTextFile(file, records);
}

int ExportStl(const ModelStore& m, const std::string& path) {
  AtomicFileWriter out(path);
  if (!out.Open()) return kMsgCantOpenFile;
  uint8_t head[kStlHeaderSize];
  std::memset(head, ' ', 80);
  PutI32(head + 80, m.triangleCount);
  out.Write(head, sizeof head);

  // An index outside the vertex table is written as the origin rather than followed.
  const Vec3 origin{0, 0, 0};
  auto vertex = [&](int32_t i) -> const Vec3& {
    return i >= 0 && size_t(i) < m.vertices.size() ? m.vertices[size_t(i)] : origin;
  };
  constexpr int kChunk = 4096;
  std::vector<uint8_t> buffer(kChunk * kStlRecordSize);
  for (int32_t first = 0; first < m.triangleCount; first += kChunk) {
    const int32_t count = std::min(kChunk, m.triangleCount - first);
    uint8_t* p = buffer.data();
    for (int32_t i = first; i < first + count; ++i, p += kStlRecordSize) {
      std::memcpy(p, &m.triangleNormals[size_t(i)], 12);
      for (int c = 0; c < 3; ++c)
        std::memcpy(p + 12 + 12 * c, &vertex(m.triangles[size_t(i)].corner[c]), 12);
      PutU16(p + 48, m.triangleColours[size_t(i)]);
    }
    out.Write(buffer.data(), size_t(count) * kStlRecordSize);
  }
  return out.Commit() ? kMsgFileSaved : kMsgCantOpenFile;
}

}  // namespace qelvar
