// Start-up: settings, screen, colour tables, buffers, start values, the
// command-line model, then the main loop.
#pragma once

#include <string>

#include "app/modeller.h"

namespace qelvar {

// Everything before the main loop; the Modeller is ready to run afterwards.
void Startup(Modeller& m);
// Startup and then the main loop; returns only through the platform ending the process.
[[noreturn]] void RunStartup(Platform& platform);

}  // namespace qelvar
