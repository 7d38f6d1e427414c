// ModNumber gestures (hit test, the three drag modes, source menus, double-clicks) and drawing.
#include "editor/controls/mod_number.h"

#include <algorithm>
#include <cmath>

#include "editor/overlays/popup_menu.h"
#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"
#include "params/mod_sources.h"
#include "params/source_menus.h"

namespace quenvale::editor {

using namespace ui;

namespace {

const ModSourceInfo* sourceInfo(bool channel, int32_t source) noexcept {
    if (source <= 0) return nullptr;
    if (channel) return source < kChannelSourceCount ? &channelSourceTable()[source - 1] : nullptr;
    return source < kVoiceSourceCount ? &voiceSourceTable()[source - 1] : nullptr;
}

}  // namespace

ModNumber::ModNumber(Rect bounds, bool showSlots) : Control(bounds), showSlots_(showSlots) {}

void ModNumber::setSlotsShown(bool shown) {
    showSlots_ = shown;
    invalidate();
}

void ModNumber::setFixedLabel(std::string text) {
    fixedLabel_ = std::move(text);
    setLabel(fixedLabel_);
}

void ModNumber::setRange(float minimum, float maximum) {
    fixedRange_ = true;
    minimum_ = minimum;
    maximum_ = maximum;
    invalidate();
}

void ModNumber::clearRange() {
    fixedRange_ = false;
    refreshFromModel();
}

void ModNumber::setUnit(std::string unit) {
    unit_ = std::move(unit);
    updateText();
}

void ModNumber::updateText() {
    text_ = bound() ? model()->displayText(valueIndex()) : std::string();
    if (!unit_.empty() && !text_.empty()) text_ += " " + unit_;
    invalidate();
}

void ModNumber::refreshFromModel() {
    if (!bound()) return;
    const int32_t v = valueIndex();
    const ParameterDescriptor& d = EditorModel::descriptor(v);
    if (!fixedRange_) {
        minimum_ = valueAsFloat(d.minValue);
        maximum_ = valueAsFloat(d.maxValue);
    }
    bipolar_ = d.bipolar;
    channel_ = usesChannelNumbering(d.name);
    value_ = model()->number(v);
    if (parameters().size() == 5) {
        amountBound_ = valueAsFloat(EditorModel::descriptor(amountIndex(0)).maxValue);
        for (int s = 0; s < 2; ++s) {
            source_[s] = model()->integer(sourceIndex(s));
            amount_[s] = model()->number(amountIndex(s));
        }
    }
    setLabel(fixedLabel_.empty() ? model()->label(v) : fixedLabel_);
    updateText();
}

Rect ModNumber::slotRect(int slot) const noexcept {
    const int w = theme::kSlotWidth;
    const int x = bounds().w - (slot == 0 ? 2 * w : w);
    return {x, kLabelHeight, w, bounds().h - kLabelHeight};
}

int ModNumber::hitTest(Point local) const noexcept {
    if (!showSlots_) return -1;
    const int w = bounds().w;
    if (local.x >= w - theme::kSlotWidth) return 1;
    if (local.x >= w - 2 * theme::kSlotWidth) return 0;
    return -1;
}

bool ModNumber::mouseDown(const MouseEvent& e) {
    if (!bound() || mode_ != kIdle) return mode_ != kIdle;
    const int hit = hasSlots() ? hitTest(e.pos) : -1;
    if (e.clickCount == 2 && e.button == MouseButton::Left) {
        if (hit < 0) {
            if (sink_ != nullptr)
                sink_->valueDoubleClicked(*this);
            else
                setValue(valueAsFloat(EditorModel::descriptor(valueIndex()).defaultValue));
        } else {
            if (sink_ != nullptr)
                sink_->slotDoubleClicked(*this, hit);
            else
                setAmount(hit, 0.0f);
        }
        return true;
    }
    if (e.button == MouseButton::Right && hit >= 0) {
        openSourceMenu(hit, e.windowPos);
        return true;
    }
    if (e.button == MouseButton::Left) {
        mode_ = hit < 0 ? kCoarse : kAmount;
    } else if (e.button == MouseButton::Right) {
        mode_ = kFine;
    } else {
        return false;
    }
    slot_ = hit;
    modeButton_ = e.button;
    pressWindow_ = e.windowPos;
    model()->beginEdit(mode_ == kAmount ? amountIndex(slot_) : valueIndex());
    setPressed(true);
    return true;
}

void ModNumber::mouseDrag(const MouseEvent& e) {
    if (mode_ == kIdle) return;
    const int dx = e.windowPos.x - pressWindow_.x;
    if (e.windowPos == pressWindow_) return;  // the pointer put back: nothing moved
    if (dx != 0) {
        const double factor = mode_ == kCoarse ? kCoarseFactor : mode_ == kFine ? kFineFactor : kAmountFactor;
        double change = (static_cast<double>(maximum_) - minimum_) * dx * factor;
        if (std::fabs(change) < kMinimumStep) change = dx > 0 ? kMinimumStep : -kMinimumStep;
        if (mode_ == kAmount) {
            const float a = std::clamp(static_cast<float>(amount_[slot_] + change), -amountBound_, amountBound_);
            if (a != amount_[slot_]) {
                amount_[slot_] = a;
                model()->setNumber(amountIndex(slot_), a);
                invalidate();
            }
        } else {
            const float v = std::clamp(static_cast<float>(value_ + change), minimum_, maximum_);
            if (v != value_) {
                value_ = v;
                model()->setNumber(valueIndex(), v);
                updateText();
            }
        }
    }
    if (RootView* r = root()) r->services().warpPointer(pressWindow_);
}

void ModNumber::mouseUp(const MouseEvent& e) {
    if (mode_ == kIdle || e.button != modeButton_) return;
    model()->endEdit(mode_ == kAmount ? amountIndex(slot_) : valueIndex());
    mode_ = kIdle;
    slot_ = -1;
    modeButton_ = MouseButton::NoButton;
    setPressed(false);
}

void ModNumber::openSourceMenu(int slot, Point windowPos) {
    RootView* r = root();
    if (r == nullptr) return;
    slot_ = slot;
    openPopupMenu(*r, sourceMenuItems(channel_, source_[slot]), windowPos,
                  [this, slot](int32_t source) { chooseSource(slot, menuCommandFromSource(source)); });
}

void ModNumber::chooseSource(int slot, int32_t menuIdentifier) {
    if (!bound() || parameters().size() != 5 || slot < 0 || slot > 1) return;
    const int32_t source = sourceFromMenuCommand(menuIdentifier);
    source_[slot] = source;
    model()->edit(sourceIndex(slot), makeIntValue(source));
    invalidate();
}

void ModNumber::setAmount(int slot, float amount) {
    if (!bound() || parameters().size() != 5 || slot < 0 || slot > 1) return;
    amount_[slot] = std::clamp(amount, -amountBound_, amountBound_);
    model()->edit(amountIndex(slot), makeFloatValue(amount_[slot]));
    invalidate();
}

void ModNumber::setValue(float value) {
    if (!bound()) return;
    value_ = std::clamp(value, minimum_, maximum_);
    model()->edit(valueIndex(), makeFloatValue(value_));
    updateText();
}

void ModNumber::paint(cairo_t* cr) {
    const Rect all = localBounds();
    draw::text(cr, {0, 0, all.w, kLabelHeight}, label(), theme::kTextDim, draw::Align::Left, theme::kSmallFontSize);
    const bool slots = showSlots_;
    const Rect field{0, kLabelHeight, all.w - (slots ? 2 * theme::kSlotWidth : 0), all.h - kLabelHeight};
    draw::fillRect(cr, field, theme::kFieldBackground);

    // The value bar, from the middle of the range for bipolar values.
    const double span = maximum_ > minimum_ ? static_cast<double>(maximum_) - minimum_ : 1.0;
    auto xOf = [&](double v) {
        const double share = std::clamp((v - minimum_) / span, 0.0, 1.0);
        return field.x + 1 + share * (field.w - 2);
    };
    const double from = bipolar_ ? xOf((static_cast<double>(minimum_) + maximum_) / 2) : xOf(minimum_);
    const double to = xOf(value_);
    draw::setColour(cr, pressed() ? theme::kControlPressed : theme::kAccentDim);
    cairo_rectangle(cr, std::min(from, to), field.y + 1, std::fabs(to - from), field.h - 2);
    cairo_fill(cr);
    // What each slot's source can reach: value … value + amount, value ± amount for LFO sources.
    if (slots) {
        for (int s = 0; s < 2; ++s) {
            const ModSourceInfo* info = sourceInfo(channel_, source_[s]);
            if (info == nullptr || amount_[s] == 0.0f) continue;
            const double lo = info->bipolar ? value_ - amount_[s] : value_;
            const double hi = value_ + amount_[s];
            const double a = xOf(std::min(lo, hi)), b = xOf(std::max(lo, hi));
            draw::setColour(cr, theme::bgr(info->colour));
            cairo_rectangle(cr, a, field.bottom() - 3 - 3 * s, std::max(1.0, b - a), 2);
            cairo_fill(cr);
        }
    }
    draw::text(cr, field, text_, enabled() ? theme::kText : theme::kTextDisabled, draw::Align::Centre);
    draw::strokeRect(cr, field, hovered() || pressed() ? theme::kAccent : theme::kControlBorder);

    if (!slots) return;
    for (int s = 0; s < 2; ++s) {
        const Rect r = slotRect(s);
        const ModSourceInfo* info = sourceInfo(channel_, source_[s]);
        draw::fillRect(cr, r, info != nullptr ? theme::bgr(info->colour) : theme::kControlFace);
        if (info != nullptr) {
            draw::text(cr, {r.x, r.y, r.w, r.h - 3}, info->shortName, theme::rgb(0x101214), draw::Align::Centre,
                       theme::kSmallFontSize, true);
        }
        // The amount: a bar from the slot's middle, right for positive, left for negative.
        if (amount_[s] != 0.0f && amountBound_ > 0.0f) {
            const double share = std::clamp(amount_[s] / amountBound_, -1.0f, 1.0f);
            const double mid = r.x + r.w / 2.0;
            draw::setColour(cr, theme::kText);
            cairo_rectangle(cr, std::min(mid, mid + share * (r.w / 2.0 - 1)), r.bottom() - 3,
                            std::max(1.0, std::fabs(share) * (r.w / 2.0 - 1)), 2);
            cairo_fill(cr);
        }
        draw::strokeRect(cr, r, mode_ == kAmount && slot_ == s ? theme::kAccent : theme::kControlBorder);
    }
}

}  // namespace quenvale::editor
