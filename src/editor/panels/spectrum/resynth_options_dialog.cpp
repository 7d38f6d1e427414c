// The "Re-Synthesize Options" dialog.
#include "editor/panels/spectrum/resynth_options_dialog.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "editor/controls/button.h"
#include "editor/controls/check_box.h"
#include "editor/controls/text_field.h"
#include "editor/ui/draw.h"

namespace quenvale::editor {

using namespace ui;

namespace {
constexpr Rect kBox{(theme::kWindowWidth - 360) / 2, 150, 360, 250};
constexpr const char* kCheckNames[6] = {"Amp", "Detune", "Phase", "Pan", "Noise", "Additive Layer"};

std::string numberText(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
}
}  // namespace

ResynthOptionsDialog::ResynthOptionsDialog(const ResynthOptions& options,
                                           std::function<void(const ResynthOptions&)> onOk)
    : DialogOverlay(kBox), initial_(options), onOk_(std::move(onOk)) {
    setLabel(kTitle);
    const bool states[6] = {options.amp, options.detune, options.phase,
                            options.pan, false,          options.additiveLayer};
    for (int i = 0; i < 6; ++i) {
        const int col = i < 4 ? 0 : 1;
        const int row = i < 4 ? i : i - 4;
        checks_[i] =
            &add<CheckBox>(Rect{kBox.x + 16 + col * 170, kBox.y + 36 + row * 24, 150, 20}, kCheckNames[i]);
        checks_[i]->setChecked(states[i]);
    }
    checks_[4]->setEnabled(false);  // "Noise": no noise analysis exists
    add<Label>(Rect{kBox.x + 16, kBox.y + 140, 170, 20}, "Fundamental Freq.");
    fundamental_ = &add<TextField>(Rect{kBox.x + 190, kBox.y + 140, 150, 20}, 16);
    fundamental_->setText(numberText(options.fundamental));
    add<Label>(Rect{kBox.x + 16, kBox.y + 166, 170, 20}, "Sampling Distance");
    distance_ = &add<TextField>(Rect{kBox.x + 190, kBox.y + 166, 150, 20}, 16);
    distance_->setText(numberText(options.samplingDistance));
    ok_ = &add<Button>(Rect{kBox.right() - 176, kBox.bottom() - 32, 76, theme::kButtonHeight}, "OK",
                       [this] { accept(); });
    cancel_ = &add<Button>(Rect{kBox.right() - 92, kBox.bottom() - 32, 76, theme::kButtonHeight}, "Cancel",
                           [this] { close(); });
}

float ResynthOptionsDialog::parseField(const std::string& text, float lo, float hi, float fallback) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || std::isnan(v)) return fallback;
    return static_cast<float>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
}

ResynthOptions ResynthOptionsDialog::options() const {
    ResynthOptions o = initial_;
    o.amp = checks_[0]->checked();
    o.detune = checks_[1]->checked();
    o.phase = checks_[2]->checked();
    o.pan = checks_[3]->checked();
    o.additiveLayer = checks_[5]->checked();
    o.fundamental = parseField(fundamental_->text(), kMinFundamental, kMaxFundamental, initial_.fundamental);
    o.samplingDistance =
        parseField(distance_->text(), kMinSamplingDistance, kMaxSamplingDistance, initial_.samplingDistance);
    return o;
}

void ResynthOptionsDialog::accept() {
    const ResynthOptions o = options();
    auto fn = std::move(onOk_);
    close();
    if (fn) fn(o);
}



}  // namespace quenvale::editor
