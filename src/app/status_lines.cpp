// Status lines, selection rectangle, frame-rate figure, status messages and
// the help box.
#include "app/status_lines.h"

#include <cstdio>
#include <string>

#include "app/menu_draw.h"
#include "app/menu_hooks.h"
#include "app/menus.h"
#include "app/text_drawing.h"
#include "core/menu_ids.h"
#include "render/overlays.h"

namespace qelvar {
namespace {

constexpr uint32_t kPickColour = 0x00FF00;

static_assert([] {
  for (std::string_view line : kHelpLines)
    if (line.size() != 26) return false;
  return true;
}());

constexpr std::array<std::string_view, 9> kToolNames = {
    "mouselook",
    "mouse plot (R-click to end)",
    "selection",
    "autotriangle (R-click to end)",
    "manualtriangle (R-click to end)",
    "FPS (R-click to end) ",
    "vertex edit",
    "manual fan (R-click to end)",
    "mouse light (R-click to end)",
};

// The selection tool lives only while its box is ticked and its menu is open.
void SelectionToolUpkeep(Modeller& m) {
  if (m.tools.toolMode == kToolSelection) m.tools.toolMode = 0;
  if (m.tools.toolMode != 0 || !HasOption(m.options, kOptSelectTool) ||
      !MenuIsOpen(m.menus, MenuNumber(Menu::kSelection)))
    return;
  m.tools.toolMode = kToolSelection;
  const MouseState& ms = m.mouse;
  const uint32_t c = EntryColour(m, kColourSelectRect);
  m.platform.screen().DrawRectOutline(ms.dragOriginX, ms.dragOriginY, ms.screenMouseX,
                                      ms.screenMouseY, c);
}

constexpr int kToolTextColumn = 3 + 6;  // after "tool: "

void DrawStatusLines(Modeller& m) {
  const std::string file = "current file: " + m.modelFileName.substr(0, 24);
  PrintAt(m, 1, 3, file, kColourCheckRow, kColourText);
  const std::string_view name = ToolName(m.tools.toolMode, HasOption(m.options, kOptStereo));
  PrintAt(m, 3, 3, std::string("tool: ").append(name), kColourCheckRow, kColourText);
}

// The frame rate averaged since the measurement started (it restarts every 4 s).
void DrawFrameRate(Modeller& m) {
  m.tools.frameRateFrames += 1;
  const double elapsed = m.platform.Clock() - m.tools.frameRateStart;
  if (!(elapsed > 0.0)) return;
  char figure[40];
  std::snprintf(figure, sizeof figure, " %.16g",
                static_cast<double>(m.tools.frameRateFrames) / elapsed);
  PrintAt(m, 3, kToolTextColumn + static_cast<int>(kToolNames[kToolFrameRate].size()), figure,
          kColourCheckRow, kColourText);
}

// The vertex picked by the triangle, fan and vertex-edit tools. The corner
// and candidate slots of the triangle tools are drawn once those tools keep them.
void DrawToolMarkers(Modeller& m) {
  const int tool = m.tools.toolMode;
  if (tool != kToolManualTriangle && tool != kToolManualFan && tool != kToolVertexEdit) return;
  DrawVertexMarker(m.view, m.model, m.geometry.detail, m.tools.pickedVertex,
                   MarkerColour(m, kPickColour), m.platform.screen());
}

}  // namespace

std::string_view ToolName(int toolMode, bool stereo) {
  if (toolMode == 0) return stereo ? "stereo view" : "mouselook";
  if (toolMode < 0 || toolMode >= static_cast<int>(kToolNames.size())) return "";
  return kToolNames[toolMode];
}

void DrawOverlay(Modeller& m) {
  m.menus.workingPartGroup = m.menus.partGroup;
  m.menus.fileList.rowCounter = 0;
  SelectionToolUpkeep(m);
  DrawStatusLines(m);
  DrawToolMarkers(m);
  if (m.tools.toolMode == kToolFrameRate) DrawFrameRate(m);
  DrawMenus(m);
}

void PrintStatusMessage(Modeller& m) {
  if (m.flags.statusMessage == 0) return;
  // The row is fixed; a screen with fewer rows shows the message on its last.
  int row = kMessageRow;
  if (m.geometry.textRows > 0 && m.geometry.textRows < row) row = m.geometry.textRows;
  PrintAt(m, row, 1, StatusMessageText(m.flags.statusMessage), kColourCheckRow, kColourText);
  m.flags.messageOnScreen = true;
}

void ShowHelp(Modeller& m) {
  PrintAt(m, 5, 6, std::string(28, ' '), kColourText, kColourFrame);
  for (int row = 6; row <= 20; ++row) {
    PrintAt(m, row, 6, " ", kColourText, kColourFrame);
    PrintAt(m, row, 33, " ", kColourText, kColourFrame);
  }
  PrintAt(m, 21, 6, std::string(28, ' '), kColourText, kColourFrame);
  for (size_t i = 0; i < kHelpLines.size(); ++i)
    PrintAt(m, 6 + static_cast<int>(i), 7, kHelpLines[i], kColourText, kColourPlainRow);
  ShowDrawing(m);
  if (IsCloseRequest(m.platform.WaitKey())) m.platform.EndProgram();
  m.flags.screenDirty = 1;
}

}  // namespace qelvar
