// Import of the mesh formats of the general import library (OBJ, PLY, OFF,
// glTF, 3MF and more). The library's types stay inside mesh_import.cpp.
#pragma once

#include <string>
#include <vector>

#include "model/model_store.h"
#include "model/stl_file.h"

namespace qelvar {

// The extensions (lower case, with the dot) of the library's mesh formats,
// STL excepted: STL stays with the program's own import.
const std::vector<std::string>& MeshExtensions();

// True when the name ends (case-insensitive) in one of MeshExtensions().
bool HasMeshExtension(const std::string& name);

struct MeshImportResult {
  int message;      // kMsgFileLoaded, kMsgInvalidFile or kMsgCanceled
  bool hasColours;  // the file gave its triangles colours
};

// Fills `model` (an initialised store, replaced whole) with every mesh of the
// file: polygons triangulated, corners with the same coordinate bytes welded
// into one vertex, mesh k in part group k (later meshes share the last
// group) named after the mesh, two-corner faces as lines. The model is only
// of use when the message is kMsgFileLoaded.
MeshImportResult ImportMeshFile(const std::string& path, ModelStore& model,
                                ImportProgress* progress);

}  // namespace qelvar
