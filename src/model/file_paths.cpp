// Path questions answered through std::filesystem, never throwing.
#include "model/file_paths.h"

#include <filesystem>
#include <system_error>

namespace qelvar {
namespace fs = std::filesystem;

std::string AbsolutePath(const std::string& name) {
  if (name.empty()) return name;
  std::error_code ec;
  const fs::path absolute = fs::absolute(fs::path(name), ec);
  if (ec) return name;
  return absolute.lexically_normal().string();
}

bool PathExists(const std::string& name) {
  if (name.empty()) return false;
  std::error_code ec;
  return fs::exists(fs::symlink_status(name, ec));
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ec;
  const bool same = fs::equivalent(a, b, ec);
  if (!ec) return same;
  return AbsolutePath(a) == AbsolutePath(b);
}

std::string ModelNameForImport(const std::string& stlPath) {
  fs::path name(stlPath);
  name.replace_extension(".qv");
  return name.string();
}

}  // namespace qelvar
