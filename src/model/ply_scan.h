// A bounded reader of a PLY file's header and element records, run beside the
// import library's reader: it checks that a binary body holds every record its
// header declares (the library's binary reader runs past the end of a
// truncated file) and collects what the library drops: per-face colours and
// part groups and the edge elements.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qelvar {

class InputFile;

struct PlyExtras {
  uint64_t vertexCount = 0;
  std::vector<uint32_t> faceCorners;  // corners of each face, to match the library's faces
  std::vector<uint16_t> faceColours;  // colour words; empty unless faces have red, green, blue
  std::vector<uint8_t> faceGroups;    // part groups; empty unless faces have "group"
  std::vector<std::array<int32_t, 2>> edges;  // vertex pairs, each below vertexCount
};

struct PlyScan {
  bool isPly = false;      // starts with "ply" in any case
  bool refused = false;    // a binary body cut short or a header that cannot be read
  bool hasExtras = false;  // `extras` was read whole (else it is empty)
  PlyExtras extras;
};

// Never trusts the declared counts: every record is found within the file
// before it is read, and anything odd leaves hasExtras false. A file that
// starts with "ply" but whose first megabyte holds no header made only of the
// lines PLY defines (ending in an "end_header" line) is refused.
// Any file may be scanned: other files are not PLY and not refused.
PlyScan ScanPly(InputFile& file);

}  // namespace qelvar
