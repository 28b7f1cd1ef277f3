// Replay scripts: the parser either refuses with the number of a line the
// script has, or gives commands in line order, each with what it needs.
#include <algorithm>
#include <string_view>

#include "fuzz_support.h"
#include "platform/replay_script.h"

using namespace qelvar;
using namespace qelvar::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
  const ParsedScript script = ParseScript(text);
  if (script.error) {
    Check(script.error->line >= 1 && script.error->line <= lines, "the error names a line");
    Check(!script.error->message.empty(), "the error says what is wrong");
    return 0;
  }
  int previous = 1;
  for (const ScriptCommand& c : script.commands) {
    Check(c.line >= previous && c.line <= lines, "commands come in line order");
    previous = c.line;
    if (c.op == ScriptOp::kKeys) {
      Check(!c.keys.empty(), "a key step has keys");
      for (const std::string& key : c.keys) Check(!key.empty(), "keys are known codes");
    }
    if (c.op == ScriptOp::kShot || c.op == ScriptOp::kText)
      Check(!c.file.empty(), "outputs are named");
    if (c.op == ScriptOp::kIdle) Check(c.value >= 0, "idle counts are not negative");
  }
  return 0;
}
