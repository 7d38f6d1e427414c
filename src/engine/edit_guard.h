// Lets the user-interface thread change engine structures (programs, generator trees, effect lines)
// while the audio thread renders, without the audio thread ever waiting.
//
// An editor announces itself and waits until no render is in progress; a render that finds an
// editor announced renders that block silent instead of reading memory that may be moving.
// Plain 32-bit parameter stores do not use this guard. Several readers may hold the audio side at
// once (the render and a voice refresh after a parameter store on another thread), so it is counted.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>

namespace quenvale {

class EditGuard {
public:
    // [audio] True when the caller may read engine structures until leaveAudio().
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

    // [ui] Scope of one structural edit. Edits nest on the same thread only through EditScope
    // objects created by the outermost caller; the mutex serialises editors among themselves.
    class EditScope {
    public:
        explicit EditScope(EditGuard& guard) : guard_(guard) {
            guard_.editors_.lock();
            guard_.editing_.store(true, std::memory_order_seq_cst);
            while (guard_.rendering_.load(std::memory_order_seq_cst) != 0) std::this_thread::yield();
        }
        ~EditScope() {
            guard_.editing_.store(false, std::memory_order_seq_cst);
            guard_.editors_.unlock();
        }
        EditScope(const EditScope&) = delete;
        EditScope& operator=(const EditScope&) = delete;

    private:
        EditGuard& guard_;
    };

    // [any] True while an edit is in progress (for tests and diagnostics).
    bool editing() const noexcept { return editing_.load(); }

private:
    std::atomic<int> rendering_{0};
    std::atomic<bool> editing_{false};
    std::mutex editors_;
};

}  // namespace quenvale
