// What a chosen row does. Commands whose operation lives elsewhere report
// "function not implemented" until that operation is connected here.
#include "app/menu_actions.h"

#include <algorithm>
#include <new>

#include "app/file_commands.h"
#include "app/menu_tables.h"
#include "app/menus.h"
#include "app/primitive_commands.h"
#include "app/text_prompt.h"
#include "app/tool_commands.h"
#include "app/tool_steps.h"
#include "app/unsaved_work.h"
#include "app/value_fields.h"
#include "core/menu_ids.h"
#include "core/messages.h"
#include "model/file_browser.h"
#include "render/view.h"
#include "tools/drill_press.h"
#include "tools/guillotine.h"
#include "tools/model_colours.h"
#include "tools/selection.h"
#include "tools/transforms.h"
#include "tools/vertex_cleanup.h"

namespace qelvar {
namespace {

void ToggleOption(Modeller& m, int bit) {
  m.options ^= 1u << bit;
  if (bit == kOptAllFiles) {
    RestartFileList(m.menus.fileList);
  }
  if (bit == kOptVertSelector && HasOption(m.options, kOptVertSelector))
    StartTool(m, ToolMode::kVertexEdit);
  m.flags.redrawRequested = true;
}

// A group row of the "By part group" menu selects (or with Unselect ticked,
// unselects) every triangle of the group it shows.
void ChooseGroupRow(Modeller& m, const MenuArea& a) {
  if (a.menu != MenuNumber(Menu::kByPartGroup)) return;
  const bool unselect = HasOption(m.options, kOptUnselect);
  ModelStore& model = m.model;
  for (int32_t i = 0; i < model.triangleCount; ++i) {
    uint8_t& f = model.triangleFlags[i];
    if ((f & kGroupMask) != a.extra) continue;
    f = unselect ? (f & kGroupMask) : (f | kSelectedBit);
  }
  m.flags.redrawRequested = true;
}

// A name row renames the group it shows; an empty answer empties the name.
void RenamePartGroup(Modeller& m, int group) {
  const std::string answer = AskText(m, kPartNameTitle);
  PartName& name = m.model.partNames[group % kPartGroups];
  const PartName before = name;
  name.fill('\0');
  std::copy_n(answer.begin(), std::min<size_t>(answer.size(), kPartNameLength), name.begin());
  if (name != before) MarkModelChanged(m.model);
}

void ColoursChanged(Modeller& m) {
  MarkModelChanged(m.model);
  m.flags.redrawRequested = true;
}

void Apply(Modeller& m, const TransformOutcome& outcome) {
  if (outcome.message != kMsgNone) m.flags.statusMessage = outcome.message;
  if (outcome.geometryChanged) m.model.normalsDirty = true;
  if (outcome.redraw) m.flags.redrawRequested = true;
}

// "Benchmark": the frame-rate tool measures from now.
void StartFrameRate(Modeller& m) {
  StartTool(m, ToolMode::kFrameRate);
  m.tools.frameRateStart = m.platform.Clock();
  m.tools.frameRateFrames = 0;
  m.flags.redrawRequested = true;
}

// "Slice xy plane" cuts across z at "Z1", "sLice yz plane" across x at "X1",
// "slIce xz plane" across y at "Y1".
void Slice(Modeller& m, CutAxis axis) {
  static constexpr int kPlaneCell[3] = {kCellX1, kCellY1, kCellZ1};
  if (Guillotine(m.model, axis, m.cells.Real(kPlaneCell[int(axis)])).done)
    m.model.normalsDirty = true;
}

void Drill(Modeller& m) {
  const ValueCells& c = m.cells;
  const DrillSettings settings{c.Real(kCellX1), c.Real(kCellY1), c.Real(kCellRadius1),
                               c.Real(kCellSliceSize)};
  if (DrillPress(m.model, settings).done) m.model.normalsDirty = true;
}

// "....confirm.....": the operation of the menu it was chosen in.
void Confirm(Modeller& m) {
  const SelectionCentre& centre = m.tools.selectionCentre;
  switch (m.menus.chosenMenu) {
    case MenuNumber(Menu::kChangeColour):
      if (ApplyChangeColour(m.model, m.cells)) ColoursChanged(m);
      break;
    case MenuNumber(Menu::kMove):
      Apply(m, MoveSelection(m.model, m.cells, m.options, centre));
      break;
    case MenuNumber(Menu::kDuplicate):
      Apply(m, DuplicateSelection(m.model, m.cells, m.options, centre));
      break;
    case MenuNumber(Menu::kRotate):
      Apply(m, RotateSelection(m.model, m.cells));
      break;
    case MenuNumber(Menu::kScale):
      Apply(m, ScaleSelection(m.model, m.cells));
      break;
    case MenuNumber(Menu::kDeleteSelection):
      Apply(m, DeleteSelection(m.model, m.options));
      break;
    case MenuNumber(Menu::kDrillPress):
      Drill(m);
      break;
    default:  // no other menu has a "....confirm....." row
      m.flags.statusMessage = kMsgNotImplemented;
      break;
  }
}

void ActivateAreaUnguarded(Modeller& m, int area) {
  if (area < 0 || area >= m.menus.areaCount) return;
  const MenuArea a = m.menus.areas[area];
  const MenuItem& item = kMenuItems[a.item];
  m.menus.chosenMenu = a.menu;
  m.flags.screenDirty = 1;
  switch (item.kind) {
    case kKindOpensMenu:
      // Files may have come and gone since the list was last shown: list the
      // directory again, on the same page.
      if (item.parameter == MenuNumber(Menu::kOpen) &&
          !MenuIsOpen(m.menus, MenuNumber(Menu::kOpen)))
        m.menus.fileList.needsListing = true;
      OpenMenu(m.menus, item.parameter);
      break;
    case kKindCheckBox:
      ToggleOption(m, item.parameter);
      break;
    case kKindCommand:
      RunCommand(m, item.parameter);
      break;
    case kKindValue:
      EditValue(m, area);
      break;
    case kKindGroupRow:
      ChooseGroupRow(m, a);
      break;
    case kKindNameRow:
      RenamePartGroup(m, a.extra);
      break;
    case kKindFileRow:
      ChooseFileListRow(m, a);
      break;
    default:  // labels, display values
      break;
  }
}

}  // namespace

void ActivateArea(Modeller& m, int area) {
  // Memory running out in a command ends that command, not the program; the
  // file and model code it calls keep the model's counts within its tables.
  try {
    ActivateAreaUnguarded(m, area);
  } catch (const std::bad_alloc&) {
    m.flags.statusMessage = kMsgCanceled;
    m.flags.redrawRequested = true;
  }
}

void RunCommand(Modeller& m, int number) {
  MenuState& menus = m.menus;
  const auto command = static_cast<Command>(number);
  switch (command) {
    case Command::kQuit:  // " Quit": at once unless there is unsaved work
      RequestQuit(m);
      break;
    case Command::kFilenameEntry:
      OpenByName(m);
      break;
    case Command::kSave:
      SaveModel(m);
      break;
    case Command::kSaveAs:
      SaveAs(m);
      break;
    case Command::kClose:
      CloseMenu(menus, menus.chosenMenu);
      break;
    case Command::kExportStl:
      ExportStlCommand(m);
      break;
    case Command::kFrontView:  // "froNt view" ... "Right side view"
    case Command::kBackView:
    case Command::kTopView:
    case Command::kBottomView:
    case Command::kLeftSideView:
    case Command::kRightSideView:
      ApplyPresetView(m.view, static_cast<PresetView>(number - CommandNumber(Command::kFrontView)));
      m.flags.redrawRequested = true;
      break;
    case Command::kCreate:
      CreateCommand(m);
      break;
    case Command::kCreateAtOffset:
      CreateAtOffsetCommand(m);
      break;
    case Command::kSelectAll:
      SelectAll(m.model);
      m.flags.redrawRequested = true;
      break;
    case Command::kClearSelection:
      ClearSelection(m.model);
      m.flags.redrawRequested = true;
      break;
    case Command::kConfirm:
      Confirm(m);
      break;
    case Command::kNew:
      NewModel(m);
      break;
    case Command::kPartGroupStep: {  // "<- part group ->": no step before the first Left or Right
      uint8_t& selector = menus.partGroup[menus.chosenMenu];
      selector = StepPartGroup(selector, menus.itemDirection);
      break;
    }
    case Command::kChisel:
      m.flags.statusMessage = kMsgNotImplemented;
      break;
    case Command::kFlipX:
      Apply(m, FlipSelection(m.model, Axis::kX, m.tools.selectionCentre));
      break;
    case Command::kFlipY:
      Apply(m, FlipSelection(m.model, Axis::kY, m.tools.selectionCentre));
      break;
    case Command::kFlipZ:
      Apply(m, FlipSelection(m.model, Axis::kZ, m.tools.selectionCentre));
      break;
    case Command::kReverseFaces:
      Apply(m, ReverseSelectedFaces(m.model));
      break;
    case Command::kReassign:
      Apply(m, ReassignSelection(m.model, menus.partGroup[MenuNumber(Menu::kActions)]));
      break;
    case Command::kSelectionCentre:
      CopySelectionCentre(m.tools.selectionCentre, m.cells);
      break;
    case Command::kBenchmark:
      StartFrameRate(m);
      break;
    case Command::kSliceXY:
      Slice(m, CutAxis::kZ);
      break;
    case Command::kSliceYZ:
      Slice(m, CutAxis::kX);
      break;
    case Command::kSliceXZ:
      Slice(m, CutAxis::kY);
      break;
    case Command::kVertCleanup:
      if (WeldVertices(m.model, 0) != 0) MarkModelChanged(m.model);
      m.flags.statusMessage = kMsgVertsCleaned;
      m.flags.redrawRequested = true;
      break;
    case Command::kLoadPart:
      LoadPart(m);
      break;
    case Command::kSavePart:
      SavePart(m);
      break;
    case Command::kScreenshot:
      SaveScreenshotCommand(m);
      break;
    case Command::kRainbow:
      if (ApplyRainbow(m.model)) ColoursChanged(m);
      break;
    case Command::kFileListPage:
      StepFileListPageCommand(m);
      break;
    case Command::kCurrentPath:
      ChangeFileListPath(m);
      break;
    case Command::kLoadBackdrop:
      LoadBackdropCommand(m);
      break;
    case Command::kMouseLight:  // "Mouse light": the main loop runs the tool until a right click
      StartTool(m, ToolMode::kMouseLight);
      break;
    default:  // the tool commands, or operations not connected yet
      if (!RunToolCommand(m, command)) m.flags.statusMessage = kMsgNotImplemented;
      break;
  }
  m.flags.screenDirty = 1;
}

}  // namespace qelvar
