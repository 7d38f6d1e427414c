// Helpers for driving a SynthEngine in tests: MIDI entries, block rendering, tick recording, and the
// signal measurements (pitch, level) the engine tests share.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/curve/partial_curve.h"
#include "engine/spectrum/generator.h"
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

// The first partial at full amplitude, nothing else: every note is a plain sine.
inline void makeSine(SynthEngine& engine) {
    EditGuard::EditScope scope(engine.editGuard());
    PartialCurve amp(kMaxPartials);
    amp[0] = 1.0f;
    engine.channel().generator->modulator(kSpectrumAmp).setBreakpointValues(0, amp);
    engine.generatorChanged();
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

// Times of the rising zero crossings of x[first, first + count), linearly interpolated.
inline std::vector<double> risingCrossings(const std::vector<float>& x, size_t first, size_t count) {
    std::vector<double> t;
    for (size_t i = first + 1; i < first + count; ++i)
        if (x[i - 1] < 0.0f && x[i] >= 0.0f)
            t.push_back(static_cast<double>(i - 1) + x[i - 1] / (static_cast<double>(x[i - 1]) - x[i]));
    return t;
}

// Mean frequency from the rising zero crossings over x[first, first + count).
inline double zeroCrossingFrequency(const std::vector<float>& x, size_t first, size_t count, double rate) {
    const std::vector<double> t = risingCrossings(x, first, count);
    return t.size() < 2 ? 0.0 : static_cast<double>(t.size() - 1) * rate / (t.back() - t.front());
}

// Magnitude of the frequency-f component of x (amplitude of a sine of that frequency), by a direct DFT.
inline double amplitudeAt(const std::vector<float>& x, size_t first, size_t count, double f, double rate) {
    double re = 0.0, im = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double w = 2.0 * M_PI * f * static_cast<double>(i) / rate;
        re += x[first + i] * std::cos(w);
        im -= x[first + i] * std::sin(w);
    }
    return 2.0 * std::sqrt(re * re + im * im) / static_cast<double>(count);
}

inline float peakIn(const std::vector<float>& x, size_t first = 0, size_t count = SIZE_MAX) {
    float m = 0.0f;
    for (size_t i = first; i < x.size() && i - first < count; ++i) m = std::max(m, std::fabs(x[i]));
    return m;
}

}  // namespace quenvale::test
