// The scratchpad panel.
#include "editor/panels/spectrum/gui_spectrum_scratchpad.h"

#include "editor/controls/button.h"
#include "editor/controls/drag_number.h"
#include "editor/overlays/message_box.h"
#include "editor/ui/theme.h"

namespace quenvale::editor {

using namespace ui;
using ui::theme::grid;

namespace {
constexpr int kGraphWidth = grid(122);
constexpr int kRow = theme::kButtonHeight + grid(1);
constexpr const char* kModeTexts[kTransferModeCount] = {"C", "x", "+", "-"};
}  // namespace

GuiSpectrumScratchpad::GuiSpectrumScratchpad(EditorContext& context, ScratchpadHost& host, Rect bounds)
    : Panel(bounds), context_(context), host_(host) {
    setLabel("ScratchPad");
    graph_ = &add<PartialEdit>(Rect{0, 0, kGraphWidth, bounds.h}, "ScratchPad");
    graph_->addSink(this);

    const int x = kGraphWidth + grid(2);
    const int h = theme::kButtonHeight;
    macro_ = &add<Button>(Rect{x, 0, grid(16), h}, "Macro");
    macro_->setOnClick([this] {
        const Rect r = macro_->windowRect();
        openMacroMenu({r.x, r.bottom()});
    });
    transform_ = &add<Button>(Rect{x + grid(17), 0, grid(43), h}, kTransformNames[0]);
    transform_->setOnClick([this] {
        std::vector<MenuItem> items;
        for (int32_t i = 0; i < kTransformCount; ++i)
            items.push_back(MenuItem::command(kTransformNames[i], i, i == pad_.transform()));
        const Rect r = transform_->windowRect();
        openPopupMenu(
            *root(), std::move(items), {r.x, r.bottom()}, [this](int32_t id) { chooseTransform(id); }, {},
            r.w);
    });
    value_ = &add<DragNumber>(Rect{x, kRow, grid(43), h}, "Value", kTransformValueMin, kTransformValueMax,
                              1.0f, 3);
    value_->setOnChange([this](float v) { setValue(v); });
    apply_ = &add<Button>(Rect{x + grid(44), kRow, grid(16), h}, "Apply", [this] { apply(); });

    for (int m = 0; m < kTransferModeCount; ++m)
        modes_[m] = &add<Button>(Rect{x + m * grid(8), 2 * kRow, grid(7), h}, kModeTexts[m],
                                 [this, m] { setTransferMode(m); });
    take_ = &add<Button>(Rect{x, 3 * kRow, grid(10), h}, "\\/", [this] { fromSpectrum(); });
    send_ = &add<Button>(Rect{x + grid(11), 3 * kRow, grid(10), h}, "/\\", [this] { toSpectrum(); });
    undo_ = &add<Button>(Rect{x + grid(22), 3 * kRow, grid(10), h}, "<", [this] { undo(); });
    swap_ = &add<Button>(Rect{x + grid(33), 3 * kRow, grid(10), h}, "X", [this] { swap(); });
    setTransferMode(kTransferCopy);
    undo_->setEnabled(false);
}

std::vector<MenuItem> GuiSpectrumScratchpad::macroMenuItems() {
    return {
        MenuItem::command("Clear", kGenClear),
        MenuItem::command("Set To 1", kGenSetToOne),
        MenuItem::command("Set To -1", kGenSetToMinusOne),
        MenuItem::command("Randomize", kGenRandomize),
        MenuItem::command("Randomize Bipolar", kGenRandomizeBipolar),
        MenuItem::line(),
        MenuItem::submenu(
            "Oscillators",
            {MenuItem::command("Sine", kGenSine), MenuItem::command("Saw", kGenSaw),
             MenuItem::command("Square", kGenSquare), MenuItem::command("Triangle", kGenTriangle)}),
        MenuItem::submenu(
            "Filters",
            {MenuItem::command("LP 6dB/Oct", kGenLowPass6), MenuItem::command("LP 12dB/Oct", kGenLowPass12),
             MenuItem::command("LP 24dB/Oct", kGenLowPass24), MenuItem::command("HP 6dB/Oct", kGenHighPass6),
             MenuItem::command("HP 12dB/Oct", kGenHighPass12),
             MenuItem::command("HP 24dB/Oct", kGenHighPass24)}),
    };
}

void GuiSpectrumScratchpad::openMacroMenu(Point windowPos) {
    openPopupMenu(*root(), macroMenuItems(), windowPos, [this](int32_t id) { runGenerator(id); });
}

void GuiSpectrumScratchpad::attach(int32_t partialCount) {
    if (pad_.attach(partialCount)) undo_->setEnabled(false);
    showCurves();
}

void GuiSpectrumScratchpad::setMask(const std::vector<bool>& mask) {
    graph_->setMask(mask);
}

void GuiSpectrumScratchpad::setFlags(uint32_t flags) {
    graph_->setFlags(flags);
}

void GuiSpectrumScratchpad::showCurves() {
    graph_->setCurve(pad_.curve());
    graph_->setPreview(pad_.preview());
    undo_->setEnabled(pad_.undoEnabled());
    host_.previewChanged();
}

void GuiSpectrumScratchpad::notImplemented() {
    showMessage(context_.root, kNotImplemented, "", MessageIcon::Error);
}

void GuiSpectrumScratchpad::runGenerator(int32_t command) {
    if (!pad_.generate(command)) return notImplemented();
    showCurves();
}

void GuiSpectrumScratchpad::chooseTransform(int32_t transform) {
    if (transform >= 0 && transform < kTransformCount) transform_->setLabel(kTransformNames[transform]);
    const bool known = pad_.setTransform(transform, value_->value());
    showCurves();
    if (!known) notImplemented();
}

void GuiSpectrumScratchpad::setValue(float value) {
    value_->setValue(value);
    pad_.setTransform(pad_.transform(), value_->value());
    showCurves();
}

void GuiSpectrumScratchpad::apply() {
    pad_.apply();
    showCurves();
}

void GuiSpectrumScratchpad::setTransferMode(int32_t mode) {
    if (mode < 0 || mode >= kTransferModeCount) return;
    pad_.setTransferMode(mode);
    for (int m = 0; m < kTransferModeCount; ++m) modes_[m]->setChecked(m == mode);
}

void GuiSpectrumScratchpad::fromSpectrum() {
    pad_.takeFrom(host_.spectrumCurve(), host_.selectionMask());
    showCurves();
}

void GuiSpectrumScratchpad::toSpectrum() {
    PartialCurve spectrum = host_.spectrumCurve();
    pad_.sendTo(spectrum, host_.selectionMask());
    host_.storeSpectrumCurve(spectrum);
    showCurves();
}

void GuiSpectrumScratchpad::undo() {
    PartialCurve spectrum = host_.spectrumCurve();
    if (!pad_.undo(spectrum)) return;
    host_.storeSpectrumCurve(spectrum);
    showCurves();
}

void GuiSpectrumScratchpad::swap() {
    PartialCurve spectrum = host_.spectrumCurve();
    pad_.swapWith(spectrum);
    host_.storeSpectrumCurve(spectrum);
    showCurves();
}

void GuiSpectrumScratchpad::partialChanged(PartialEdit&, int32_t partial, float value) {
    if (partial < 0 || partial >= pad_.curve().size()) return;
    pad_.curve()[partial] = value;
    pad_.recomputePreview();
    graph_->setPreview(pad_.preview());
    host_.previewChanged();
}

}  // namespace quenvale::editor
