// KeySym translation for the editor's text fields and menus.
#include "editor/platform/x11/x11_keys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace quenvale::editor::x11 {

uint32_t translateModifiers(unsigned int state) {
    uint32_t m = 0;
    if (state & ShiftMask) m |= ui::kModShift;
    if (state & ControlMask) m |= ui::kModControl;
    if (state & Mod1Mask) m |= ui::kModAlt;
    return m;
}

ui::KeyEvent translateKey(XKeyEvent& event) {
    char text[16] = {};
    KeySym sym = NoSymbol;
    const int length = XLookupString(&event, text, sizeof text - 1, &sym, nullptr);
    ui::KeyEvent key;
    key.modifiers = translateModifiers(event.state);
    switch (sym) {
        case XK_Return:
        case XK_KP_Enter: key.key = ui::Key::Enter; return key;
        case XK_Escape: key.key = ui::Key::Escape; return key;
        case XK_Tab: key.key = ui::Key::Tab; return key;
        case XK_BackSpace: key.key = ui::Key::Backspace; return key;
        case XK_Delete:
        case XK_KP_Delete: key.key = ui::Key::Delete; return key;
        case XK_Left:
        case XK_KP_Left: key.key = ui::Key::Left; return key;
        case XK_Right:
        case XK_KP_Right: key.key = ui::Key::Right; return key;
        case XK_Up:
        case XK_KP_Up: key.key = ui::Key::Up; return key;
        case XK_Down:
        case XK_KP_Down: key.key = ui::Key::Down; return key;
        case XK_Home:
        case XK_KP_Home: key.key = ui::Key::Home; return key;
        case XK_End:
        case XK_KP_End: key.key = ui::Key::End; return key;
        case XK_Page_Up: key.key = ui::Key::PageUp; return key;
        case XK_Page_Down: key.key = ui::Key::PageDown; return key;
        default: break;
    }
    if (length == 1 && static_cast<unsigned char>(text[0]) >= 0x20 && text[0] != 0x7F) {
        key.key = ui::Key::Character;
        key.text.push_back(text[0]);
    }
    return key;
}

}  // namespace quenvale::editor::x11
