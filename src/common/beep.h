// The platform's default beep, sounded by failed parameter accesses; counted so tests can observe it.
#pragma once

namespace quenvale {

// [any] Sounds the default beep where the platform has one (Windows); counts it everywhere.
// No allocation, no lock: the parameter routing calls it on the audio thread.
void platformBeep() noexcept;

// [any] Beeps sounded in this process (in this module) so far.
int beepCount() noexcept;

}  // namespace quenvale
