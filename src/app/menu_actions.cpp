// What a chosen row does. Commands whose operation lives elsewhere report
// "function not implemented" until that operation is connected here.
#include "app/menu_actions.h"

#include <algorithm>

#include "app/menu_tables.h"
#include "app/menus.h"
#include "core/messages.h"
#include "app/text_prompt.h"
#include "app/value_fields.h"
#include "model/file_browser.h"
#include "app/file_commands.h"
#include "tools/model_colours.h"
#include "render/view.h"
#include "tools/selection.h"

namespace qelvar {
namespace {

constexpr int kChangeColourMenu = 27;
constexpr int kByPartGroupMenu = 20;
constexpr int kFileListMenu = 30;

void ToggleOption(Modeller& m, int bit) {
  m.options ^= 1u << bit;
  if (bit == kOptAllFiles) {
    RestartFileList(m.menus.fileList);
  }
  if (HasOption(m.options, kOptVertSelector)) m.tools.toolMode = kToolVertexEdit;
  m.flags.redrawRequested = true;
}

// A group row of the "By part group" menu selects (or with Unselect ticked,
// unselects) every triangle of the group it shows.
void ChooseGroupRow(Modeller& m, const MenuArea& a) {
  if (a.menu != kByPartGroupMenu) return;
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
  name.fill('\0');
  std::copy_n(answer.begin(), std::min<size_t>(answer.size(), kPartNameLength), name.begin());
}

// "....confirm.....": the operation of the menu it was chosen in.
void Confirm(Modeller& m) {
  switch (m.menus.chosenMenu) {
    case kChangeColourMenu:
      ApplyChangeColour(m.model, m.cells, m.flags);
      break;
    default:  // move, duplicate, rotate, scale, delete, drill press: not connected yet
      m.flags.statusMessage = kMsgNotImplemented;
      break;
  }
}

}  // namespace

void ActivateArea(Modeller& m, int area) {
  if (area < 0 || area >= m.menus.areaCount) return;
  const MenuArea a = m.menus.areas[area];
  const MenuItem& item = kMenuItems[a.item];
  m.menus.chosenMenu = a.menu;
  m.flags.screenDirty = 1;
  switch (item.kind) {
    case kKindOpensMenu:
      // Files may have come and gone since the list was last shown: list the
      // directory again, on the same page.
      if (item.parameter == kFileListMenu && !MenuIsOpen(m.menus, kFileListMenu))
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

void RunCommand(Modeller& m, int command) {
  MenuState& menus = m.menus;
  switch (command) {
    case 0:  // " Quit": at once, nothing saved
      m.platform.EndProgram();
      break;
    case 1:  // "filename Entry"
      OpenByName(m);
      break;
    case 2:  // " Save"
      SaveModel(m);
      break;
    case 3:  // " save As"
      SaveAs(m);
      break;
    case 4:  // "---- close -----"
      CloseMenu(menus, menus.chosenMenu);
      break;
    case 11:  // " exPort stl"
      ExportStlCommand(m);
      break;
    case 5:  // "froNt view" ... "Right side view"
    case 6:
    case 7:
    case 8:
    case 9:
    case 10:
      ApplyPresetView(m.view, static_cast<PresetView>(command - 5), m.flags);
      break;
    case 14:  // "sl. eNtire model"
      SelectAll(m.model);
      m.flags.redrawRequested = true;
      break;
    case 15:  // "cLear selection"
      ClearSelection(m.model);
      m.flags.redrawRequested = true;
      break;
    case 17:  // "....confirm....."
      Confirm(m);
      break;
    case 18:  // " New"
      ClearModel(m.model);
      m.flags.statusMessage = kMsgModelCleared;
      m.flags.redrawRequested = true;
      break;
    case 19: {  // "<- part group ->": no step before the first Left or Right
      uint8_t& selector = menus.partGroup[menus.chosenMenu];
      selector = StepPartGroup(selector, menus.itemDirection);
      break;
    }
    case 30:  // "cHizel"
      m.flags.statusMessage = kMsgNotImplemented;
      break;
    case 31:  // "Load part from"
      LoadPart(m);
      break;
    case 32:  // "save To file"
      SavePart(m);
      break;
    case 38:  // "save scReenshot"
      SaveScreenshotCommand(m);
      break;
    case 39:  // "rainbOw"
      ApplyRainbow(m.model, m.flags);
      break;
    case 42:  // "<prev page next>"
      StepFileListPageCommand(m);
      break;
    case 43:  // " (current path) "
      ChangeFileListPath(m);
      break;
    case 44:  // "lOad backdrop"
      LoadBackdropCommand(m);
      break;
    case 45:  // "Mouse light": the main loop runs the tool until a right click
      m.tools.toolMode = kToolMouseLight;
      break;
    default:  // operations not connected yet
      m.flags.statusMessage = kMsgNotImplemented;
      break;
  }
  m.flags.screenDirty = 1;
}

}  // namespace qelvar
