// A spectrum modulator: a time-varying breakpoint spectrum with key mapping, modifier settings and
// child modulators; the stored data that every voice plays through its own ModulatorState.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/capacity.h"
#include "engine/curve/breakpoint_curve.h"
#include "engine/curve/partial_curve.h"
#include "engine/spectrum/filter_templates.h"
#include "engine/spectrum/spectrum_breakpoint.h"
#include "engine/spectrum/spectrum_modes.h"
#include "params/mod_param.h"

namespace quenvale {

struct Modulator;

// A child modulator and how its output joins the parent's (CombineMode: 0 multiply, 1 add).
struct ModulatorLink {
    bool enabled = true;
    int32_t mode = kCombineMultiply;
    std::unique_ptr<Modulator> child;
};

// Structural edits (breakpoints, children) move memory that a voice may be reading: the user-interface
// thread makes them under the engine's edit guard, then rebuilds the voices' states
// (prepareGeneratorStates). Plain field stores (levels, modifier values, flags) need no guard.
struct Modulator {
    // [ui] All defaults, one breakpoint (distance 0, level 1, zero values) and a fresh random phase curve.
    explicit Modulator(int32_t partialCount = kMaxPartials, std::string name = "Modulator");
    ~Modulator();
    Modulator(Modulator&&) noexcept;
    Modulator& operator=(Modulator&&) noexcept;
    Modulator(const Modulator&) = delete;
    Modulator& operator=(const Modulator&) = delete;

    int32_t partialCount = kMaxPartials;  // P; evaluation takes the generator's count, which this mirrors
    std::string name;

    // Modulated values, evaluated per voice.
    ModParam gain;       // "Gain", 1.0
    ModParam offset;     // "Offset", 0.0
    ModParam shift;      // "Shift", partials, 0.0
    ModParam cutoff;     // "Cutoff", 0.5 (corner at harmonic 2^(7 × cutoff))
    ModParam resonance;  // "Resonance", 0.5
    ModParam dryWet;     // "Dry/Wet", 1.0

    bool shiftRepeatBorder = true;  // "Shift: Repeat Border"

    int32_t dynamicMode = kDynamicNone;  // DynamicMode
    bool additive = false;               // "Additive"
    float dynamicFrequency = 1.0f;       // "Frequency", Hz
    float partialFreqScale = 0.1f;       // "Partial Freq Scale"
    float dynamicPhase = 0.0f;           // "Phase", cycles
    float partialPhaseOffset = 0.0f;     // "Partial Phase Ofs", cycles per harmonic
    float dynamicAmount = 0.25f;         // "Amount"
    float randomPhaseOffset = 1.0f;      // "Random Phase Ofs"

    int32_t filterMode = kFilterNone;  // FilterMode, 0 … 17

    int32_t loopStart = -1;  // breakpoint indices; loop end −1: no loop
    int32_t loopEnd = -1;

    std::vector<SpectrumBreakpoint> breakpoints;
    std::vector<ModulatorLink> children;
    BreakpointCurve keyMapping;

    // Working curves of the evaluation (shared by all voices: evaluation runs on the audio thread only,
    // one evaluation at a time) and the per-partial random phases drawn at creation.
    PartialCurve scratch;
    PartialCurve randomPhaseCurve;
    // The filter's resonance and shape templates as last moved to a cutoff (working data too).
    ShiftedTemplate resonanceShape;
    ShiftedTemplate filterShape;

    int32_t groupCount() const noexcept { return partialCount / kPartialsPerGroup; }
    int32_t breakpointCount() const noexcept { return static_cast<int32_t>(breakpoints.size()); }
    int32_t childCount() const noexcept { return static_cast<int32_t>(children.size()); }

    // Editing. Every operation taking an index returns false and changes nothing when it is out of range.

    // [ui] 0 ≤ index ≤ count: a new breakpoint with zero values. With keepFollowingTimes the breakpoint
    // after it keeps its time: its distance shrinks by the new distance, but not below 0.02 s. Slopes of
    // index − 1, index and index + 1 are recomputed.
    bool insertBreakpoint(int32_t index, float distance, float level, bool keepFollowingTimes);
    // [ui] 0 ≤ index < count: sets distance and level; recomputes the slopes of index − 1 and index.
    bool setBreakpoint(int32_t index, float distance, float level) noexcept;
    // [ui] 0 ≤ index < count: copies the curve's values (those past its size, up to 512, become 0) into
    // the breakpoint and recomputes the slopes of index − 1 and index.
    bool setBreakpointValues(int32_t index, const PartialCurve& values) noexcept;
    // [ui] 0 ≤ index < count: removes the breakpoint; recomputes the slopes of its predecessor.
    bool removeBreakpoint(int32_t index);
    // [ui] Leaves the modulator without breakpoints (it then evaluates as an empty spectrum).
    void removeAllBreakpoints() noexcept;

    // [ui] Appends a child with defaults, this modulator's partial count and the given name, combine mode
    // and enabled flag; returns it.
    Modulator& addChild(std::string childName, int32_t mode, bool enabled);
    // [ui] 0 ≤ index < count: destroys the child with its own children and removes its link.
    bool removeChild(int32_t index);
    // [ui]
    void removeAllChildren() noexcept;

    // [ui] Sets P here and in every child. Breakpoint values are kept in full, so going back to a larger
    // count brings back what was stored there.
    void setPartialCount(int32_t count) noexcept;

private:
    // Slope rule for the breakpoint at index (skipped when outside the list).
    void updateSlopesAt(int32_t index) noexcept;
};

}  // namespace quenvale
