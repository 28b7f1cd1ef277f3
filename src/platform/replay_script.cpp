// Parsing of the runner's script: commands and key names are case-insensitive,
// blank and '#' lines are skipped, and every other line must parse completely.
#include "platform/replay_script.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

#include "platform/platform.h"

namespace qelvar {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::vector<std::string_view> SplitWords(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool ParseInt(std::string_view word, int& out) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  if (word.empty() || word.front() == '+') return false;
  auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
  return ec == std::errc() && end == word.data() + word.size();
}

struct KeyName {
  const char* name;
  int code;  // below 256: the character itself; 256 + scan code: an extended key
};
constexpr int kExtended = 256;
constexpr KeyName kKeyNames[] = {
    {"enter", 13},
    {"esc", 27},
    {"escape", 27},
    {"tab", 9},
    {"backspace", 8},
    {"space", ' '},
    {"delete", kExtended + kScanDelete},
    {"insert", kExtended + kScanInsert},
    {"up", kExtended + kScanUp},
    {"down", kExtended + kScanDown},
    {"left", kExtended + kScanLeft},
    {"right", kExtended + kScanRight},
    {"home", kExtended + kScanHome},
    {"end", kExtended + kScanEnd},
    {"pgup", kExtended + kScanPageUp},
    {"pgdn", kExtended + kScanPageDown},
    {"close", kExtended + kScanClose},
    {"f1", kExtended + kScanF1},
    {"f2", kExtended + kScanF2},
    {"f3", kExtended + kScanF3},
    {"f4", kExtended + kScanF4},
    {"f5", kExtended + kScanF5},
    {"f6", kExtended + kScanF6},
    {"f7", kExtended + kScanF7},
    {"f8", kExtended + kScanF8},
    {"f9", kExtended + kScanF9},
    {"f10", kExtended + kScanF10},
    {"f11", kExtended + kScanF11},
    {"f12", kExtended + kScanF12},
};

// Characters that can stand in the key buffer as themselves (255 would read
// as the start of an extended key).
bool IsTypable(unsigned char c) { return (c >= 32 && c != 127 && c != 255) || c == '\t'; }

struct LineParser {
  int line;
  std::string_view rest;  // the line after the command word
  std::vector<std::string_view> args;
  ParsedScript& out;

  bool Fail(std::string message) {
    out.error = ScriptError{line, std::move(message)};
    return false;
  }
  ScriptCommand& Add(ScriptOp op) {
    ScriptCommand& c = out.commands.emplace_back();
    c.op = op;
    c.line = line;
    return c;
  }
  bool ArgCount(size_t least, size_t most, const char* usage) {
    if (args.size() < least || args.size() > most) return Fail(std::string("usage: ") + usage);
    return true;
  }
  bool Number(size_t i, int& v) {
    if (!ParseInt(args[i], v)) return Fail("not a number: '" + std::string(args[i]) + "'");
    return true;
  }
  bool Button(size_t i, int& bit) {
    std::string b = Lower(args[i]);
    bit = b == "left" ? 1 : b == "right" ? 2 : 0;
    if (!bit) return Fail("unknown mouse button '" + std::string(args[i]) + "' (left or right)");
    return true;
  }

