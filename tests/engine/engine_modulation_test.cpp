// Modulation sources heard through the whole engine: an LFO's vibrato, velocity, a macro, a MIDI
// controller and a step sequencer, each bound through a parameter's slot as the host or a program sets it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine_test_support.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_value.h"

namespace quenvale {
namespace {

using test::noteOn;
using test::peakIn;
using test::renderSamples;

void set(SynthEngine& engine, const char* name, ParameterValue value) {
    const int32_t index = parameterIndex(name);
    ASSERT_GE(index, 0) << name;
    engine.setParameterValue(0, index, value);
}

// Frequencies between successive upward zero crossings.
std::vector<double> cycleFrequencies(const std::vector<float>& x, size_t first, double sampleRate) {
    const std::vector<double> t = test::risingCrossings(x, first, x.size() - first);
    std::vector<double> f;
    for (size_t i = 1; i < t.size(); ++i) f.push_back(sampleRate / (t[i] - t[i - 1]));
    return f;
}

TEST(EngineModulation, AVoiceLfoOnTheRatioGivesVibratoAtItsRateAndDepth) {
    SynthEngine engine;
    test::makeSine(engine);
    set(engine, "Lfo1 Type", makeIntValue(1));          // "Sine"
    set(engine, "Lfo1 Offset", makeFloatValue(5.0f));   // 5 Hz
    set(engine, "Gen1 Ratio ModSrc1", makeIntValue(7));  // L1
    set(engine, "Gen1 Ratio ModAmt1", makeFloatValue(0.02f));
    noteOn(engine, 69);
    const std::vector<float> out = renderSamples(engine, 44100);
    const std::vector<double> f = cycleFrequencies(out, 4410, 44100.0);
    ASSERT_GT(f.size(), 300u);
    const auto [low, high] = std::minmax_element(f.begin(), f.end());
    // 440 Hz × (1 ± 0.02), seen through the ramps and per-cycle averaging.
    EXPECT_NEAR(*high, 448.8, 1.5);
    EXPECT_NEAR(*low, 431.2, 1.5);
    // Five vibrato cycles a second: count the upward passes through 440 Hz.
    int passes = 0;
    for (size_t i = 1; i < f.size(); ++i) passes += (f[i - 1] < 440.0 && f[i] >= 440.0) ? 1 : 0;
    EXPECT_NEAR(passes, 4.5, 1.0);  // 0.9 s analysed
}

TEST(EngineModulation, VelocityMacroAndControllerScaleTheLevel) {
    SynthEngine engine;
    test::makeSine(engine);
    set(engine, "Gain", makeFloatValue(0.0f));
    set(engine, "Gain ModSrc1", makeIntValue(19));  // V
    set(engine, "Gain ModAmt1", makeFloatValue(1.0f));
    set(engine, "Gain ModSrc2", makeIntValue(148));  // M1
    set(engine, "Gain ModAmt2", makeFloatValue(1.0f));
    set(engine, "MacroParam1", makeFloatValue(0.5f));
    set(engine, "Gen1 Out ModSrc1", makeIntValue(20 + 1));  // controller 1, the mod wheel
    set(engine, "Gen1 Out ModAmt1", makeFloatValue(0.5f));
    test::send(engine, test::controllerEntry(1, 127));
    noteOn(engine, 69, 127);
    const std::vector<float> out = renderSamples(engine, 8192);
    // ("Gen1 Out" 0.5 + 0.5 × wheel 1) × (velocity 1 + macro 0.5) = 1.5
    EXPECT_NEAR(peakIn(out, 4096, 4096), 1.5f, 0.02f);

    set(engine, "MacroParam1", makeFloatValue(0.0f));
    test::send(engine, test::controllerEntry(1, 0));
    const std::vector<float> later = renderSamples(engine, 8192);
    EXPECT_NEAR(peakIn(later, 4096, 4096), 0.5f, 0.01f);  // 0.5 × 1
}

TEST(EngineModulation, AStepSequencerGatesTheOutputInTempo) {
    SynthEngine engine;
    test::makeSine(engine);
    // Default steps alternate 0 and 1 with shape "Sine"; " 1/16" at 120 BPM makes each step 0.125 s.
    set(engine, "StepSeq1 Sync", makeIntValue(11));
    set(engine, "Gen1 Out", makeFloatValue(0.0f));
    set(engine, "Gen1 Out ModSrc1", makeIntValue(154));  // S1
    set(engine, "Gen1 Out ModAmt1", makeFloatValue(1.0f));
    noteOn(engine, 69);
    const std::vector<float> out = renderSamples(engine, 44100);
    const size_t step = 5512;  // 0.125 s
    // Step 0 rises from 0 towards 1, step 1 falls from 1 towards 0: quiet at the step starts, loud between.
    EXPECT_LT(peakIn(out, 0, 300), 0.05f);
    EXPECT_GT(peakIn(out, step - 600, 1200), 0.9f);
    EXPECT_LT(peakIn(out, 2 * step - 200, 400), 0.1f);
    EXPECT_GT(peakIn(out, 3 * step - 600, 1200), 0.9f);
}

}  // namespace
}  // namespace quenvale
