// STL import (binary, and text files that parse as such) with corners welded
// into shared vertices, and binary STL export.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/model_store.h"

namespace qelvar {

class InputFile;

// Told of the import's progress every 128 facets; answers whether the user
// asked to cancel. Without one the import runs silently to the end.
class ImportProgress {
 public:
  virtual ~ImportProgress() = default;
  virtual bool Cancelled(int32_t facet, int32_t facets) = 0;
};

constexpr uint64_t kStlHeaderSize = 84;
constexpr uint64_t kStlRecordSize = 50;
constexpr int kStlProgressStep = 128;

// Replaces the model's vertices, triangles and lines with the facets of an
// open STL file. Returns kMsgCanceled after Escape, else kMsgNone (also when
// the file ends early or its facet count is below 1).
int ImportStl(InputFile& file, ModelStore& model, ImportProgress* progress);

// True when the file starts with "solid" and reads whole as text STL. Such a
// file imports as text whatever its length.
bool IsTextStl(InputFile& file);

// True when the file may be text STL: it starts like one and none of its
// first kStlTextProbeSize bytes is NUL. Only such files are read whole to be
// tried as text.
bool MayBeTextStl(InputFile& file);
constexpr size_t kStlTextProbeSize = 65536;

// Writes every triangle as a binary STL facet with its normal and colour word.
// Returns kMsgFileSaved or kMsgCantOpenFile.
int ExportStl(const ModelStore& model, const std::string& path);

// The progress line: "importing stl...  k/ n (ESC to cancel)".
std::string StlProgressText(int32_t k, int32_t n);

}  // namespace qelvar
