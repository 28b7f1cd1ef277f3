// Everything written over the frame besides the menu rows: the two status
// lines, the selection rectangle, the frame-rate figure, the one-shot status
// message and the F1 help box.
#pragma once

#include <array>
#include <string_view>

#include "app/modeller.h"
#include "core/messages.h"

namespace qelvar {

constexpr int kMessageRow = 23;

// The text after "tool: " for a tool mode (without the frame-rate figure).
std::string_view ToolName(ToolMode mode, bool stereo);

inline constexpr std::array<std::string_view, 15> kHelpLines = {
    " F1 (this reminder)       ", " F2 create primitives     ", " F3 selection             ",
    " F4 actions               ", " F5 misc tools            ", " F6 invert selection      ",
    " F8 clear selection       ", " ESC reset view           ", " ALT access menu bar      ",
    " arrows navigate menus or ", "  rotate model            ", " TAB cycle active menu    ",
    " PGUP/PGDN/HOME/END       ", "  camera distance/zoom    ", " W/A/S/D pan camera       ",
};

}  // namespace qelvar
