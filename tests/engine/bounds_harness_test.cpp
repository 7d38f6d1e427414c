// The bounds harness: every parameter and every modulation slot at its extremes, family by family,
// including stored values far outside the catalogue ranges that the readers accept (huge, infinite,
// NaN), with notes held and released over 10 s at 44.1 and 96 kHz. The output stays finite without the
// last line of defence stepping in (except where a level of 3.4e38, inf or NaN overflows the signal
// it scales), and decays after the notes end wherever every feedback is below 1.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_test_support.h"
#include "engine/spectrum/generator.h"
#include "engine/synth_engine.h"
#include "host/test_host.h"
#include "params/parameter_catalogue.h"

namespace quenvale {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr int32_t kVoiceMacro1 = 147;    // ModSource "MacroParam1"
constexpr int32_t kChannelMacro1 = 132;  // ChModSource "MacroParam1"

// The value a case gives a float parameter of range lo … hi.
struct Extreme {
    const char* name;
    float (*value)(float lo, float hi);
    bool feedbackBelowOne;  // every feedback parameter then stays below 1
    // A level of 3.4e38, inf or NaN overflows any signal it scales (a product, no recursion): there the
    // last line of defence mutes what overflows. Every other value stays finite by the limits alone.
    bool lastLineMayStepIn;
};
const Extreme kExtremes[] = {
    {"minimum", [](float lo, float) { return lo; }, true, false},
    {"middle", [](float lo, float hi) { return lo + (hi - lo) * 0.5f; }, true, false},
    {"maximum", [](float, float hi) { return hi; }, false, false},
    {"far below", [](float lo, float hi) { return lo - 1000.0f * (hi - lo); }, false, false},
    {"far above", [](float lo, float hi) { return hi + 1000.0f * (hi - lo); }, false, false},
    {"largest", [](float, float) { return 3.4e38f; }, false, true},
    {"most negative", [](float, float) { return -3.4e38f; }, false, true},
    {"infinite", [](float, float) { return kInf; }, false, true},
    {"minus infinite", [](float, float) { return -kInf; }, false, true},
    {"NaN", [](float, float) { return kNaN; }, false, true},
};

// A parameter's family: the first word of its name without digits ("ChFx1 Param2" → "ChFx").
std::string familyOf(const char* name) {
    std::string family;
    for (const char* c = name; *c != '\0' && *c != ' '; ++c)
        if (!std::isdigit(static_cast<unsigned char>(*c))) family += *c;
    return family;
}

std::map<std::string, std::vector<int32_t>> families() {
    std::map<std::string, std::vector<int32_t>> byFamily;
    for (int32_t i = 0; i < parameterCount(); ++i) byFamily[familyOf(descriptor(i).name)].push_back(i);
    return byFamily;
}

bool endsWith(const std::string& s, const char* suffix) {
    const std::string tail(suffix);
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Sets every parameter of the family to the extreme: float values to it, slot sources to
// "MacroParam1" (itself set to the extreme), slot amounts to it, and enumerated values to their
// largest (odd cases: their middle, so Delay and Comb, and the LFO shapes, all take their turn).
void applyExtreme(SynthEngine& engine, const std::vector<int32_t>& members, const Extreme& extreme, bool oddCase) {
    const ParameterDescriptor& macro = descriptor(parameterIndex("MacroParam1"));
    engine.setParameterValue(0, parameterIndex("MacroParam1"),
                             makeFloatValue(extreme.value(macro.minValue.numberAsFloat(), macro.maxValue.numberAsFloat())));
    for (const int32_t index : members) {
        const ParameterDescriptor& d = descriptor(index);
        const std::string name = d.name;
        if (endsWith(name, " ModSrc1") || endsWith(name, " ModSrc2")) {
            const bool channelNumbering = d.maxValue.numberAsInt() == kChannelSourceCount - 1;
            engine.setParameterValue(0, index, makeIntValue(channelNumbering ? kChannelMacro1 : kVoiceMacro1));
        } else if (d.isEnumerated()) {
            const int32_t hi = d.maxValue.numberAsInt();
            engine.setParameterValue(0, index, makeIntValue(oddCase ? (hi + 1) / 2 : hi));
        } else {
            engine.setParameterValue(0, index, makeFloatValue(extreme.value(d.minValue.numberAsFloat(), d.maxValue.numberAsFloat())));
        }
    }
}

// The generator's stored values at the extreme: the spectrum's modifier values, dynamic movement,
// filter and key mapping of all four top-level modulators.
void applySpectrumExtreme(SynthEngine& engine, const Extreme& extreme, bool oddCase) {
    EditGuard::EditScope scope(engine.editGuard());
    const float x = extreme.value(0.0f, 1.0f);
    for (int32_t property = 0; property < kSpectrumPropertyCount; ++property) {
        Modulator& m = engine.channel().generator->modulator(static_cast<SpectrumProperty>(property));
        for (ModParam* p : {&m.gain, &m.offset, &m.shift, &m.cutoff, &m.resonance, &m.dryWet}) p->base = x;
        m.dynamicMode = oddCase ? kDynamicSine : kDynamicRandom;
        m.dynamicFrequency = m.partialFreqScale = m.dynamicPhase = m.partialPhaseOffset = m.dynamicAmount =
            m.randomPhaseOffset = x;
        m.filterMode = oddCase ? 5 : 17;
        for (int32_t s = 0; s < kMaxCurveSegments; ++s) {
            m.keyMapping.endValues[s] = x;
            m.keyMapping.lengths[s] = x;
            m.keyMapping.shapes[s] = x;
        }
        m.keyMapping.startValue = x;
    }
    engine.generatorChanged();
}

#if defined(QUENVALE_SANITIZED)
// The sanitizers look for memory and undefined-behaviour faults, which the extremes reach within the
// first ticks; the level checks run in the plain build, whose arithmetic is the same.
constexpr float kPhaseSeconds = 0.5f;
constexpr bool kCheckDecay = false;
#else
constexpr float kPhaseSeconds = 5.0f;
constexpr bool kCheckDecay = true;
#endif

// The envelopes' and step sequencers' stored curves at the extreme: segment times, levels and shapes
// (a stored curve keeps its segment count and loop), and step values.
void applyCurveExtreme(SynthEngine& engine, const Extreme& extreme) {
    const float x = extreme.value(0.0f, 1.0f);
    for (EnvelopeBlock& env : engine.channel().env) {
        BreakpointCurve& c = env.curve;
        c.startValue = x;
        for (int32_t s = 0; s < kMaxCurveSegments; ++s) c.lengths[s] = c.endValues[s] = c.shapes[s] = x;
    }
    for (StepSeqBlock& seq : engine.channel().stepSeq)
        for (Step& step : seq.steps) step.start = step.range = x;
}

// Plays three notes for 5 s, releases them, plays on for 5 s; checks the output and reports the peak
// while held and over the last second.
struct Played {
    bool finite = true;
    float heldPeak = 0.0f;
    float tailPeak = 0.0f;
};
Played play(SynthEngine& engine, float rate) {
    Played result;
    const int32_t phase = static_cast<int32_t>(kPhaseSeconds * rate);
    for (int note : {48, 60, 72}) test::noteOn(engine, note);
    std::vector<float> right;
    std::vector<float> left = test::renderSamples(engine, phase, &right);
    auto scan = [&](const std::vector<float>& x, size_t from, float& peak) {
        for (size_t i = 0; i < x.size(); ++i) {
            if (!std::isfinite(x[i])) result.finite = false;
            if (i >= from) peak = std::max(peak, std::fabs(x[i]));
        }
    };
    scan(left, 0, result.heldPeak);
    scan(right, 0, result.heldPeak);
    for (int note : {48, 60, 72}) test::noteOff(engine, note);
    left = test::renderSamples(engine, phase, &right);
    const size_t lastSecond = static_cast<size_t>(std::max(0.0f, kPhaseSeconds - 1.0f) * rate);
    scan(left, lastSecond, result.tailPeak);
    scan(right, lastSecond, result.tailPeak);
    return result;
}

class BoundsHarness : public ::testing::TestWithParam<float> {};

TEST_P(BoundsHarness, EveryFamilyAtEveryExtremeStaysFiniteAndDecays) {
    const float rate = GetParam();
    std::map<std::string, std::vector<int32_t>> cases = families();
    cases["Spectrum"] = {};  // the generator's stored values, not parameters
    cases["Curves"] = {};    // the envelopes' and step sequencers' stored curves
    for (const auto& [family, members] : cases) {
        for (size_t e = 0; e < std::size(kExtremes); ++e) {
            const Extreme& extreme = kExtremes[e];
            SCOPED_TRACE(family + " at " + extreme.name);
            auto engine = std::make_unique<SynthEngine>();
            engine->setSampleRate(rate);
            {
                EditGuard::EditScope scope(engine->editGuard());
                // Eight partials: every stage runs as with 512, at a fraction of the cost.
                engine->channel().generator->setPartialCount(8);
                PartialCurve amp(kMaxPartials);
                for (int k = 0; k < 8; ++k) amp[k] = 0.5f / static_cast<float>(k + 1);
                engine->channel().generator->modulator(kSpectrumAmp).setBreakpointValues(0, amp);
                engine->generatorChanged();
            }
            if (family == "Spectrum") {
                applySpectrumExtreme(*engine, extreme, e % 2 == 1);
            } else if (family == "Curves") {
                applyCurveExtreme(*engine, extreme);
            } else {
                applyExtreme(*engine, members, extreme, e % 2 == 1);
            }
            test::DebugCapture capture;
            const Played played = play(*engine, rate);
            EXPECT_TRUE(played.finite);
            // Recursions hold by their limits: the last line of defence steps in only for overflowing levels.
            if (!extreme.lastLineMayStepIn)
                for (const std::string& line : capture.texts()) ADD_FAILURE() << line;
            if (kCheckDecay && extreme.feedbackBelowOne) {
                EXPECT_LE(played.tailPeak, std::max(1e-3f, 0.05f * played.heldPeak)) << played.heldPeak;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, BoundsHarness, ::testing::Values(44100.0f, 96000.0f),
                         [](const ::testing::TestParamInfo<float>& info) {
                             return std::to_string(static_cast<int>(info.param));
                         });

}  // namespace
}  // namespace quenvale
