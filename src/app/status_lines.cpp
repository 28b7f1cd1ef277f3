// Status lines, selection rectangle, frame-rate figure, status messages and
// the help box.
#include "app/status_lines.h"

#include <cstdio>
#include <string>

#include "app/menu_draw.h"
#include "app/menu_hooks.h"
#include "app/menus.h"
#include "app/text_drawing.h"
#include "app/unsaved_work.h"
#include "render/overlays.h"
#include "tools/tool_dispatch.h"

namespace qelvar {
namespace {

static_assert([] {
  for (std::string_view line : kHelpLines)
    if (line.size() != 26) return false;
  return true;
}());

constexpr std::array<std::string_view, kToolModeCount> kToolNames = {
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

// The selection tool's rectangle from the drag origin to the pointer.
void DrawSelectionRectangle(Modeller& m) {
  if (m.tools.mode != ToolMode::kSelection) return;
  const MouseState& ms = m.mouse;
  const uint32_t c = EntryColour(m, kColourSelectRect);
  m.platform.screen().DrawRectOutline(ms.dragOriginX, ms.dragOriginY, ms.screenMouseX,
                                      ms.screenMouseY, c);
}

constexpr int kToolTextColumn = 3 + 6;  // after "tool: "

void DrawStatusLines(Modeller& m) {
  const std::string file = "current file: " + m.modelFileName.substr(0, 24);
  PrintAt(m, 1, 3, file, kColourCheckRow, kColourText);
  const std::string_view name = ToolName(m.tools.mode, HasOption(m.options, kOptStereo));
  PrintAt(m, 3, 3, std::string("tool: ").append(name), kColourCheckRow, kColourText);
}

// The frame rate averaged since the measurement started (it restarts every 4 s).
void DrawFrameRate(Modeller& m) {
  const double elapsed = m.platform.Clock() - m.tools.frameRateStart;
  if (!(elapsed > 0.0)) return;
  char figure[40];
  std::snprintf(figure, sizeof figure, " %.16g",
                static_cast<double>(m.tools.frameRateFrames) / elapsed);
  PrintAt(m, 3,
          kToolTextColumn + static_cast<int>(kToolNames[ToolNumber(ToolMode::kFrameRate)].size()),
          figure, kColourCheckRow, kColourText);
}

// The vertices the active tool marks.
void DrawToolMarkers(Modeller& m) {
  const ToolMarkers markers = CollectToolMarkers(m.tools);
  for (int i = 0; i < markers.count; ++i) {
    const ToolMarker& k = markers.marker[size_t(i)];
    DrawVertexMarker(m.view, m.model, m.geometry.detail, k.vertex, MarkerColour(m, k.rgb),
                     m.platform.screen());
  }
}

// The message, followed by its detail (a file name) when that fits the row.
std::string MessageWithDetail(const Modeller& m) {
  const LoopFlags& f = m.flags;
  std::string text(StatusMessageText(f.statusMessage));
  if (f.messageDetail.empty() || f.messageDetailOf != f.statusMessage) return text;
  std::string longer = text.substr(0, text.find_last_not_of(' ') + 1) + ' ' + f.messageDetail;
  if (longer.size() < text.size()) longer.resize(text.size(), ' ');
  const int columns = m.geometry.textColumns > 0 ? m.geometry.textColumns : 80;
  return longer.size() <= size_t(columns) ? longer : text;
}

}  // namespace

std::string_view ToolName(ToolMode mode, bool stereo) {
  if (mode == ToolMode::kNone) return stereo ? "stereo view" : "mouselook";
  const int number = ToolNumber(mode);
  if (number < 0 || number >= static_cast<int>(kToolNames.size())) return "";
  return kToolNames[size_t(number)];
}

void DrawOverlay(Modeller& m) {
  m.menus.workingPartGroup = m.menus.partGroup;
  m.menus.fileList.rowCounter = 0;
  DrawSelectionRectangle(m);
  DrawStatusLines(m);
  DrawToolMarkers(m);
  if (m.tools.mode == ToolMode::kFrameRate) DrawFrameRate(m);
  DrawMenus(m);
}

void PrintStatusMessage(Modeller& m) {
  if (m.flags.statusMessage == 0) return;
  // The row is fixed; a screen with fewer rows shows the message on its last.
  int row = kMessageRow;
  if (m.geometry.textRows > 0 && m.geometry.textRows < row) row = m.geometry.textRows;
  PrintAt(m, row, 1, MessageWithDetail(m), kColourCheckRow, kColourText);
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
  if (IsCloseRequest(m.platform.WaitKey())) RequestQuit(m);
  m.flags.screenDirty = 1;
}

}  // namespace qelvar
