// Typing, caret movement and drawing of text fields.
#include "editor/controls/text_field.h"

#include <algorithm>

#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"

namespace quenvale::editor {

using namespace ui;

namespace {
constexpr int kInset = 4;
}

TextField::TextField(Rect bounds, size_t maxLength) : Control(bounds), maxLength_(maxLength) {}

void TextField::setText(std::string text) {
    if (text.size() > maxLength_) text.resize(maxLength_);
    text_ = std::move(text);
    caret_ = std::min(caret_, text_.size());
    invalidate();
}

bool TextField::mouseDown(const MouseEvent& e) {
    if (e.button != MouseButton::Left) return false;
    takeFocus();
    // The caret goes to the character boundary nearest the click.
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    draw::setFont(cr, theme::kFontSize);
    caret_ = text_.size();
    for (size_t i = 0; i <= text_.size(); ++i) {
        const double w = draw::textWidth(cr, std::string_view(text_).substr(0, i));
        if (kInset + 2 + w >= e.pos.x) {
            caret_ = i;
            break;
        }
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    if (e.clickCount == 2) caret_ = text_.size();
    invalidate();
    return true;
}

bool TextField::keyDown(const KeyEvent& key) {
    switch (key.key) {
        case Key::Character:
            if (key.text.size() != 1 || key.text[0] < 0x20 || key.text[0] > 0x7E || text_.size() >= maxLength_)
                return true;
            text_.insert(caret_++, key.text);
            changedByUser();
            return true;
        case Key::Backspace:
            if (caret_ == 0) return true;
            text_.erase(--caret_, 1);
            changedByUser();
            return true;
        case Key::Delete:
            if (caret_ >= text_.size()) return true;
            text_.erase(caret_, 1);
            changedByUser();
            return true;
        case Key::Left:
            caret_ = caret_ > 0 ? caret_ - 1 : 0;
            break;
        case Key::Right:
            caret_ = std::min(caret_ + 1, text_.size());
            break;
        case Key::Home:
            caret_ = 0;
            break;
        case Key::End:
            caret_ = text_.size();
            break;
        case Key::Enter:
        case Key::Escape:
        case Key::Tab:
            if (RootView* r = root()) r->setFocus(nullptr);  // commits through focusLost
            return true;
        default:
            return false;
    }
    invalidate();
    return true;
}

void TextField::changedByUser() {
    invalidate();
    if (onChange_) onChange_(text_);
}

void TextField::focusLost() {
    invalidate();
    if (onCommit_) onCommit_(text_);
}

void TextField::paint(cairo_t* cr) {
    const Rect all = localBounds();
    draw::fillRect(cr, all, theme::kFieldBackground);
    draw::strokeRect(cr, all, hasFocus() ? theme::kFocus : theme::kControlBorder);
    const Rect inner{kInset, 0, all.w - 2 * kInset, all.h};
    draw::text(cr, inner, text_, enabled() ? theme::kText : theme::kTextDisabled);
    if (hasFocus()) {
        draw::setFont(cr, theme::kFontSize);
        const double x = kInset + 2 + draw::textWidth(cr, std::string_view(text_).substr(0, caret_));
        draw::fillRect(cr, {static_cast<int>(x), 3, 1, all.h - 6}, theme::kFocus);
    }
}

}  // namespace quenvale::editor
