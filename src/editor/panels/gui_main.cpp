// The main panel's layout, its commands and its timer.
#include "editor/panels/gui_main.h"

#include <cstdio>
#include <vector>

#include "common/capacity.h"
#include "editor/controls/button.h"
#include "editor/controls/combo_box.h"
#include "editor/controls/knob.h"
#include "editor/controls/level_meter.h"
#include "editor/overlays/file_dialogs.h"
#include "editor/overlays/message_box.h"
#include "editor/overlays/store_to_dialog.h"
#include "editor/panels/gui_cat_fx.h"
#include "editor/panels/gui_cat_mod.h"
#include "editor/panels/gui_gen.h"
#include "editor/panels/layout.h"
#include "engine/spectrum/generator.h"
#include "engine/synth_engine.h"
#include "params/parameter_index.h"
#include "persist/whole_file.h"

namespace quenvale::editor {

using ui::Rect;
using ui::theme::grid;

GuiMain::GuiMain(EditorModel& model, ui::RootView& root, FileDialogs& files)
    : Panel(root.localBounds()), context_{model, root, *this, files} {
    buildHeader();
    pages_[0] = &add<GuiGen>(context_, layout::kPageFrame);
    pages_[1] = &add<GuiCatMod>(context_, layout::kPageFrame);
    pages_[2] = &add<GuiCatFx>(context_, layout::kPageFrame);
    showPage(0);
    updatePartialButtons();
}

GuiMain::~GuiMain() = default;

void GuiMain::buildHeader() {
    auto& header = add<ui::FilledPanel>(Rect{0, 0, ui::theme::kWindowWidth, ui::theme::kHeaderHeight},
                                        ui::theme::kHeaderBackground);
    // Row 1: the program list and the store buttons.
    programList_ = &header.add<ComboBox>(Rect{grid(2), grid(2), grid(48), grid(5)}, kNameFieldSize - 1);
    programList_->setItemSource(
        [this] {
            std::vector<std::string> names;
            for (int p = 0; p < kProgramCount; ++p) names.push_back(context_.model.programName(p));
            return names;
        },
        [this] { return context_.model.engine().currentProgram(0); });
    programList_->setOnSelect([this](int program) { selectProgram(program); });
    programList_->field().setOnChange([this](const std::string& name) { context_.model.host().renameProgram(name.c_str()); });
    store_ = &header.add<Button>(Rect{grid(51), grid(2), grid(16), grid(5)}, "< Store", [this] { store(); });
    storeTo_ = &header.add<Button>(Rect{grid(68), grid(2), grid(21), grid(5)}, "Store To...", [this] { storeTo(); });

    // Row 2: bank and partial count.
    header.add<Label>(Rect{grid(2), grid(9), grid(10), grid(5)}, "Bank", true);
    save_ = &header.add<Button>(Rect{grid(12), grid(9), grid(14), grid(5)}, "Save", [this] { saveBank(); });
    load_ = &header.add<Button>(Rect{grid(27), grid(9), grid(14), grid(5)}, "Load", [this] { loadBank(); });
    header.add<Label>(Rect{grid(44), grid(9), grid(14), grid(5)}, "Partials", true);
    static constexpr const char* kPartialTexts[kPartialChoices] = {"64", "128", "256", "512"};
    for (int i = 0; i < kPartialChoices; ++i)
        partials_[i] = &header.add<Button>(Rect{grid(58) + i * grid(11), grid(9), grid(10), grid(5)}, kPartialTexts[i],
                                           [this, i] { setPartialCount(i); });

    // Row 3: pages and the voice count.
    static constexpr const char* kPageNames[kPageCount] = {"Voice", "Modulators", "Effects"};
    for (int i = 0; i < kPageCount; ++i)
        pageButtons_[i] = &header.add<Button>(Rect{grid(2) + i * grid(23), grid(18), grid(22), grid(5)}, kPageNames[i],
                                              [this, i] { showPage(i); });
    header.add<Label>(Rect{grid(72), grid(18), grid(12), grid(5)}, "Voices", true);
    voiceCount_ = &header.add<Label>(Rect{grid(84), grid(18), grid(10), grid(5)}, "");

    // Right: macro knobs, "Gain", the meter.
    for (int m = 0; m < 6; ++m) {
        macros_[m] = &header.add<Knob>(Rect{grid(104) + m * grid(11), grid(2), grid(11), grid(19)});
        macros_[m]->bind(context_.model, {kParamMacro1 + m});
    }
    gain_ = &header.add<Knob>(Rect{grid(104) + 6 * grid(11), grid(2), grid(11), grid(19)});
    gain_->setFixedLabel("Gain");
    gain_->bind(context_.model, {kParamMasterGain});
    meter_ = &header.add<LevelMeter>(Rect{grid(186), grid(2), grid(5), grid(20)});
}

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
    refillProgramList();
    if (visible) {
        context_.model.dirty().takeAll();
        context_.model.dirty().drain([](int32_t) {});
        refreshFromModel();
        updatePartialButtons();
        lastVoiceCount_ = -1;
    }
}

void GuiMain::refillProgramList() {
    if (!visible_) return;
    programList_->field().setText(context_.model.programName(context_.model.engine().currentProgram(0)));
}

