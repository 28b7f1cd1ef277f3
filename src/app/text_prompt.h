// The modal one-line prompt: a titled box over the top left of the screen and
// a line entry whose answer is returned. An empty answer means cancelled.
#pragma once

#include <string>
#include <string_view>

#include "app/modeller.h"

namespace qelvar {

// Draws the box titled with the 30-character title, runs the entry and
// returns the answer. The box stays until the next presentation of the frame.
std::string AskText(Modeller& m, std::string_view title);

}  // namespace qelvar
