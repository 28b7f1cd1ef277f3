// The command line as the program sees it: the arguments joined by blanks.
#pragma once

#include <string>

namespace qelvar {

// argv[first] .. argv[argc - 1], one blank between each two.
inline std::string JoinArguments(int argc, const char* const* argv, int first) {
  std::string line;
  for (int i = first; i < argc; ++i) {
    if (i > first) line += ' ';
    line += argv[i];
  }
  return line;
}

}  // namespace qelvar
