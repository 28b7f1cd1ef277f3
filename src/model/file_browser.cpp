// Directory listing, paging and the rows of the file list.
#include "model/file_browser.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "model/mesh_import.h"

namespace qelvar {
namespace fs = std::filesystem;
namespace {

constexpr char kEmptyListText[] = " << file list empty >>          ";
constexpr char kUpArrow = 24, kDownArrow = 25, kShade = char(178), kThumb = char(219);

bool HasExtension(const std::string& name, std::string_view ext) {
  if (name.size() < ext.size()) return false;
  return std::equal(
      ext.begin(), ext.end(), name.end() - std::ptrdiff_t(ext.size()),
      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

bool IsRoot(const std::string& directory) {
  std::error_code ec;
  const fs::path p = fs::canonical(directory, ec);
  return !ec && p == p.root_path();
}

void SortNames(std::vector<FileEntry>& group) {
  std::sort(group.begin(), group.end(),
            [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
}

}  // namespace

std::vector<FileEntry> ListDirectory(const std::string& directory, bool allFiles) {
  std::vector<FileEntry> models, stl, others, directories;
  std::error_code ec;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    std::string name = it->path().filename().string();
    if (it->is_directory(typeError)) {
      directories.push_back({std::move(name), true});
    } else if (it->is_regular_file(typeError)) {
      if (allFiles)
        others.push_back({std::move(name), false});
      else if (HasExtension(name, ".qv"))
        models.push_back({std::move(name), false});
      else if (HasExtension(name, ".stl") || HasMeshExtension(name))
        stl.push_back({std::move(name), false});
    }
  }
  SortNames(models);
  SortNames(stl);
  SortNames(others);
  SortNames(directories);
  if (!IsRoot(directory)) directories.insert(directories.begin(), {"..", true});
  std::vector<FileEntry> all;
  for (auto* group : {&models, &stl, &others, &directories})
    std::move(group->begin(), group->end(), std::back_inserter(all));
  return all;
}

void BuildFileList(FileListState& list, const std::vector<FileEntry>& entries) {
  list.entryCount = int32_t(std::min<size_t>(entries.size(), INT32_MAX));
  if (list.firstEntry >= list.entryCount) list.firstEntry = std::max(list.entryCount - 1, 0);
  list.listedFirstEntry = list.firstEntry;
  list.needsListing = false;
  for (int r = 0; r < kFileRows; ++r) {
    const int64_t i = int64_t{list.firstEntry} + r;
    list.page[size_t(r)] = i < list.entryCount ? entries[size_t(i)] : FileEntry{};
  }
}

void RefreshFileList(FileListState& list, bool allFiles) {
  if (list.needsListing || list.firstEntry != list.listedFirstEntry)
    BuildFileList(list, ListDirectory(".", allFiles));
}

void RestartFileList(FileListState& list) {
  list.firstEntry = 0;
  list.needsListing = true;
}

bool FileRowBlank(const FileListState& list, int row) {
  return int64_t{list.firstEntry} + row >= list.entryCount;
}

std::string FileRowText(FileListState& list, int row) {
  std::string text;
  if (list.entryCount == 0) {
    text = kEmptyListText;
  } else if (!FileRowBlank(list, row)) {
    const FileEntry& e = list.page[size_t(row)];
    text = e.name.substr(0, kFileRowWidth);
    text.resize(kFileRowWidth, ' ');
    if (e.directory) text.replace(29, 7, " <DIR> ");
  }
  text.resize(kFileRowWidth, ' ');
  list.thumbRow =
      list.entryCount > 0 ? int(1 + int64_t{list.firstEntry} * 12 / list.entryCount) : 1;
  char bar = kShade;
  if (row == 0)
    bar = kUpArrow;
  else if (row == kFileRows - 1)
    bar = kDownArrow;
  else if (row == list.thumbRow)
    bar = kThumb;
  text[kFileRowWidth - 1] = bar;
  return text;
}

void ScrollFileList(FileListState& list, int64_t delta) {
  const int64_t offset = std::clamp<int64_t>(int64_t{list.firstEntry} + delta, 0, INT32_MAX);
  list.firstEntry = int32_t(offset);
}

void StepFileListPage(FileListState& list, int direction) {
  ScrollFileList(list, int64_t{direction} * kFilePageStep);
}

void DragFileListThumb(FileListState& list, int rows) {
  ScrollFileList(list, int64_t{list.entryCount} * rows / 12);
}

FileRowChoice ChooseFileRow(FileListState& list, int row, bool scrollColumn) {
  if (scrollColumn) {
    if (row == 0 || row == kFileRows - 1) {
      if (row == kFileRows - 1 || list.firstEntry > 0) ScrollFileList(list, row == 0 ? -1 : 1);
      return FileRowChoice::kArrow;
    }
    if (row == list.thumbRow) return FileRowChoice::kStartThumbDrag;
    StepFileListPage(list, row < list.thumbRow ? -1 : 1);
    return FileRowChoice::kScrolled;
  }
  if (list.entryCount == 0 || FileRowBlank(list, row)) return FileRowChoice::kNothing;
  return list.page[size_t(row)].directory ? FileRowChoice::kEnterDirectory
                                          : FileRowChoice::kOpenFile;
}

bool ChangeDirectory(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  fs::current_path(path, ec);
  return !ec;
}

}  // namespace qelvar
