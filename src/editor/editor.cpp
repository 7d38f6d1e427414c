// The editor's lifetime: the tree is built once; windows come and go with the host's open and close.
#include "editor/editor.h"

#include <chrono>

#include "common/random.h"
#include "editor/panels/gui_main.h"

namespace quenvale::editor {

Editor::Editor(SynthEngine& engine, EditorHost& host, bool externalFileDialogs)
    : model_(engine, host), files_(makeFileDialogs(root_, externalFileDialogs)) {
    // The editor's random generator starts from the millisecond clock.
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    seedRandom(static_cast<uint32_t>(ms.count()));
    main_ = &root_.add<GuiMain>(model_, root_, *files_);
    root_.setTickHandler([this] {
        files_->poll();
        main_->timerTick();
    });
}

Editor::~Editor() {
    close();
}

bool Editor::open(void* parent) {
    close();
    window_ = openPlatformWindow(parent, root_, *this);
    return window_ != nullptr;
}

void Editor::close() {
    window_.reset();
}

void Editor::setHeadlessVisible(bool visible) {
    main_->setVisible(visible);
}

void Editor::windowOpened(ui::PlatformServices& services) {
    root_.setServices(&services);
    main_->setVisible(true);
    root_.addDamage(root_.localBounds());
}

void Editor::windowClosing() {
    // Overlays do not outlive the window: a pending question is answered by closing it.
    files_->cancel();
    root_.closeAllOverlays();
    main_->setVisible(false);
    root_.setServices(nullptr);
}

}  // namespace quenvale::editor
