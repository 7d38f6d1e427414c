// Small helpers for building programs from code: parameters by name, envelope curves, spectra.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

#include "engine/curve/breakpoint_curve.h"
#include "engine/spectrum/generator.h"
#include "engine/spectrum/modulator.h"
#include "engine/synth_engine.h"

namespace quenvale::demo {

// Voice modulation sources used by the demo sounds.
inline constexpr int32_t kSourceEnv2 = 2;
inline constexpr int32_t kSourceLfo1 = 7;
inline constexpr int32_t kSourceLfo2 = 8;
inline constexpr int32_t kSourceVelocity = 19;
inline constexpr int32_t kSourceModWheel = 21;  // controller 1
inline constexpr int32_t kSourceStepSeq1 = 154;
// Channel numbering.
inline constexpr int32_t kChannelSourceChLfo1 = 1;

// Builds one program on the engine's live channel, then stores it.
class SoundBuilder {
public:
    explicit SoundBuilder(SynthEngine& engine) : engine_(engine) {}

    // Starts from the catalogue defaults and the default components of program slot `program`.
    void begin(int32_t program, const char* name);
    // A float or enumerated parameter by its catalogue name.
    void set(const char* name, float value);
    // Modulation slot 1 or 2 of a modulated parameter: "<name> ModSrcN" and "<name> ModAmtN".
    void modulate(const char* name, int32_t slot, int32_t source, float amount);
    // Envelope 1 … 6: segments of (length s, end value, shape), holding at the end of segment
    // `sustain` while the key is down (−1 for none: the note plays through).
    struct Segment {
        float length, level, shape;
    };
    void envelope(int32_t number, std::initializer_list<Segment> segments, int32_t sustain);
    // Step sequencer 1 … 4: Sync, Length index and (shape, value) of the steps.
    struct StepValue {
        int32_t shape;
        float value;
    };
    void stepSequencer(int32_t number, int32_t sync, int32_t lengthIndex,
                       std::initializer_list<StepValue> steps);
    // The live generator to edit; the voices are rebuilt in store().
    Generator& generator();
    // Stores the live sound into the program slot.
    void store();

private:
    SynthEngine& engine_;
    int32_t program_ = 0;
};

// Sets the values of breakpoint `index` from amplitude(k) for partials k = 0 … 511 (k + 1 is the
// harmonic number), and recomputes the slopes of its neighbours.
void fillBreakpoint(Modulator& modulator, int32_t index, const std::function<float(int32_t)>& value);
// Appends a breakpoint `distance` seconds after the last one, filled from value(k).
void addBreakpoint(Modulator& modulator, float distance, const std::function<float(int32_t)>& value);

}  // namespace quenvale::demo
