// Export of the model as OBJ (with a material file beside it) and as binary
// little-endian PLY, chosen by the typed name; other names get binary STL.
#pragma once

#include <string>

#include "model/model_store.h"

namespace qelvar {

// Writes the model in the format the name's extension asks for (".obj",
// ".ply", case-insensitive; anything else binary STL). The model is only
// read. Returns kMsgFileSaved or kMsgCantOpenFile.
int ExportModel(const ModelStore& model, const std::string& path);

// OBJ: every vertex, runs of triangles of one group and colour under a `g`
// named after the part and a `usemtl` for the colour, lines as `l`, and
// vertices nothing uses as `p`. The materials go to the same name with ".mtl".
int ExportObj(const ModelStore& model, const std::string& path);

// PLY: every vertex; faces with red, green, blue (the colour word's 5-bit
// channels times 8) and the part group; lines as edge elements.
int ExportPly(const ModelStore& model, const std::string& path);

// A float as text that reads back to the same bits both with a correctly
// rounding reader and with readers that add the integer and fraction parts
// separately (as the import library does) for magnitudes from 2^-20 on.
std::string ExactFloatText(float value);

// The material file beside an OBJ file: its extension replaced by ".mtl".
std::string MaterialPath(const std::string& objPath);

}  // namespace qelvar
