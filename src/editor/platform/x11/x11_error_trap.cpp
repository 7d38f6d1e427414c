// The chained Xlib error handler and its per-connection error records.
#include "editor/platform/x11/x11_error_trap.h"

#include <array>
#include <mutex>

namespace quenvale::editor::x11 {

namespace {

struct Record {
    Display* display = nullptr;
    int error = 0;
};

// A handful of editors at most are open at once in one process.
constexpr size_t kMaxDisplays = 64;

std::mutex gMutex;
std::array<Record, kMaxDisplays> gRecords;
size_t gCount = 0;
XErrorHandler gPrevious = nullptr;

int handler(Display* display, XErrorEvent* event) {
    {
        std::lock_guard lock(gMutex);
        for (size_t i = 0; i < gCount; ++i) {
            if (gRecords[i].display != display) continue;
            if (gRecords[i].error == 0) gRecords[i].error = event->error_code;
            return 0;
        }
    }
    return gPrevious != nullptr ? gPrevious(display, event) : 0;
}

}  // namespace

void adoptDisplay(Display* display) {
    std::lock_guard lock(gMutex);
    if (gCount == kMaxDisplays) return;
    gRecords[gCount++] = {display, 0};
    if (gCount == 1) gPrevious = XSetErrorHandler(handler);
}

void releaseDisplay(Display* display) {
    std::lock_guard lock(gMutex);
    for (size_t i = 0; i < gCount; ++i) {
        if (gRecords[i].display != display) continue;
        gRecords[i] = gRecords[--gCount];
        break;
    }
    if (gCount == 0) {
        const XErrorHandler current = XSetErrorHandler(gPrevious);
        // Someone installed a handler after ours: leave theirs in place.
        if (current != handler) XSetErrorHandler(current);
        gPrevious = nullptr;
    }
}

int takeError(Display* display) {
    XSync(display, False);
    std::lock_guard lock(gMutex);
    for (size_t i = 0; i < gCount; ++i) {
        if (gRecords[i].display != display) continue;
        const int error = gRecords[i].error;
        gRecords[i].error = 0;
        return error;
    }
    return 0;
}

}  // namespace quenvale::editor::x11
