// Progress line and Escape key of the STL import, through the platform.
#include "model/stl_progress.h"

#include "platform/platform.h"

namespace qelvar {

bool ScreenImportProgress::Cancelled(int32_t facet, int32_t facets) {
  platform_.Lock();
  platform_.screen().PrintText(23, 1, StlProgressText(facet, facets), foreground_, background_);
  platform_.Unlock();
  return platform_.TakeKey() == "\x1b";
}

}  // namespace qelvar
