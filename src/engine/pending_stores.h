// Parameter stores that user-interface threads hand to the audio thread.
//
// While the audio thread renders, it is the only writer of the live channel's values (structural
// edits aside, which hold it off), so the render reads them without atomics. A store from another
// thread waits here, one slot per parameter index (a later store of an index replaces an earlier
// one), and the audio thread applies the waiting stores in index order at the start of its next
// block. Never blocks, never allocates.
#pragma once

#include <atomic>
#include <bit>
#include <cstdint>

#include "common/capacity.h"
#include "params/parameter_value.h"

namespace quenvale {

class PendingStores {
public:
    // [any] Leaves value waiting for index (0 … 382), replacing one already waiting.
    void post(int32_t index, const ParameterValue& value) noexcept {
        slots_[index].store(encode(value), std::memory_order_release);
        any_.store(true, std::memory_order_release);
    }
    // [any] The value waiting for index, if any, without taking it.
    bool peek(int32_t index, ParameterValue& value) const noexcept {
        return decode(slots_[index].load(std::memory_order_acquire), value);
    }
    // [any] Takes the value waiting for index, if any.
    bool take(int32_t index, ParameterValue& value) noexcept {
        return decode(slots_[index].exchange(0, std::memory_order_acq_rel), value);
    }
    // [any] Drops the value waiting for index (a newer store supersedes it).
    void drop(int32_t index) noexcept { slots_[index].store(0, std::memory_order_relaxed); }
    // [any] True when a store may be waiting; takeAll clears it before it takes.
    bool any() const noexcept { return any_.load(std::memory_order_acquire); }
    // Calls apply(index, value) for every waiting store, in index order.
    template <class Apply>
    void takeAll(Apply apply) noexcept {
        if (!any_.exchange(false, std::memory_order_acq_rel)) return;
        ParameterValue value;
        for (int32_t i = 0; i < kParameterCount; ++i)
            if (take(i, value)) apply(i, value);
    }
    // Drops every waiting store.
    void clear() noexcept {
        any_.store(false, std::memory_order_relaxed);
        for (std::atomic<uint64_t>& slot : slots_) slot.store(0, std::memory_order_relaxed);
    }

private:
    // Bit 63: waiting; bits 32 … 39: the kind; bits 0 … 31: the number, or the base of a
    // modulated value (the only part of one that a store reads).
    static constexpr uint64_t kWaiting = uint64_t{1} << 63;

    static uint64_t encode(const ParameterValue& value) noexcept {
        uint32_t payload = value.number;
        if (value.kind == ParameterKind::Modulated) payload = std::bit_cast<uint32_t>(value.modulated.base);
        if (value.kind == ParameterKind::ChModulated) payload = std::bit_cast<uint32_t>(value.chModulated.base);
        return kWaiting | (uint64_t{static_cast<uint8_t>(value.kind)} << 32) | payload;
    }
    static bool decode(uint64_t word, ParameterValue& value) noexcept {
        if ((word & kWaiting) == 0) return false;
        const auto payload = static_cast<uint32_t>(word);
        value = ParameterValue{};
        value.kind = static_cast<ParameterKind>((word >> 32) & 0xFF);
        if (value.kind == ParameterKind::Modulated) {
            value.modulated.base = std::bit_cast<float>(payload);
        } else if (value.kind == ParameterKind::ChModulated) {
            value.chModulated.base = std::bit_cast<float>(payload);
        } else {
            value.number = payload;
        }
        return true;
    }

    std::atomic<uint64_t> slots_[kParameterCount] = {};
    std::atomic<bool> any_{false};
};

}  // namespace quenvale
