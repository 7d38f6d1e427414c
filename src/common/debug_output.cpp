// Debug output: the platform channel (guarded per platform), the test sink and the trace line.
#include "common/debug_output.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/beep.h"
#include "common/debug_queue.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace quenvale {

namespace {

std::atomic<DebugSink> gSink{nullptr};
std::atomic<void*> gSinkContext{nullptr};

constexpr size_t kTraceBufferSize = 1024;

void lockStandardOutput() noexcept {
#if defined(_WIN32)
    _lock_file(stdout);
#else
    flockfile(stdout);
#endif
}

void unlockStandardOutput() noexcept {
#if defined(_WIN32)
    _unlock_file(stdout);
#else
    funlockfile(stdout);
#endif
}

void writePlatformChannel(const char* text) noexcept {
#if defined(_WIN32)
    OutputDebugStringA(text);
#else
    size_t remaining = std::strlen(text);
    while (remaining > 0) {
        const ssize_t written = ::write(STDERR_FILENO, text, remaining);
        if (written <= 0) return;
        text += written;
        remaining -= static_cast<size_t>(written);
    }
#endif
}

void deliver(const char* text) noexcept {
    if (const DebugSink sink = gSink.load()) {
        sink(text, gSinkContext.load());
    } else {
        writePlatformChannel(text);
    }
}

void writeQueued(DebugEntry kind, const char* text) noexcept {
    if (kind == DebugEntry::kBeep) {
        soundPlatformBeep();
    } else {
        deliver(text);
    }
}

}  // namespace

void flushDebugOutput() noexcept {
    if (!onAudioThread()) drainDebugQueue(writeQueued);
}

void flushDebugOutputHere() noexcept {
    drainDebugQueue(writeQueued);
}

void setDebugSink(DebugSink sink, void* context) noexcept {
    gSinkContext.store(context);
    gSink.store(sink);
}

void writeDebugOutput(const char* text) noexcept {
    if (text == nullptr) return;
    if (onAudioThread()) {
        queueDebugEntry(DebugEntry::kLine, text);
        return;
    }
    drainDebugQueue(writeQueued);
    deliver(text);
}

void debugPrintf(const char* format, ...) noexcept {
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    writeDebugOutput(line);
}

void DebugTrace(const char* format, ...) noexcept {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    char buffer[kTraceBufferSize];
    const int formatted = std::vsnprintf(buffer, sizeof buffer - 1, format, args);
    va_end(args);
    // Room is kept for the line feed even when the text fills the buffer.
    size_t length = formatted < 0 ? 0 : static_cast<size_t>(formatted);
    if (length > sizeof buffer - 2) length = sizeof buffer - 2;
    buffer[length] = '\n';
    buffer[length + 1] = '\0';
    writeDebugOutput(buffer);

    // The text and its line feed as one piece, not split by another thread's trace.
    lockStandardOutput();
    std::vprintf(format, again);
    std::putchar('\n');
    std::fflush(stdout);
    unlockStandardOutput();
    va_end(again);
}

}  // namespace quenvale
