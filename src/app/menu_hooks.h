// What the main loop asks of the menu system, status lines and help box, in the
// order of a pass. Implemented by the menu system.
#pragma once

#include "app/modeller.h"

namespace qelvar {

// How a pass goes on after a step of the loop that the menus handle.
enum class PassFlow {
  kContinue,       // go on with the next step of the pass
  kToolStep,       // go on with the tool step (then the end-of-pass bookkeeping)
  kEndPass,        // skip to the end-of-pass bookkeeping
  kEndPassNoBookkeeping,  // the pass ends at once (drags keep their reference)
};

// Start state: the four menu-bar areas, no open menu, nothing highlighted.
void InitMenus(Modeller& m);
// Opens menu number n exactly as choosing the item that opens it.
void OpenMenu(Modeller& m, int menu);
// True while a menu (not the bar) has the keyboard focus.
bool MenuHasKeyboardFocus(const Modeller& m);
// Alt went down: remove the highlight and toggle the menu bar focus.
void ToggleMenuBarFocus(Modeller& m);
// The wheel moved: part-group rows and the file list.
PassFlow MenuWheelStep(Modeller& m);
// Menu keys: arrows, Tab, Enter and hotkeys.
PassFlow MenuKeyStep(Modeller& m);
// The mouse on menus: file-list thumb drag, menu dragging, left click on a menu.
PassFlow MenuMouseStep(Modeller& m);

// Status lines, tool markers, frame-rate text and menus (screen locked).
void DrawOverlay(Modeller& m);
// Prints statusMessage at row 23 and sets messageOnScreen.
void PrintStatusMessage(Modeller& m);
// F1: the help box; waits for a key and swallows it.
void ShowHelp(Modeller& m);

}  // namespace qelvar
