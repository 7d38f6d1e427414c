// Builder of factory programs from code: parameters by name, modulation into the next free slot, envelope
// and step-sequencer curves, spectra, and the notes (category, mod wheel, macros) the documentation shows.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/curve/breakpoint_curve.h"
#include "engine/spectrum/generator.h"
#include "engine/spectrum/modulator.h"
#include "engine/synth_engine.h"

namespace quenvale::factory {

// Voice modulation sources (slots of "Gen1 …", "Gain", envelopes, LFOs, step sequencers, spectra).
constexpr int32_t sourceEnv(int32_t n) { return n; }
constexpr int32_t sourceLfo(int32_t n) { return 6 + n; }
constexpr int32_t sourceChLfo(int32_t n) { return 14 + n; }
constexpr int32_t sourceMacro(int32_t n) { return 147 + n; }
constexpr int32_t sourceStepSeq(int32_t n) { return 153 + n; }
inline constexpr int32_t kSourceVelocity = 19;
inline constexpr int32_t kSourceModWheel = 21;  // controller 1
// Channel numbering (slots of "ChLfo …" and "ChFx …").
constexpr int32_t chSourceChLfo(int32_t n) { return n; }
constexpr int32_t chSourceMacro(int32_t n) { return 132 + n; }
inline constexpr int32_t kChSourceModWheel = 6;

// A spectrum as a function of the partial index k (k + 1 is the harmonic number).
using Spectrum = std::function<float(int32_t)>;

// What the documentation and the quality tool know of a program.
struct SoundInfo {
    int32_t program = 0;
    std::string name;
    std::string category;
    std::string wheel;                    // what the mod wheel does
    std::string macroNames[6];            // as stored in the program
    std::string macroTexts[6];            // what each macro does
    bool quiet = false;                   // drones and effects: may sit below the bank's loudness
};

class SoundBuilder {
public:
    explicit SoundBuilder(SynthEngine& engine) : engine_(engine) {}

    // Starts the next program from the catalogue defaults and the default components.
    void begin(const char* name, const char* category);
    // A float or enumerated parameter by its catalogue name.
    void set(const char* name, float value);
    // The current base value of a float parameter.
    float get(const char* name);
    // The next free modulation slot of a catalogue parameter ("Gen1 Ratio", "ChFx2 Dry/Wet"): source in
    // the numbering the name implies. Stops the build when both slots are taken.
    void modulate(const char* name, int32_t source, float amount);
    // The same for a modulated value of a spectrum modulator (voice numbering).
    void modulate(ModParam& value, int32_t source, float amount);
    // Envelope 1 … 6: segments of (length s, end value, shape), holding at the end of segment `sustain`
    // while the key is down; the segments after it are the release.
    struct Segment {
        float length, level, shape;
    };
    void envelope(int32_t number, std::initializer_list<Segment> segments, int32_t sustain);
    // Envelope with two segments looping (loop start ≠ loop end) while held: a cycling contour.
    void loopingEnvelope(int32_t number, std::initializer_list<Segment> segments, int32_t loopStart,
                         int32_t loopEnd);
    // Step sequencer 1 … 4: Sync, Length index and (shape, value) of the steps.
    struct StepValue {
        int32_t shape;
        float value;
    };
    void stepSequencer(int32_t number, int32_t sync, int32_t lengthIndex, std::initializer_list<StepValue> steps);

    Generator& generator();
    Modulator& amp() { return generator().modulator(kSpectrumAmp); }
    Modulator& detune() { return generator().modulator(kSpectrumDetune); }
    Modulator& pan() { return generator().modulator(kSpectrumPan); }
    Modulator& phase() { return generator().modulator(kSpectrumPhase); }

    // Notes for the documentation; macro() also stores the macro's name in the program.
    void wheel(const char* text);
    void macro(int32_t number, const char* name, const char* text);
    void quiet();

    // Stores the live sound into the program slot (with its level trim applied to "Gain").
    void store();

    int32_t program() const { return program_; }
    const std::vector<SoundInfo>& infos() const { return infos_; }

private:
    SoundInfo& info() { return infos_.back(); }

    SynthEngine& engine_;
    int32_t program_ = -1;
    std::vector<SoundInfo> infos_;
};

// Sets the values of breakpoint `index` from value(k) for k = 0 … 511 and recomputes the slopes.
void fillBreakpoint(Modulator& modulator, int32_t index, const Spectrum& value);
// Appends a breakpoint `distance` seconds after the last one, filled from value(k).
void addBreakpoint(Modulator& modulator, float distance, const Spectrum& value);
// Key mapping as a straight line from `low` at note 0 to `high` at note 127.
void keyMapping(Modulator& modulator, float low, float high);
// A child layer that adds to (or multiplies) its parent, its first breakpoint filled from value(k).
Modulator& addLayer(Modulator& parent, const char* name, int32_t mode, const Spectrum& value);

// [ui] Level trim of a program in dB (level_trims.cpp): the quality tool's loudness balance.
float levelTrimDb(const std::string& name);

}  // namespace quenvale::factory
