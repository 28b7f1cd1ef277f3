// Text STL: recognises a file made of "solid" ... "endsolid" blocks of facets
// and turns its facets into binary STL records, so both kinds import alike.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qelvar {

// True when text is a complete text STL file; records then holds one 50-byte
// binary record per facet (normal, three corners, attribute word 0).
bool ParseTextStl(std::string_view text, std::vector<uint8_t>& records);

}  // namespace qelvar
