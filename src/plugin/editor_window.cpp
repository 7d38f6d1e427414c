// The editor seam: the editor with its plug-in host adapter, or nothing where no backend exists.
#include "plugin/editor_window.h"

#include "plugin/torvane_interface.h"

#if QUENVALE_HAS_EDITOR
#include "editor/editor.h"
#include "editor/model/direct_editor_host.h"
#endif

namespace quenvale {

#if QUENVALE_HAS_EDITOR

namespace {

// The editor's edits reach the host through the plug-in object; structural actions go straight to the
// engine, which serializes them with the host's own calls.
class PluginEditorHost final : public editor::DirectEditorHost {
public:
    PluginEditorHost(SynthEngine& engine, TorvaneInterface& plugin) : DirectEditorHost(engine), plugin_(plugin) {}
    void reportEditorChange(int32_t index) override { plugin_.reportEditorChange(index); }
    void beginEdit(int32_t index) override { plugin_.beginEdit(index); }
    void endEdit(int32_t index) override { plugin_.endEdit(index); }

private:
    TorvaneInterface& plugin_;
};

}  // namespace

struct EditorWindow::Impl {
    Impl(SynthEngine& engine, TorvaneInterface& plugin) : host(engine, plugin), editor(engine, host) {}
    PluginEditorHost host;
    editor::Editor editor;
};

EditorWindow::EditorWindow(SynthEngine& engine, TorvaneInterface& plugin)
    : impl_(std::make_unique<Impl>(engine, plugin)) {}

EditorWindow::~EditorWindow() {
    close();
}

bool EditorWindow::open(void* hostWindow) noexcept {
    try {
        return impl_->editor.open(hostWindow);
    } catch (...) {
        return false;  // a thread or an allocation refused: the host sees a failed open
    }
}

void EditorWindow::close() noexcept {
    impl_->editor.close();
}

void EditorWindow::refreshAll() noexcept {
    impl_->editor.refreshAll();
}

bool EditorWindow::visible() const noexcept {
    return impl_->editor.isOpen();
}

#else

struct EditorWindow::Impl {};

EditorWindow::EditorWindow(SynthEngine&, TorvaneInterface&) {}
EditorWindow::~EditorWindow() = default;
bool EditorWindow::open(void*) noexcept {
    return false;
}
void EditorWindow::close() noexcept {}
void EditorWindow::refreshAll() noexcept {}
bool EditorWindow::visible() const noexcept {
    return false;
}

#endif

void EditorWindow::windowRect(ERect& rect) const noexcept {
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<VstInt16>(kEditorHeight);
    rect.right = static_cast<VstInt16>(kEditorWidth);
}

}  // namespace quenvale
