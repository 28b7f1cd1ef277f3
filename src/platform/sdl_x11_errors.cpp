#include "platform/sdl_x11_errors.h"

#include <cstdio>

#ifdef QELVAR_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace qelvar {

#ifdef QELVAR_HAVE_X11
namespace {

int ReportXError(Display* display, XErrorEvent* error) {
  char text[128] = {};
  XGetErrorText(display, error->error_code, text, sizeof text);
  std::fprintf(stderr, "qelvar: X error ignored: %s (request %d.%d, resource 0x%lx)\n", text,
               error->request_code, error->minor_code, error->resourceid);
  return 0;
}

}  // namespace

void KeepRunningOnXErrors() { XSetErrorHandler(ReportXError); }
#else
void KeepRunningOnXErrors() {}
#endif

}  // namespace qelvar
