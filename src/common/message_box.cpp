// Message boxes: with no window system behind the editor yet, every message goes to the debug output.
#include "common/message_box.h"

#include "common/debug_output.h"

namespace quenvale {

void showMessageBox(const char* text, const char* title, int /*icon*/) noexcept {
    debugPrintf("%s: %s\n", title != nullptr ? title : "Quenvale", text != nullptr ? text : "");
}

}  // namespace quenvale
