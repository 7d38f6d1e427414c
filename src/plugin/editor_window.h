// Seam to the editor: the window the host shows inside its own.
//
// With an editor backend (Linux: X11 and cairo) it owns the editor (built once, with the plug-in
// object) and opens its window at effEditOpen, destroying it at effEditClose. A build without one (the
// Windows cross-build for now) keeps only the rectangle and answers open with 0.
#pragma once

#include <memory>

#include "plugin/vst2_abi.h"

namespace quenvale {

class SynthEngine;
class TorvaneInterface;

// Size of the editor window in pixels.
inline constexpr int kEditorWidth = 772;
inline constexpr int kEditorHeight = 598;

class EditorWindow {
public:
    EditorWindow(SynthEngine& engine, TorvaneInterface& plugin);
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    // [ui] Closes any earlier window, then opens one as a child of hostWindow (an X11 window id).
    // False when no window could be made (no display, a window the server refuses, no backend).
    bool open(void* hostWindow) noexcept;
    // [ui] Destroys the window and stops the editor's thread before returning.
    void close() noexcept;
    // [any] Every display reads the engine again at the next timer tick (after a chunk load).
    void refreshAll() noexcept;
    // [ui] The window rectangle.
    void windowRect(ERect& rect) const noexcept;

    bool visible() const noexcept;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace quenvale
