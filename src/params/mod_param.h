// Modulated values: a base plus two modulation slots, bound once per change and evaluated per tick.
#pragma once

#include <cstdint>

namespace quenvale {

// Outputs of a voice that a voice-numbered slot can read. A voice keeps their current values in one
// array (Voice::modSources) so that a bound slot reads its source with one indexed load.
enum VoiceOutput : int32_t {
    kVoiceOutputEnvelope1 = 0,   // … +5: envelopes 1 … 6
    kVoiceOutputLfo1 = 6,        // … +7: voice LFOs 1 … 8
    kVoiceOutputStepSeq1 = 14,   // … +3: step sequencers 1 … 4
    kVoiceOutputVelocity = 18,
    kVoiceOutputCount = 19,
};

// Slot of a per-voice modulated value (`ModSource` numbering). The binding is either a reference to
// a channel-wide value (channelValue), or an output of whichever voice is being evaluated
// (voiceOutput >= 0), or none. Each field is a separate 32-bit (or pointer) write, so an evaluation
// racing a re-bind sees either the old or the new binding, both of which point at valid values.
struct ModSlot {
    int32_t source = 0;
    const float* channelValue = nullptr;
    int32_t voiceOutput = -1;
    float amount = 0.0f;
    bool stale = false;
};

struct ModParam {
    float base = 0.0f;
    ModSlot slots[2];
};

// Slot of a channel-wide modulated value (`ChModSource` numbering): only channel references.
struct ChModSlot {
    int32_t source = 0;
    const float* channelValue = nullptr;
    float amount = 0.0f;
    bool stale = false;
};

struct ChModParam {
    float base = 0.0f;
    ChModSlot slots[2];
};

}  // namespace quenvale
