// Text STL: recognises a file made of "solid" ... "endsolid" blocks of facets
// and turns its facets into binary STL records, so both kinds import alike.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace qelvar {

// True when text is a text STL file: "solid" blocks of whole facets, each
// closed by "endsolid" except that the text may end after the last facet
// instead. Records then holds one 50-byte binary record per facet (normal,
// three corners, attribute word 0). Keywords are read in any case.
bool ParseTextStl(std::string_view text, std::vector<uint8_t>& records);

// True when text begins, after blanks and line ends, with the word "solid" in
// any case: the one start a text STL file can have.
bool StartsLikeTextStl(std::string_view text);

}  // namespace qelvar
