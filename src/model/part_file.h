// Part files: the selected triangles and the vertices they use, written as a
// "QVFA" file cut after its colour block, and appended to a model on loading.
#pragma once

#include <cstdint>
#include <string>

#include "model/model_store.h"

namespace qelvar {

// Writes the selection. Returns kMsgNothingSelected (no file written),
// kMsgFileSaved or kMsgCantOpenFile.
int SavePartFile(const ModelStore& model, const std::string& path);

// Appends the vertices and triangles of a part or model file, all triangles in
// `group`, unselected. Returns kMsgFileLoaded, kMsgCantOpenFile, kMsgNotQvFile
// or kMsgInvalidFile; the model is unchanged unless the result is kMsgFileLoaded.
int LoadPartFile(ModelStore& model, const std::string& path, uint8_t group);

}  // namespace qelvar
