// Build-time generator: reads two uncompressed PSF console fonts (8 pixels
// wide, 8 and 16 rows high), looks up the glyph of every code page 437 code
// through the font's Unicode table, and writes the C++ source of the two
// compiled-in glyph tables.
//
//   font_table_gen OUTPUT.cpp FONT8x8.psf FONT8x16.psf
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "platform/cp437.h"

namespace {

struct PsfFont {
  int height = 0;
  std::vector<std::vector<uint8_t>> glyphs;  // rows, top first, bit 7 leftmost
  std::map<uint32_t, int> glyphOfCodePoint;  // first glyph listed for a code point
};

// Code points tried when the font lacks a code's own: look-alike symbols, or
// the base letter of an accented one.
struct Alternate {
  int code;
  uint32_t codePoints[2];
};
constexpr Alternate kAlternates[] = {
    {16, {0x25B6, 0x25B8}}, {17, {0x25C0, 0x25C2}}, {134, {'a', 0}},    {141, {'i', 0}},
    {143, {'A', 0}},        {149, {'o', 0}},        {225, {0x03B2, 0}}, {230, {0x03BC, 0}},
    {238, {0x2208, 0}},     {249, {0x00B7, 0}},     {250, {0x2219, 0}}, {254, {0x25AE, 0}},
    {255, {' ', 0}},        {158, {'P', 0}},        {240, {0x2630, 0}}, {169, {0x00AC, 0}},
};

uint32_t ReadLe(const std::vector<uint8_t>& d, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | d.at(at + i);
  return v;
}

// Decodes one UTF-8 sequence at d[pos]; advances pos.
uint32_t DecodeUtf8(const std::vector<uint8_t>& d, size_t& pos) {
  uint8_t b = d.at(pos++);
  int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
  uint32_t cp = extra == 0 ? b : (b & (0x3F >> extra));
  for (int i = 0; i < extra; ++i) cp = (cp << 6) | (d.at(pos++) & 0x3F);
  return cp;
}

void ReadPsf1Table(const std::vector<uint8_t>& d, size_t pos, PsfFont& font) {
  for (int glyph = 0; glyph < static_cast<int>(font.glyphs.size()) && pos + 1 < d.size();) {
    uint32_t u = ReadLe(d, pos, 2);
    pos += 2;
    if (u == 0xFFFF) {
      ++glyph;
    } else if (u == 0xFFFE) {
      // Sequences (combining forms) follow up to the glyph's end: not single code points.
      while (pos + 1 < d.size() && ReadLe(d, pos, 2) != 0xFFFF) pos += 2;
    } else {
      font.glyphOfCodePoint.emplace(u, glyph);
    }
  }
}

void ReadPsf2Table(const std::vector<uint8_t>& d, size_t pos, PsfFont& font) {
  for (int glyph = 0; glyph < static_cast<int>(font.glyphs.size()) && pos < d.size();) {
    if (d[pos] == 0xFF) {
      ++glyph;
      ++pos;
    } else if (d[pos] == 0xFE) {
      while (pos < d.size() && d[pos] != 0xFF) ++pos;
    } else {
      font.glyphOfCodePoint.emplace(DecodeUtf8(d, pos), glyph);
    }
  }
}

bool LoadPsf(const std::string& path, PsfFont& font, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t glyphCount = 0, glyphBytes = 0, dataStart = 0;
  bool hasTable = false, psf2 = false;
  if (d.size() >= 4 && d[0] == 0x36 && d[1] == 0x04) {
    glyphCount = (d[2] & 1) ? 512 : 256;
    hasTable = (d[2] & 6) != 0;
    font.height = d[3];
    glyphBytes = d[3];
    dataStart = 4;
  } else if (d.size() >= 32 && ReadLe(d, 0, 4) == 0x864AB572) {
    psf2 = true;
    dataStart = ReadLe(d, 8, 4);
    hasTable = (ReadLe(d, 12, 4) & 1) != 0;
    glyphCount = ReadLe(d, 16, 4);
    glyphBytes = ReadLe(d, 20, 4);
    font.height = static_cast<int>(ReadLe(d, 24, 4));
    if (ReadLe(d, 28, 4) != 8) return error = "glyphs are not 8 pixels wide", false;
  } else {
    return error = "not a PSF font", false;
  }
  if (!hasTable) return error = "the font has no Unicode table", false;
  if (glyphBytes != static_cast<size_t>(font.height) ||
      dataStart + glyphCount * glyphBytes > d.size()) {
    return error = "truncated or malformed glyph data", false;
  }
  for (size_t g = 0; g < glyphCount; ++g) {
    auto first = d.begin() + static_cast<long>(dataStart + g * glyphBytes);
    font.glyphs.emplace_back(first, first + static_cast<long>(glyphBytes));
  }
  size_t tableStart = dataStart + glyphCount * glyphBytes;
  if (psf2) {
    ReadPsf2Table(d, tableStart, font);
  } else {
    ReadPsf1Table(d, tableStart, font);
  }
  return true;
}

// The glyph index for a code page 437 code, or -1 for a blank cell.
int GlyphFor(const PsfFont& font, int code) {
  if (code == 0) return -1;
  auto found = font.glyphOfCodePoint.find(qelvar::kCp437CodePoints[code]);
  if (found != font.glyphOfCodePoint.end()) return found->second;
  for (const Alternate& alt : kAlternates) {
    if (alt.code != code) continue;
    for (uint32_t cp : alt.codePoints) {
      auto a = font.glyphOfCodePoint.find(cp);
      if (cp != 0 && a != font.glyphOfCodePoint.end()) return a->second;
    }
  }
  return -1;
}

void WriteTable(std::FILE* out, const PsfFont& font, int height, const char* name,
                const char* fontPath) {
  std::fprintf(out, "const uint8_t %s[256][%d] = {\n", name, height);
  int blanks = 0;
  for (int code = 0; code < 256; ++code) {
    int glyph = GlyphFor(font, code);
    if (glyph < 0 && code != 0) ++blanks;
    std::fprintf(out, "    {");
    for (int row = 0; row < height; ++row) {
      int bits = glyph < 0 ? 0 : font.glyphs[glyph][row];
      std::fprintf(out, "%s0x%02X", row ? ", " : "", bits);
    }
    std::fprintf(out, "},  // %d\n", code);
  }
  std::fprintf(out, "};\n");
  std::printf("font_table_gen: %s: %d codes without a glyph are left blank\n", fontPath, blanks);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: font_table_gen OUTPUT.cpp FONT8x8.psf FONT8x16.psf\n");
    return 2;
  }
  PsfFont fonts[2];
  const int heights[2] = {8, 16};
  for (int i = 0; i < 2; ++i) {
    std::string error;
    if (!LoadPsf(argv[2 + i], fonts[i], error) || fonts[i].height != heights[i]) {
      if (error.empty()) error = "wrong glyph height";
      std::fprintf(stderr, "font_table_gen: %s: %s\n", argv[2 + i], error.c_str());
      return 1;
    }
  }
  std::FILE* out = std::fopen(argv[1], "w");
  if (!out) {
    std::fprintf(stderr, "font_table_gen: cannot write %s\n", argv[1]);
    return 1;
  }
  std::fprintf(out, "// Generated at build time from the console fonts; do not edit.\n");
  std::fprintf(out, "#include \"platform/font.h\"\n\nnamespace qelvar {\n\n");
  WriteTable(out, fonts[0], 8, "kGlyphs8x8", argv[2]);
  std::fprintf(out, "\n");
  WriteTable(out, fonts[1], 16, "kGlyphs8x16", argv[3]);
  std::fprintf(out, "\n}  // namespace qelvar\n");
  return std::fclose(out) == 0 ? 0 : 1;
}
