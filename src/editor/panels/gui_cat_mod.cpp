// The "Modulators" page: four frames of instance buttons acting as one radio group.
#include "editor/panels/gui_cat_mod.h"

#include "common/capacity.h"
#include "editor/controls/button.h"
#include "editor/panels/gui_ch_lfo.h"
#include "editor/panels/gui_env.h"
#include "editor/panels/gui_lfo.h"
#include "editor/panels/gui_step_seq.h"
#include "editor/panels/layout.h"

namespace quenvale::editor {

namespace {

struct FamilyInfo {
    const char* frameTitle;
    const char* viewPrefix;
    int instances;
    ui::Rect frame;
};

constexpr FamilyInfo kFamilies[kModFamilyCount] = {
    {"Envelopes", "Env", kEnvelopeCount, layout::kEnvelopesFrame},
    {"StepSeq", "StepSeq", kStepSeqCount, layout::kStepSeqFrame},
    {"LFOs", "Lfo", kVoiceLfoCount, layout::kLfosFrame},
    {"ChLFOs", "ChLfo", kChannelLfoCount, layout::kChLfosFrame},
};

}  // namespace

GuiCatMod::GuiCatMod(EditorContext& context, ui::Rect bounds) : Page(context, bounds, "Modulators") {
    for (int f = 0; f < kModFamilyCount; ++f) {
        const FamilyInfo& info = kFamilies[f];
        auto& frame = add<ui::Frame>(info.frame, info.frameTitle);
        const ui::Rect content = frame.contentRect();
        for (int i = 0; i < info.instances; ++i) {
            const ui::Rect r{content.x + i * (layout::kInstanceButtonSize + 1), content.y, layout::kInstanceButtonSize,
                             layout::kInstanceButtonSize};
            auto& button = frame.add<Button>(r, std::to_string(i + 1));
            button.setOnClick([this, f, i] { select(static_cast<ModFamily>(f), i); });
            buttons_[f].push_back(&button);
        }
    }
    instanceArea_ = &add<ui::Frame>(layout::kInstanceArea, "");
    const ui::Rect area = instanceArea_->contentRect();
    pages_[static_cast<int>(ModFamily::Env)] = &instanceArea_->add<GuiEnv>(context, area);
    pages_[static_cast<int>(ModFamily::StepSeq)] = &instanceArea_->add<GuiStepSeq>(context, area);
    pages_[static_cast<int>(ModFamily::Lfo)] = &instanceArea_->add<GuiLfo>(context, area);
    pages_[static_cast<int>(ModFamily::ChLfo)] = &instanceArea_->add<GuiChLfo>(context, area);
    select(ModFamily::Env, 0);
}

int GuiCatMod::viewCount() const {
    int n = 0;
    for (const FamilyInfo& info : kFamilies) n += info.instances;
    return n;
}

std::string GuiCatMod::viewName(int view) const {
    for (const FamilyInfo& info : kFamilies) {
        if (view < info.instances) return info.viewPrefix + std::to_string(view + 1);
        view -= info.instances;
    }
    return {};
}

ui::Widget* GuiCatMod::showView(int view) {
    for (int f = 0; f < kModFamilyCount; ++f) {
        if (view < kFamilies[f].instances) {
            select(static_cast<ModFamily>(f), view);
            return buttons_[f][view];
        }
        view -= kFamilies[f].instances;
    }
    return nullptr;
}

void GuiCatMod::select(ModFamily family, int instance) {
    family_ = family;
    instance_ = instance;
    for (int f = 0; f < kModFamilyCount; ++f)
        for (size_t i = 0; i < buttons_[f].size(); ++i)
            buttons_[f][i]->setChecked(f == static_cast<int>(family) && static_cast<int>(i) == instance);
    instanceArea_->setLabel(std::string(kFamilies[static_cast<int>(family)].viewPrefix) + " " +
                            std::to_string(instance + 1));
    // One page per family; the chosen instance's parameters are bound to its controls.
    for (int f = 0; f < kModFamilyCount; ++f) pages_[f]->setVisible(f == static_cast<int>(family));
    pages_[static_cast<int>(family)]->bindInstance(instance);
}

void GuiCatMod::timerTick() {
    pages_[static_cast<int>(family_)]->timerTick();
}

}  // namespace quenvale::editor
