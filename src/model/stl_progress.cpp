// Progress line and Escape key of the STL import, through the platform.
#include "model/stl_progress.h"

#include <string>

#include "platform/platform.h"

namespace qelvar {

bool ScreenImportProgress::Cancelled(int32_t facet, int32_t facets) {
  const double now = platform_.Clock();
  if (!shown_ || now - shownAt_ >= kRefreshSeconds) {
    platform_.Lock();
    platform_.screen().PrintText(23, 1, StlProgressText(facet, facets), foreground_, background_);
    platform_.Unlock();
    shown_ = true;
    shownAt_ = now;
  }
  const std::string key = platform_.TakeKey();
  // The window's close request may be the key taken here; it ends the program
  // as it does everywhere else rather than being dropped.
  if (IsCloseRequest(key))
    platform_.EndProgram();
  return key == "\x1b";
}

}  // namespace qelvar
