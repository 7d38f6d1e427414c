// MIDI entries that arrived while a structural edit kept the engine from applying them.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/midi_entry.h"

namespace quenvale {

// A fixed-capacity FIFO used by the audio thread only (filled and drained there). When full, the
// newest entries are dropped and counted; a note-off is never dropped while a note-on before it in
// the queue could be: such an entry evicts the newest queued note-on instead.
class MidiQueue {
public:
    static constexpr int32_t kCapacity = 1024;

    // [audio]
    void push(const MidiEntry& entry) noexcept {
        if (count_ < kCapacity) {
            entries_[count_++] = entry;
            return;
        }
        if (isRelease(entry)) {
            for (int32_t i = count_ - 1; i >= 0; --i) {
                if (isStart(entries_[i])) {
                    for (int32_t k = i; k + 1 < count_; ++k) entries_[k] = entries_[k + 1];
                    entries_[count_ - 1] = entry;
                    dropped_.fetch_add(1, std::memory_order_relaxed);
                    return;
                }
            }
        }
        dropped_.fetch_add(1, std::memory_order_relaxed);
    }
    int32_t size() const noexcept { return count_; }
    const MidiEntry* data() const noexcept { return entries_; }
    void clear() noexcept { count_ = 0; }
    // [any] Entries lost to a full queue since construction.
    uint32_t dropped() const noexcept { return dropped_.load(std::memory_order_relaxed); }

private:
    static bool isStart(const MidiEntry& e) noexcept { return (e.status & 0xF0) == 0x90 && e.data2 != 0; }
    static bool isRelease(const MidiEntry& e) noexcept {
        return (e.status & 0xF0) == 0x80 || ((e.status & 0xF0) == 0x90 && e.data2 == 0);
    }

    MidiEntry entries_[kCapacity];
    int32_t count_ = 0;
    std::atomic<uint32_t> dropped_{0};
};

}  // namespace quenvale
