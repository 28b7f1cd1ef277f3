// The " Open" file list: a directory listing shown one page of 14 rows at a
// time, with a scroll bar in the last column of each row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/file_list_state.h"

namespace qelvar {

constexpr int kFileRows = kFileListRows;
constexpr int kFileRowWidth = 36;
constexpr int kFilePageStep = 14;
constexpr int kFileWheelStep = 4;  // entries per wheel notch

// Listing order: with allFiles off the "*.qv" files, then the "*.stl" files
// and the files of the import library's mesh formats
// (extensions in any case), then the directories; with allFiles on every file,
// then the directories. ".." leads the directories except at the root. Names
// are sorted within each group.
std::vector<FileEntry> ListDirectory(const std::string& directory, bool allFiles);

// Takes the page at the current offset from a listing; an offset past the end
// moves back to the last entry.
void BuildFileList(FileListState& list, const std::vector<FileEntry>& entries);
// Lists the current directory again when the offset moved or a rebuild was requested.
void RefreshFileList(FileListState& list, bool allFiles);
// Back to the first entry with a fresh listing.
void RestartFileList(FileListState& list);

// The 36 characters of file row r, scroll-bar character last; remembers the thumb row.
std::string FileRowText(FileListState& list, int row);
// A row past the end of the listing (or of an empty listing) cannot be chosen.
bool FileRowBlank(const FileListState& list, int row);

// Moves the first listed entry, never below 0.
void ScrollFileList(FileListState& list, int64_t delta);
// "<prev page next>": direction -1 or +1.
void StepFileListPage(FileListState& list, int direction);
// Thumb dragged by `rows` text rows.
void DragFileListThumb(FileListState& list, int rows);

enum class FileRowChoice {
  kNothing,         // blank row
  kScrolled,        // scroll column, page or no-op step
  kArrow,           // scroll-bar arrow: repeats while the button is held
  kStartThumbDrag,  // scroll column on the thumb row
  kEnterDirectory,  // the entry is a directory
  kOpenFile,        // the entry is a file
};
// What choosing file row r does; scroll-column effects are applied here.
FileRowChoice ChooseFileRow(FileListState& list, int row, bool scrollColumn);

// Makes path the current directory; false (and nothing changes) when it cannot be.
bool ChangeDirectory(const std::string& path);

}  // namespace qelvar