  bool Keys() {
    if (!ArgCount(1, SIZE_MAX, "key K [K ...]")) return false;
    ScriptCommand& c = Add(ScriptOp::kKeys);
    for (std::string_view w : args) {
      std::string code = KeyCodeForWord(w);
      if (code.empty()) return Fail("unknown key '" + std::string(w) + "'");
      c.keys.push_back(code);
    }
    return true;
  }
  bool Type() {
    std::string_view text = rest;
    if (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    if (text.empty()) return Fail("usage: type TEXT");
    ScriptCommand& c = Add(ScriptOp::kKeys);
    for (char ch : text) {
      if (!IsTypable(static_cast<unsigned char>(ch))) {
        return Fail("character " + std::to_string(static_cast<unsigned char>(ch)) +
                    " cannot be typed");
      }
      c.keys.emplace_back(1, ch);
    }
    return true;
  }
  bool HeldKey(ScriptOp op) {
    if (!ArgCount(1, 1, op == ScriptOp::kKeyDown ? "keydown NAME" : "keyup NAME")) return false;
    std::string name = Lower(args[0]);
    int scan = name == "alt"      ? kScanAlt
               : name == "lshift" ? kScanLeftShift
               : name == "rshift" ? kScanRightShift
                                  : 0;
    if (!scan) return Fail("unknown held key '" + std::string(args[0]) + "' (Alt, LShift, RShift)");
    Add(op).value = scan;
    return true;
  }
  bool Mouse() {
    int x, y;
    if (!ArgCount(2, 2, "mouse X Y") || !Number(0, x) || !Number(1, y)) return false;
    ScriptCommand& c = Add(ScriptOp::kMouse);
    c.x = x, c.y = y;
    return true;
  }
  bool MouseButton(ScriptOp op) {
    int bit;
    if (!ArgCount(1, 1, op == ScriptOp::kMouseDown ? "mousedown B" : "mouseup B") ||
        !Button(0, bit)) {
      return false;
    }
    Add(op).value = bit;
    return true;
  }
  bool Click() {
    int x, y, bit = 1;
    if (!ArgCount(2, 3, "click X Y [B]") || !Number(0, x) || !Number(1, y)) return false;
    if (args.size() == 3 && !Button(2, bit)) return false;
    ScriptCommand& move = Add(ScriptOp::kMouse);
    move.x = x, move.y = y;
    Add(ScriptOp::kMouseDown).value = bit;
    Add(ScriptOp::kMouseUp).value = bit;
    return true;
  }
  bool Value(ScriptOp op, const char* usage, size_t least, int fallback, int minimum) {
    int v = fallback;
    if (!ArgCount(least, 1, usage) || (args.size() == 1 && !Number(0, v))) return false;
    if (v < minimum) return Fail(std::string("usage: ") + usage + " (N at least 0)");
    Add(op).value = v;
    return true;
  }
  bool Output(ScriptOp op) {
    std::string_view file = Trim(rest);
    if (file.empty()) return Fail(op == ScriptOp::kShot ? "usage: shot FILE" : "usage: text FILE");
    Add(op).file = std::string(file);
    return true;
  }

  bool Run(const std::string& command) {
    if (command == "key") return Keys();
    if (command == "type") return Type();
    if (command == "keydown") return HeldKey(ScriptOp::kKeyDown);
    if (command == "keyup") return HeldKey(ScriptOp::kKeyUp);
    if (command == "mouse") return Mouse();
    if (command == "mousedown") return MouseButton(ScriptOp::kMouseDown);
    if (command == "mouseup") return MouseButton(ScriptOp::kMouseUp);
    if (command == "click") return Click();
    if (command == "wheel") return Value(ScriptOp::kWheel, "wheel N", 1, 0, INT32_MIN);
    if (command == "idle") return Value(ScriptOp::kIdle, "idle [N]", 0, 1, 0);
    if (command == "shot") return Output(ScriptOp::kShot);
    if (command == "text") return Output(ScriptOp::kText);
    return Fail("unknown command '" + command + "'");
  }
};

}  // namespace

std::string KeyCodeForWord(std::string_view word) {
  if (word.size() == 1 && IsTypable(static_cast<unsigned char>(word[0])) && word[0] != '\t') {
    return std::string(word);
  }
  const std::string name = Lower(word);
  for (const KeyName& k : kKeyNames) {
    if (name != k.name) continue;
    if (k.code < kExtended) return std::string(1, static_cast<char>(k.code));
    return ExtendedKey(k.code - kExtended);
  }
  return {};
}

ParsedScript ParseScript(std::string_view text) {
  ParsedScript out;
  int lineNumber = 0;
  while (!text.empty() && !out.error) {
    size_t end = std::min(text.find('\n'), text.size());
    std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    ++lineNumber;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string_view body = Trim(line);
    if (body.empty() || body.front() == '#') continue;
    size_t wordEnd = 0;
    while (wordEnd < body.size() && !IsBlank(body[wordEnd])) ++wordEnd;
    // The rest keeps the line's own trailing blanks for "type".
    std::string_view rest = line.substr(static_cast<size_t>(body.data() - line.data()) + wordEnd);
    LineParser parser{lineNumber, rest, SplitWords(rest), out};
    parser.Run(Lower(body.substr(0, wordEnd)));
  }
  return out;
}

}  // namespace qelvar
