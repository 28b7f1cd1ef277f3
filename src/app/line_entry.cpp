// Editing the prompt's line and taking the answer from it.
#include "app/line_entry.h"

#include <cstdint>

#include "platform/platform.h"

namespace qelvar {
namespace {

// Bounds the memory a held key can fill; far beyond any answer kept.
constexpr size_t kMaxLineLength = 4 * kMaxAnswerLength;

void Insert(LineEntry& e, std::string_view s) {
  if (e.text.size() + s.size() > kMaxLineLength) return;
  e.text.insert(e.cursor, s);
  e.cursor += s.size();
}

}  // namespace

bool ApplyLineKey(LineEntry& e, const std::string& key) {
  if (key.size() == 2 && static_cast<uint8_t>(key[0]) == 255) {
    const size_t width = static_cast<size_t>(e.screenColumns > 0 ? e.screenColumns : 80);
    switch (static_cast<uint8_t>(key[1])) {
      case kScanLeft:
        if (e.cursor > 0) --e.cursor;
        break;
      case kScanRight:
        if (e.cursor < e.text.size()) ++e.cursor;
        break;
      case kScanHome:
        e.cursor = 0;
        break;
      case kScanEnd:
        e.cursor = e.text.size();
        break;
      case kScanUp:
        if (e.cursor >= width) e.cursor -= width;
        break;
      case kScanDown:
        if (e.cursor + width <= e.text.size()) e.cursor += width;
        break;
      case kScanDelete:
        if (e.cursor < e.text.size()) e.text.erase(e.cursor, 1);
        break;
      default:
        break;
    }
    return false;
  }
  if (key.size() != 1) return false;
  const auto c = static_cast<uint8_t>(key[0]);
  if (c == 13) return true;
  if (c == 27) {
    e.text.clear();
    e.cursor = 0;
  } else if (c == 8) {
    if (e.cursor > 0) e.text.erase(--e.cursor, 1);
  } else if (c == 9) {
    Insert(e, std::string(8 - e.cursor % 8, ' '));
  } else if (c >= 32) {
    Insert(e, key);
  }
  return false;
}

std::string ExtractAnswer(std::string_view line) {
  size_t start = line.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  line.remove_prefix(start);
  std::string_view answer;
  if (line.front() == '"') {
    line.remove_prefix(1);
    answer = line.substr(0, line.find('"'));
  } else {
    answer = line.substr(0, line.find(','));
  }
  return std::string(answer.substr(0, kMaxAnswerLength));
}

}  // namespace qelvar
