// Headless editor window: keeps the parent and visibility state the dispatcher's editor opcodes change.
#include "plugin/editor_window.h"

namespace quenvale {

EditorWindow::~EditorWindow() {
    if (hostParentWindow_ != nullptr) close();
}

void EditorWindow::open(void* hostWindow) noexcept {
    // A second open without a close moves the window to the new host window.
    if (hostParentWindow_ != nullptr) close();
    hostParentWindow_ = hostWindow;
    visible_ = true;
}

void EditorWindow::close() noexcept {
    visible_ = false;
    hostParentWindow_ = nullptr;
}

void EditorWindow::invalidate() noexcept {}

void EditorWindow::refreshAll() noexcept {}

void EditorWindow::windowRect(ERect& rect) const noexcept {
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<VstInt16>(kEditorHeight);
    rect.right = static_cast<VstInt16>(kEditorWidth);
}

}  // namespace quenvale
