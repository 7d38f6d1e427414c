// Mouse and keyboard events as panels and controls see them: no window system's types.
#pragma once

#include <cstdint>
#include <string>

#include "editor/ui/geometry.h"

namespace quenvale::ui {

enum class MouseButton : uint8_t { NoButton, Left, Middle, Right };

enum Modifier : uint32_t {
    kModShift = 1u << 0,
    kModControl = 1u << 1,
    kModAlt = 1u << 2,
};

// pos is in the receiving widget's own coordinates (its top-left corner is 0, 0); windowPos in the
// editor window's. clickCount is 2 for the second press of a double-click (same button, within
// kDoubleClickMs and kDoubleClickSlop pixels), 1 otherwise.
struct MouseEvent {
    Point pos;
    Point windowPos;
    MouseButton button = MouseButton::NoButton;  // the button pressed or released; NoButton for moves
    int clickCount = 1;
    uint32_t modifiers = 0;
    int wheelSteps = 0;  // wheel events only: +1 per notch away from the user (up), −1 towards
};

enum class Key : uint8_t {
    Character,  // text holds the UTF-8 of a printable character
    Enter,
    Escape,
    Tab,
    Backspace,
    Delete,
    Left,
    Right,
    Up,
    Down,
    Home,
    End,
    PageUp,
    PageDown,
    Other,
};

struct KeyEvent {
    Key key = Key::Other;
    std::string text;
    uint32_t modifiers = 0;
};

inline constexpr int kDoubleClickMs = 400;
inline constexpr int kDoubleClickSlop = 4;

}  // namespace quenvale::ui
