// Drawing the area table.
#include "app/menu_draw.h"

#include <filesystem>
#include <system_error>

#include "app/file_commands.h"
#include "app/menu_tables.h"
#include "app/menus.h"
#include "app/text_drawing.h"
#include "app/value_fields.h"
#include "render/overlays.h"

namespace qelvar {
namespace {

std::string CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}

// "NN name": the group number's two digits, a blank and its 12-character name.
std::string GroupText(const ModelStore& model, int group) {
  std::string text{static_cast<char>('0' + group / 10), static_cast<char>('0' + group % 10), ' '};
  for (char c : model.partNames[group]) text += c == '\0' ? ' ' : c;
  return text;
}

void DrawGroupRow(Modeller& m, MenuArea& a, int fg, int bg) {
  uint8_t& working = m.menus.workingPartGroup[a.menu];
  const int group = working % 100;
  PrintAt(m, a.row, a.column + 1, GroupText(m.model, group), fg, bg);
  a.extra = static_cast<uint8_t>(group);
  working = StepPartGroup(group, 1);
}

void DrawOutline(Modeller& m, const MenuArea& a, int colourEntry) {
  const int left = (a.column - 1) * 8;
  const int right = left + a.width * 8 - 1;
  const int top = (a.row - 1) * m.geometry.cellHeight;
  const int bottom = top + m.geometry.cellHeight - 1;
  const uint32_t c = EntryColour(m, colourEntry);
  m.platform.screen().DrawRectOutline(left, top, right, bottom, c);
}

void DrawArea(Modeller& m, int index) {
  MenuArea& a = m.menus.areas[index];
  const MenuItem& item = kMenuItems[a.item];
  int fg = kColourText;
  int bg = RowColour(item.kind);
  const bool highlighted = m.menus.highlight == index;
  if (highlighted) std::swap(fg, bg);

  if (a.item == kCurrentPathItem) {
    std::string path = CurrentDirectory() + std::string(32, ' ');
    path.resize(static_cast<size_t>(a.width));
    PrintAt(m, a.row, a.column, path, fg, bg);
  } else {
    PrintAt(m, a.row, a.column, ItemText(a.item), fg, bg);
  }
  switch (item.kind) {
    case kKindCheckBox:
      if ((m.options >> item.parameter) & 1u) PrintAt(m, a.row, a.column + 1, "X", fg, bg);
      break;
    case kKindDisplay:
    case kKindValue:
      FormatValue(m, index);
      break;
    case kKindGroupRow:
    case kKindNameRow:
      DrawGroupRow(m, a, fg, bg);
      break;
    case kKindFileRow:
      DrawFileListRow(m, a, fg, bg);
      break;
    default:
      break;
  }
  // The outline takes the row's own background colour, now the text colour.
  if (highlighted) DrawOutline(m, a, fg);
  if (a.item == kVertSelectorItem)
    DrawVertexMarker(m.view, m.model, m.geometry.detail, m.tools.pickedVertex,
                     MarkerColour(m, 0xFF00FF), m.platform.screen());
}

}  // namespace

int RowColour(int kind) {
  switch (kind) {
    case kKindOpensMenu:
      return kColourMenuRow;
    case kKindCheckBox:
      return kColourCheckRow;
    case kKindCommand:
      return kColourCommandRow;
    case kKindGroupRow:
      return kColourGroupRow;
    case kKindNameRow:
      return kColourPartNameRow;
    default:
      return kColourPlainRow;
  }
}

std::string ItemText(int item) {
  const MenuItem& it = kMenuItems[item];
  std::string text(it.label);
  text.resize(it.width, ' ');
  return text;
}

void DrawMenus(Modeller& m) {
  ApplyAutomaticHighlight(m.menus);
  for (int i = 0; i < m.menus.areaCount; ++i) DrawArea(m, i);
}

}  // namespace qelvar
