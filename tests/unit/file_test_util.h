// Helpers for tests of the file code: a fresh temporary directory per test and
// whole-file reads and writes.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qelvar::test {

using Bytes = std::vector<uint8_t>;

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = std::filesystem::temp_directory_path() /
           ("qelvar_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
            std::to_string(getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
};

inline Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Appends little-endian fields to a byte vector.
inline void AddI32(Bytes& b, int32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}
inline void AddU16(Bytes& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
inline void AddF32(Bytes& b, float f) {
  uint32_t u;
  std::memcpy(&u, &f, 4);
  AddI32(b, int32_t(u));
}
inline void AddText(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

inline int32_t I32At(const Bytes& b, size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= uint32_t(b.at(at + i)) << (8 * i);
  return int32_t(v);
}
inline uint16_t U16At(const Bytes& b, size_t at) { return uint16_t(b.at(at) | b.at(at + 1) << 8); }

// Files in a directory other than the given ones (left-over temporaries).
inline size_t CountFiles(const std::filesystem::path& dir) {
  size_t n = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir)) n += e.is_regular_file() ? 1 : 0;
  return n;
}

// Makes the file 2^log2 bytes long without using disk space (a sparse tail of
// zero bytes). 2^40 is far more than could ever be held in memory.
inline void ExtendSparse(const std::string& path, int log2 = 40) {
  std::filesystem::resize_file(path, uintmax_t{1} << log2);
}

}  // namespace qelvar::test
