// The list box.
#include "editor/controls/list_box.h"

#include <algorithm>

#include "editor/ui/draw.h"

namespace quenvale::editor {

using namespace ui;

ListBox::ListBox(Rect bounds) : Control(bounds) {}

void ListBox::setRows(std::vector<std::string> rows) {
    if (rows == rows_) return;
    rows_ = std::move(rows);
    if (selected_ >= static_cast<int>(rows_.size())) selected_ = -1;
    scroll_ = std::clamp(scroll_, 0, std::max(0, static_cast<int>(rows_.size()) - 1));
    invalidate();
}

void ListBox::select(int row) {
    const int r = row >= 0 && row < static_cast<int>(rows_.size()) ? row : -1;
    if (r == selected_) return;
    selected_ = r;
    invalidate();
}

int ListBox::rowAt(int y) const noexcept {
    const int row = scroll_ + (y - 2) / kRowHeight;
    return y >= 2 && row < static_cast<int>(rows_.size()) ? row : -1;
}

Rect ListBox::rowRect(int row) const noexcept {
    return {2, 2 + (row - scroll_) * kRowHeight, bounds().w - 4, kRowHeight};
}

bool ListBox::mouseDown(const MouseEvent& e) {
    if (e.button != MouseButton::Left) return false;
    const int row = rowAt(e.pos.y);
    select(row);
    if (onSelect_) onSelect_(selected_);
    if (e.clickCount == 2 && row >= 0 && onOpen_) onOpen_(row);
    return true;
}

bool ListBox::mouseWheel(const MouseEvent& e) {
    const int visible = std::max(1, (bounds().h - 4) / kRowHeight);
    scroll_ = std::clamp(scroll_ - e.wheelSteps, 0, std::max(0, static_cast<int>(rows_.size()) - visible));
    invalidate();
    return true;
}

void ListBox::paint(cairo_t* cr) {
    const Rect r = localBounds();
    draw::fillRect(cr, r, theme::kFieldBackground);
    draw::strokeRect(cr, r, theme::kControlBorder);
    cairo_save(cr);
    cairo_rectangle(cr, 1, 1, r.w - 2, r.h - 2);
    cairo_clip(cr);
    for (int i = scroll_; i < static_cast<int>(rows_.size()); ++i) {
        const Rect row = rowRect(i);
        if (row.y > r.h) break;
        if (i == selected_) draw::fillRect(cr, row, theme::kSelection);
        draw::text(cr, {row.x + 4, row.y, row.w - 8, row.h}, rows_[i], theme::kText);
    }
    cairo_restore(cr);
}

}  // namespace quenvale::editor
