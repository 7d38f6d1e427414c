// StepSeqControl: the steps of one step sequencer as a closed curve, one column per step of the
// current length n. Each step's value is a handle on its column's left edge (the last column's right
// edge shows step 0 again, where the curve closes).
//
// Left press picks step k = floor((x + width / (2n)) × n / width) — the step whose edge is nearest —
// with k = n meaning step 0; dragging moves that step by (previous y − y) × 0.01 per move, clamped to
// 0 … 1, stored through the step sequencer so that the ranges follow. Right press picks step
// k = floor(x × n / width) and opens the menu of the nine step shapes, the step's shape checked.
#pragma once

#include <cstdint>

#include "editor/controls/control.h"

namespace quenvale {
struct StepSeqBlock;
}

namespace quenvale::editor {

// Observer of step edits (the steps are sound data outside the parameter list).
class StepSeqControlSink {
public:
    virtual ~StepSeqControlSink() = default;
    virtual void stepsEdited(int sequencer) = 0;
};

class StepSeqControl : public Control {
public:
    static constexpr double kValuePerPixel = 0.01;

    explicit StepSeqControl(ui::Rect bounds);

    // Shows and edits sequencer (0 … 3) of the model's channel; bound to its "Length" so that a
    // length change from anywhere redraws it.
    void setSequencer(EditorModel& model, int sequencer);
    void setSink(StepSeqControlSink* sink) noexcept { sink_ = sink; }
    int sequencer() const noexcept { return sequencer_; }

    // The pick rules (local x), −1 for none.
    int leftPick(int x) const noexcept;
    int rightPick(int x) const noexcept;
    int stepCount() const noexcept;
    int picked() const noexcept { return picked_; }
    // Sets a step's shape (the menu's choice).
    void setShape(int step, int shape);

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseDrag(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    void refreshFromModel() override { invalidate(); }
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "stepseq"; }

private:
    StepSeqBlock* block() const noexcept;
    ui::Rect plot() const noexcept;

    int sequencer_ = 0;
    StepSeqControlSink* sink_ = nullptr;
    int picked_ = -1;
    int lastY_ = 0;
};

}  // namespace quenvale::editor
