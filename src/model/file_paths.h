// Path questions the file commands ask before they write: where a name
// points, whether something is there, and whether two names are one file.
#pragma once

#include <string>

namespace qelvar {

// The name made absolute against the current directory (lexically
// normalised); the name itself when that fails.
std::string AbsolutePath(const std::string& name);

// True when anything (file, directory, link) exists under the name.
bool PathExists(const std::string& name);

// True when both names lead to the same existing file, or, when either does
// not exist, when their absolute paths are equal.
bool SameFile(const std::string& a, const std::string& b);

// The model name an imported STL file gets: its path with the extension
// replaced by ".qv" ("dir/ball.stl" gives "dir/ball.qv").
std::string ModelNameForImport(const std::string& stlPath);

}  // namespace qelvar
