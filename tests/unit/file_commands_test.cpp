// The file commands as the menus run them: prompts answered through the
// headless platform, status messages, the file-list rows, and the STL import's
// progress line and Escape.
#include "app/file_commands.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/menu_actions.h"
#include "app/menu_draw.h"
#include "app/menu_hooks.h"
#include "app/menus.h"
#include "app/startup.h"
#include "core/menu_ids.h"
#include "core/messages.h"
#include "file_test_util.h"
#include "model/model_file.h"
#include "platform/headless_platform.h"

namespace qelvar {
namespace {

class FileCommands : public test::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    cwd_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    std::filesystem::current_path(cwd_);
    TempDirTest::TearDown();
  }
  // A fresh program whose keyboard follows the script.
  Modeller& Start(std::string_view script, const std::string& commandLine = "") {
    platform_ = std::make_unique<HeadlessPlatform>(ParseScript(script).commands, dir_.string(),
                                                   commandLine, dir_.string());
    platform_->OpenMode(19, 32);
    m_ = std::make_unique<Modeller>(*platform_);
    m_->geometry.textColumns = platform_->screen().textColumns();
    m_->geometry.textRows = platform_->screen().textRows();
    m_->geometry.cellHeight = platform_->screen().cellHeight();
    InitModelStore(m_->model);
    m_->savedRevision = m_->model.revision;
    return *m_;
  }

  // Saves the model, opens " Open", draws it, and returns the area of file row 0 (-1 if none).
  int OpenFileListWithSavedModel(Modeller& m) {
    SaveModel(m);
    InitMenus(m.menus);
    if (!OpenMenu(m.menus, MenuNumber(Menu::kOpen))) return -1;
    m.menus.fileList.rowCounter = 0;
    DrawMenus(m);
    for (int i = 0; i < m.menus.areaCount; ++i)
      if (m.menus.areas[size_t(i)].item == 141) return i;
    return -1;
  }

  std::filesystem::path cwd_;
  std::unique_ptr<HeadlessPlatform> platform_;
  std::unique_ptr<Modeller> m_;
};

TEST_F(FileCommands, SaveAsUsesTheTypedNameAndAnEmptyAnswerCancels) {
  Modeller& m = Start("type   my model.qv\nkey Enter\nkey Esc Enter\n");
  SaveAs(m);
  EXPECT_EQ(m.flags.statusMessage, kMsgFileSaved);
  EXPECT_EQ(m.modelFileName, "my model.qv");
  EXPECT_EQ(std::filesystem::file_size(Path("my model.qv")), 1450u);
  SaveAs(m);
  EXPECT_EQ(m.flags.statusMessage, kMsgCanceled);
  EXPECT_EQ(m.modelFileName, "my model.qv");
}

TEST_F(FileCommands, CommandLineNamesTheStartupModel) {
  Modeller& saver = Start("");
  AppendVertex(saver.model, Vec3{1, 2, 3});
  SaveModel(saver);  // default.qv
  ASSERT_EQ(saver.flags.statusMessage, kMsgFileSaved);
  Modeller& m = Start("", "default.qv");
  Startup(m);
  EXPECT_EQ(m.flags.statusMessage, kMsgFileLoaded);
  EXPECT_EQ(m.model.vertexCount, 10);
  EXPECT_EQ(m.modelFileName, "default.qv");
  Modeller& none = Start("", "");
  Startup(none);
  EXPECT_EQ(none.model.vertexCount, 9);
}

TEST_F(FileCommands, SavePartWithoutSelectionDoesNotPrompt) {
  Modeller& m = Start("");  // a prompt would meet the end of the script and quit
  SavePart(m);
  EXPECT_EQ(m.flags.statusMessage, kMsgNothingSelected);
}

