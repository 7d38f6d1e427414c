// Message boxes with a fixed text, shown by the plug-in shell and the editor on failed loads and saves.
#pragma once

namespace quenvale {

// Icon codes, numerically those of the Windows message box styles.
inline constexpr int kIconError = 16;        // MB_ICONHAND
inline constexpr int kIconQuestion = 32;     // MB_ICONQUESTION
inline constexpr int kIconWarning = 48;      // MB_ICONEXCLAMATION
inline constexpr int kIconInformation = 64;  // MB_ICONASTERISK

// [ui] Shows a message to the user without blocking the caller. With no editor window to own a dialog the
// message goes to the debug output as one line "<title>: <text>".
void showMessageBox(const char* text, const char* title, int icon) noexcept;

}  // namespace quenvale
