// The main panel's layout, page switching and timer.
#include "editor/panels/gui_main.h"

#include "editor/controls/button.h"
#include "editor/panels/gui_cat_fx.h"
#include "editor/panels/gui_cat_mod.h"
#include "editor/panels/gui_gen.h"
#include "editor/panels/layout.h"

namespace quenvale::editor {

using ui::theme::grid;

GuiMain::GuiMain(EditorModel& model, ui::RootView& root, FileDialogs& files)
    : Panel(root.localBounds()), context_{model, root, *this, files} {
    auto& header = add<ui::FilledPanel>(ui::Rect{0, 0, ui::theme::kWindowWidth, ui::theme::kHeaderHeight},
                                        ui::theme::kHeaderBackground);
    static constexpr const char* kPageNames[kPageCount] = {"Voice", "Modulators", "Effects"};
    for (int i = 0; i < kPageCount; ++i) {
        pageButtons_[i] = &header.add<Button>(ui::Rect{grid(2) + i * grid(23), grid(18), grid(22), grid(5)},
                                              kPageNames[i], [this, i] { showPage(i); });
    }
    const ui::Rect frame = layout::kPageFrame;
    const ui::Rect pageRect{frame.x, frame.y, frame.w, frame.h};
    pages_[0] = &add<GuiGen>(context_, pageRect);
    pages_[1] = &add<GuiCatMod>(context_, pageRect);
    pages_[2] = &add<GuiCatFx>(context_, pageRect);
    showPage(0);
}

GuiMain::~GuiMain() = default;

void GuiMain::showPage(int page) {
    if (page < 0 || page >= kPageCount) return;
    page_ = page;
    for (int i = 0; i < kPageCount; ++i) {
        pages_[i]->setVisible(i == page);
        pageButtons_[i]->setChecked(i == page);
    }
}

void GuiMain::setVisible(bool visible) {
    visible_ = visible;
    if (visible) refreshFromModel();
}

void GuiMain::programEdited() {
    setChanged(true);
}

void GuiMain::setChanged(bool changed) {
    changed_ = changed;
    refreshStore_ = true;
}

void GuiMain::timerTick() {
    if (!visible_) return;
    EditorModel& model = context_.model;
    DirtySet& dirty = model.dirty();
    if (dirty.takeEdited()) setChanged(true);
    if (dirty.takeProgramChanged()) setChanged(false);
    if (dirty.takeAll()) {
        dirty.drain([](int32_t) {});
        refreshFromModel();
    } else {
        dirty.drain([this](int32_t index) {
            ui::forEachWidget(*this, [index](ui::Widget& w) {
                for (int32_t p : w.parameters()) {
                    if (p != index) continue;
                    w.refreshFromModel();
                    break;
                }
            });
        });
    }
    pages_[page_]->timerTick();
}

}  // namespace quenvale::editor
