// Where the blocks of a model file lie: the "QVFA" and "QVNE" layouts, their
// counts and block offsets, checked against the file's length.
#pragma once

#include <cstdint>
#include <vector>

namespace qelvar {

enum class ModelVariant { kQvfa, kQvne };

// Offsets are from the start of the file. The colour block exists only when
// colourMode is not 0 (coloursAt == trianglesEnd then marks where it would be).
struct ModelLayout {
  ModelVariant variant = ModelVariant::kQvfa;
  int32_t vertices = 0, triangles = 0, lines = 0, colourMode = 0;
  uint64_t verticesAt = 0, linesAt = 0, trianglesAt = 0, coloursAt = 0, flagsAt = 0, namesAt = 0;
  uint64_t end = 0;  // one past the part-name block
  bool hasColours() const { return colourMode != 0; }
};

enum class LayoutStatus { kOk, kUnknownMagic, kInvalid };

constexpr uint64_t kPartNamesSize = 100 * 12;
// Enough bytes for the header of either variant ("QVNE", its extra byte and
// the four counts).
constexpr uint64_t kModelHeaderSize = 21;

// Reads the magic and the header. kUnknownMagic when the file does not start
// with "QVFA" or "QVNE"; kInvalid when the header is cut short or a count is
// negative. Block offsets are computed but not checked against the length.
LayoutStatus ReadModelLayout(const std::vector<uint8_t>& bytes, ModelLayout& out);

// True when each of the count int32 values at p lies in [0, limit).
bool IndicesInRange(const uint8_t* p, uint64_t count, int32_t limit);

}  // namespace qelvar
