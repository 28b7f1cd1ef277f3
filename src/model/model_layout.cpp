// Header parsing and block offsets of the two model file variants.
#include "model/model_layout.h"

#include <cstring>

#include "model/file_io.h"

namespace qelvar {

LayoutStatus ReadModelLayout(const std::vector<uint8_t>& bytes, ModelLayout& out) {
  if (bytes.size() < 4) return LayoutStatus::kUnknownMagic;
  uint64_t at;
  if (std::memcmp(bytes.data(), "QVFA", 4) == 0) {
    out.variant = ModelVariant::kQvfa;
    at = 4;
  } else if (std::memcmp(bytes.data(), "QVNE", 4) == 0) {
    out.variant = ModelVariant::kQvne;
    at = 5;  // one ignored byte follows this magic
  } else {
    return LayoutStatus::kUnknownMagic;
  }
  if (bytes.size() < at + 16) return LayoutStatus::kInvalid;
  const uint8_t* h = bytes.data() + at;
  out.vertices = GetI32(h);
  out.triangles = GetI32(h + 4);
  out.lines = GetI32(h + 8);
  out.colourMode = GetI32(h + 12);
  if (out.vertices < 0 || out.triangles < 0 || out.lines < 0) return LayoutStatus::kInvalid;
  at += 16;

  // Counts are below 2^31, so every offset fits easily in 64 bits.
  const uint64_t v = 12ull * uint64_t(out.vertices), l = 8ull * uint64_t(out.lines);
  const uint64_t t = 12ull * uint64_t(out.triangles), f = uint64_t(out.triangles);
  const uint64_t c = out.hasColours() ? 2ull * uint64_t(out.triangles) : 0;
  out.verticesAt = at;
  if (out.variant == ModelVariant::kQvfa) {
    out.linesAt = at + v;
    out.trianglesAt = out.linesAt + l;
    out.coloursAt = out.trianglesAt + t;
    out.flagsAt = out.coloursAt + c;
    out.namesAt = out.flagsAt + f;
  } else {
    out.trianglesAt = at + v;
    out.flagsAt = out.trianglesAt + t;
    out.coloursAt = out.flagsAt + f;
    out.linesAt = out.coloursAt + c;
    out.namesAt = out.linesAt + l;
  }
  out.end = out.namesAt + kPartNamesSize;
  return LayoutStatus::kOk;
}

bool IndicesInRange(const uint8_t* p, uint64_t count, int32_t limit) {
  for (uint64_t i = 0; i < count; ++i, p += 4) {
    const int32_t index = GetI32(p);
    if (index < 0 || index >= limit) return false;
  }
  return true;
}

}  // namespace qelvar
