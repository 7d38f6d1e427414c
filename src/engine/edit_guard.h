// Lets user-interface threads change and read engine structures (programs, generator trees, effect
// lines) while the audio thread renders, without the audio thread ever waiting.
//
// Two kinds of scope, both [ui] (any thread but the audio thread):
// - EditScope, for structural edits: excludes every other user-interface thread, announces the edit
//   and waits until no audio-side reader is in progress; an audio-side reader that finds an edit
//   announced skips its work (a render block is rendered silent) instead of reading memory that
//   may be moving.
// - ReadScope, for readers of structure (bank and chunk writes, program stores) and edits of data
//   the audio thread never reads (program names, stored program values): excludes the other
//   user-interface threads only, so the audio keeps sounding while the host autosaves.
// Both nest freely on one thread, in any mix: an inner scope of a thread that already holds one
// takes nothing more (an EditScope inside a ReadScope announces the edit until it ends). Plain
// parameter stores do not use this guard.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

namespace quenvale {

class EditGuard {
public:
    // [audio] True when the caller may read engine structures until leaveAudio(). Several readers
    // may hold the audio side at once, so it is counted. Never waits.
    bool tryEnterAudio() noexcept {
        rendering_.fetch_add(1, std::memory_order_seq_cst);
        if (editing_.load(std::memory_order_seq_cst)) {
            rendering_.fetch_sub(1, std::memory_order_seq_cst);
            return false;
        }
        return true;
    }
    // [audio] Ends a successful tryEnterAudio().
    void leaveAudio() noexcept { rendering_.fetch_sub(1, std::memory_order_seq_cst); }

    // [ui] Scope of one structural edit.
    class EditScope {
    public:
        explicit EditScope(EditGuard& guard) : guard_(guard) {
            guard_.enter();
            if (guard_.editDepth_++ == 0) {
                guard_.editing_.store(true, std::memory_order_seq_cst);
                while (guard_.rendering_.load(std::memory_order_seq_cst) != 0) std::this_thread::yield();
            }
        }
        ~EditScope() {
            if (--guard_.editDepth_ == 0) guard_.editing_.store(false, std::memory_order_seq_cst);
            guard_.leave();
        }
        EditScope(const EditScope&) = delete;
        EditScope& operator=(const EditScope&) = delete;

    private:
        EditGuard& guard_;
    };

    // [ui] Scope of a reader of structure: other user-interface threads wait, the audio does not.
    class ReadScope {
    public:
        explicit ReadScope(EditGuard& guard) : guard_(guard) { guard_.enter(); }
        ~ReadScope() { guard_.leave(); }
        ReadScope(const ReadScope&) = delete;
        ReadScope& operator=(const ReadScope&) = delete;

    private:
        EditGuard& guard_;
    };

    // [any] True while an edit is in progress (for tests and diagnostics).
    bool editing() const noexcept { return editing_.load(); }
    // [any] True when the calling thread holds an edit scope of this guard (the audio side is out).
    bool editingOnThisThread() const noexcept { return heldByThisThread() && editDepth_ > 0; }
    // [any] True when the calling thread holds a scope of this guard.
    bool heldByThisThread() const noexcept {
        return owner_.load(std::memory_order_relaxed) == std::this_thread::get_id();
    }

private:
    void enter() {
        if (heldByThisThread()) {
            ++depth_;
            return;
        }
        uiThreads_.lock();
        owner_.store(std::this_thread::get_id(), std::memory_order_relaxed);
        depth_ = 1;
    }
    void leave() {
        if (--depth_ != 0) return;
        owner_.store(std::thread::id(), std::memory_order_relaxed);
        uiThreads_.unlock();
    }

    std::atomic<int> rendering_{0};
    std::atomic<bool> editing_{false};
    std::mutex uiThreads_;
    // The thread holding uiThreads_ (only that thread compares equal to it), and its nesting
    // depths; both depths are touched by the holder only.
    std::atomic<std::thread::id> owner_{};
    int32_t depth_ = 0;
    int32_t editDepth_ = 0;
};

}  // namespace quenvale
