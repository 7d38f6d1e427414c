// The platform's debug output channel, the dispatcher's trace line, and a hook that lets tests capture both.
#pragma once

#include <cstdint>

namespace quenvale {

// Receives every text written to the debug output (already formatted, line feed included).
// [any] Must not block or allocate when the audio thread writes.
using DebugSink = void (*)(const char* text, void* context);

// [any] Installs a sink in place of the platform channel (standard error on POSIX, the debugger output on
// Windows); nullptr restores the platform channel. Meant for tests and tools.
void setDebugSink(DebugSink sink, void* context) noexcept;

// [any] Writes text as it stands to the debug output. No allocation, no lock. On a thread marked as an
// audio thread (markAudioThread) the text is queued instead (at most 511 characters) and written by the
// next flush on another thread; elsewhere the queue is flushed first, so lines keep their order.
void writeDebugOutput(const char* text) noexcept;

// [any] printf-style line to the debug output, formatted on the stack (at most 511 characters kept).
// Used by the parameter routing on the audio thread: no allocation, no lock, no I/O there.
void debugPrintf(const char* format, ...) noexcept __attribute__((format(printf, 1, 2)));

// [ui] Writes out what audio threads queued (lines and beeps, in order; then one line if some were
// dropped). Does nothing on an audio thread. The plug-in calls it on each host call.
void flushDebugOutput() noexcept;

// [any] The same on whichever thread calls it, audio thread included: for closing, and for tests and
// tools that render and report on one thread.
void flushDebugOutputHere() noexcept;

// [ui] Formats into a 1024-byte buffer of the call's own (two threads may trace at once), appends a line
// feed, writes the buffer to the debug output, then prints the same format with a line feed to standard
// output as one piece.
void DebugTrace(const char* format, ...) noexcept __attribute__((format(printf, 1, 2)));

// A pointer as the unsigned int that a "%08x" conversion expects: its low 32 bits. Pointers are wider than
// that on 64-bit systems, so passing one straight to "%08x" would be undefined.
inline unsigned int traceAddress(const void* pointer) noexcept {
    return static_cast<unsigned int>(reinterpret_cast<uintptr_t>(pointer) & 0xFFFFFFFFu);
}

}  // namespace quenvale
