// Step picking, value drags, the shape menu and drawing of the step sequencer editor.
#include "editor/controls/step_seq_control.h"

#include <algorithm>
#include <cmath>

#include "editor/overlays/popup_menu.h"
#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"
#include "engine/seq/step_seq_ranges.h"
#include "engine/seq/step_shapes.h"
#include "engine/synth_engine.h"
#include "params/parameter_index.h"
#include "params/relaxed_field.h"

namespace quenvale::editor {

using namespace ui;

namespace {
constexpr int kMargin = 6;
}  // namespace

StepSeqControl::StepSeqControl(Rect bounds) : Control(bounds) {
    setLabel("Steps");
}

void StepSeqControl::setSequencer(EditorModel& model, int sequencer) {
    sequencer_ = std::clamp(sequencer, 0, kStepSeqCount - 1);
    picked_ = -1;
    bind(model, {kStepSeqGroup.first + kStepSeqGroup.entries * sequencer_ + 1});  // "StepSeqN Length"
}

StepSeqBlock* StepSeqControl::block() const noexcept {
    return bound() ? &model()->engine().channel().stepSeq[sequencer_] : nullptr;
}

int StepSeqControl::stepCount() const noexcept {
    const StepSeqBlock* b = block();
    return b != nullptr ? std::clamp(b->stepCount, 1, kMaxSteps) : 1;
}

Rect StepSeqControl::plot() const noexcept {
    return localBounds().inset(kMargin);
}

int StepSeqControl::leftPick(int x) const noexcept {
    const int n = stepCount();
    const double width = localBounds().w;
    if (x < 0 || width <= 0) return -1;
    const int k = static_cast<int>(std::floor((x + width / (2.0 * n)) * n / width));
    if (k == n) return 0;
    return k >= 0 && k < n ? k : -1;
}

int StepSeqControl::rightPick(int x) const noexcept {
    const int n = stepCount();
    const double width = localBounds().w;
    if (x < 0 || width <= 0) return -1;
    const int k = static_cast<int>(std::floor(x * n / width));
    return k >= 0 && k < n ? k : -1;
}

void StepSeqControl::setShape(int step, int shape) {
    StepSeqBlock* b = block();
    if (b == nullptr || step < 0 || step >= kMaxSteps || shape < 0 || shape >= kStepShapeCount) return;
    {
        EditGuard::ReadScope scope(model()->engine().editGuard());
        storeRelaxed(b->steps[step].shape, static_cast<int32_t>(shape));
    }
    invalidate();
    if (sink_ != nullptr) sink_->stepsEdited(sequencer_);
}

bool StepSeqControl::mouseDown(const MouseEvent& e) {
    StepSeqBlock* b = block();
    if (b == nullptr) return false;
    if (e.button == MouseButton::Left) {
        picked_ = leftPick(e.pos.x);
        lastY_ = e.pos.y;
        invalidate();
        return true;
    }
    if (e.button == MouseButton::Right) {
        const int step = rightPick(e.pos.x);
        RootView* r = root();
        if (step < 0 || r == nullptr) return false;
        std::vector<MenuItem> items;
        for (int s = 0; s < kStepShapeCount; ++s)
            items.push_back(MenuItem::command(kStepShapeNames[s], s, s == b->steps[step].shape));
        openPopupMenu(*r, std::move(items), e.windowPos, [this, step](int32_t shape) { setShape(step, shape); });
        return true;
    }
    return false;
}

void StepSeqControl::mouseDrag(const MouseEvent& e) {
    StepSeqBlock* b = block();
    if (b == nullptr || picked_ < 0) return;
    const int dy = lastY_ - e.pos.y;
    lastY_ = e.pos.y;
    if (dy == 0) return;
    const float v = std::clamp(static_cast<float>(b->steps[picked_].start + dy * kValuePerPixel), 0.0f, 1.0f);
    {
        // Program and bank loads on another user-interface thread wait; the audio keeps sounding.
        EditGuard::ReadScope scope(model()->engine().editGuard());
        setStepStart(*b, picked_, v);
    }
    invalidate();
    if (sink_ != nullptr) sink_->stepsEdited(sequencer_);
}

void StepSeqControl::mouseUp(const MouseEvent&) {
    picked_ = -1;
    invalidate();
}

void StepSeqControl::paint(cairo_t* cr) {
    const Rect all = localBounds();
    draw::fillRect(cr, all, theme::kFieldBackground);
    const StepSeqBlock* b = block();
    if (b == nullptr) return;
    // A program load on the host's thread does not rewrite the steps while they are drawn.
    EditGuard::ReadScope scope(model()->engine().editGuard());
    const Rect p = plot();
    const int n = stepCount();
    const double column = static_cast<double>(all.w) / n;
    auto yOf = [&](double v) { return p.bottom() - std::clamp(v, 0.0, 1.0) * p.h; };
    // Column boundaries and the middle line.
    draw::setColour(cr, theme::kFrameBorder);
    cairo_set_line_width(cr, 1.0);
    for (int k = 0; k <= n; ++k) {
        const double x = std::min(std::floor(k * column) + 0.5, all.w - 0.5);
        cairo_move_to(cr, x, 0);
        cairo_line_to(cr, x, all.h);
    }
    cairo_stroke(cr);
    // The curve: inside step k from its start towards the next start along the step's shape.
    draw::setColour(cr, theme::kAccent);
    cairo_set_line_width(cr, 1.5);
    for (int k = 0; k < n; ++k) {
        const Step& s = b->steps[k];
        const float next = b->steps[(k + 1) % n].start;
        const TableEntry* table = stepShapeTable(s.shape);
        const int x0 = static_cast<int>(k * column), x1 = static_cast<int>((k + 1) * column);
        for (int x = x0; x <= x1; ++x) {
            const double pos = std::clamp((x - k * column) / column * 128.0, 0.0, 127.999);
            const int i = static_cast<int>(pos);
            const double u = table[i].value + (pos - i) * table[i].slope;
            const double y = yOf(u * (next - s.start) + s.start);
            if (x == x0)
                cairo_move_to(cr, x, y);
            else
                cairo_line_to(cr, x, y);
        }
    }
    cairo_stroke(cr);
    // Handles on the left edges; the last edge shows step 0 again.
    for (int k = 0; k <= n; ++k) {
        const int step = k == n ? 0 : k;
        const double x = std::clamp(k * column, 3.0, all.w - 3.0);
        const double y = yOf(b->steps[step].start);
        draw::setColour(cr, step == picked_ ? theme::kFocus : theme::kText);
        cairo_arc(cr, x, y, step == picked_ ? 4.0 : 3.0, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

}  // namespace quenvale::editor
