// CEditNumber: a number field edited digit by digit. Press on a digit and drag up or down: with
// decimals shown the value moves by dy × 10^e of the smallest shown digit, e counted from the last
// digit leftwards (the decimal point not counted); without decimals by dy whatever digit was
// pressed. The pointer is hidden during the drag and put back at the press position after each step.
// A double-click puts the caret at the end of the text for typing; Enter or leaving the field stores
// the typed number, Escape drops it.
#pragma once

#include <cstdint>
#include <string>

#include "editor/controls/control.h"

namespace quenvale::editor {

class CEditNumber : public Control {
public:
    static constexpr int kLabelHeight = 13;
    static constexpr int kTextInset = 4;

    CEditNumber(ui::Rect bounds, int decimals);

    void refreshFromModel() override;
    void setUnit(std::string unit);
    // A label of the panel's own instead of the catalogue's ("Threshold" for "Thresh").
    void setFixedLabel(std::string text);
    ui::Rect fieldRect() const noexcept;

    // The exponent of the digit under local x (0 the last digit); the text as shown now.
    int exponentAt(int localX) const;
    int decimals() const noexcept { return decimals_; }
    int64_t count() const noexcept { return count_; }
    float value() const noexcept;
    const std::string& text() const noexcept { return text_; }
    bool typing() const noexcept { return typing_; }
    int dragExponent() const noexcept { return exponent_; }

    bool mouseDown(const ui::MouseEvent& e) override;
    void mouseDrag(const ui::MouseEvent& e) override;
    void mouseUp(const ui::MouseEvent& e) override;
    bool keyDown(const ui::KeyEvent& key) override;
    void focusLost() override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "editnumber"; }

private:
    void format();
    void store(int64_t count, bool single);
    void commitTyping();

    int decimals_;
    double scale_ = 1.0;  // 10^decimals
    int64_t count_ = 0;   // the value in units of the smallest shown digit
    int64_t minimum_ = 0;
    int64_t maximum_ = 0;
    std::string text_;
    std::string unit_;
    std::string fixedLabel_;
    int exponent_ = -1;
    ui::Point pressWindow_{};
    bool typing_ = false;
    std::string typed_;
};

}  // namespace quenvale::editor
