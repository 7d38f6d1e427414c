// ModNumber: a modulated number — the value with its label and unit, and the two modulation slots
// (source short name in the source's colour, the amount as a bar) at the right edge.
//
// Gestures. The rightmost kSlotWidth pixels are slot 2 and the kSlotWidth pixels left of them slot
// 1 (when the slots are shown); everything else is the value area. Left drag on the value: coarse
// (1 % of the range per pixel); right drag on the value: fine (0.01 % per pixel); left drag on a slot:
// its amount (0.1 % of the value range per pixel). Every step is at least kMinimumStep in the
// direction of the movement, and the pointer is put back at the press position after each step, so
// a drag never meets the screen edge; a vertical move changes nothing. Right press on a slot: the
// source menu. Double-click on the value (default value) and on a slot (amount 0) are reported to
// the sink as two distinct events.
#pragma once

#include <string>

#include "editor/controls/control.h"

namespace quenvale::editor {

class ModNumber;

// Observer of the double-clicks; without one, ModNumber applies the defaults named above.
class ModNumberSink {
public:
    virtual ~ModNumberSink() = default;
    virtual void valueDoubleClicked(ModNumber& control) = 0;
    virtual void slotDoubleClicked(ModNumber& control, int slot) = 0;
};

class ModNumber : public Control {
public:
    enum Mode : int { kIdle = 0, kCoarse = 1, kFine = 2, kAmount = 4 };
    static constexpr double kCoarseFactor = 0.01;
    static constexpr double kFineFactor = 0.0001;
    static constexpr double kAmountFactor = 0.001;
    static constexpr double kMinimumStep = 0.001;
    static constexpr int kLabelHeight = 13;

    explicit ModNumber(ui::Rect bounds, bool showSlots = true);

    // Bind with {value} (no slots) or {value, source 1, amount 1, source 2, amount 2}.
    void refreshFromModel() override;
    void setSlotsShown(bool shown);
    bool slotsShown() const noexcept { return showSlots_; }
    // A label and range of the editor's own instead of the catalogue's (channel effects per type).
    void setFixedLabel(std::string text);
    void setRange(float minimum, float maximum);
    void clearRange();
    void setUnit(std::string unit);
    void setSink(ModNumberSink* sink) noexcept { sink_ = sink; }

    // -1 value area, 0 slot 1, 1 slot 2 (local coordinates).
    int hitTest(ui::Point local) const noexcept;
    // The rectangle of a slot (0 or 1) in local coordinates.
    ui::Rect slotRect(int slot) const noexcept;

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseDrag(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "modnumber"; }

    float value() const noexcept { return value_; }
    float minimum() const noexcept { return minimum_; }
    float maximum() const noexcept { return maximum_; }
    int32_t source(int slot) const noexcept { return source_[slot]; }
    float amount(int slot) const noexcept { return amount_[slot]; }
    // The chosen source menu identifier of a slot: source − 1 (−1 for "No Modulation").
    int32_t menuChoice(int slot) const noexcept { return source_[slot] - 1; }
    int mode() const noexcept { return mode_; }
    const std::string& valueText() const noexcept { return text_; }
    bool channelNumbering() const noexcept { return channel_; }

    // Single edits (menu choices, double-click defaults, tests).
    void chooseSource(int slot, int32_t menuIdentifier);
    void setAmount(int slot, float amount);
    void setValue(float value);

private:
    int32_t valueIndex() const noexcept { return parameter(0); }
    int32_t sourceIndex(int slot) const noexcept { return parameter(slot == 0 ? 1 : 3); }
    int32_t amountIndex(int slot) const noexcept { return parameter(slot == 0 ? 2 : 4); }
    bool hasSlots() const noexcept { return showSlots_ && parameters().size() == 5; }
    void openSourceMenu(int slot, ui::Point windowPos);
    void updateText();

    bool showSlots_;
    bool fixedRange_ = false;
    bool channel_ = false;
    float value_ = 0.0f;
    float minimum_ = 0.0f;
    float maximum_ = 1.0f;
    float amountBound_ = 1.0f;
    bool bipolar_ = false;
    int32_t source_[2] = {0, 0};
    float amount_[2] = {0.0f, 0.0f};
    std::string fixedLabel_;
    std::string unit_;
    std::string text_;
    ModNumberSink* sink_ = nullptr;

    int mode_ = kIdle;
    int slot_ = -1;  // the slot being edited in mode 4, or whose menu is open
    ui::MouseButton modeButton_ = ui::MouseButton::NoButton;
    ui::Point pressWindow_{};
};

}  // namespace quenvale::editor
