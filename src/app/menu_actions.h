// Choosing a menu area: what each kind of row does, and the one dispatch of
// the numbered commands.
#pragma once

#include <string_view>

#include "app/modeller.h"

namespace qelvar {

inline constexpr std::string_view kPartNameTitle = "    enter new part name       ";

// Chooses the area's item by its kind; chosenMenu becomes the area's menu.
void ActivateArea(Modeller& m, int area);
// Runs command number n (0..47) for chosenMenu.
void RunCommand(Modeller& m, int command);

}  // namespace qelvar
