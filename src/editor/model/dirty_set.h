// Engine → editor notifications: a preallocated, lock-free set of changed parameter indices plus
// three flags. Any thread may mark (the audio thread included: host automation); only the editor's
// timer drains it. Marking never blocks, never allocates and never fails; a mark that races with a
// drain is seen by this drain or the next one.
#pragma once

#include <atomic>
#include <cstdint>

#include "common/capacity.h"

namespace quenvale::editor {

class DirtySet {
public:
    static constexpr int32_t kWords = (kParameterCount + 63) / 64;

    // [any] Out-of-range indices are ignored.
    void mark(int32_t index) noexcept {
        if (index < 0 || index >= kParameterCount) return;
        words_[index / 64].fetch_or(uint64_t{1} << (index % 64), std::memory_order_release);
    }
    // [any] Everything must be read again (a chunk or bank load, a program change).
    void markAll() noexcept { all_.store(true, std::memory_order_release); }
    // [any] The current program changed (selected by the host, by MIDI or by the editor).
    void markProgramChanged() noexcept { program_.store(true, std::memory_order_release); }
    // [any] A parameter changed through the binding (sets the main panel's unsaved-changes flag).
    void markEdited() noexcept { edited_.store(true, std::memory_order_release); }

    // [editor thread] Takes the flags; each returns whether it was set and clears it.
    bool takeAll() noexcept { return all_.exchange(false, std::memory_order_acq_rel); }
    bool takeProgramChanged() noexcept { return program_.exchange(false, std::memory_order_acq_rel); }
    bool takeEdited() noexcept { return edited_.exchange(false, std::memory_order_acq_rel); }

    // [editor thread] Calls fn(index) once for every marked index, in increasing order, and unmarks it.
    template <typename Fn>
    void drain(Fn&& fn) {
        for (int32_t w = 0; w < kWords; ++w) {
            uint64_t bits = words_[w].exchange(0, std::memory_order_acq_rel);
            while (bits != 0) {
                const int bit = __builtin_ctzll(bits);
                bits &= bits - 1;
                fn(w * 64 + bit);
            }
        }
    }
    // [editor thread] Whether index is marked (tests).
    bool contains(int32_t index) const noexcept {
        if (index < 0 || index >= kParameterCount) return false;
        return (words_[index / 64].load(std::memory_order_acquire) >> (index % 64)) & 1u;
    }

private:
    std::atomic<uint64_t> words_[kWords] = {};
    std::atomic<bool> all_{false};
    std::atomic<bool> program_{false};
    std::atomic<bool> edited_{false};
};

static_assert(std::atomic<uint64_t>::is_always_lock_free, "the audio thread marks without locks");

}  // namespace quenvale::editor
