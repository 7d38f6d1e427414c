// Default beep: a counter everywhere, the system sound on Windows.
#include "common/beep.h"

#include <atomic>

#include "common/debug_output.h"
#include "common/debug_queue.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace quenvale {

namespace {
std::atomic<int> gBeeps{0};
}

void platformBeep() noexcept {
    gBeeps.fetch_add(1, std::memory_order_relaxed);
    if (onAudioThread()) {
        queueDebugEntry(DebugEntry::kBeep, nullptr);
        return;
    }
    flushDebugOutput();
    soundPlatformBeep();
}

void soundPlatformBeep() noexcept {
#if defined(_WIN32)
    MessageBeep(MB_OK);
#endif
}

int beepCount() noexcept {
    return gBeeps.load(std::memory_order_relaxed);
}

}  // namespace quenvale
