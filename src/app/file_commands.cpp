// Menu commands over the file code: prompts, status messages and the flags
// that renew the view after a load.
#include "app/file_commands.h"

#include <string_view>

#include "app/text_drawing.h"
#include "app/text_prompt.h"
#include "app/unsaved_work.h"
#include "core/menu_ids.h"
#include "core/messages.h"
#include "core/option_flags.h"
#include "model/bmp_file.h"
#include "model/file_browser.h"
#include "model/file_paths.h"
#include "model/mesh_export.h"
#include "model/model_file.h"
#include "model/part_file.h"
#include "model/stl_file.h"
#include "model/stl_progress.h"

namespace qelvar {
namespace {

constexpr std::string_view kOpenTitle = "    OPEN  - enter filename    ";
constexpr std::string_view kSaveTitle = "    SAVE  - enter filename    ";
constexpr std::string_view kExportTitle = "   export - enter filename    ";
constexpr std::string_view kLoadPartTitle = "   LOAD PART enter filename   ";
constexpr std::string_view kSavePartTitle = "   SAVE PART enter filename   ";
constexpr std::string_view kBackdropTitle = "   backdrop - enter filename  ";
constexpr std::string_view kPathTitle = "    FILE LIST - enter path    ";
static_assert(kOpenTitle.size() == 30 && kSaveTitle.size() == 30 && kExportTitle.size() == 30 &&
              kLoadPartTitle.size() == 30 && kSavePartTitle.size() == 30 &&
              kBackdropTitle.size() == 30 && kPathTitle.size() == 30);

void Report(Modeller& m, int message) {
  if (message != kMsgNone) m.flags.statusMessage = message;
}

// The answer of a prompt, or "" after reporting "Canceled.".
std::string AskName(Modeller& m, std::string_view title) {
  std::string answer = AskText(m, title);
  if (answer.empty()) m.flags.statusMessage = kMsgCanceled;
  return answer;
}

// A refused load leaves the model as it was: its normals stay, so the main
// loop does not count it as an edit.
void GeometryChanged(Modeller& m, uint64_t revisionBefore) {
  if (m.model.revision != revisionBefore) m.model.normalsDirty = true;
  m.flags.redrawRequested = true;
}

// Writes the model to path; on success it is the model's own file, shown as name.
void SaveModelAs(Modeller& m, const std::string& name, const std::string& path) {
  const int message = SaveModelFile(m.model, path, HasOption(m.options, kOptModelColours));
  Report(m, message);
  if (message != kMsgFileSaved) return;
  m.modelFileName = name;
  m.modelFilePath = m.ownFilePath = path;
  MarkModelSaved(m);
}

}  // namespace

void LoadModelFile(Modeller& m, const std::string& name) {
  ScreenImportProgress progress(m.platform, m.colours.interfaceColours[kColourCheckRow],
                                m.colours.interfaceColours[kColourText]);
  const uint64_t before = m.model.revision;
  const int message =
      LoadModelFile(name, ModelFileTarget{m.model, m.modelFileName, m.options}, &progress);
  Report(m, message);
  GeometryChanged(m, before);
  if (m.model.revision == before) return;  // refused: model and name unchanged
  // The model is replaced: by a model file, which is now its own file, or by
  // an STL import, which has none and is saved under its new ".qv" name. The
  // paths are taken now, before the file list can change the directory.
  const bool modelFile = message == kMsgFileLoaded;
  m.modelFilePath = AbsolutePath(m.modelFileName);
  m.ownFilePath = modelFile ? m.modelFilePath : std::string();
  MarkModelSaved(m);
}

void OpenFileChecked(Modeller& m, const std::string& name) {
  // A name that leads nowhere cannot replace the model: no question then.
  if (PathExists(name) && !ConfirmDropWork(m, kOpenQuestion)) return;
  LoadModelFile(m, name);
}

void OpenByName(Modeller& m) {
  const std::string name = AskName(m, kOpenTitle);
  if (!name.empty()) OpenFileChecked(m, name);
}

void SaveModel(Modeller& m) {
  const std::string path =
      m.modelFilePath.empty() ? AbsolutePath(m.modelFileName) : m.modelFilePath;
  if (ConfirmOverwrite(m, path)) SaveModelAs(m, m.modelFileName, path);
}

void SaveAs(Modeller& m) {
  const std::string name = AskName(m, kSaveTitle);
  if (name.empty()) return;
  const std::string path = AbsolutePath(name);
  if (ConfirmOverwrite(m, path)) SaveModelAs(m, name, path);
}

void NewModel(Modeller& m) {
  if (!ConfirmDropWork(m, kNewQuestion)) return;
  ClearModel(m.model);
  m.modelFileName = "default.qv";
  m.modelFilePath.clear();
  m.ownFilePath.clear();
  MarkModelSaved(m);
  m.flags.statusMessage = kMsgModelCleared;
  m.flags.redrawRequested = true;
}

void ExportStlCommand(Modeller& m) {
  const std::string name = AskName(m, kExportTitle);
  if (!name.empty()) Report(m, ExportModel(m.model, name));
}

void LoadPart(Modeller& m) {
  const std::string name = AskName(m, kLoadPartTitle);
  if (name.empty()) return;
  // The Edit menu's part-group selector places loaded parts.
  const uint64_t before = m.model.revision;
  Report(m, LoadPartFile(m.model, name, m.menus.partGroup[MenuNumber(Menu::kEdit)]));
  GeometryChanged(m, before);
}

void SavePart(Modeller& m) {
  if (CountSelected(m.model) == 0) {
    m.flags.statusMessage = kMsgNothingSelected;
    return;
  }
  const std::string name = AskName(m, kSavePartTitle);
  if (!name.empty()) Report(m, SavePartFile(m.model, name));
}

void SaveScreenshotCommand(Modeller& m) {
  const RenderBuffers& b = m.buffers;
  if (b.width < 0 || b.height < 0 || b.colour.size() < size_t(b.width) * size_t(b.height))
    return Report(m, kMsgCantOpenFile);
  std::string name;
  const int message =
      SaveScreenshot(b.colour.data(), b.width, b.height, m.screenshotCounter, &name);
  Report(m, message);
  if (message == kMsgScreenshotSaved) {
    m.flags.messageDetail = name;
    m.flags.messageDetailOf = message;
  }
}

void LoadBackdropCommand(Modeller& m) {
  m.backdrop.loaded = false;
  const std::string name = AskText(m, kBackdropTitle);
  if (!name.empty()) Report(m, LoadBackdrop(name, m.backdrop));
  m.flags.redrawRequested = true;
}

void StepFileListPageCommand(Modeller& m) {
  StepFileListPage(m.menus.fileList, m.menus.itemDirection);
}

void ChangeFileListPath(Modeller& m) {
  ChangeDirectory(AskText(m, kPathTitle));
  RestartFileList(m.menus.fileList);
}

void DrawFileListRow(Modeller& m, MenuArea& area, int foreground, int background) {
  FileListState& list = m.menus.fileList;
  const int row = list.rowCounter++;
  if (row >= kFileRows) return;
  if (row == 0) RefreshFileList(list, HasOption(m.options, kOptAllFiles));
  PrintAt(m, area.row, area.column, FileRowText(list, row), foreground, background);
  area.extra = static_cast<uint8_t>(row | (FileRowBlank(list, row) ? 128 : 0));
}

void ChooseFileListRow(Modeller& m, const MenuArea& area) {
  FileListState& list = m.menus.fileList;
  const int row = area.extra & 127;
  if (row >= kFileRows) return;
  switch (ChooseFileRow(list, row, m.menus.scrollColumn)) {
    case FileRowChoice::kArrow:
      m.flags.autoRepeatClick = true;
      m.flags.screenDirty = 2;
      break;
    case FileRowChoice::kStartThumbDrag:
      list.thumbDrag = true;
      m.flags.screenDirty = 2;
      break;
    case FileRowChoice::kScrolled:
      m.flags.screenDirty = 2;
      break;
    case FileRowChoice::kEnterDirectory:
      ChangeDirectory(list.page[size_t(row)].name);
      RestartFileList(list);
      break;
    case FileRowChoice::kOpenFile:
      OpenFileChecked(m, list.page[size_t(row)].name);
      break;
    case FileRowChoice::kNothing:
      break;
  }
}

}  // namespace qelvar
