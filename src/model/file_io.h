// Little-endian field access, whole-file and positional reads, and writes that
// replace a file only once the new one is complete.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace qelvar {

// Table blocks move between memory and files with memcpy: the file layout is
// the in-memory layout on a little-endian host.
static_assert(std::endian::native == std::endian::little, "file code assumes a little-endian host");

inline uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t GetU32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
inline int32_t GetI32(const uint8_t* p) { return static_cast<int32_t>(GetU32(p)); }

inline void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline void PutI32(uint8_t* p, int32_t v) { PutU32(p, static_cast<uint32_t>(v)); }

// A file opened for reading by byte offset. Reads never go past its end.
class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile();

  // False when the file cannot be opened or is not a regular file.
  bool Open(const std::string& path);
  uint64_t size() const { return size_; }
  // Reads up to n bytes at offset; returns how many were read.
  size_t ReadAt(uint64_t offset, void* dst, size_t n);

 private:
  std::FILE* file_ = nullptr;
  uint64_t size_ = 0;
};

// The first n bytes of the file, or all of it when it is shorter; false when
// they cannot be read or are too many to hold in memory.
bool ReadPrefix(InputFile& in, uint64_t n, std::vector<uint8_t>& out);

// Writes a new file beside `path` and renames it over `path` on Commit, so a
// failed write never destroys the old file. Destroying an uncommitted writer
// removes the new file.
class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::string path) : path_(std::move(path)) {}
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter();

  bool Open();
  // Errors are remembered and reported by Commit.
  void Write(const void* data, size_t n);
  bool Commit();

 private:
  void Discard();

  std::string path_, tempPath_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

}  // namespace qelvar
