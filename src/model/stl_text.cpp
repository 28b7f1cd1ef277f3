// Line-by-line parser of text STL files.
#include "model/stl_text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace qelvar {
namespace {

// Splits text into lines (ended by LF, CR LF or a lone CR) and lines into
// blank-separated words.
class LineReader {
 public:
  // A UTF-8 byte order mark, which some writers put first, is not a word.
  explicit LineReader(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
  }

  // Next line that holds a word; false at the end of the text.
  bool Next() {
    while (pos_ < text_.size()) {
      const size_t end = std::min(text_.find_first_of("\r\n", pos_), text_.size());
      line_ = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
      word_ = 0;
      if (!Word().empty()) {
        word_ = 0;
        return true;
      }
    }
    return false;
  }
  // The next word of the current line, "" when none is left.
  std::string_view Word() {
    while (word_ < line_.size() && IsBlank(line_[word_])) ++word_;
    const size_t start = word_;
    while (word_ < line_.size() && !IsBlank(line_[word_])) ++word_;
    return line_.substr(start, word_ - start);
  }
  bool AtLineEnd() {
    while (word_ < line_.size() && IsBlank(line_[word_])) ++word_;
    return word_ >= line_.size();
  }

 private:
  static bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
  }

  std::string_view text_, line_;
  size_t pos_ = 0, word_ = 0;
};

bool IsWord(std::string_view word, const char* keyword) {
  const size_t n = std::strlen(keyword);
  if (word.size() != n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(word[i])) != keyword[i]) return false;
  return true;
}

bool ParseFloat(std::string_view word, float& out) {
  if (word.empty() || word.size() > 64) return false;
  const std::string s(word);
  char* end = nullptr;
  errno = 0;
  out = std::strtof(s.c_str(), &end);
  return end == s.c_str() + s.size();
}

// Reads the rest of the line as n floats into dst.
bool ReadFloats(LineReader& r, int n, float* dst) {
  for (int i = 0; i < n; ++i)
    if (!ParseFloat(r.Word(), dst[i])) return false;
  return r.AtLineEnd();
}

// The normal: the rest of the line as three words. It is never used, so a
// word that is not a number (some writers print "-1.#IND00e+000" for a facet
// of no area) is kept as 0.
bool ReadNormal(LineReader& r, float* dst) {
  for (int i = 0; i < 3; ++i) {
    const std::string_view word = r.Word();
    if (word.empty()) return false;
    if (!ParseFloat(word, dst[i])) dst[i] = 0.0f;
  }
  return r.AtLineEnd();
}

bool ExpectLine(LineReader& r, const char* first, const char* second) {
  if (!r.Next() || !IsWord(r.Word(), first)) return false;
  if (second && !IsWord(r.Word(), second)) return false;
  return r.AtLineEnd();
}

// One facet, its "facet" line already current.
bool ParseFacet(LineReader& r, std::vector<uint8_t>& records) {
  float f[12] = {};
  if (!IsWord(r.Word(), "normal") || !ReadNormal(r, f)) return false;
  if (!ExpectLine(r, "outer", "loop")) return false;
  for (int c = 0; c < 3; ++c)
    if (!r.Next() || !IsWord(r.Word(), "vertex") || !ReadFloats(r, 3, f + 3 + 3 * c)) return false;
  if (!ExpectLine(r, "endloop", nullptr) || !ExpectLine(r, "endfacet", nullptr)) return false;
  const size_t at = records.size();
  records.resize(at + 50, 0);  // attribute word 0
  std::memcpy(records.data() + at, f, 48);
  return true;
}

}  // namespace

bool StartsLikeTextStl(std::string_view text) {
  LineReader r(text);
  return r.Next() && IsWord(r.Word(), "solid");
}

bool ParseTextStl(std::string_view text, std::vector<uint8_t>& records) {
  records.clear();
  LineReader r(text);
  bool sawSolid = false;
  while (r.Next()) {
    if (!IsWord(r.Word(), "solid")) return false;  // the name may follow on the line
    sawSolid = true;
    for (;;) {
      // A file that ends after a complete facet instead of "endsolid" was cut
      // or written without it; its facets are kept.
      if (!r.Next()) return !records.empty();
      const std::string_view word = r.Word();
      if (IsWord(word, "endsolid")) break;
      if (!IsWord(word, "facet") || !ParseFacet(r, records)) return false;
    }
  }
  return sawSolid;
}

}  // namespace qelvar
