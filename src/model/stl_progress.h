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
  // Prints the progress line at row 23 and takes one key; true when it is
  // Escape. Showing the screen costs far more than 128 facets, so the line is
  // printed at the first facet and then only once the last one has been seen
  // for kRefreshSeconds; the key is taken every time.
  bool Cancelled(int32_t facet, int32_t facets) override;

  static constexpr double kRefreshSeconds = 0.04;

 private:
  Platform& platform_;
  uint32_t foreground_, background_;
  bool shown_ = false;
  double shownAt_ = 0.0;
};

}  // namespace qelvar
