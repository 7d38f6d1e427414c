// The road debug lines and beeps take from an audio thread: a preallocated lock-free queue, written out
// later by another thread, so the audio thread never waits on a terminal or a debugger.
#pragma once

#include <cstdint>

namespace quenvale {

inline constexpr int kDebugQueueCells = 64;
inline constexpr int kDebugQueueLineSize = 512;  // longer lines are cut, line feed kept

enum class DebugEntry : uint8_t { kLine, kBeep };

// [audio] Marks the calling thread, for the rest of its life, as one that renders audio: its debug
// lines and beeps go into the queue from then on. Called by the engine's render and MIDI entry points.
void markAudioThread() noexcept;

// [any] Whether the calling thread was marked.
bool onAudioThread() noexcept;

// [any] Queues a line (copied) or a beep. Lock-free, never blocks, never allocates; with the queue full
// the entry is counted as dropped instead. Returns false when dropped.
bool queueDebugEntry(DebugEntry kind, const char* text) noexcept;

// Writes one drained entry; the debug output installs its own writer.
using DebugEntryWriter = void (*)(DebugEntry kind, const char* text);

// [any] Hands every queued entry to write, in the order queued, then, if entries were dropped since the
// last drain, one line saying how many. One thread drains at a time: a call that finds another drain
// running returns at once (that drain writes the entries). Returns the entries written.
int drainDebugQueue(DebugEntryWriter write) noexcept;

}  // namespace quenvale
