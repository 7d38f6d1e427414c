// The X11 window (to come): no window yet, the editor stays closed.
#include "editor/platform/platform_window.h"

namespace quenvale::editor {

std::unique_ptr<PlatformWindow> openPlatformWindow(void*, ui::RootView&, WindowClient&) {
    return nullptr;
}

}  // namespace quenvale::editor
