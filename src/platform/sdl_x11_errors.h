// X protocol errors that must not end the program.
#pragma once

namespace qelvar {

// Replaces Xlib's default error handler (which prints and exits, taking
// unsaved work with it) by one that reports the error on stderr and carries
// on. A request about a window the server has just destroyed (SDL wakes its
// own wait with an event sent to the window on a second connection, which can
// arrive after the window is gone) is harmless. Must be called before
// SDL_Init: SDL's X11 driver keeps the handler it finds and puts it back when
// it quits, while it still closes its connections, where such a late error
// meets whatever handler is then in place. Does nothing without X11 support;
// under other video drivers Xlib is never called.
void KeepRunningOnXErrors();

}  // namespace qelvar
