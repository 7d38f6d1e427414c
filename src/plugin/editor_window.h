// Seam to the editor: the window the host shows inside its own, headless until a window system lands.
//
// Stands for the main editor panel, its window and the wrapper around the host's parent window. The
// plug-in object drives it from the dispatcher's editor opcodes on the user-interface thread.
#pragma once

#include "plugin/vst2_abi.h"

namespace quenvale {

// Size of the editor window in pixels.
inline constexpr int kEditorWidth = 772;
inline constexpr int kEditorHeight = 598;

class EditorWindow {
public:
    EditorWindow() = default;
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    // [ui] Detaches from any earlier host window, becomes a child of hostWindow and shows itself.
    void open(void* hostWindow) noexcept;
    // [ui] Hides itself and detaches from the host window; the window is kept for the next open.
    void close() noexcept;
    // [ui] Repaints the whole window.
    void invalidate() noexcept;
    // [ui] Refreshes every display after the sound changed behind the editor's back (a chunk load).
    void refreshAll() noexcept;
    // [ui] The window rectangle.
    void windowRect(ERect& rect) const noexcept;

    bool visible() const noexcept { return visible_; }
    void* hostParentWindow() const noexcept { return hostParentWindow_; }

private:
    void* hostParentWindow_ = nullptr;
    bool visible_ = false;
};

}  // namespace quenvale
