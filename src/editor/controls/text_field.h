// A one-line text field: click to type, a caret, at most maxLength characters (bytes of printable
// ASCII; other characters are refused). onChange runs after every change, onCommit on Enter or when the
// field loses the keyboard.
#pragma once

#include <functional>
#include <string>

#include "editor/controls/control.h"

namespace quenvale::editor {

class TextField : public Control {
public:
    TextField(ui::Rect bounds, size_t maxLength);

    void setText(std::string text);  // no callbacks
    const std::string& text() const noexcept { return text_; }
    size_t caret() const noexcept { return caret_; }
    void setOnChange(std::function<void(const std::string&)> fn) { onChange_ = std::move(fn); }
    void setOnCommit(std::function<void(const std::string&)> fn) { onCommit_ = std::move(fn); }

    bool mouseDown(const ui::MouseEvent& e) override;
    bool keyDown(const ui::KeyEvent& key) override;
    void focusLost() override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "text"; }

private:
    void changedByUser();

    std::string text_;
    size_t maxLength_;
    size_t caret_ = 0;
    std::function<void(const std::string&)> onChange_;
    std::function<void(const std::string&)> onCommit_;
};

}  // namespace quenvale::editor
