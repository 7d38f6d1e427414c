// Slot binding and evaluation of modulated values.
#include "params/mod_evaluation.h"

#include <atomic>
#include <bit>
#include <cstdint>

#include "engine/channel.h"

namespace quenvale {
namespace {

bool amountIsZero(float amount) noexcept {
    return std::bit_cast<uint32_t>(amount) == 0u;
}

// The channel-wide output of channel LFO lfo (0 … 3).
const float* channelLfoOutput(const Channel& channel, int32_t lfo) noexcept {
    return &channel.chLfoState.output[lfo];
}

// The evaluator prefers a channel reference over a voice output. Writing the two fields in this order
// means an evaluation racing the re-bind on another thread sees either the old or the new binding,
// never an empty one in between nor a mix that reads the wrong value.
void publishBinding(ModSlot& slot, const float* channelValue, int32_t voiceOutput) noexcept {
    if (channelValue != nullptr) {
        slot.channelValue = channelValue;
        std::atomic_signal_fence(std::memory_order_seq_cst);
        slot.voiceOutput = -1;
    } else {
        slot.voiceOutput = voiceOutput;
        std::atomic_signal_fence(std::memory_order_seq_cst);
        slot.channelValue = nullptr;
    }
}

}  // namespace

void bindSlot(const Channel& channel, ModSlot& slot) noexcept {
    slot.stale = false;
    const float* channelValue = nullptr;
    int32_t voiceOutput = -1;
    const int32_t s = slot.source;
    if (amountIsZero(slot.amount)) {
        // Never bound: contributes nothing, whatever its source.
    } else if (s >= 1 && s <= 6) {
        voiceOutput = kVoiceOutputEnvelope1 + (s - 1);
    } else if (s >= 7 && s <= 14) {
        voiceOutput = kVoiceOutputLfo1 + (s - 7);
    } else if (s >= 15 && s <= 18) {
        channelValue = channelLfoOutput(channel, s - 15);
    } else if (s == 19) {
        voiceOutput = kVoiceOutputVelocity;
    } else if (s >= 20 && s <= 147) {
        channelValue = &channel.controllerValue[s - 20];
    } else if (s >= 148 && s <= 153) {
        channelValue = &channel.macro[s - 148];
    } else if (s >= 154 && s <= 157) {
        voiceOutput = kVoiceOutputStepSeq1 + (s - 154);
    }
    publishBinding(slot, channelValue, voiceOutput);
}

void bindChSlot(const Channel& channel, ChModSlot& slot) noexcept {
    slot.stale = false;
    const float* channelValue = nullptr;
    const int32_t s = slot.source;
    if (amountIsZero(slot.amount)) {
        // Never bound.
    } else if (s >= 1 && s <= 4) {
        channelValue = channelLfoOutput(channel, s - 1);
    } else if (s >= 5 && s <= 132) {
        channelValue = &channel.controllerValue[s - 5];
    } else if (s >= 133 && s <= 138) {
        channelValue = &channel.macro[s - 133];
    }
    slot.channelValue = channelValue;
}

float evaluateModParam(const Channel& channel, const float* voiceOutputs, ModParam& param) noexcept {
    float v = param.base;
    for (ModSlot& slot : param.slots) {
        if (slot.source == 0) continue;
        if (slot.channelValue == nullptr && slot.voiceOutput < 0 && slot.stale) bindSlot(channel, slot);
        const float* ref = slot.channelValue;
        const int32_t out = slot.voiceOutput;
        if (ref != nullptr) {
            v = static_cast<float>(static_cast<double>(slot.amount) * *ref + v);
        } else if (out >= 0 && out < kVoiceOutputCount && voiceOutputs != nullptr) {
            v = static_cast<float>(static_cast<double>(slot.amount) * voiceOutputs[out] + v);
        }
    }
    return v;
}

float evaluateChModParam(const Channel& channel, ChModParam& param) noexcept {
    float v = param.base;
    for (ChModSlot& slot : param.slots) {
        if (slot.source == 0) continue;
        if (slot.channelValue == nullptr && slot.stale) bindChSlot(channel, slot);
        const float* ref = slot.channelValue;
        if (ref != nullptr) v = static_cast<float>(static_cast<double>(slot.amount) * *ref + v);
    }
    return v;
}

void markStale(ModParam& param) noexcept {
    for (ModSlot& slot : param.slots) {
        slot.channelValue = nullptr;
        slot.voiceOutput = -1;
        slot.stale = true;
    }
}

void markStale(ChModParam& param) noexcept {
    for (ChModSlot& slot : param.slots) {
        slot.channelValue = nullptr;
        slot.stale = true;
    }
}

}  // namespace quenvale
