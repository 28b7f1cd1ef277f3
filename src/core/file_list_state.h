// The file list's page and scrolling, shared between the menus (wheel, thumb
// drag) and the file browser (listing, drawing, choosing rows).
#pragma once

#include <array>
#include <string>

namespace qelvar {

constexpr int kFileListRows = 14;

// One entry of the file list's page.
struct FileEntry {
  std::string name;  // kept whole, so long names can still be opened
  bool directory = false;
};

struct FileListState {
  int firstEntry = 0;        // index of the entry shown in file row 0
  int entryCount = 0;        // entries the last listing found
  bool needsListing = true;  // rebuild the listing at the next drawing
  bool thumbDrag = false;    // the scroll-bar thumb is being dragged
  int thumbRow = 1;          // file row that showed the thumb at the last drawing
  int rowCounter = 0;        // file rows drawn so far in this screen update
  std::array<FileEntry, kFileListRows> page{};  // entries firstEntry .. firstEntry + 13
  int listedFirstEntry = 0;                     // firstEntry when the page was listed
};

}  // namespace qelvar
