// The editor as the plug-in holds it: the model, the widget tree (built once, kept between opens), the
// file dialogs, and the platform window while the host shows the editor.
//
// Threads: the constructor, open() and close() run on the host's UI thread; while open, the widget tree
// belongs to the window's own thread; refreshAll() may be called from any thread.
#pragma once

#include <memory>

#include "editor/model/editor_model.h"
#include "editor/overlays/file_dialogs.h"
#include "editor/platform/platform_window.h"
#include "editor/ui/root_view.h"

namespace quenvale {
class SynthEngine;
}

namespace quenvale::editor {

class GuiMain;

class Editor final : public WindowClient {
public:
    // externalFileDialogs: false keeps file choosing inside the window (tests, screenshots).
    Editor(SynthEngine& engine, EditorHost& host, bool externalFileDialogs = true);
    ~Editor() override;
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // [host UI thread] Opens the window inside parent (closing an earlier one first). False when no
    // window could be made (no display, a parent the server refuses); the editor stays closed then.
    bool open(void* parent);
    // [host UI thread] Destroys the window and stops its thread before returning.
    void close();
    bool isOpen() const noexcept { return window_ != nullptr; }
    // [any] Every display reads the engine again at the next tick (after a chunk load).
    void refreshAll() noexcept { model_.dirty().markAll(); }

    // Headless use (tests, screenshots) while the window is closed: the tree and its model.
    ui::RootView& root() noexcept { return root_; }
    GuiMain& main() noexcept { return *main_; }
    EditorModel& model() noexcept { return model_; }
    // Shows the editor as the host's open does, without a window (tests drive it with root()).
    void setHeadlessVisible(bool visible);

    // WindowClient: called on the window's thread.
    void windowOpened(ui::PlatformServices& services) override;
    void windowClosing() override;

private:
    EditorModel model_;
    ui::RootView root_;
    std::unique_ptr<FileDialogs> files_;
    GuiMain* main_ = nullptr;
    std::unique_ptr<PlatformWindow> window_;
};

}  // namespace quenvale::editor
