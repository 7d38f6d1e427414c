// Digit dragging, typing and drawing of CEditNumber.
#include "editor/controls/edit_number.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"

namespace quenvale::editor {

using namespace ui;

namespace {

// The x offset of each character boundary of text in the field's monospace font.
std::vector<double> characterEdges(const std::string& text) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    draw::setFont(cr, theme::kFontSize, false, true);
    std::vector<double> edges{0.0};
    for (size_t i = 1; i <= text.size(); ++i) edges.push_back(draw::textWidth(cr, std::string_view(text).substr(0, i)));
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return edges;
}

int64_t pow10(int e) {
    int64_t p = 1;
    while (e-- > 0) p *= 10;
    return p;
}

}  // namespace

CEditNumber::CEditNumber(Rect bounds, int decimals)
    : Control(bounds), decimals_(std::clamp(decimals, 0, 6)), scale_(static_cast<double>(pow10(decimals_))) {}

Rect CEditNumber::fieldRect() const noexcept {
    return {0, kLabelHeight, bounds().w, bounds().h - kLabelHeight};
}

float CEditNumber::value() const noexcept {
    return static_cast<float>(static_cast<double>(count_) / scale_);
}

void CEditNumber::setUnit(std::string unit) {
    unit_ = std::move(unit);
    invalidate();
}

void CEditNumber::setFixedLabel(std::string text) {
    fixedLabel_ = std::move(text);
    setLabel(fixedLabel_);
}

void CEditNumber::refreshFromModel() {
    if (!bound()) return;
    const ParameterDescriptor& d = EditorModel::descriptor(parameter());
    minimum_ = std::llround(valueAsFloat(d.minValue) * scale_);
    maximum_ = std::llround(valueAsFloat(d.maxValue) * scale_);
    count_ = std::llround(model()->number(parameter()) * scale_);
    setLabel(fixedLabel_.empty() ? model()->label(parameter()) : fixedLabel_);
    format();
}

void CEditNumber::format() {
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals_, static_cast<double>(count_) / scale_);
    text_ = text;
    invalidate();
}

int CEditNumber::exponentAt(int localX) const {
    const std::string& shown = typing_ ? typed_ : text_;
    if (shown.empty()) return 0;
    const std::vector<double> edges = characterEdges(shown);
    const double x = localX - kTextInset;
    int i = static_cast<int>(shown.size()) - 1;
    for (size_t c = 0; c < shown.size(); ++c) {
        if (x < edges[c + 1]) {
            i = static_cast<int>(c);
            break;
        }
    }
    // A press on the sign or the point means the nearest digit on its right (or on its left at the end).
    auto isDigit = [&](int c) { return std::isdigit(static_cast<unsigned char>(shown[c])) != 0; };
    if (!isDigit(i)) {
        int j = i + 1;
        while (j < static_cast<int>(shown.size()) && !isDigit(j)) ++j;
        if (j >= static_cast<int>(shown.size())) {
            j = i - 1;
            while (j >= 0 && !isDigit(j)) --j;
        }
        if (j < 0) return 0;
        i = j;
    }
    int e = 0;
    for (int c = i + 1; c < static_cast<int>(shown.size()); ++c)
        if (isDigit(c)) ++e;
    return e;
}

void CEditNumber::store(int64_t count, bool single) {
    count = std::clamp(count, minimum_, maximum_);
    if (count == count_) return;
    count_ = count;
    format();
    if (!bound()) return;
    if (single)
        model()->edit(parameter(), makeFloatValue(value()));
    else
        model()->setNumber(parameter(), value());
}

bool CEditNumber::mouseDown(const MouseEvent& e) {
    if (!bound() || e.button != MouseButton::Left) return false;
    if (e.clickCount == 2) {
        typing_ = true;
        typed_ = text_;
        takeFocus();
        invalidate();
        return true;
    }
    if (typing_) commitTyping();
    exponent_ = exponentAt(e.pos.x);
    pressWindow_ = e.windowPos;
    model()->beginEdit(parameter());
    if (RootView* r = root()) r->services().setPointerHidden(true);
    setPressed(true);
    return true;
}

