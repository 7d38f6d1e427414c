// "Re-Synthesize Options": which spectra to analyse ("Amp", "Detune", "Phase", "Pan"; "Noise" is
// shown disabled), "Additive Layer", "Fundamental Freq." (10 … 10000 Hz) and "Sampling Distance"
// (0.01 … 10 s). Loads its fields from the options when it opens and writes them back on OK.
#pragma once

#include <array>
#include <functional>

#include "editor/ui/dialog_overlay.h"
#include "resynth/resynth_options.h"

namespace quenvale::editor {

class Button;
class CheckBox;
class TextField;

class ResynthOptionsDialog : public ui::DialogOverlay {
public:
    static constexpr const char* kTitle = "Re-Synthesize Options";

    ResynthOptionsDialog(const ResynthOptions& options, std::function<void(const ResynthOptions&)> onOk);

    // The options the fields hold now (numbers clamped to their ranges; text that is no number keeps
    // the value the dialog opened with).
    ResynthOptions options() const;
    CheckBox& check(int i) noexcept { return *checks_[i]; }  // Amp, Detune, Phase, Pan, Noise, Additive Layer
    TextField& fundamentalField() noexcept { return *fundamental_; }
    TextField& distanceField() noexcept { return *distance_; }
    Button& okButton() noexcept { return *ok_; }
    Button& cancelButton() noexcept { return *cancel_; }

    const char* kind() const override { return "resynthoptions"; }

    // Reads a number field: the text's value clamped to lo … hi, or fallback when it is no number.
    static float parseField(const std::string& text, float lo, float hi, float fallback);

protected:
    bool enterPressed() override {
        accept();
        return true;
    }

private:
    void accept();

    ResynthOptions initial_;
    std::function<void(const ResynthOptions&)> onOk_;
    std::array<CheckBox*, 6> checks_{};
    TextField* fundamental_ = nullptr;
    TextField* distance_ = nullptr;
    Button* ok_ = nullptr;
    Button* cancel_ = nullptr;
};

}  // namespace quenvale::editor
