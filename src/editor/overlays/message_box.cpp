// Message box layout: size from the text, buttons centred along the bottom.
#include "editor/overlays/message_box.h"

#include <algorithm>
#include <cmath>

#include "editor/controls/button.h"
#include "editor/ui/draw.h"
#include "editor/ui/root_view.h"

namespace quenvale::editor {

using namespace ui;

namespace {

constexpr int kTitleHeight = 24;
constexpr int kLineHeight = 16;
constexpr int kIconRoom = 44;
constexpr int kButtonWidth = 76;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    while (true) {
        const size_t nl = text.find('\n', start);
        out.push_back(text.substr(start, nl - start));
        if (nl == std::string::npos) break;
        start = nl + 1;
    }
    return out;
}

Rect boxFor(const std::string& text) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(surface);
    draw::setFont(cr, theme::kFontSize);
    double widest = 0;
    const auto all = lines(text);
    for (const auto& l : all) widest = std::max(widest, draw::textWidth(cr, l));
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    const int w = std::clamp(static_cast<int>(widest) + kIconRoom + 32, 300, theme::kWindowWidth - 40);
    const int h = kTitleHeight + 24 + static_cast<int>(all.size()) * kLineHeight + 16 + theme::kButtonHeight + 12;
    return {(theme::kWindowWidth - w) / 2, (theme::kWindowHeight - h) / 2, w, h};
}

}  // namespace

MessageBox::MessageBox(std::string text, std::string title, MessageIcon icon, MessageButtons buttons, DoneFn done)
    : Overlay(boxFor(text)), text_(std::move(text)), title_(std::move(title)), icon_(icon), done_(std::move(done)) {
    setLabel(title_);
    struct Choice {
        const char* text;
        MessageResult result;
    };
    std::vector<Choice> choices;
    switch (buttons) {
        case MessageButtons::Ok:
            choices = {{"OK", MessageResult::Ok}};
            break;
        case MessageButtons::OkCancel:
            choices = {{"OK", MessageResult::Ok}, {"Cancel", MessageResult::Cancel}};
            break;
        case MessageButtons::YesNo:
            choices = {{"Yes", MessageResult::Yes}, {"No", MessageResult::No}};
            break;
        case MessageButtons::YesNoCancel:
            choices = {{"Yes", MessageResult::Yes}, {"No", MessageResult::No}, {"Cancel", MessageResult::Cancel}};
            break;
    }
    const Rect box = content();
    const int total = static_cast<int>(choices.size()) * (kButtonWidth + 8) - 8;
    int x = box.x + (box.w - total) / 2;
    const int y = box.bottom() - 12 - theme::kButtonHeight;
    for (const Choice& c : choices) {
        const MessageResult result = c.result;
        buttons_.push_back(&add<Button>(Rect{x, y, kButtonWidth, theme::kButtonHeight}, c.text,
                                        [this, result] { answer(result); }));
        results_.push_back(result);
        x += kButtonWidth + 8;
    }
}

void MessageBox::answer(MessageResult result) {
    DoneFn fn = std::move(done_);
    close();
    if (fn) fn(result);
}

bool MessageBox::keyDown(const KeyEvent& key) {
    if (key.key == Key::Enter) {
        answer(results_.front());
        return true;
    }
    if (key.key == Key::Escape) {
        answer(results_.back());
        return true;
    }
    return false;
}

void MessageBox::paint(cairo_t* cr) {
    draw::fillRect(cr, localBounds(), theme::kOverlayShade);
    const Rect box = content();
    paintBackground(cr);
    draw::fillRect(cr, {box.x + 1, box.y + 1, box.w - 2, kTitleHeight}, theme::kHeaderBackground);
    draw::text(cr, {box.x + 10, box.y, box.w - 20, kTitleHeight}, title_, theme::kText, draw::Align::Left,
               theme::kTitleFontSize, true);
    // The icon: a coloured disc with a sign.
    const char* sign = nullptr;
    theme::Colour colour = theme::kAccent;
    switch (icon_) {
        case MessageIcon::Information: sign = "i"; break;
        case MessageIcon::Question: sign = "?"; break;
        case MessageIcon::Warning: sign = "!"; colour = theme::kMeterMid; break;
        case MessageIcon::Error: sign = "\u00D7"; colour = theme::kMeterHigh; break;
        case MessageIcon::None: break;
    }
    const int top = box.y + kTitleHeight + 16;
    if (sign != nullptr) {
        draw::setColour(cr, colour);
        cairo_arc(cr, box.x + 28, top + 12, 13, 0, 2 * M_PI);
        cairo_fill(cr);
        draw::text(cr, {box.x + 15, top, 26, 24}, sign, theme::kWindowBackground, draw::Align::Centre, 15, true);
    }
    int y = top;
    for (const auto& line : lines(text_)) {
        draw::text(cr, {box.x + kIconRoom + 12, y, box.w - kIconRoom - 24, kLineHeight}, line, theme::kText);
        y += kLineHeight;
    }
    paintChildren(cr);
}

MessageBox& showMessage(RootView& root, std::string text, std::string title, MessageIcon icon, MessageButtons buttons,
                        MessageBox::DoneFn done) {
    return root.openOverlay(
        std::make_unique<MessageBox>(std::move(text), std::move(title), icon, buttons, std::move(done)));
}

}  // namespace quenvale::editor
