// The script of the headless runner: one command per line, parsed up front so
// a bad line is reported before the program starts.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qelvar {

enum class ScriptOp {
  kKeys,       // keys: key-buffer codes put in at once
  kKeyDown,    // value: scan code now held
  kKeyUp,      // value: scan code released
  kMouse,      // x, y: pointer position in screen pixels
  kMouseDown,  // value: button bit (1 left, 2 right)
  kMouseUp,
  kWheel,  // value: added to the wheel counter
  kIdle,   // value: number of steps in which nothing changes
  kShot,   // file: 24-bit BMP of the screen (not a step)
  kText,   // file: the text grid (not a step)
};

struct ScriptCommand {
  ScriptOp op = ScriptOp::kIdle;
  int line = 0;  // 1-based line of the script it came from
  std::vector<std::string> keys;
  int x = 0, y = 0;
  int value = 0;
  std::string file;
};

struct ScriptError {
  int line = 0;
  std::string message;
};

struct ParsedScript {
  std::vector<ScriptCommand> commands;  // "click" already split into its three steps
  std::optional<ScriptError> error;     // the first line that cannot be parsed
};

ParsedScript ParseScript(std::string_view text);

// The key-buffer code of a key word: a single printable character as itself,
// or a key name in any case ("Enter", "f10", "PgDn", "Close"). Empty if unknown.
std::string KeyCodeForWord(std::string_view word);

}  // namespace qelvar
