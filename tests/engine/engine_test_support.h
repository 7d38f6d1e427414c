// Helpers for driving a SynthEngine in tests: MIDI entries, block rendering, tick recording.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/synth_engine.h"

namespace quenvale::test {

inline MidiEntry noteOnEntry(int note, int velocity, int midiChannel = 0) {
    return MidiEntry{static_cast<uint8_t>(0x90 | midiChannel), static_cast<uint8_t>(note),
                     static_cast<uint8_t>(velocity), 0};
}
inline MidiEntry noteOffEntry(int note, int midiChannel = 0) {
    return MidiEntry{static_cast<uint8_t>(0x80 | midiChannel), static_cast<uint8_t>(note), 64, 0};
}
inline MidiEntry controllerEntry(int cc, int value) {
    return MidiEntry{0xB0, static_cast<uint8_t>(cc), static_cast<uint8_t>(value), 0};
}

inline void send(SynthEngine& engine, const MidiEntry& entry) {
    engine.processMidi(&entry, 1);
}
inline void noteOn(SynthEngine& engine, int note, int velocity = 100) {
    send(engine, noteOnEntry(note, velocity));
}
inline void noteOff(SynthEngine& engine, int note) {
    send(engine, noteOffEntry(note));
}

// Renders n samples in blocks of at most 512 and returns the left channel.
inline std::vector<float> renderSamples(SynthEngine& engine, int32_t n, std::vector<float>* right = nullptr) {
    std::vector<float> l(static_cast<size_t>(n)), r(static_cast<size_t>(n));
    for (int32_t done = 0; done < n;) {
        const int32_t block = n - done < 512 ? n - done : 512;
        engine.render(l.data() + done, r.data() + done, block);
        done += block;
    }
    if (right != nullptr) *right = r;
    return l;
}

// Records the engine's sample count at every control tick (the tempo reader runs once per tick).
struct TickRecorder {
    SynthEngine* engine = nullptr;
    std::vector<int32_t> ticks;
    float tempo = 120.0f;

    explicit TickRecorder(SynthEngine& e) : engine(&e) {
        ticks.reserve(4096);
        e.setTempoReader(&TickRecorder::read, this);
    }
    static float read(void* context) {
        auto* self = static_cast<TickRecorder*>(context);
        self->ticks.push_back(self->engine->sampleCounter());
        return self->tempo;
    }
};

}  // namespace quenvale::test
