// The model file: loading "QVFA" and "QVNE" files (or handing other files to
// the STL import) and saving in the "QVFA" layout.
#pragma once

#include <cstdint>
#include <string>

#include "model/model_store.h"
#include "model/stl_file.h"

namespace qelvar {

// What a model load may change besides the store.
struct ModelFileTarget {
  ModelStore& model;
  std::string& fileName;  // the name " Save" writes
  uint32_t& options;      // the "[_] model Colors" bit
};

// Replaces the model with the named file. A model file that cannot be read
// whole (bad counts, blocks past the end, indices outside the vertices) is
// refused and nothing changes. Text STL files are imported as STL; then files
// named with one of the import library's mesh extensions go to that library
// (refused or cancelled, the model stays as it was); other files of 130 bytes
// or more are imported as binary STL. An imported model is named after the
// file with ".qv" for its extension. Returns kMsgFileLoaded, kMsgCantOpenFile, kMsgInvalidFile,
// or the STL import's result.
int LoadModelFile(const std::string& path, ModelFileTarget target, ImportProgress* progress);

// Writes the whole model in the "QVFA" layout, colour mode 1 when the model's
// colours are shown, else 2. Returns kMsgFileSaved or kMsgCantOpenFile.
int SaveModelFile(const ModelStore& model, const std::string& path, bool modelColours);

}  // namespace qelvar