TEST_F(FileCommands, PartRoundTripUsesTheEditMenuGroup) {
  Modeller& m = Start("type p.qvp\nkey Enter\ntype p.qvp\nkey Enter\n");
  m.model.triangleFlags[4] = kSelectedBit;
  SavePart(m);
  EXPECT_EQ(m.flags.statusMessage, kMsgFileSaved);
  m.menus.partGroup[MenuNumber(Menu::kEdit)] = 42;
  m.flags.redrawRequested = false;
  LoadPart(m);
  EXPECT_EQ(m.flags.statusMessage, kMsgFileLoaded);
  EXPECT_EQ(m.model.triangleCount, 7);
  EXPECT_EQ(m.model.triangleFlags[6], 42);
  EXPECT_TRUE(m.flags.redrawRequested);
}

TEST_F(FileCommands, EscapeDuringImportCancelsAndTheProgressLineShows) {
  std::vector<uint8_t> stl(80, ' ');
  test::AddI32(stl, 1000);
  stl.resize(84 + 50 * 1000, 0);
  test::WriteBytes(Path("big.stl"), stl);
  Modeller& m = Start("key Esc\n");
  MouseReading mouse;
  platform_->ReadMouse(mouse);  // the step puts Escape into the key buffer
  LoadModelFile(m, "big.stl");
  EXPECT_EQ(m.flags.statusMessage, kMsgCanceled);
  EXPECT_EQ(m.model.triangleCount, 0);
  const std::string shown = "importing stl...  0/ 1000 (ESC to cancel)";
  for (size_t i = 0; i < shown.size(); ++i)
    EXPECT_EQ(platform_->screen().TextCell(23, int(i) + 1), uint8_t(shown[i])) << i;
  EXPECT_EQ(m.modelFileName, "big.qv");  // saving must not overwrite the model loaded before
}

TEST_F(FileCommands, BackdropPromptLeftEmptySwitchesTheBackdropOff) {
  Modeller& m = Start("key Enter\n");
  m.backdrop.loaded = true;
  LoadBackdropCommand(m);
  EXPECT_FALSE(m.backdrop.loaded);
  EXPECT_EQ(m.flags.statusMessage, kMsgNone);
  EXPECT_TRUE(m.flags.redrawRequested);
}

TEST_F(FileCommands, ScreenshotsAreNumberedPerRun) {
  Modeller& m = Start("");
  m.buffers.width = 4;
  m.buffers.height = 2;
  m.buffers.colour.assign(8, 0x00FF0000);
  SaveScreenshotCommand(m);
  SaveScreenshotCommand(m);
  EXPECT_EQ(m.flags.statusMessage, kMsgScreenshotSaved);
  EXPECT_EQ(m.screenshotCounter, 2);
  EXPECT_EQ(std::filesystem::file_size(Path("imageAAB.bmp")), 54u + 2 * 12);
}

TEST_F(FileCommands, FileRowsOpenFilesAndEnterDirectories) {
  Modeller& m = Start("");
  SaveModel(m);  // default.qv
  std::filesystem::create_directory(Path("sub"));
  std::vector<MenuArea> rows(kFileListRows);
  m.menus.fileList.rowCounter = 0;
  for (MenuArea& a : rows) {
    a.row = 9;
    a.column = 2;
    DrawFileListRow(m, a, 0, 2);
  }
  EXPECT_EQ(rows[0].extra, 0);
  EXPECT_EQ(rows[2].extra, 2);
  EXPECT_EQ(rows[3].extra, 128 + 3);  // default.qv, .., sub: row 3 is past the end
  m.model.vertexCount = 0;
  ChooseFileListRow(m, rows[0]);
  EXPECT_EQ(m.flags.statusMessage, kMsgFileLoaded);
  EXPECT_EQ(m.model.vertexCount, 9);
  ChooseFileListRow(m, rows[2]);
  EXPECT_EQ(std::filesystem::current_path(), dir_ / "sub");
  EXPECT_TRUE(m.menus.fileList.needsListing);
  m.menus.scrollColumn = true;
  ChooseFileListRow(m, rows[13]);  // down arrow: one entry, repeating
  EXPECT_EQ(m.menus.fileList.firstEntry, 1);
  EXPECT_TRUE(m.flags.autoRepeatClick);
}

