// Positional reads and the write-then-rename replacement of files.
#include "model/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>

namespace qelvar {

InputFile::~InputFile() {
  if (file_) std::fclose(file_);
}

bool InputFile::Open(const std::string& path) {
  // Opened without blocking so that a name typed for a pipe or device is
  // refused instead of waiting for a writer.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return false;
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file_ = fdopen(fd, "rb");
  if (!file_) {
    close(fd);
    return false;
  }
  size_ = static_cast<uint64_t>(st.st_size);
  return true;
}

size_t InputFile::ReadAt(uint64_t offset, void* dst, size_t n) {
  if (!file_ || offset >= size_) return 0;
  if (n > size_ - offset) n = static_cast<size_t>(size_ - offset);
  if (fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0) return 0;
  return std::fread(dst, 1, n, file_);
}

bool ReadPrefix(InputFile& in, uint64_t n, std::vector<uint8_t>& out) {
  n = std::min(n, in.size());
  if (n > SIZE_MAX / 2) return false;
  try {
    out.resize(static_cast<size_t>(n));
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::length_error&) {
    return false;
  }
  return in.ReadAt(0, out.data(), out.size()) == out.size();
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

namespace {

// A short name in the directory of path, so that the rename stays atomic and
// a name already as long as the system allows still gets its new file.
std::string TempPathBeside(const std::string& path, int attempt) {
  const size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  return directory + ".qelvar-" + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
}

// A write past the file-size limit must fail with an error like any other,
// so that the temporary file is removed; by default the signal would end the
// process and leave it behind.
void IgnoreFileSizeSignal() {
  static const bool ignored = signal(SIGXFSZ, SIG_IGN) != SIG_ERR;
  (void)ignored;
}

// Makes a rename in the directory of path survive a power loss.
void SyncDirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  const std::string directory = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool AtomicFileWriter::Open() {
  IgnoreFileSizeSignal();
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath_ = TempPathBeside(path_, attempt);
    const int fd = open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      file_ = fdopen(fd, "wb");
      if (file_) return true;
      close(fd);
      unlink(tempPath_.c_str());
      break;
    }
    if (errno != EEXIST) break;
  }
  tempPath_.clear();
  return false;
}

void AtomicFileWriter::Write(const void* data, size_t n) {
  if (!file_ || failed_ || n == 0) return;
  if (std::fwrite(data, 1, n, file_) != n) failed_ = true;
}

bool AtomicFileWriter::Commit() {
  if (!file_) return false;
  // The data reach the disk before the rename makes them the file.
  const bool flushed = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (failed_ || !flushed || !closed || std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
    Discard();
    return false;
  }
  tempPath_.clear();
  SyncDirectoryOf(path_);
  return true;
}

void AtomicFileWriter::Discard() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!tempPath_.empty()) {
    unlink(tempPath_.c_str());
    tempPath_.clear();
  }
}

}  // namespace qelvar
