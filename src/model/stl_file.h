// STL import (binary, and text files that parse as such) with corners welded
// into shared vertices, and binary STL export.
#pragma once

#include <cstdint>
#include <string>

#include "model/model_store.h"

namespace qelvar {

class Platform;
class InputFile;

// Where the import shows its progress line and looks for Escape. Without a
// platform the import runs silently and cannot be cancelled.
struct ImportFeedback {
  Platform* platform = nullptr;
  uint32_t foreground = 0, background = 0;  // screen colours of the status line
};

constexpr uint64_t kStlHeaderSize = 84;
constexpr uint64_t kStlRecordSize = 50;
constexpr int kStlProgressStep = 128;

// Replaces the model's vertices, triangles and lines with the facets of an
// open STL file. Returns kMsgCanceled after Escape, else kMsgNone (also when
// the file ends early or its facet count is below 1).
int ImportStl(InputFile& file, ModelStore& model, const ImportFeedback& feedback);

// Writes every triangle as a binary STL facet with its normal and colour word.
// Returns kMsgFileSaved or kMsgCantOpenFile.
int ExportStl(const ModelStore& model, const std::string& path);

// The progress line: "importing stl...  k/ n (ESC to cancel)".
std::string StlProgressText(int32_t k, int32_t n);

}  // namespace qelvar
