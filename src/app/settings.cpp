// The settings file is parsed byte-wise: a four-byte key at the start of a
// line, then a number read digit by digit; everything else is skipped.
#include "app/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace qelvar {

const std::string_view kDefaultSettingsText =
    "'''' settings file for QELVAR\r\n"
    "''''\r\n"
    "'''' screen modes:\r\n"
    "''''\r\n"
    "''''    13 - 320x200    14 - 320x240    15 - 400x300\r\n"
    "''''    16 - 512x384    17 - 640x400    18 - 640x480\r\n"
    "''''    19 - 800x600    20 - 1024x768   21 - 1280x1024\r\n"
    "''''\r\n"
    "'''' or specify custom mode with 8 digits eg. 11520864\r\n"
    "''''\r\n"
    "mode = 19\r\n"
    "\r\n"
    "'''' color depth: 4,8,15,16,24 or 32\r\n"
    "''''\r\n"
    "cdep = 32\r\n"
    "\r\n"
    "'''' detail level: 0 = low, 1 = normal, 2 = antialiased\r\n"
    "''''\r\n"
    "rdet = 1\r\n"
    "\r\n";

int32_t ReadSettingValue(std::FILE* file) {
  uint32_t value = 0;  // unsigned so that absurdly long numbers wrap instead of overflowing
  bool digitSeen = false;
  for (;;) {
    const int byte = std::fgetc(file);
    if (byte == EOF || byte == '\r') break;
    if (byte >= '0' && byte <= '9') {
      value = value * 10u + static_cast<uint32_t>(byte - '0');
      digitSeen = true;
    } else if (digitSeen) {
      break;
    }
  }
  return static_cast<int32_t>(value);
}

namespace {

// Opened without blocking, and kept only when it is a regular file: a FIFO
// opened for reading would wait for a writer (or be its own writer and wait
// forever in the first read), and a device may never end.
std::FILE* OpenRegular(const std::string& path, int flags, const char* mode) {
  const int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* f = ::fdopen(fd, mode);
  if (!f) ::close(fd);
  return f;
}

// Read and write when allowed; a read-only file is still read. Only a file
// that does not exist is created (O_EXCL), so an existing file that cannot be
// read, or is not a regular file, is never truncated.
std::FILE* OpenOrCreate(const std::string& path) {
  if (std::FILE* f = OpenRegular(path, O_RDWR, "r+b")) return f;
  if (std::FILE* f = OpenRegular(path, O_RDONLY, "rb")) return f;
  return OpenRegular(path, O_RDWR | O_CREAT | O_EXCL, "w+b");
}

bool IsEmpty(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return false;
  const long length = std::ftell(f);
  std::fseek(f, 0, SEEK_SET);
  return length == 0;
}

// Skips to just past the next line feed; false at the end of the file.
bool SkipLine(std::FILE* f) {
  for (;;) {
    const int byte = std::fgetc(f);
    if (byte == EOF) return false;
    if (byte == '\n') return true;
  }
}

void ParseSettings(std::FILE* f, Settings& s) {
  for (;;) {
    char key[4];
    // A short read at the end of the file never matches: no stale bytes count.
    if (std::fread(key, 1, 4, f) == 4) {
      if (std::memcmp(key, "mode", 4) == 0) {
        s.mode = ReadSettingValue(f);
      } else if (std::memcmp(key, "cdep", 4) == 0) {
        s.cdep = ReadSettingValue(f);
      } else if (std::memcmp(key, "rdet", 4) == 0) {
        s.rdet = static_cast<uint8_t>(ReadSettingValue(f) & 0xFF);
      }
    }
    if (!SkipLine(f)) return;
  }
}

}  // namespace

Settings ReadSettings(const std::string& path) {
  Settings s;
  std::FILE* f = OpenOrCreate(path);
  if (!f) return s;
  if (IsEmpty(f)) {
    std::fwrite(kDefaultSettingsText.data(), 1, kDefaultSettingsText.size(), f);
  } else {
    ParseSettings(f, s);
  }
  std::fclose(f);
  return s;
}

}  // namespace qelvar
