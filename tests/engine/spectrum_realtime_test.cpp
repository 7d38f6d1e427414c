// The voice-facing spectrum interface on the audio path: no allocation, edited trees, partial counts.
#include <gtest/gtest.h>

#include <vector>

#include "engine/channel.h"
#include "engine/spectrum/generator.h"
#include "engine/spectrum/generator_spectrum.h"
#include "spectrum_test_support.h"
#include "support/allocation_counter.h"

namespace quenvale::test {
namespace {

// Every stage in use: two breakpoints with a loop, a layer of each combine mode, shift, random
// movement, a filter with dry/wet, on all four properties.
void modulateFully(Generator& g) {
    for (Modulator& m : g.modulators) {
        EXPECT_TRUE(m.setBreakpointValues(0, curveOf(512, [](int k) { return 1.0 / (k + 1); })));
        EXPECT_TRUE(m.insertBreakpoint(1, 0.5f, 0.5f, false));
        EXPECT_TRUE(m.setBreakpointValues(1, curveOf(512, [](int) { return 0.5; })));
        m.loopStart = 0;
        m.loopEnd = 1;
        Modulator& layer = m.addChild("layer", kCombineMultiply, true);
        EXPECT_TRUE(layer.setBreakpointValues(0, curveOf(512, [](int) { return 1.0; })));
        layer.dynamicMode = kDynamicSine;
        m.addChild("add", kCombineAdd, true).shift.base = 1.5f;
        m.shift.base = -2.25f;
        m.dynamicMode = kDynamicRandom;
        m.filterMode = kFilterBandPass12;
        m.dryWet.base = 0.5f;
    }
}

TEST(SpectrumRealtime, NoteStartEvaluationAndReleaseDoNotAllocate) {
    {  // the counter itself sees allocations
        AllocationCounter counter;
        std::vector<int> v(10);
        EXPECT_GE(counter.count(), 1u);
    }
    Channel channel;
    Generator& g = *channel.generator;
    modulateFully(g);
    ASSERT_TRUE(g.setPartialCount(512));
    float outputs[kVoiceOutputCount] = {};
    GeneratorStates states;
    prepareGeneratorStates(states, g);

    AllocationCounter counter;
    resetGeneratorStates(states, g);
    for (int tick = 0; tick < 200; ++tick)
        evaluateGeneratorSpectrum(g, states, channel, outputs, 220.0f, 0.0145f);
    releaseGeneratorStates(states);
    for (int tick = 0; tick < 50; ++tick)
        evaluateGeneratorSpectrum(g, states, channel, outputs, 220.0f, 0.0145f);
    EXPECT_EQ(counter.count(), 0u);
    EXPECT_TRUE(states.states[kSpectrumAmp].released);
    EXPECT_FALSE(states.states[kSpectrumAmp].children[0].released);  // children are never released
    EXPECT_NE(states.states[kSpectrumAmp].output[0], 0.0f);
}

TEST(SpectrumRealtime, TreeEditedAfterPreparationIsIgnoredWithoutAllocatingUntilPreparedAgain) {
    Channel channel;
    Generator& g = *channel.generator;
    Modulator& amp = g.modulator(kSpectrumAmp);
    ASSERT_TRUE(amp.setBreakpointValues(0, curveOf(128, [](int) { return 1.0; })));
    float outputs[kVoiceOutputCount] = {};
    GeneratorStates states;
    prepareGeneratorStates(states, g);

    Modulator& layer = amp.addChild("layer", kCombineAdd, true);
    ASSERT_TRUE(layer.setBreakpointValues(0, curveOf(128, [](int) { return 2.0; })));
    layer.addChild("deeper", kCombineAdd, true);
    {
        AllocationCounter counter;
        resetGeneratorStates(states, g);
        evaluateGeneratorSpectrum(g, states, channel, outputs, 440.0f, 0.01f);
        EXPECT_EQ(counter.count(), 0u);
    }
    EXPECT_EQ(states.states[kSpectrumAmp].output[10], 1.0f);

    prepareGeneratorStates(states, g);
    ASSERT_EQ(states.states[kSpectrumAmp].children.size(), 1u);
    ASSERT_EQ(states.states[kSpectrumAmp].children[0].children.size(), 1u);
    resetGeneratorStates(states, g);
    evaluateGeneratorSpectrum(g, states, channel, outputs, 440.0f, 0.01f);
    EXPECT_EQ(states.states[kSpectrumAmp].output[10], 3.0f);

    // Removing the layer again shrinks the tree.
    ASSERT_TRUE(amp.removeChild(0));
    prepareGeneratorStates(states, g);
    EXPECT_TRUE(states.states[kSpectrumAmp].children.empty());
}

TEST(SpectrumRealtime, OutputsPastThePartialCountAreZeroAfterTheCountShrinks) {
    Channel channel;
    Generator& g = *channel.generator;
    ASSERT_TRUE(g.setPartialCount(512));
    for (Modulator& m : g.modulators) {
        ASSERT_TRUE(m.setBreakpointValues(0, curveOf(512, [](int) { return 1.0; })));
        m.shift.base = 0.5f;  // the shift stage writes whole curves
    }
    float outputs[kVoiceOutputCount] = {};
    GeneratorStates states;
    prepareGeneratorStates(states, g);
    resetGeneratorStates(states, g);
    evaluateGeneratorSpectrum(g, states, channel, outputs, 440.0f, 0.01f);
    EXPECT_EQ(states.states[kSpectrumPan].output[511], 1.0f);

    ASSERT_TRUE(g.setPartialCount(64));
    evaluateGeneratorSpectrum(g, states, channel, outputs, 440.0f, 0.01f);
    for (const ModulatorState& s : states.states) {
        EXPECT_EQ(s.output[63], 1.0f);
        for (int k = 64; k < 512; ++k) ASSERT_EQ(s.output[k], 0.0f) << k;
    }
}

TEST(SpectrumRealtime, DefaultGeneratorIsSilentAndFiniteForAnyFundamental) {
    Channel channel;
    float outputs[kVoiceOutputCount] = {};
    GeneratorStates states;
    prepareGeneratorStates(states, *channel.generator);
    resetGeneratorStates(states, *channel.generator);
    for (float f0 : {0.0f, -10.0f, 1e-20f, 440.0f, 1e9f}) {
        evaluateGeneratorSpectrum(*channel.generator, states, channel, outputs, f0, 0.001f);
        for (const ModulatorState& s : states.states)
            for (int k = 0; k < 512; ++k) ASSERT_EQ(s.output[k], 0.0f) << f0 << " " << k;
    }
}

}  // namespace
}  // namespace quenvale::test
