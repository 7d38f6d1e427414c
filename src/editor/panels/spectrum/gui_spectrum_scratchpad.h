// The scratchpad panel (GuiSpectrumScratchpad): its own partial graph, the "Macro" generator menu,
// the transform list with "Value" and "Apply", the transfer modes "C", "x", "+", "-", and the
// transfers "\/" (spectrum into the scratchpad), "/\" (scratchpad into the spectrum), undo "<" and
// swap "X".
#pragma once

#include <array>
#include <vector>

#include "editor/controls/partial_edit.h"
#include "editor/overlays/popup_menu.h"
#include "editor/panels/editor_context.h"
#include "editor/panels/spectrum/scratchpad.h"
#include "editor/ui/panel.h"

namespace quenvale::editor {

class Button;
class DragNumber;
class Label;

// What the scratchpad needs of the spectrum panel.
class ScratchpadHost {
public:
    virtual ~ScratchpadHost() = default;
    // The current view's curve of the selected breakpoint (P values).
    virtual PartialCurve spectrumCurve() = 0;
    // Stores a curve there, marks the program changed and refreshes the spectrum view.
    virtual void storeSpectrumCurve(const PartialCurve& values) = 0;
    virtual const std::vector<bool>& selectionMask() const = 0;
    // The preview changed (the spectrum's graph shows it as its second curve).
    virtual void previewChanged() = 0;
};

class GuiSpectrumScratchpad : public ui::Panel, private PartialEditSink {
public:
    static constexpr const char* kNotImplemented = "Not implemented !";

    GuiSpectrumScratchpad(EditorContext& context, ScratchpadHost& host, ui::Rect bounds);
    const char* kind() const override { return "scratchpad"; }

    // Attaches to a spectrum curve of partialCount values (recreating the curves at a new count).
    void attach(int32_t partialCount);
    // Mask and display flags, shared with the spectrum's graph.
    void setMask(const std::vector<bool>& mask);
    void setFlags(uint32_t flags);

    // The commands behind the buttons and menus (also for tests).
    void runGenerator(int32_t command);
    void chooseTransform(int32_t transform);
    void setValue(float value);
    void apply();
    void setTransferMode(int32_t mode);
    void fromSpectrum();  // "\/"
    void toSpectrum();    // "/\"
    void undo();          // "<"
    void swap();          // "X"
    void openMacroMenu(ui::Point windowPos);

    Scratchpad& state() noexcept { return pad_; }
    PartialEdit& graph() noexcept { return *graph_; }
    Button& undoButton() noexcept { return *undo_; }
    Button& macroButton() noexcept { return *macro_; }
    Button& transformButton() noexcept { return *transform_; }
    DragNumber& valueField() noexcept { return *value_; }
    Button& modeButton(int mode) noexcept { return *modes_[mode]; }
    Button& sendButton() noexcept { return *send_; }
    Button& takeButton() noexcept { return *take_; }
    Button& swapButton() noexcept { return *swap_; }
    Button& applyButton() noexcept { return *apply_; }

    // The "Macro" menu: "Clear" … "Randomize Bipolar", "Oscillators" and "Filters" submenus.
    static std::vector<MenuItem> macroMenuItems();

private:
    void partialChanged(PartialEdit& edit, int32_t partial, float value) override;
    void showCurves();
    void notImplemented();

    EditorContext& context_;
    ScratchpadHost& host_;
    Scratchpad pad_;
    PartialEdit* graph_ = nullptr;
    Button* macro_ = nullptr;
    Button* transform_ = nullptr;
    DragNumber* value_ = nullptr;
    Button* apply_ = nullptr;
    std::array<Button*, kTransferModeCount> modes_{};
    Button* take_ = nullptr;
    Button* send_ = nullptr;
    Button* undo_ = nullptr;
    Button* swap_ = nullptr;
};

}  // namespace quenvale::editor
