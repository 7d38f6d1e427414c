// The spectrum editor's panel: views, display flags, patterns, breakpoints, the partial graph, and the
// lower area with the modifier panel or the scratchpad.
//
// Reading the generator's tree and storing values into it hold the engine's read scope: the host's
// user-interface thread may be replacing the tree (a program or chunk load) at the same moment, while
// the audio keeps playing. Structural edits take the edit scope (spectrum_edits.cpp).
#include "editor/panels/spectrum/gui_spectrum.h"

#include <cstdio>

#include "editor/controls/button.h"
#include "editor/controls/partial_display.h"
#include "editor/overlays/message_box.h"
#include "editor/panels/spectrum/gui_spectrum_mod.h"
#include "editor/panels/spectrum/resynth_flow.h"
#include "editor/panels/spectrum/spectrum_edits.h"
#include "editor/ui/draw.h"
#include "engine/synth_engine.h"

namespace quenvale::editor {

using namespace ui;
using ui::theme::grid;

namespace {
constexpr const char* kPatternTexts[kPatternCount] = {"1", "2", "3", "4", "5", "6", "7", "8", "P"};
constexpr int kRowA = grid(4) + 2;          // buttons
constexpr int kStripTop = kRowA + grid(6);  // breakpoint strip
constexpr int kStripHeight = grid(6);
constexpr int kGraphTop = kStripTop + kStripHeight + grid(1);
constexpr int kGraphHeight = grid(37);
constexpr int kStatusTop = kGraphTop + kGraphHeight + grid(1);
constexpr int kLowerTop = kStatusTop + grid(6);

// A thin bar under the status text while a re-synthesis runs.
class ResynthProgressBar : public Control {
public:
    ResynthProgressBar(Rect bounds, ResynthFlow& flow) : Control(bounds), flow_(flow) {
        setLabel("Re-Synthesis");
    }
    void paint(cairo_t* cr) override {
        const Rect r = localBounds();
        draw::fillRect(cr, r, theme::kFieldBackground);
        draw::fillRect(cr, {1, 1, static_cast<int>((r.w - 2) * flow_.progress()), r.h - 2}, theme::kAccent);
        draw::strokeRect(cr, r, theme::kControlBorder);
        draw::text(cr, r, "Re-Synthesizing...", theme::kText, draw::Align::Centre, theme::kSmallFontSize);
    }
    const char* kind() const override { return "progress"; }

private:
    ResynthFlow& flow_;
};

}  // namespace

GuiSpectrum::GuiSpectrum(EditorContext& context, Rect bounds) : Frame(bounds, "Spectrum"), context_(context) {
    resynth_ = std::make_unique<ResynthFlow>(context, [this] { modulatorEdited(true); });
    const int h = theme::kButtonHeight;
    int x = grid(1);
    for (int v = 0; v < kViewCount; ++v) {
        views_[v] = &add<Button>(Rect{x, kRowA, grid(13), h}, kViewNames[v], [this, v] { showView(v); });
        x += grid(14);
    }
    x += grid(1);
    flagButtons_[0] = &add<Button>(Rect{x, kRowA, grid(5), h}, "B", [this] {
        setDisplayFlag(kDisplayBipolar, (flags_ & kDisplayBipolar) == 0);
    });
    flagButtons_[1] = &add<Button>(Rect{x + grid(6), kRowA, grid(5), h}, "L",
                                   [this] { setDisplayFlag(kDisplayLog, (flags_ & kDisplayLog) == 0); });
    x += grid(13);
    for (int p = 0; p < kPatternCount; ++p) {
        patterns_[p] =
            &add<Button>(Rect{x, kRowA, grid(5), h}, kPatternTexts[p], [this, p] { setPattern(p); });
        x += grid(5) + 1;
    }
    invertButton_ = &add<Button>(Rect{x + grid(1), kRowA, grid(5), h}, "-", [this] { setInvert(!invert_); });
    x += grid(8);
    scratchpadButton_ = &add<Button>(Rect{x, kRowA, grid(28), h}, "Show ScratchPad",
                                     [this] { showScratchpad(!scratchpadShown_); });
    resynthButton_ = &add<Button>(Rect{bounds.w - grid(34), kRowA, grid(33), h}, "Re-Synthesize WAV",
                                  [this] { resynthesizeWav(); });

    strip_ = &add<BreakpointStrip>(Rect{grid(1), kStripTop, bounds.w - grid(2), kStripHeight});
    strip_->setSink(this);
    graph_ = &add<PartialEdit>(Rect{grid(1), kGraphTop, bounds.w - grid(2), kGraphHeight}, "Spectrum");
    graph_->addSink(this);
    status_ = &add<Label>(Rect{grid(1), kStatusTop, grid(60), h}, "");
    status_->setLabel("Partial");
    status_->setText("");
    removeAfter_ =
        &add<Button>(Rect{bounds.w - grid(66), kStatusTop, grid(65), h},
                     "Remove All Breakpoints after Selection", [this] { removeBreakpointsAfterSelection(); });
    progress_ = &add<ResynthProgressBar>(Rect{grid(62), kStatusTop, grid(60), h}, *resynth_);
    progress_->setVisible(false);

    const Rect lower{grid(1), kLowerTop, bounds.w - grid(2), bounds.h - kLowerTop - grid(1)};
    mod_ = &add<GuiSpectrumMod>(context, *this, lower);
    scratchpad_ = &add<GuiSpectrumScratchpad>(context, *this, lower);
    scratchpad_->setVisible(false);

    rebuildMask();
    showView(0);
}

GuiSpectrum::~GuiSpectrum() = default;

Generator& GuiSpectrum::generator() {
    return liveGenerator(context_.model.engine());
}

const std::string& GuiSpectrum::statusText() const {
    return status_->label();
}

void GuiSpectrum::syncFromEngine() {
    EditGuard::ReadScope read(context_.model.engine().editGuard());
    Generator& g = generator();
    if (g.partialCount != partialCount_) {
        partialCount_ = g.partialCount;
        rebuildMask();
    }
    Modulator& m = target_.resolve(g);
    scratchpad_->attach(partialCount_);
    if (graph_->mode() == PartialEdit::Mode::Idle) {
        PartialCurve curve(partialCount_);
        target_.read(g, curve);
        graph_->setCurve(curve);
    }
    strip_->setBreakpoints(breakpointTimes(m), target_.breakpoint);
    mod_->sync(m, target_.pathText(g));
    for (int v = 0; v < kViewCount; ++v) views_[v]->setChecked(v == target_.view);
    removeAfter_->setEnabled(m.breakpointCount() > 1);
    // The progress bar stands in for the status text while a re-synthesis runs.
    progress_->setVisible(resynth_->running());
    if (resynth_->running()) progress_->invalidate();
    // While a run goes, the button cancels it.
    resynthButton_->setLabel(resynth_->running() ? "Cancel Re-Synthesis" : "Re-Synthesize WAV");
}

void GuiSpectrum::timerTick() {
    resynth_->poll();
    syncFromEngine();
}

void GuiSpectrum::refreshFromModel() {
    Frame::refreshFromModel();
    syncFromEngine();
}

void GuiSpectrum::rebuildMask() {
    mask_ = harmonicMask(pattern_, invert_, partialCount_);
    graph_->setMask(mask_);
    scratchpad_->setMask(mask_);
    for (int p = 0; p < kPatternCount; ++p) patterns_[p]->setChecked(p == pattern_);
    invertButton_->setChecked(invert_ && pattern_ != kPatternAll);
    invertButton_->setEnabled(pattern_ != kPatternAll);
}

void GuiSpectrum::showView(int view) {
    if (view < 0 || view >= kViewCount) return;
    if (view != target_.view) {
        target_.view = view;
        target_.path.clear();
        target_.breakpoint = 0;
    }
    status_->setText("");
    syncFromEngine();
}

void GuiSpectrum::setDisplayFlag(uint32_t flag, bool on) {
    flags_ = on ? (flags_ | flag) : (flags_ & ~flag);
    graph_->setFlags(flags_);
    scratchpad_->setFlags(flags_);
    flagButtons_[0]->setChecked((flags_ & kDisplayBipolar) != 0);
    flagButtons_[1]->setChecked((flags_ & kDisplayLog) != 0);
}

void GuiSpectrum::setPattern(int32_t pattern) {
    if (pattern < 0 || pattern >= kPatternCount) return;
    pattern_ = pattern;
    rebuildMask();
}

void GuiSpectrum::setInvert(bool invert) {
    invert_ = invert;
    rebuildMask();
}

void GuiSpectrum::showScratchpad(bool show) {
    scratchpadShown_ = show;
    scratchpadButton_->setChecked(show);
    scratchpad_->setVisible(show);
    mod_->setVisible(!show);
    previewChanged();
}

void GuiSpectrum::selectBreakpoint(int32_t index) {
    target_.breakpoint = index;
    syncFromEngine();
}

void GuiSpectrum::enterChild(int32_t link) {
    Modulator& m = target_.resolve(generator());
    if (link < 0 || link >= m.childCount()) return;
    target_.path.push_back(link);
    target_.breakpoint = 0;
    syncFromEngine();
}

void GuiSpectrum::leaveToParent() {
    if (target_.path.empty()) return;
    target_.path.pop_back();
    target_.breakpoint = 0;
    syncFromEngine();
}

void GuiSpectrum::edited() {
    context_.main.programEdited();
}

void GuiSpectrum::modulatorEdited(bool) {
    edited();
    syncFromEngine();
}

void GuiSpectrum::removeBreakpointsAfterSelection() {
    showMessage(context_.root, kRemoveAfterQuestion, "", MessageIcon::Question, MessageButtons::YesNo,
                [this](MessageResult answer) {
                    if (answer != MessageResult::Yes) return;
                    editor::removeBreakpointsAfterSelection(context_.model.engine(), target_);
                    edited();
                    syncFromEngine();
                });
}

void GuiSpectrum::resynthesizeWav() {
    if (resynth_->running())
        resynth_->cancel();
    else
        resynth_->begin();
}

// ---- the partial graph ----------------------------------------------------------------------------

void GuiSpectrum::partialChanged(PartialEdit&, int32_t partial, float value) {
    EditGuard::ReadScope read(context_.model.engine().editGuard());
    target_.writePartial(generator(), partial, value);
    status_->setText(partialStatusText(partial, value));
    edited();
}

// ---- the breakpoint strip -------------------------------------------------------------------------

void GuiSpectrum::breakpointSelected(int32_t index) {
    selectBreakpoint(index);
}

void GuiSpectrum::breakpointInserted(float time) {
    insertBreakpointAt(context_.model.engine(), target_, time);
    edited();
    syncFromEngine();
}

void GuiSpectrum::breakpointMoved(int32_t index, float time) {
    EditGuard::ReadScope read(context_.model.engine().editGuard());
    moveBreakpoint(context_.model.engine(), target_, index, time);
    moved_ = true;
    syncFromEngine();
}

void GuiSpectrum::breakpointMoveEnded() {
    if (moved_) edited();
    moved_ = false;
}

void GuiSpectrum::breakpointRemoved(int32_t index) {
    if (editor::removeBreakpoint(context_.model.engine(), target_, index)) edited();
    syncFromEngine();
}

// ---- the scratchpad's view of the spectrum --------------------------------------------------------

PartialCurve GuiSpectrum::spectrumCurve() {
    EditGuard::ReadScope read(context_.model.engine().editGuard());
    PartialCurve curve(generator().partialCount);
    target_.read(generator(), curve);
    return curve;
}

void GuiSpectrum::storeSpectrumCurve(const PartialCurve& values) {
    EditGuard::ReadScope read(context_.model.engine().editGuard());
    target_.write(generator(), values);
    edited();
    syncFromEngine();
}

void GuiSpectrum::previewChanged() {
    if (scratchpadShown_ && scratchpad_->state().preview().size() == partialCount_)
        graph_->setPreview(scratchpad_->state().preview());
    else
        graph_->clearPreview();
}

}  // namespace quenvale::editor
