// The STL import's progress line on the status row and its Escape check.
#pragma once

#include <cstdint>

#include "model/stl_file.h"

namespace qelvar {

class Platform;

class ScreenImportProgress : public ImportProgress {
 public:
  // Colours in the screen's own meaning: the status line's text and background.
  ScreenImportProgress(Platform& platform, uint32_t foreground, uint32_t background)
      : platform_(platform), foreground_(foreground), background_(background) {}
  // Prints the progress line at row 23 and takes one key; true when it is Escape.
  bool Cancelled(int32_t facet, int32_t facets) override;

 private:
  Platform& platform_;
  uint32_t foreground_, background_;
};

}  // namespace qelvar
