// The modifier panel.
#include "editor/panels/spectrum/gui_spectrum_mod.h"

#include "editor/controls/button.h"
#include "editor/controls/check_box.h"
#include "editor/controls/drag_number.h"
#include "editor/controls/key_map_edit.h"
#include "editor/controls/list_box.h"
#include "editor/overlays/message_box.h"
#include "editor/overlays/popup_menu.h"
#include "editor/panels/spectrum/gui_spectrum.h"
#include "editor/panels/spectrum/mod_edit_dialog.h"
#include "editor/panels/spectrum/spectrum_edits.h"
#include "engine/spectrum/modulator.h"
#include "engine/synth_engine.h"

namespace quenvale::editor {

using namespace ui;
using ui::theme::grid;

namespace {

struct ValueSpec {
    const char* name;
    float minimum, maximum, defaultValue;
    int decimals;
    float& (*field)(Modulator&);
};

// The modifier values: the modulated ones (their base values), then the movement and the filter.
const ValueSpec kValues[] = {
    {"Gain", 0.0f, 4.0f, 1.0f, 3, [](Modulator& m) -> float& { return m.gain.base; }},
    {"Offset", -1.0f, 1.0f, 0.0f, 3, [](Modulator& m) -> float& { return m.offset.base; }},
    {"Shift", -64.0f, 64.0f, 0.0f, 2, [](Modulator& m) -> float& { return m.shift.base; }},
    {"Dynamic Freq", 0.0f, 20.0f, 1.0f, 2, [](Modulator& m) -> float& { return m.dynamicFrequency; }},
    {"Freq Scale", -1.0f, 1.0f, 0.1f, 3, [](Modulator& m) -> float& { return m.partialFreqScale; }},
    {"Phase", 0.0f, 1.0f, 0.0f, 3, [](Modulator& m) -> float& { return m.dynamicPhase; }},
    {"Phase Offset", -1.0f, 1.0f, 0.0f, 3, [](Modulator& m) -> float& { return m.partialPhaseOffset; }},
    {"Phase Randomness", 0.0f, 1.0f, 1.0f, 3, [](Modulator& m) -> float& { return m.randomPhaseOffset; }},
    {"Amount", 0.0f, 1.0f, 0.25f, 3, [](Modulator& m) -> float& { return m.dynamicAmount; }},
    {"Cutoff", 0.0f, 1.0f, 0.5f, 3, [](Modulator& m) -> float& { return m.cutoff.base; }},
    {"Resonance", 0.0f, 4.0f, 0.5f, 3, [](Modulator& m) -> float& { return m.resonance.base; }},
    {"Dry/Wet", 0.0f, 1.0f, 1.0f, 3, [](Modulator& m) -> float& { return m.dryWet.base; }},
};
constexpr int kValueCount = static_cast<int>(sizeof kValues / sizeof kValues[0]);

std::string linkRow(const ModulatorLink& link) {
    std::string row = link.child ? link.child->name : std::string();
    if (row.empty()) row = "(no name)";
    row += std::string("  [") + combineModeName(link.mode) + "]";
    if (!link.enabled) row += "  off";
    return row;
}

}  // namespace

const std::vector<const char*>& GuiSpectrumMod::valueNames() {
    static const std::vector<const char*> names = [] {
        std::vector<const char*> n;
        for (const ValueSpec& v : kValues) n.push_back(v.name);
        return n;
    }();
    return names;
}

GuiSpectrumMod::GuiSpectrumMod(EditorContext& context, GuiSpectrum& spectrum, Rect bounds)
    : Panel(bounds), context_(context), spectrum_(spectrum) {
    setLabel("Modifiers");
    const int h = theme::kButtonHeight;
    path_ = &add<Label>(Rect{0, 0, grid(60), h}, "", true);
    list_ = &add<ListBox>(Rect{0, h + 2, grid(44), bounds.h - h - 2});
    list_->setLabel("Children");
    list_->setOnSelect([this](int i) { selectLink(i); });
    list_->setOnOpen([this](int i) { openLink(i); });
    const int bx = grid(45);
    parent_ = &add<Button>(Rect{bx, h + 2, grid(14), h}, "..", [this] { spectrum_.leaveToParent(); });
    edit_ = &add<Button>(Rect{bx, 2 * h + 6, grid(14), h}, "Edit", [this] { editLink(); });
    add_ = &add<Button>(Rect{bx, 3 * h + 10, grid(14), h}, "Add", [this] { addLink(); });
    up_ = &add<Button>(Rect{bx, 4 * h + 14, grid(6), h}, "/\\", [this] { moveLink(-1); });
    down_ = &add<Button>(Rect{bx + grid(8), 4 * h + 14, grid(6), h}, "\\/", [this] { moveLink(1); });
    remove_ = &add<Button>(Rect{bx, 5 * h + 18, grid(14), h}, "Rem.", [this] { removeLink(); });

    const int cx = grid(62);
    repeatBorder_ = &add<CheckBox>(Rect{cx, 0, grid(38), h}, "Shift: Repeat Border", [this](bool on) {
        EditGuard::ReadScope read(context_.model.engine().editGuard());
        edited().shiftRepeatBorder = on;
        changed(false);
    });
    additive_ = &add<CheckBox>(Rect{cx + grid(39), 0, grid(20), h}, "Additive", [this](bool on) {
        EditGuard::ReadScope read(context_.model.engine().editGuard());
        edited().additive = on;
        changed(false);
    });
    dynamicMode_ = &add<Button>(Rect{cx + grid(60), 0, grid(28), h}, "");
    dynamicMode_->setOnClick([this] {
        std::vector<MenuItem> items;
        for (int32_t i = 0; i < kDynamicModeCount; ++i)
            items.push_back(MenuItem::command(dynamicModeName(i), i, i == edited().dynamicMode));
        const Rect r = dynamicMode_->windowRect();
        openPopupMenu(
            *root(), std::move(items), {r.x, r.bottom()},
            [this](int32_t id) {
                EditGuard::ReadScope read(context_.model.engine().editGuard());
                edited().dynamicMode = id;
                changed(false);
            },
            {}, r.w);
    });
    dynamicMode_->setLabel("Dynamic Mode");
    filterMode_ = &add<Button>(Rect{cx + grid(89), 0, grid(28), h}, "Filter Mode");
    filterMode_->setOnClick([this] {
        std::vector<MenuItem> items;
        for (int32_t i = 0; i < kFilterModeCount; ++i)
            items.push_back(MenuItem::command(filterModeName(i), i, i == edited().filterMode));
        const Rect r = filterMode_->windowRect();
        openPopupMenu(
            *root(), std::move(items), {r.x, r.bottom()},
            [this](int32_t id) {
                EditGuard::ReadScope read(context_.model.engine().editGuard());
                edited().filterMode = id;
                changed(false);
            },
            {}, r.w);
    });

    // Three columns of values under the flags.
    const int colWidth = grid(40);
    for (int i = 0; i < kValueCount; ++i) {
        const ValueSpec& value = kValues[i];
        const int col = i / 4, row = i % 4;
        DragNumber& n =
            add<DragNumber>(Rect{cx + col * (colWidth + grid(2)), (row + 1) * (h + 4) + 4, colWidth, h},
                            value.name, value.minimum, value.maximum, value.defaultValue, value.decimals);
        n.setOnChange([this, i](float v) {
            EditGuard::ReadScope read(context_.model.engine().editGuard());
            kValues[i].field(edited()) = v;
        });
        n.setOnCommit([this] { changed(false); });
        values_.push_back(&n);
    }

    // The key-mapping curve takes the values' place while "Keys" is on.
    keyMap_ = &add<KeyMapEdit>(Rect{cx, h + 4, bounds.w - cx, bounds.h - h - 4});
    keyMap_->setVisible(false);
    keyMap_->setOnChange(
        [this](const BreakpointCurve& curve, bool structural) { storeKeyMapping(curve, structural); });
    keyMapButton_ = &add<Button>(Rect{cx + grid(118), 0, bounds.w - cx - grid(118), h}, "Keys",
                                 [this] { showKeyMapping(!keyMap_->visible()); });
    updateButtons();
}

// Callers hold the engine's read scope while they use the modulator.
Modulator& GuiSpectrumMod::edited() {
    return spectrum_.target().resolve(liveGenerator(context_.model.engine()));
}

void GuiSpectrumMod::changed(bool structural) {
    spectrum_.modulatorEdited(structural);
}

void GuiSpectrumMod::sync(Modulator& m, const std::string& pathText) {
    path_->setText("Path: " + pathText);
    std::vector<std::string> rows;
    for (const ModulatorLink& link : m.children) rows.push_back(linkRow(link));
    list_->setRows(std::move(rows));
    repeatBorder_->setChecked(m.shiftRepeatBorder);
    additive_->setChecked(m.additive);
    dynamicMode_->setLabel(std::string("Move: ") + dynamicModeName(m.dynamicMode));
    filterMode_->setLabel(std::string("Filter: ") + filterModeName(m.filterMode));
    for (int i = 0; i < kValueCount; ++i)
        if (!values_[i]->pressed()) values_[i]->setValue(kValues[i].field(m));
    keyMap_->setCurve(m.keyMapping);
    parent_->setEnabled(!spectrum_.target().path.empty());
    updateButtons();
}

void GuiSpectrumMod::showKeyMapping(bool show) {
    keyMap_->setVisible(show);
    keyMapButton_->setChecked(show);
    for (DragNumber* v : values_) v->setVisible(!show);
}

void GuiSpectrumMod::storeKeyMapping(const BreakpointCurve& curve, bool structural) {
    SynthEngine& engine = context_.model.engine();
    EditGuard::ReadScope read(engine.editGuard());
    if (structural) {
        // A new segment count must never be seen with the old lengths: the voices are kept out.
        EditGuard::EditScope scope(engine.editGuard());
        edited().keyMapping = curve;
    } else {
        // Same segments, new lengths and values: plain stores the next control tick reads.
        edited().keyMapping = curve;
    }
    changed(false);
}

void GuiSpectrumMod::updateButtons() {
    const int selected = list_->selected();
    const int count = static_cast<int>(list_->rows().size());
    edit_->setEnabled(selected >= 0);
    remove_->setEnabled(selected >= 0);
    up_->setEnabled(selected > 0 && count >= 2);
    down_->setEnabled(selected >= 0 && selected + 1 < count && count >= 2);
}

void GuiSpectrumMod::selectLink(int index) {
    list_->select(index);
    updateButtons();
}

void GuiSpectrumMod::openLink(int index) {
    spectrum_.enterChild(index);
}

void GuiSpectrumMod::editLink() {
    const int index = list_->selected();
    ModEditFields fields;
    {
        EditGuard::ReadScope read(context_.model.engine().editGuard());
        Modulator& m = edited();
        if (index < 0 || index >= m.childCount()) return;
        const ModulatorLink& link = m.children[index];
        fields = {link.child ? link.child->name : std::string(), link.mode, link.enabled};
    }
    context_.root.openOverlay(std::make_unique<ModEditDialog>(fields, [this, index](const ModEditFields& f) {
        EditGuard::ReadScope read(context_.model.engine().editGuard());
        Modulator& parent = edited();
        if (index >= parent.childCount()) return;
        ModulatorLink& l = parent.children[index];
        if (l.child) l.child->name = f.name;  // read only by the editor and the file writers
        l.mode = f.mode;
        l.enabled = f.enabled;
        changed(false);
    }));
}

void GuiSpectrumMod::addLink() {
    ModEditFields fields{"", kCombineAdd, true};
    context_.root.openOverlay(std::make_unique<ModEditDialog>(fields, [this](const ModEditFields& f) {
        const int32_t index =
            addChildModulator(context_.model.engine(), spectrum_.target(), f.name, f.mode, true);
        changed(true);
        spectrum_.enterChild(index);
    }));
}

void GuiSpectrumMod::moveLink(int direction) {
    const int index = list_->selected();
    const int other = index + direction;
    if (index < 0 || other < 0 || other >= static_cast<int>(list_->rows().size())) return;
    if (!swapChildModulators(context_.model.engine(), spectrum_.target(), index, other)) return;
    list_->select(other);
    changed(true);
}

void GuiSpectrumMod::removeLink() {
    const int index = list_->selected();
    if (index < 0) return;
    showMessage(context_.root, kRemoveQuestion, "", MessageIcon::Question, MessageButtons::YesNo,
                [this, index](MessageResult answer) {
                    if (answer != MessageResult::Yes) return;
                    if (removeChildModulator(context_.model.engine(), spectrum_.target(), index)) {
                        list_->select(-1);
                        changed(true);
                    }
                });
}

}  // namespace quenvale::editor
