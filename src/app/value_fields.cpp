// Drawing and editing the numbers of value rows.
#include "app/value_fields.h"

#include <cmath>
#include <string>

#include "app/main_loop.h"
#include "app/menu_tables.h"
#include "app/text_drawing.h"
#include "app/unsaved_work.h"
#include "app/tool_steps.h"
#include "app/value_format.h"

namespace qelvar {
namespace {

enum class EditEnd { kAccept, kAcceptAndTab, kAbandon };

int CellOf(const Modeller& m, int area) { return kMenuItems[m.menus.areas[area].item].parameter; }

int FieldColumn(const MenuArea& a) { return a.column + a.width - kValueFieldWidth; }

// The point whose coordinates a cell holds: 1..5, 0 for screenX/screenY, -1
// for a cell that is always typed.
int PlotGroupOf(int cell) {
  if (cell == kCellScreenX || cell == kCellScreenY) return 0;
  if (cell >= kCellX1 && cell <= kCellX1 + 11) return (cell - kCellX1) / 3 + 1;
  if (cell >= kCellX5 && cell <= kCellZ5) return 5;
  return -1;
}

bool StartMousePlot(Modeller& m, int cell) {
  if (!HasOption(m.options, kOptMousePlot)) return false;
  const int group = PlotGroupOf(cell);
  if (group < 0) return false;
  StartTool(m, ToolMode::kMousePlot);
  m.tools.plotGroup = group;
  m.tools.plotMenu = m.menus.chosenMenu;
  return true;
}

void StoreEntry(Modeller& m, int cell, const ValueEntry& entry) {
  const float v = EntryResult(entry);
  if (ValueCells::IsReal(cell))
    m.cells.Real(cell) = v;
  else
    m.cells.Int(cell) = static_cast<int32_t>(std::lrint(v));  // ties to even
  switch (cell) {
    case kCellDrawDepth:
    case kCellSeparation:
    case kCellContrast:
    case kCellLightXY:
    case kCellLightYZ:
      m.flags.redrawRequested = true;
      break;
    default:
      break;
  }
}

// Runs the entry of one row until it ends; the caller stores what was typed.
EditEnd EditOneValue(Modeller& m, int area, ValueEntry& entry) {
  const MenuArea a = m.menus.areas[area];
  const int column = FieldColumn(a);
  PrintAt(m, a.row, column, "_      ", kColourDigits, kColourValueBack);
  ShowDrawing(m);
  for (;;) {
    ReadMouse(m);
    if (m.mouse.leftClick) return EditEnd::kAccept;
    const std::string key = m.platform.TakeKey();
    if (key.empty()) {
      m.platform.Sleep(30);
      continue;
    }
    if (IsCloseRequest(key)) RequestQuit(m);
    if (key.size() != 1) continue;
    const char c = key[0];
    if (c == 13) return EditEnd::kAccept;
    if (c == 27) return EditEnd::kAbandon;
    if (c == 9) return EditEnd::kAcceptAndTab;
    if (!TypeIntoEntry(entry, c)) continue;
    PrintAt(m, a.row, column + entry.typed - 1, std::string(1, c), kColourDigits, kColourValueBack);
    ShowDrawing(m);
    if (entry.typed >= kValueFieldWidth) return EditEnd::kAccept;
  }
}

int NextEditableArea(const MenuState& menus, int area) {
  for (int i = area + 1; i < menus.areaCount; ++i)
    if (kMenuItems[menus.areas[i].item].kind == kKindValue) return i;
  return -1;
}

}  // namespace

float CellValue(const ValueCells& cells, int cell) {
  if (ValueCells::IsReal(cell)) return cells.Real(cell);
  if (ValueCells::IsInteger(cell)) return static_cast<float>(cells.Int(cell));
  return 0.0f;
}

void FormatValue(Modeller& m, int area) {
  const MenuArea& a = m.menus.areas[area];
  const MenuItem& item = kMenuItems[a.item];
  std::string text = FormatValueText(CellValue(m.cells, item.parameter));
  text.insert(0, kValueFieldWidth - text.size(), ' ');
  int fg = kColourDigits, bg = kColourValueBack;
  if (item.kind == kKindDisplay) {
    fg = kColourText;
    bg = kColourPlainRow;
    if (m.menus.highlight == area) std::swap(fg, bg);
  }
  PrintAt(m, a.row, FieldColumn(a), text, fg, bg);
}

void EditValue(Modeller& m, int area) {
  m.flags.screenDirty = 1;
  if (StartMousePlot(m, CellOf(m, area))) return;
  while (area >= 0) {
    ValueEntry entry;
    const EditEnd end = EditOneValue(m, area, entry);
    if (end == EditEnd::kAbandon) return;  // the cell keeps its value
    StoreEntry(m, CellOf(m, area), entry);
    if (end != EditEnd::kAcceptAndTab) return;
    area = NextEditableArea(m.menus, area);
  }
}

}  // namespace qelvar