TEST_F(FileCommands, OpenMenuListsTheDirectoryAndItsRowsAct) {
  Modeller& m = Start("");
  const int firstRow = OpenFileListWithSavedModel(m);
  ASSERT_GE(firstRow, 0);
  // Row 0 shows default.qv with the up arrow in its last cell.
  const MenuArea& a = m.menus.areas[size_t(firstRow)];
  EXPECT_EQ(platform_->screen().TextCell(a.row, a.column), 'd');
  EXPECT_EQ(platform_->screen().TextCell(a.row, a.column + 35), 24);
  m.model.triangleCount = 0;
  ActivateArea(m, firstRow);
  EXPECT_EQ(m.flags.statusMessage, kMsgFileLoaded);
  EXPECT_EQ(m.model.triangleCount, 6);
  RunCommand(m, CommandNumber(Command::kSave));
  EXPECT_EQ(m.flags.statusMessage, kMsgFileSaved);
  m.options |= 1u << kOptAllFiles;
  m.menus.fileList.firstEntry = 1;
  for (int i = 0; i < m.menus.areaCount; ++i)
    if (m.menus.areas[size_t(i)].item == 144) ActivateArea(m, i);  // "[_] All files"
  EXPECT_FALSE(m.options & (1u << kOptAllFiles));
  EXPECT_EQ(m.menus.fileList.firstEntry, 0);
  EXPECT_TRUE(m.menus.fileList.needsListing);
}

TEST_F(FileCommands, EnterOnAFileRowOpensItWhereverTheLastClickWas) {
  Modeller& m = Start("");
  const int firstRow = OpenFileListWithSavedModel(m);
  ASSERT_GE(firstRow, 0);
  // The last mouse click hit the scroll bar; the keyboard then picks row 0.
  m.menus.scrollColumn = true;
  m.menus.focus = MenuNumber(Menu::kOpen);
  m.menus.highlight = firstRow;
  m.flags.lastKey = "\r";
  m.model.triangleCount = 0;
  EXPECT_EQ(MenuKeyStep(m), PassFlow::kEndPass);
  EXPECT_EQ(m.flags.statusMessage, kMsgFileLoaded);
  EXPECT_EQ(m.model.triangleCount, 6);
  EXPECT_EQ(m.menus.fileList.firstEntry, 0);
  EXPECT_FALSE(m.flags.autoRepeatClick);
}

// " Open" lists the directory as it is now: a model saved since the list was
// last shown is there, on the page the list was left at.
TEST_F(FileCommands, ReopenedFileListShowsFilesSavedMeanwhile) {
  Modeller& m = Start("");
  InitMenus(m.menus);
  auto choose = [&](int item) {
    for (int i = 0; i < m.menus.areaCount; ++i)
      if (m.menus.areas[size_t(i)].item == item) return ActivateArea(m, i);
    FAIL() << "item " << item << " is not on the screen";
  };
  auto firstFileRow = [&]() -> int {
    m.menus.fileList.rowCounter = 0;
    DrawMenus(m);
    for (int i = 0; i < m.menus.areaCount; ++i)
      if (m.menus.areas[size_t(i)].item == 141) {
        const MenuArea& a = m.menus.areas[size_t(i)];
        return platform_->screen().TextCell(a.row, a.column);
      }
    return 0;
  };
  ASSERT_TRUE(OpenMenu(m.menus, MenuNumber(Menu::kFile)));
  choose(6);                       // " Open"
  EXPECT_EQ(firstFileRow(), '.');  // ".." alone
  ASSERT_EQ(SaveModelFile(m.model, "fresh.qv", false), kMsgFileSaved);
  CloseMenu(m.menus, MenuNumber(Menu::kOpen));
  ASSERT_TRUE(OpenMenu(m.menus, MenuNumber(Menu::kFile)));
  choose(6);
  EXPECT_EQ(firstFileRow(), 'f');
  EXPECT_EQ(m.menus.fileList.entryCount, 2);
}

}  // namespace
}  // namespace qelvar
