// The "Modulators" page: instance buttons of the four modulator families and the chosen instance's page.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "editor/panels/page.h"

namespace quenvale::editor {

class Button;
class InstancePage;

// The modulator families in the order of the page's frames.
enum class ModFamily : int { Env, StepSeq, Lfo, ChLfo };
inline constexpr int kModFamilyCount = 4;

class GuiCatMod : public Page {
public:
    GuiCatMod(EditorContext& context, ui::Rect bounds);

    int viewCount() const override;
    std::string viewName(int view) const override;
    ui::Widget* showView(int view) override;
    void timerTick() override;

    // Shows instance (0-based) of a family and lights its button.
    void select(ModFamily family, int instance);
    ModFamily family() const noexcept { return family_; }
    // The instance page of a family (GuiEnv, GuiStepSeq, GuiLfo, GuiChLfo).
    InstancePage& instancePage(ModFamily family) noexcept { return *pages_[static_cast<int>(family)]; }
    Button& instanceButton(ModFamily family, int instance) noexcept {
        return *buttons_[static_cast<int>(family)][instance];
    }
    int instance() const noexcept { return instance_; }

private:
    std::array<std::vector<Button*>, kModFamilyCount> buttons_{};
    ui::Frame* instanceArea_ = nullptr;
    std::array<InstancePage*, kModFamilyCount> pages_{};
    ModFamily family_ = ModFamily::Env;
    int instance_ = 0;
};

}  // namespace quenvale::editor
