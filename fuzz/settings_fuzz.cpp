// The settings file: reading never changes a file that has text, fills an
// empty one with the default text, and gives the same settings every time.
#include <fstream>
#include <iterator>

#include "app/settings.h"
#include "fuzz_support.h"

using namespace qelvar;
using namespace qelvar::fuzz;

namespace {

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = WriteInput("QELVAR.INI", data, size);
  const Settings first = ReadSettings(path);
  const std::string text = Contents(path);
  if (size == 0) {
    Check(text == kDefaultSettingsText, "an empty file gets the default text");
  } else {
    Check(text == std::string(reinterpret_cast<const char*>(data), size),
          "a file with text is only read");
  }
  const Settings second = ReadSettings(path);
  Check(first.mode == second.mode && first.cdep == second.cdep && first.rdet == second.rdet,
        "reading again gives the same settings");
  return 0;
}
