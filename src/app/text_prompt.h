// The modal one-line prompt: a titled box over the top left of the screen and
// a line entry whose answer is returned. An empty answer means cancelled.
#pragma once

#include <string>
#include <string_view>

#include "app/modeller.h"

namespace qelvar {

// Draws the box titled with the title (30 characters, or a longer question),
// runs the entry and returns the answer. The box stays until the next
// presentation of the frame. The window's close request asks whether to quit
// when there is unsaved work.
std::string AskText(Modeller& m, std::string_view title);

}  // namespace qelvar
