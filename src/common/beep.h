// The platform's default beep, sounded by failed parameter accesses; counted so tests can observe it.
#pragma once

namespace quenvale {

// [any] Sounds the default beep where the platform has one (Windows); counts it everywhere, at once.
// No allocation, no lock: the parameter routing calls it on the audio thread, where the sound itself
// takes the debug output's queue and is made by the next flush on another thread, in order with the
// lines (debug_output.h).
void platformBeep() noexcept;

// [ui] The platform's sound alone, uncounted: what a flush does with a queued beep.
void soundPlatformBeep() noexcept;

// [any] Beeps sounded in this process (in this module) so far.
int beepCount() noexcept;

}  // namespace quenvale
