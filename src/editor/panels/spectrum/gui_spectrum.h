// The spectrum editor on the "Voice" page (GuiSpectrum): the property views "Amp", "Pan", "Detune",
// "Phase"; the display flags "B" and "L"; the harmonic patterns "1" … "8", "P" and the invert "-";
// the breakpoint strip over the edited modulator; the partial graph with its status text; "Remove All
// Breakpoints after Selection"; "Re-Synthesize WAV"; and below, switched by "Show ScratchPad", the
// modifier panel or the scratchpad.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "editor/controls/breakpoint_strip.h"
#include "editor/controls/partial_edit.h"
#include "editor/panels/editor_context.h"
#include "editor/panels/spectrum/gui_spectrum_scratchpad.h"
#include "editor/panels/spectrum/harmonic_mask.h"
#include "editor/panels/spectrum/spectrum_target.h"
#include "editor/ui/panel.h"

namespace quenvale::editor {

class Button;
class Label;
class GuiSpectrumMod;
class ResynthFlow;

class GuiSpectrum : public ui::Frame,
                    private PartialEditSink,
                    private BreakpointStripSink,
                    public ScratchpadHost {
public:
    static constexpr const char* kRemoveAfterQuestion =
        "Do you really want to remove all breakpoints to the right of the currently selected one ?";

    GuiSpectrum(EditorContext& context, ui::Rect bounds);
    ~GuiSpectrum() override;
    const char* kind() const override { return "spectrum"; }
    // The 20 ms timer while the "Voice" page is visible: follows the engine (program loads, partial
    // count, edits elsewhere) and the re-synthesis in progress.
    void timerTick();
    void refreshFromModel() override;

    // ---- commands (the buttons' actions; tests call them too) -------------------------------------
    void showView(int view);
    void setDisplayFlag(uint32_t flag, bool on);
    void setPattern(int32_t pattern);
    void setInvert(bool invert);
    void showScratchpad(bool show);
    void selectBreakpoint(int32_t index);
    void removeBreakpointsAfterSelection();  // asks first
    void resynthesizeWav();
    // Makes a child of the edited modulator (link index) the edited one, or its parent ("..").
    void enterChild(int32_t link);
    void leaveToParent();
    // After the modifier panel changed the tree or a value: program changed, views refreshed.
    void modulatorEdited(bool structural);

    // ---- state ------------------------------------------------------------------------------------
    SpectrumTarget& target() noexcept { return target_; }
    int view() const noexcept { return target_.view; }
    uint32_t displayFlags() const noexcept { return flags_; }
    int32_t pattern() const noexcept { return pattern_; }
    bool inverted() const noexcept { return invert_; }
    const std::vector<bool>& mask() const noexcept { return mask_; }
    bool scratchpadShown() const noexcept { return scratchpadShown_; }
    const std::string& statusText() const;

    PartialEdit& graph() noexcept { return *graph_; }
    BreakpointStrip& strip() noexcept { return *strip_; }
    GuiSpectrumScratchpad& scratchpad() noexcept { return *scratchpad_; }
    GuiSpectrumMod& modifiers() noexcept { return *mod_; }
    ResynthFlow& resynth() noexcept { return *resynth_; }
    Button& viewButton(int view) noexcept { return *views_[view]; }
    Button& patternButton(int pattern) noexcept { return *patterns_[pattern]; }
    Button& invertButton() noexcept { return *invertButton_; }
    Button& scratchpadButton() noexcept { return *scratchpadButton_; }
    Button& resynthButton() noexcept { return *resynthButton_; }
    Button& removeAfterButton() noexcept { return *removeAfter_; }
    Button& flagButton(int bit) noexcept { return *flagButtons_[bit]; }
    EditorContext& context() noexcept { return context_; }

    // ScratchpadHost
    PartialCurve spectrumCurve() override;
    void storeSpectrumCurve(const PartialCurve& values) override;
    const std::vector<bool>& selectionMask() const override { return mask_; }
    void previewChanged() override;

private:
    void partialChanged(PartialEdit& edit, int32_t partial, float value) override;
    void breakpointSelected(int32_t index) override;
    void breakpointInserted(float time) override;
    void breakpointMoved(int32_t index, float time) override;
    void breakpointMoveEnded() override;
    void breakpointRemoved(int32_t index) override;

    Generator& generator();
    // Reads the edited curve, the breakpoints and the modifier values from the engine.
    void syncFromEngine();
    void rebuildMask();
    void edited();

    EditorContext& context_;
    SpectrumTarget target_;
    uint32_t flags_ = 0;
    int32_t pattern_ = kPatternAll;
    bool invert_ = false;
    bool scratchpadShown_ = false;
    bool moved_ = false;
    std::vector<bool> mask_;
    int32_t partialCount_ = 0;

    std::array<Button*, kViewCount> views_{};
    std::array<Button*, 2> flagButtons_{};
    std::array<Button*, kPatternCount> patterns_{};
    Button* invertButton_ = nullptr;
    Button* scratchpadButton_ = nullptr;
    Button* resynthButton_ = nullptr;
    Button* removeAfter_ = nullptr;
    BreakpointStrip* strip_ = nullptr;
    PartialEdit* graph_ = nullptr;
    Label* status_ = nullptr;
    Control* progress_ = nullptr;
    GuiSpectrumScratchpad* scratchpad_ = nullptr;
    GuiSpectrumMod* mod_ = nullptr;
    std::unique_ptr<ResynthFlow> resynth_;
};

}  // namespace quenvale::editor
