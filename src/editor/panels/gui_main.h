// The main panel: program list and store buttons, bank save and load, partial count, page buttons,
// macro knobs and "Gain", voice count and level meter, and the page frame holding the three pages.
#pragma once

#include <array>
#include <memory>

#include "editor/panels/editor_context.h"
#include "editor/panels/page.h"
#include "editor/ui/panel.h"

namespace quenvale::editor {

class Button;
class Label;

class GuiMain : public ui::Panel, public GuiMainSink {
public:
    static constexpr int kPageCount = 3;

    // Builds the panel tree inside root (the panel is root's child).
    GuiMain(EditorModel& model, ui::RootView& root, FileDialogs& files);
    ~GuiMain() override;

    // [editor thread] The host opened (true) or closed (false) the editor: refills the program list and,
    // on opening, reads every bound control from the engine.
    void setVisible(bool visible);
    bool editorVisible() const noexcept { return visible_; }
    // The 20 ms timer: voice count, meter, "< Store" state, dirty-set flush.
    void timerTick();

    void showPage(int page);
    int currentPage() const noexcept { return page_; }
    Page& page(int index) noexcept { return *pages_[index]; }
    // The page buttons "Voice", "Modulators", "Effects".
    Button& pageButton(int index) noexcept { return *pageButtons_[index]; }

    bool changed() const noexcept { return changed_; }
    void programEdited() override;

    EditorContext& context() noexcept { return context_; }

private:
    void setChanged(bool changed);

    EditorContext context_;
    std::array<Page*, kPageCount> pages_{};
    std::array<Button*, kPageCount> pageButtons_{};
    int page_ = 0;
    bool visible_ = false;
    bool changed_ = false;
    bool refreshStore_ = true;
};

}  // namespace quenvale::editor
