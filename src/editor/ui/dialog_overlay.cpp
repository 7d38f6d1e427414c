// Dialog overlays: the title bar and the keys every dialog answers alike.
#include "editor/ui/dialog_overlay.h"

#include "editor/ui/draw.h"
#include "editor/ui/theme.h"

namespace quenvale::ui {

bool DialogOverlay::keyDown(const KeyEvent& key) {
    if (key.key == Key::Escape) {
        close();
        return true;
    }
    if (key.key == Key::Enter) return enterPressed();
    return false;
}

void DialogOverlay::paint(cairo_t* cr) {
    draw::fillRect(cr, localBounds(), theme::kOverlayShade);
    paintBackground(cr);
    const Rect box = content();
    draw::fillRect(cr, {box.x + 1, box.y + 1, box.w - 2, 24}, theme::kHeaderBackground);
    draw::text(cr, {box.x + 10, box.y, box.w - 20, 24}, label(), theme::kText, draw::Align::Left,
               theme::kTitleFontSize, true);
    paintChildren(cr);
}

}  // namespace quenvale::ui
