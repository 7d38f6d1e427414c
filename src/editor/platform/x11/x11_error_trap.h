// Xlib reports protocol errors through one process-wide handler, whose default ends the process. While
// an editor window is open our handler is installed: errors on our own connections are recorded (a
// parent window the server refuses, a host that destroyed its window first), every other error goes to
// the handler that was installed before (the host's).
#pragma once

#include <X11/Xlib.h>

namespace quenvale::editor::x11 {

// [any] Registers a connection of ours; the first registration installs the handler.
void adoptDisplay(Display* display);
// [any] Unregisters it; the last one puts the previous handler back if ours is still installed.
void releaseDisplay(Display* display);
// [window thread] Waits for the server to answer everything sent so far and returns the first error
// code recorded on display since the last call (0 for none), clearing it.
int takeError(Display* display);

}  // namespace quenvale::editor::x11
