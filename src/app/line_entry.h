// The line entry of the text prompt: the typed line, its cursor and editing
// keys, and the answer taken from the line when Enter ends it.
#pragma once

#include <string>
#include <string_view>

namespace qelvar {

constexpr size_t kMaxAnswerLength = 4096;

// The line being typed and the cursor in it.
struct LineEntry {
  std::string text;
  size_t cursor = 0;
  int screenColumns = 80;  // Up and Down move by one screen width
};

// Applies one key (one character, or 255 + scan code for extended keys).
// Returns true when the key ends the entry (Enter).
bool ApplyLineKey(LineEntry& entry, const std::string& key);

// Leading blanks and tabs skipped; a leading double quote takes the text up to
// the next one; otherwise the text up to the first comma; at most 4096 characters.
std::string ExtractAnswer(std::string_view line);

}  // namespace qelvar
