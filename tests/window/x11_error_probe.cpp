// Test helper: starts SDL's video the way the program does, installs the
// program's X error handler and then makes the server answer a request with
// BadWindow, as it does when an event reaches a window destroyed a moment
// before. Xlib's default handler would exit with status 1 here.
//
//   x11_error_probe      (DISPLAY from the environment)
#include <SDL.h>
#include <X11/Xlib.h>

#include <cstdio>

#include "platform/sdl_x11_errors.h"

int main(int, char**) {
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "x11_error_probe: %s\n", SDL_GetError());
    return 2;
  }
  qelvar::KeepRunningOnXErrors();
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 2;
  const Window gone = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 8, 8, 0, 0, 0);
  XDestroyWindow(display, gone);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = gone;
  event.xclient.format = 32;
  XSendEvent(display, gone, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  SDL_Quit();
  std::puts("x11_error_probe: still running after the X error");
  return 0;
}
