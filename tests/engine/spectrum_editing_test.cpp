// Creating and editing modulators and the generator: defaults, breakpoints and slopes, children,
// partial count.
#include <gtest/gtest.h>

#include <set>

#include "engine/spectrum/generator.h"
#include "engine/spectrum/key_mapping.h"
#include "engine/spectrum/modulator.h"
#include "spectrum_test_support.h"

namespace quenvale::test {
namespace {

TEST(SpectrumModulator, NewModulatorHasItsDefaultsAndOneSilentBreakpoint) {
    Modulator m(256);
    EXPECT_EQ(m.name, "Modulator");
    EXPECT_EQ(m.partialCount, 256);
    EXPECT_EQ(m.groupCount(), 64);
    EXPECT_EQ(m.gain.base, 1.0f);
    EXPECT_EQ(m.offset.base, 0.0f);
    EXPECT_EQ(m.shift.base, 0.0f);
    EXPECT_EQ(m.cutoff.base, 0.5f);
    EXPECT_EQ(m.resonance.base, 0.5f);
    EXPECT_EQ(m.dryWet.base, 1.0f);
    EXPECT_EQ(m.gain.slots[0].source, 0);
    EXPECT_TRUE(m.shiftRepeatBorder);
    EXPECT_EQ(m.dynamicMode, kDynamicNone);
    EXPECT_FALSE(m.additive);
    EXPECT_EQ(m.dynamicFrequency, 1.0f);
    EXPECT_EQ(m.partialFreqScale, 0.1f);
    EXPECT_EQ(m.dynamicPhase, 0.0f);
    EXPECT_EQ(m.partialPhaseOffset, 0.0f);
    EXPECT_EQ(m.dynamicAmount, 0.25f);
    EXPECT_EQ(m.randomPhaseOffset, 1.0f);
    EXPECT_EQ(m.filterMode, kFilterNone);
    EXPECT_EQ(m.loopStart, -1);
    EXPECT_EQ(m.loopEnd, -1);
    EXPECT_TRUE(m.children.empty());
    ASSERT_EQ(m.breakpointCount(), 1);
    EXPECT_EQ(m.breakpoints[0].distance, 0.0f);
    EXPECT_EQ(m.breakpoints[0].level, 1.0f);
    ASSERT_EQ(m.breakpoints[0].values.size(), 512);  // full capacity whatever the partial count
    for (int k = 0; k < 512; ++k) ASSERT_EQ(m.breakpoints[0].values[k], 0.0f);
    EXPECT_EQ(m.keyMapping.segmentCount, 1);
    for (float x : {0.0f, 0.3f, 1.0f, 2.0f}) EXPECT_EQ(evaluateCurve(m.keyMapping, x), 1.0f) << x;

    std::set<float> phases;
    for (int k = 0; k < 512; ++k) {
        ASSERT_GE(m.randomPhaseCurve[k], 0.0f);
        ASSERT_LE(m.randomPhaseCurve[k], 1.0f);
        phases.insert(m.randomPhaseCurve[k]);
    }
    EXPECT_GT(phases.size(), 400u);  // drawn per partial
}

TEST(SpectrumModulator, InsertBreakpointKeepsFollowingTimesClampedAndRecomputesSlopes) {
    Modulator m(64);
    ASSERT_TRUE(m.setBreakpointValues(0, curveOf(64, [](int k) { return k; })));
    ASSERT_TRUE(m.insertBreakpoint(1, 1.0f, 0.5f, false));
    ASSERT_TRUE(m.setBreakpointValues(1, curveOf(64, [](int) { return 4.0; })));
    EXPECT_FLOAT_EQ(m.breakpoints[0].slopes[3], (4.0f * 0.5f - 3.0f) / 1.0f);

    // A zero breakpoint 0.25 s in: the old second one stays at 1 s.
    ASSERT_TRUE(m.insertBreakpoint(1, 0.25f, 1.0f, true));
    ASSERT_EQ(m.breakpointCount(), 3);
    EXPECT_FLOAT_EQ(m.breakpoints[2].distance, 0.75f);
    EXPECT_FLOAT_EQ(m.breakpoints[0].slopes[3], (0.0f - 3.0f) / 0.25f);
    EXPECT_FLOAT_EQ(m.breakpoints[1].slopes[3], (4.0f * 0.5f - 0.0f) / 0.75f);
    EXPECT_EQ(m.breakpoints[2].slopes[3], 0.0f);  // the last one holds

    // Inserting further out than the following breakpoint: it keeps at least 0.02 s.
    ASSERT_TRUE(m.insertBreakpoint(2, 0.9f, 1.0f, true));
    EXPECT_FLOAT_EQ(m.breakpoints[3].distance, 0.02f);
    EXPECT_FLOAT_EQ(m.breakpoints[2].slopes[3], (4.0f * 0.5f) / 0.02f);

    // Without keepFollowingTimes the following breakpoint moves later.
    ASSERT_TRUE(m.insertBreakpoint(1, 0.5f, 1.0f, false));
    EXPECT_FLOAT_EQ(m.breakpoints[2].distance, 0.25f);

    ASSERT_TRUE(m.insertBreakpoint(m.breakpointCount(), 2.0f, 1.0f, true));  // append
    EXPECT_EQ(m.breakpointCount(), 6);
}

TEST(SpectrumModulator, OutOfRangeIndicesAreRefusedAndChangeNothing) {
    Modulator m(64);
    m.addChild("a", kCombineAdd, true);
    PartialCurve ones = curveOf(64, [](int) { return 1.0; });
    EXPECT_FALSE(m.insertBreakpoint(-1, 1.0f, 1.0f, false));
    EXPECT_FALSE(m.insertBreakpoint(2, 1.0f, 1.0f, false));
    EXPECT_FALSE(m.setBreakpoint(1, 1.0f, 1.0f));
    EXPECT_FALSE(m.setBreakpoint(-1, 1.0f, 1.0f));
    EXPECT_FALSE(m.setBreakpointValues(1, ones));
    EXPECT_FALSE(m.removeBreakpoint(1));
    EXPECT_FALSE(m.removeChild(1));
    EXPECT_FALSE(m.removeChild(-1));
    EXPECT_EQ(m.breakpointCount(), 1);
    EXPECT_EQ(m.breakpoints[0].distance, 0.0f);
    EXPECT_EQ(m.breakpoints[0].level, 1.0f);
    EXPECT_EQ(m.breakpoints[0].values[0], 0.0f);
    EXPECT_EQ(m.childCount(), 1);
}

TEST(SpectrumModulator, SetBreakpointAndValuesRecomputeTheSlopesAroundIt) {
    Modulator m(64);
    ASSERT_TRUE(m.insertBreakpoint(1, 2.0f, 1.0f, false));
    ASSERT_TRUE(m.insertBreakpoint(2, 1.0f, 1.0f, false));
    ASSERT_TRUE(m.setBreakpointValues(1, curveOf(64, [](int) { return 2.0; })));
    EXPECT_FLOAT_EQ(m.breakpoints[0].slopes[0], 1.0f);   // 0 → 2 over 2 s
    EXPECT_FLOAT_EQ(m.breakpoints[1].slopes[0], -2.0f);  // 2 → 0 over 1 s

    ASSERT_TRUE(m.setBreakpoint(1, 4.0f, 0.5f));
    EXPECT_FLOAT_EQ(m.breakpoints[0].slopes[0], 0.25f);
    EXPECT_FLOAT_EQ(m.breakpoints[1].slopes[0], -1.0f);

    // A breakpoint at the same time as its predecessor is a jump: no infinite slope.
    ASSERT_TRUE(m.setBreakpoint(1, 0.0f, 1.0f));
    EXPECT_EQ(m.breakpoints[0].slopes[0], 0.0f);

    // A shorter curve fills the rest of the 512 values with zeros.
    ASSERT_TRUE(m.setBreakpointValues(1, curveOf(512, [](int) { return 7.0; })));
    ASSERT_TRUE(m.setBreakpointValues(1, curveOf(64, [](int) { return 3.0; })));
    EXPECT_EQ(m.breakpoints[1].values[63], 3.0f);
    EXPECT_EQ(m.breakpoints[1].values[64], 0.0f);
    EXPECT_EQ(m.breakpoints[1].values[511], 0.0f);

    ASSERT_TRUE(m.removeBreakpoint(2));  // breakpoint 1 is last again: it holds
    EXPECT_EQ(m.breakpoints[1].slopes[0], 0.0f);
    m.removeAllBreakpoints();
    EXPECT_EQ(m.breakpointCount(), 0);
}

TEST(SpectrumModulator, ChildrenAreAddedWithDefaultsAndRemovedWithTheirOwnChildren) {
    Modulator m(128);
    Modulator& first = m.addChild("Re-Synth", kCombineAdd, true);
    EXPECT_EQ(first.name, "Re-Synth");
    EXPECT_EQ(first.partialCount, 128);
    EXPECT_EQ(first.breakpointCount(), 1);
    first.addChild("grandchild", kCombineMultiply, false);
    Modulator& second = m.addChild("", kCombineMultiply, false);
    EXPECT_EQ(second.name, "");
    ASSERT_EQ(m.childCount(), 2);
    EXPECT_TRUE(m.children[0].enabled);
    EXPECT_EQ(m.children[0].mode, kCombineAdd);
    EXPECT_FALSE(m.children[1].enabled);
    EXPECT_EQ(m.children[1].mode, kCombineMultiply);

    ASSERT_TRUE(m.removeChild(0));
    ASSERT_EQ(m.childCount(), 1);
    EXPECT_EQ(m.children[0].child.get(), &second);
    m.removeAllChildren();
    EXPECT_EQ(m.childCount(), 0);
}

TEST(SpectrumGenerator, DefaultGeneratorHas128PartialsAndTheFourNamedModulators) {
    Generator g;
    EXPECT_EQ(g.partialCount, 128);
    EXPECT_EQ(g.partialCountIndex(), 1);
    const char* names[] = {"Amp", "Detune", "Phase", "Pan"};
    for (int p = 0; p < 4; ++p) {
        EXPECT_EQ(g.modulators[p].name, names[p]);
        EXPECT_EQ(g.modulators[p].partialCount, 128);
        EXPECT_EQ(g.modulators[p].breakpointCount(), 1);
    }
    EXPECT_EQ(&g.modulator(kSpectrumPan), &g.modulators[3]);
}

TEST(SpectrumGenerator, PartialCountChangesReachEveryModulatorAndLoseNothing) {
    Generator g;
    ASSERT_TRUE(g.setPartialCount(512));
    Modulator& amp = g.modulator(kSpectrumAmp);
    ASSERT_TRUE(amp.setBreakpointValues(0, curveOf(512, [](int k) { return k; })));
    Modulator& layer = amp.addChild("layer", kCombineAdd, true);

    EXPECT_FALSE(g.setPartialCount(100));
    EXPECT_FALSE(g.setPartialCountIndex(4));
    EXPECT_EQ(g.partialCount, 512);

    ASSERT_TRUE(g.setPartialCountIndex(0));
    EXPECT_EQ(g.partialCount, 64);
    EXPECT_EQ(amp.partialCount, 64);
    EXPECT_EQ(layer.partialCount, 64);
    EXPECT_EQ(g.modulator(kSpectrumPhase).partialCount, 64);

    ASSERT_TRUE(g.setPartialCount(256));
    EXPECT_EQ(g.partialCountIndex(), 2);
    EXPECT_EQ(amp.breakpoints[0].values[300], 300.0f);  // hidden while at 64, back now
    EXPECT_EQ(partialCountForSelector(3), 512);
    EXPECT_EQ(partialCountForSelector(-1), -1);
    EXPECT_EQ(selectorForPartialCount(128), 1);
}

}  // namespace
}  // namespace quenvale::test
