// qelvar: the modeller in its window.
#include <cstdio>

#include "app/startup.h"
#include "platform/sdl_platform.h"

int main(int argc, char** argv) {
  qelvar::SdlPlatform platform(argc, argv);
  if (!platform.ready()) {
    std::fprintf(stderr, "qelvar: cannot open a window: %s\n", platform.error().c_str());
    return 1;
  }
  qelvar::RunStartup(platform);
}
