// A list of text rows with one selected row: a click selects, a double-click opens (the modifier
// panel's child list). Rows that do not fit scroll with the wheel.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/controls/control.h"

namespace quenvale::editor {

class ListBox : public Control {
public:
    static constexpr int kRowHeight = 16;

    explicit ListBox(ui::Rect bounds);
    // Replaces the rows; the selection is kept when still in range, else cleared.
    void setRows(std::vector<std::string> rows);
    const std::vector<std::string>& rows() const noexcept { return rows_; }
    void select(int row);  // −1 clears; no callback
    int selected() const noexcept { return selected_; }
    int rowAt(int y) const noexcept;
    // The local rectangle of a row (tests).
    ui::Rect rowRect(int row) const noexcept;
    void setOnSelect(std::function<void(int)> fn) { onSelect_ = std::move(fn); }
    void setOnOpen(std::function<void(int)> fn) { onOpen_ = std::move(fn); }

    bool mouseDown(const ui::MouseEvent& e) override;
    bool mouseWheel(const ui::MouseEvent& e) override;
    void paint(cairo_t* cr) override;
    const char* kind() const override { return "list"; }

private:
    std::vector<std::string> rows_;
    int selected_ = -1;
    int scroll_ = 0;
    std::function<void(int)> onSelect_;
    std::function<void(int)> onOpen_;
};

}  // namespace quenvale::editor
