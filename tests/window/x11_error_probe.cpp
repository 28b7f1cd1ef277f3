// Test helper: installs the program's X error handler and starts SDL's video
// the way the program does, then makes the server answer a request with
// BadWindow, as it does when an event reaches a window destroyed a moment
// before: once while SDL runs and once after SDL_Quit, which puts back the
// handler SDL found when it started. Xlib's default handler would exit with
// status 1 at either.
//
//   x11_error_probe      (DISPLAY from the environment)
#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdio>

#include "platform/sdl_x11_errors.h"

namespace {

// An event sent to a window that no longer exists.
void SendToDestroyedWindow(Display* display) {
  const Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 8, 8, 0, 0, 0);
  XDestroyWindow(display, gone);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = gone;
  event.xclient.format = 32;
  XSendEvent(display, gone, False, NoEventMask, &event);
  XSync(display, False);
}

}  // namespace

int main(int, char**) {
  qelvar::KeepRunningOnXErrors();
  Display* display = XOpenDisplay(nullptr);  // the probe's own connection
  if (!display) return 2;
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "x11_error_probe: %s\n", SDL_GetError());
    return 2;
  }
  SendToDestroyedWindow(display);
  SDL_Quit();
  SendToDestroyedWindow(display);
  XCloseDisplay(display);
  std::puts("x11_error_probe: still running after the X errors");
  return 0;
}
