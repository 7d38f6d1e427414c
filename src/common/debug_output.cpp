// Debug output: the platform channel (guarded per platform), the test sink and the trace line.
#include "common/debug_output.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace quenvale {

namespace {

std::atomic<DebugSink> gSink{nullptr};
std::atomic<void*> gSinkContext{nullptr};

// Shared by every instance; only the user-interface thread formats into it.
char gTraceBuffer[1024];

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

}  // namespace

void setDebugSink(DebugSink sink, void* context) noexcept {
    gSinkContext.store(context);
    gSink.store(sink);
}

void writeDebugOutput(const char* text) noexcept {
    if (text == nullptr) return;
    if (const DebugSink sink = gSink.load()) {
        sink(text, gSinkContext.load());
    } else {
        writePlatformChannel(text);
    }
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
    const int formatted = std::vsnprintf(gTraceBuffer, sizeof gTraceBuffer - 1, format, args);
    va_end(args);
    // Room is kept for the line feed even when the text fills the buffer.
    size_t length = formatted < 0 ? 0 : static_cast<size_t>(formatted);
    if (length > sizeof gTraceBuffer - 2) length = sizeof gTraceBuffer - 2;
    gTraceBuffer[length] = '\n';
    gTraceBuffer[length + 1] = '\0';
    writeDebugOutput(gTraceBuffer);

    std::vprintf(format, again);
    va_end(again);
    std::putchar('\n');
    std::fflush(stdout);
}

}  // namespace quenvale