void CEditNumber::mouseDrag(const MouseEvent& e) {
    if (exponent_ < 0) return;
    const int dy = pressWindow_.y - e.windowPos.y;
    if (dy == 0) return;
    const int64_t step = decimals_ > 0 ? pow10(exponent_) : 1;
    store(count_ + dy * step, false);
    if (RootView* r = root()) r->services().warpPointer(pressWindow_);
}

void CEditNumber::mouseUp(const MouseEvent&) {
    if (exponent_ < 0) return;
    exponent_ = -1;
    model()->endEdit(parameter());
    if (RootView* r = root()) r->services().setPointerHidden(false);
    setPressed(false);
}

void CEditNumber::commitTyping() {
    if (!typing_) return;
    typing_ = false;
    char* end = nullptr;
    const double v = std::strtod(typed_.c_str(), &end);
    if (end != typed_.c_str() && std::isfinite(v)) store(std::llround(v * scale_), true);
    invalidate();
}

bool CEditNumber::keyDown(const KeyEvent& key) {
    if (!typing_) return false;
    switch (key.key) {
        case Key::Enter:
            commitTyping();
            return true;
        case Key::Escape:
            typing_ = false;
            invalidate();
            return true;
        case Key::Backspace:
            if (!typed_.empty()) typed_.pop_back();
            invalidate();
            return true;
        case Key::Character:
            if (key.text.size() == 1 && typed_.size() < 24 &&
                (std::isdigit(static_cast<unsigned char>(key.text[0])) || key.text[0] == '.' || key.text[0] == '-')) {
                typed_ += key.text;
                invalidate();
            }
            return true;
        default:
            return false;
    }
}

void CEditNumber::focusLost() {
    commitTyping();
}

void CEditNumber::paint(cairo_t* cr) {
    const Rect all = localBounds();
    draw::text(cr, {0, 0, all.w, kLabelHeight}, label(), theme::kTextDim, draw::Align::Left, theme::kSmallFontSize);
    const Rect field = fieldRect();
    draw::fillRect(cr, field, theme::kFieldBackground);
    draw::strokeRect(cr, field, typing_ ? theme::kFocus : hovered() || pressed() ? theme::kAccent : theme::kControlBorder);
    const std::string& shown = typing_ ? typed_ : text_;
    cairo_save(cr);
    cairo_rectangle(cr, field.x, field.y, field.w, field.h);
    cairo_clip(cr);
    draw::setFont(cr, theme::kFontSize, false, true);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const double baseline = field.y + (field.h + font.ascent - font.descent) / 2.0;
    // The digit being dragged is lit.
    if (exponent_ >= 0 && !typing_) {
        int e = -1;
        for (int c = static_cast<int>(shown.size()) - 1; c >= 0; --c) {
            if (!std::isdigit(static_cast<unsigned char>(shown[c]))) continue;
            if (++e != exponent_) continue;
            const double x0 = kTextInset + draw::textWidth(cr, std::string_view(shown).substr(0, c));
            const double x1 = kTextInset + draw::textWidth(cr, std::string_view(shown).substr(0, c + 1));
            draw::setColour(cr, theme::kSelection);
            cairo_rectangle(cr, x0, field.y + 2, x1 - x0, field.h - 4);
            cairo_fill(cr);
            break;
        }
    }
    draw::setColour(cr, enabled() ? theme::kText : theme::kTextDisabled);
    cairo_move_to(cr, kTextInset, std::floor(baseline));
    cairo_show_text(cr, shown.c_str());
    if (typing_) {
        const double x = kTextInset + draw::textWidth(cr, shown) + 1;
        draw::setColour(cr, theme::kFocus);
        cairo_rectangle(cr, x, field.y + 3, 1, field.h - 6);
        cairo_fill(cr);
    } else if (!unit_.empty()) {
        cairo_restore(cr);
        draw::text(cr, {field.x, field.y, field.w - 2, field.h}, unit_, theme::kTextDim, draw::Align::Right,
                   theme::kSmallFontSize);
        return;
    }
    cairo_restore(cr);
}

}  // namespace quenvale::editor
