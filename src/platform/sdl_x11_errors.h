// X protocol errors that must not end the program.
#pragma once

namespace qelvar {

// Under the X11 video driver, replaces Xlib's default error handler (which
// prints and exits, taking unsaved work with it) by one that reports the
// error on stderr and carries on. A request about a window the server has
// just destroyed (SDL wakes its own wait with an event sent to the window
// on a second connection, which can arrive after the window is gone) is
// harmless. Does nothing under other drivers or without X11 support.
void KeepRunningOnXErrors();

}  // namespace qelvar
