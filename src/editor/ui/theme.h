// The editor's look in one place: grid, sizes, colours and fonts. Panels lay out in multiples of
// kGrid from their own top-left corner; controls take every colour and font size from here.
#pragma once

#include <cstdint>

namespace quenvale::ui::theme {

struct Colour {
    double r, g, b, a = 1.0;
};

// From a 0xRRGGBB number.
constexpr Colour rgb(uint32_t v, double alpha = 1.0) noexcept {
    return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0, alpha};
}
// From the Windows-style 0x00BBGGRR numbers of the modulation source table.
constexpr Colour bgr(uint32_t v) noexcept {
    return {(v & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, ((v >> 16) & 0xFF) / 255.0, 1.0};
}

// ---- window and grid ------------------------------------------------------------------------------
inline constexpr int kWindowWidth = 772;
inline constexpr int kWindowHeight = 598;
inline constexpr int kGrid = 4;  // every position and size is a multiple of it
constexpr int grid(int units) noexcept {
    return units * kGrid;
}

// The main panel's bands: header (programs, bank, pages), page frame, footer-less.
inline constexpr int kHeaderHeight = grid(24);  // 96
inline constexpr int kPageTop = kHeaderHeight;
inline constexpr int kPageHeight = kWindowHeight - kPageTop;  // 502

// ---- control sizes --------------------------------------------------------------------------------
inline constexpr int kButtonHeight = grid(5);  // 20
inline constexpr int kRowHeight = grid(5);
inline constexpr int kKnobSize = grid(10);      // 40
inline constexpr int kSlotWidth = 17;           // modulation slot hit areas (fixed by the controls' rules)
inline constexpr int kCornerRadius = 3;
inline constexpr int kFrameTitleHeight = grid(4);
inline constexpr int kMenuItemHeight = 18;
inline constexpr int kMenuMinWidth = grid(30);

// ---- fonts ------------------------------------------------------------------------------------------
inline constexpr const char* kFontFamily = "DejaVu Sans";
inline constexpr const char* kMonoFamily = "DejaVu Sans Mono";
inline constexpr double kFontSize = 11.0;
inline constexpr double kSmallFontSize = 9.0;
inline constexpr double kTitleFontSize = 12.0;

// ---- colours ----------------------------------------------------------------------------------------
inline constexpr Colour kWindowBackground = rgb(0x23262B);
inline constexpr Colour kHeaderBackground = rgb(0x2C3037);
inline constexpr Colour kPanelBackground = rgb(0x2A2E34);
inline constexpr Colour kFrameBackground = rgb(0x30353C);
inline constexpr Colour kFrameBorder = rgb(0x4A515B);
inline constexpr Colour kFrameTitle = rgb(0x9FB3C8);
inline constexpr Colour kText = rgb(0xE4E8EE);
inline constexpr Colour kTextDim = rgb(0x8C95A1);
inline constexpr Colour kTextDisabled = rgb(0x5C636D);
inline constexpr Colour kAccent = rgb(0x4FA3E0);
inline constexpr Colour kAccentDim = rgb(0x2F5F86);
inline constexpr Colour kControlFace = rgb(0x3A4049);
inline constexpr Colour kControlHover = rgb(0x454C57);
inline constexpr Colour kControlPressed = rgb(0x2B5C85);
inline constexpr Colour kControlBorder = rgb(0x5A626E);
inline constexpr Colour kFieldBackground = rgb(0x1C1F23);
inline constexpr Colour kSelection = rgb(0x2F6FA8);
inline constexpr Colour kOverlayShade = rgb(0x000000, 0.45);
inline constexpr Colour kDialogBackground = rgb(0x353A42);
inline constexpr Colour kMeterLow = rgb(0x4CC26A);
inline constexpr Colour kMeterMid = rgb(0xE0C04F);
inline constexpr Colour kMeterHigh = rgb(0xE0584F);
inline constexpr Colour kFocus = rgb(0x7CC4FF);

}  // namespace quenvale::ui::theme
