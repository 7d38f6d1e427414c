// X11 key and button codes to the editor's own event vocabulary.
#pragma once

// Our headers come before Xlib's: its macros (None, Status, Bool) would clash with our names.
#include "editor/ui/input_event.h"

#include <X11/Xlib.h>

namespace quenvale::editor::x11 {

// The key of a KeyPress event (text filled for printable characters).
ui::KeyEvent translateKey(XKeyEvent& event);
// Shift, Control and Alt (Mod1) from an event's state field.
uint32_t translateModifiers(unsigned int state);

}  // namespace quenvale::editor::x11
