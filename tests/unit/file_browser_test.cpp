// The file list: listing order and filters on a real directory, paging, the
// rows' texts with their scroll bar, and scroll-column choices.
#include "model/file_browser.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "file_test_util.h"

namespace qelvar {
namespace {

std::vector<FileEntry> Entries(int n) {
  std::vector<FileEntry> e;
  for (int i = 0; i < n; ++i) e.push_back({"file" + std::to_string(100 + i) + ".qv", false});
  return e;
}

std::vector<std::string> Names(const std::vector<FileEntry>& entries) {
  std::vector<std::string> names;
  for (const FileEntry& e : entries) names.push_back(e.name + (e.directory ? "/" : ""));
  return names;
}

class FileBrowser : public test::TempDirTest {
 protected:
  void Touch(const std::string& name) { test::WriteBytes(Path(name), {1}); }
};

TEST_F(FileBrowser, ListsModelsThenStlThenDirectoriesEachSorted) {
  for (const char* f : {"b.qv", "A.QV", "z.stl", "m.StL", "notes.txt", "README", "x.qv.bak"})
    Touch(f);
  std::filesystem::create_directory(Path("sub"));
  std::filesystem::create_directory(Path("dir.qv"));
  EXPECT_EQ(Names(ListDirectory(dir_.string(), false)),
            (std::vector<std::string>{"A.QV", "b.qv", "m.StL", "z.stl", "../", "dir.qv/", "sub/"}));
  EXPECT_EQ(Names(ListDirectory(dir_.string(), true)),
            (std::vector<std::string>{"A.QV", "README", "b.qv", "m.StL", "notes.txt", "x.qv.bak",
                                      "z.stl", "../", "dir.qv/", "sub/"}));
  const auto root = Names(ListDirectory("/", false));
  EXPECT_EQ(std::count(root.begin(), root.end(), "../"), 0);  // no way up from the root
}

TEST_F(FileBrowser, PagingThumbAndBlankRows) {
  FileListState list;
  const auto entries = Entries(30);
  BuildFileList(list, entries);
  EXPECT_EQ(list.entryCount, 30);
  FileRowText(list, 0);
  EXPECT_EQ(list.thumbRow, 1);
  ScrollFileList(list, 20);
  BuildFileList(list, entries);
  EXPECT_EQ(FileRowText(list, 9).back(), char(219));
  EXPECT_EQ(list.thumbRow, 9);  // 1 + 240 / 30

  list.firstEntry = 28;
  StepFileListPage(list, +1);
  EXPECT_EQ(list.firstEntry, 42);
  BuildFileList(list, entries);
  EXPECT_EQ(list.firstEntry, 29);
  EXPECT_EQ(FileRowText(list, 0).substr(0, 10), "file129.qv");
  EXPECT_TRUE(FileRowBlank(list, 1));
  EXPECT_EQ(FileRowText(list, 5), std::string(35, ' ') + char(178));
  EXPECT_EQ(FileRowText(list, 13), std::string(35, ' ') + char(25));
  EXPECT_EQ(ChooseFileRow(list, 5, false), FileRowChoice::kNothing);
  StepFileListPage(list, -1);
  StepFileListPage(list, -1);
  StepFileListPage(list, -1);
  EXPECT_EQ(list.firstEntry, 0);
}

TEST_F(FileBrowser, RowTextsCutPadAndMarkDirectories) {
  FileListState list;
  const std::string longName(40, 'n');
  BuildFileList(list, {{longName, false}, {"up", true}, {std::string(33, 'd'), true}});
  const std::string row0 = FileRowText(list, 0);
  ASSERT_EQ(row0.size(), 36u);
  EXPECT_EQ(row0, std::string(35, 'n') + char(24));
  EXPECT_EQ(FileRowText(list, 1), "up" + std::string(27, ' ') + " <DIR>" + char(219));
  EXPECT_EQ(FileRowText(list, 2), std::string(29, 'd') + " <DIR>" + char(178));
  EXPECT_EQ(ChooseFileRow(list, 0, false), FileRowChoice::kOpenFile);
  EXPECT_EQ(list.page[0].name, longName);  // opened by its full name
  EXPECT_EQ(ChooseFileRow(list, 1, false), FileRowChoice::kEnterDirectory);
}

TEST_F(FileBrowser, EmptyListShowsItsTextAndCannotBeChosen) {
  FileListState list;
  list.firstEntry = 5;
  BuildFileList(list, {});
  EXPECT_EQ(list.firstEntry, 0);
  for (int r = 0; r < kFileRows; ++r) {
    EXPECT_EQ(FileRowText(list, r).substr(0, 32), " << file list empty >>          ");
    EXPECT_EQ(ChooseFileRow(list, r, false), FileRowChoice::kNothing);
  }
}

TEST_F(FileBrowser, ScrollColumnStepsArrowsPagesAndStartsDrags) {
  FileListState list;
  const auto entries = Entries(100);
  BuildFileList(list, entries);
  FileRowText(list, 0);
  EXPECT_EQ(ChooseFileRow(list, 0, true), FileRowChoice::kArrow);
  EXPECT_EQ(list.firstEntry, 0);  // the up arrow stops at the top
  EXPECT_EQ(ChooseFileRow(list, 13, true), FileRowChoice::kArrow);
  EXPECT_EQ(list.firstEntry, 1);
  EXPECT_EQ(ChooseFileRow(list, 1, true), FileRowChoice::kStartThumbDrag);
  EXPECT_EQ(ChooseFileRow(list, 7, true), FileRowChoice::kScrolled);
  EXPECT_EQ(list.firstEntry, 15);
  BuildFileList(list, entries);
  FileRowText(list, 0);  // thumb now on row 1 + 180 / 100 = 2
  EXPECT_EQ(ChooseFileRow(list, 1, true), FileRowChoice::kScrolled);
  EXPECT_EQ(list.firstEntry, 1);
  DragFileListThumb(list, 3);
  EXPECT_EQ(list.firstEntry, 1 + 300 / 12);
  DragFileListThumb(list, -10);
  EXPECT_EQ(list.firstEntry, 0);
  ScrollFileList(list, -4);
  EXPECT_EQ(list.firstEntry, 0);
}

TEST_F(FileBrowser, RefreshListsAgainOnlyWhenNeeded) {
  const auto cwd = std::filesystem::current_path();
  ASSERT_TRUE(ChangeDirectory(dir_.string()));
  Touch("one.qv");
  FileListState list;
  RefreshFileList(list, false);
  EXPECT_EQ(list.entryCount, 2);  // one.qv and ..
  Touch("two.stl");
  RefreshFileList(list, false);
  EXPECT_EQ(list.entryCount, 2);  // nothing asked for a new listing
  RestartFileList(list);
  RefreshFileList(list, false);
  EXPECT_EQ(list.entryCount, 3);
  EXPECT_FALSE(ChangeDirectory(""));
  EXPECT_FALSE(ChangeDirectory(Path("one.qv")));
  EXPECT_EQ(std::filesystem::current_path(), dir_);
  std::filesystem::current_path(cwd);
}

}  // namespace
}  // namespace qelvar