void GuiMain::updatePartialButtons() {
    const int choice = context_.model.engine().channel().generator->partialCountIndex();
    for (int i = 0; i < kPartialChoices; ++i) partials_[i]->setChecked(i == choice);
}

void GuiMain::programEdited() {
    setChanged(true);
}

void GuiMain::setChanged(bool changed) {
    changed_ = changed;
    refreshStore_ = true;
}

void GuiMain::checkUnsaved(std::function<void()> proceed) {
    if (!changed_) {
        proceed();
        return;
    }
    showMessage(context_.root, kUnsavedQuestion, "Quenvale", MessageIcon::Question, MessageButtons::YesNoCancel,
                [this, proceed = std::move(proceed)](MessageResult answer) {
                    if (answer == MessageResult::Cancel) {
                        refillProgramList();
                        return;
                    }
                    if (answer == MessageResult::Yes) {
                        context_.model.host().storeProgram(context_.model.engine().currentProgram(0));
                        setChanged(false);
                    }
                    proceed();
                });
}

void GuiMain::selectProgram(int program) {
    if (program < 0 || program >= kProgramCount) return;
    checkUnsaved([this, program] {
        context_.model.host().selectProgram(program);
        programSelectedHere();
    });
}

void GuiMain::programSelectedHere() {
    DirtySet& dirty = context_.model.dirty();
    dirty.takeProgramChanged();
    dirty.takeEdited();
    dirty.takeAll();
    dirty.drain([](int32_t) {});
    setChanged(false);
    refillProgramList();
    updatePartialButtons();
    refreshFromModel();
}

void GuiMain::store() {
    context_.model.host().storeProgram(context_.model.engine().currentProgram(0));
    setChanged(false);
}

void GuiMain::storeTo() {
    std::vector<std::string> names;
    for (int p = 0; p < kProgramCount; ++p) names.push_back(context_.model.programName(p));
    context_.root.openOverlay(std::make_unique<StoreToDialog>(std::move(names), [this](int chosen) {
        EditorHost& host = context_.model.host();
        if (chosen >= 0) {
            host.storeProgram(chosen);
            host.selectProgram(chosen);
        } else {
            host.storeProgram(context_.model.engine().currentProgram(0));
        }
        programSelectedHere();
    }));
}

void GuiMain::saveBank() {
    checkUnsaved([this] {
        FileRequest request{true, kSaveTitle, "qpb", kBankFilter};
        context_.files.choose(request, [this](const std::string& path) {
            if (!path.empty()) writeBankFile(path);
        });
    });
}

void GuiMain::loadBank() {
    FileRequest request{false, kLoadTitle, "qpb", kBankFilter};
    context_.files.choose(request, [this](const std::string& path) {
        if (!path.empty()) readBankFile(path);
    });
}

void GuiMain::writeBankFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    bool saved = false;
    try {
        saved = context_.model.host().writeBank(bytes);
    } catch (const std::bad_alloc&) {
        saved = false;
    }
    if (saved) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        saved = file != nullptr;
        if (file != nullptr) {
            saved = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
            saved = std::fclose(file) == 0 && saved;
        }
    }
    if (!saved) {
        showMessage(context_.root, kBankSaveFailed, kSaveTitle, MessageIcon::Error);
        return;
    }
    setChanged(false);
}

void GuiMain::readBankFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    bool loaded = readWholeFile(path.c_str(), bytes);
    if (loaded) loaded = context_.model.host().readBank(bytes.data(), bytes.size());
    if (!loaded) {
        showMessage(context_.root, kBankLoadFailed, kLoadTitle, MessageIcon::Error);
        return;
    }
    context_.model.host().selectProgram(context_.model.engine().currentProgram(0));
    programSelectedHere();
}

void GuiMain::setPartialCount(int choice) {
    if (choice < 0 || choice >= kPartialChoices) return;
    context_.model.host().setPartialCountIndex(choice);
    updatePartialButtons();
    setChanged(true);
    pages_[0]->refreshFromModel();
}

void GuiMain::timerTick() {
    if (!visible_) return;
    EditorModel& model = context_.model;
    SynthEngine& engine = model.engine();

    // 1. The voice count, when it differs from the last one shown.
    const int voices = engine.activeVoiceCount();
    if (voices != lastVoiceCount_) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", voices);
        voiceCount_->setText(text);
        lastVoiceCount_ = voices;
    }
    // 2. The peaks since the last tick; reading them restarts the collection.
    float left = 0.0f, right = 0.0f;
    engine.readPeaks(left, right);
    meter_->setLevels(left, right);

    // 4 (before 3, so that this tick's notifications reach the store button now).
    DirtySet& dirty = model.dirty();
    if (dirty.takeEdited()) setChanged(true);
    if (dirty.takeProgramChanged()) {
        setChanged(false);
        refillProgramList();
        updatePartialButtons();
    }
    if (dirty.takeAll()) {
        dirty.drain([](int32_t) {});
        refreshFromModel();
        updatePartialButtons();
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
    // 3. "< Store" is enabled exactly while there are unsaved changes.
    if (refreshStore_) {
        store_->setEnabled(changed_);
        refreshStore_ = false;
    }
    pages_[page_]->timerTick();
}

}  // namespace quenvale::editor
