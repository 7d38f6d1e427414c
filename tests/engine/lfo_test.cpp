// LFO groups measured over many control ticks: free, key-tracking and tempo-synced rates, phase
// offsets, wave shapes and the phase reduction under extreme increments.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/lfo/lfo_tick.h"
#include "engine/lfo/lfo_waves.h"
#include "scoped_rates.h"

namespace quenvale {
namespace {

using test::ScopedRates;

struct Lanes {
    int32_t type[4] = {kLfoSine, kLfoSine, kLfoSine, kLfoSine};
    int32_t sync[4] = {};
    float ratio[4] = {};
    float offset[4] = {};
    float phase[4] = {};
    float out[4] = {1.0f, 1.0f, 1.0f, 1.0f};
};

// Lane 0's output over the given number of ticks of a voice group.
std::vector<float> runVoice(const Lanes& l, float keyFrequency, int32_t ticks, LfoGroup* state = nullptr) {
    LfoGroup local;
    LfoGroup& g = state ? *state : local;
    resetLfoGroup(g);
    std::vector<float> out;
    for (int32_t i = 0; i < ticks; ++i) {
        tickVoiceLfoGroup(g, l.type, l.sync, l.ratio, l.offset, l.phase, l.out, keyFrequency);
        out.push_back(g.output[0]);
    }
    return out;
}

// Frequency in Hz from rising zero crossings, each located by linear interpolation between ticks.
double measureFrequency(const std::vector<float>& v) {
    double first = -1.0, last = -1.0;
    int32_t crossings = 0;
    for (size_t i = 1; i < v.size(); ++i) {
        if (v[i - 1] < 0.0f && v[i] >= 0.0f) {
            const double t = static_cast<double>(i - 1) + v[i - 1] / (v[i - 1] - v[i]);
            if (crossings == 0) first = t;
            last = t;
            ++crossings;
        }
    }
    if (crossings < 2) return 0.0;
    return (crossings - 1) / ((last - first) / rates.controlRate);
}

TEST(Lfo, FreeRateIsTheOffsetWhateverTheKey) {
    for (float sampleRate : {44100.0f, 96000.0f}) {
        ScopedRates scoped(sampleRate);
        Lanes l;
        l.offset[0] = 5.0f;
        const int32_t ticks = static_cast<int32_t>(rates.controlRate * 20.0f);
        EXPECT_NEAR(measureFrequency(runVoice(l, 440.0f, ticks)), 5.0, 5e-3) << sampleRate;
        EXPECT_NEAR(measureFrequency(runVoice(l, 55.0f, ticks)), 5.0, 5e-3) << sampleRate;

        // The channel group uses Offset alone.
        LfoGroup g;
        resetLfoGroup(g);
        std::vector<float> out;
        for (int32_t i = 0; i < ticks; ++i) {
            tickChannelLfoGroup(g, l.type, l.sync, l.offset, l.out);
            out.push_back(g.output[0]);
        }
        EXPECT_NEAR(measureFrequency(out), 5.0, 5e-3) << sampleRate;

        l.offset[0] = -5.0f;  // backwards through the table: falling crossings, same rate
        std::vector<float> back = runVoice(l, 440.0f, ticks);
        for (float& v : back) v = -v;
        EXPECT_NEAR(measureFrequency(back), 5.0, 5e-3) << sampleRate;
    }
}

TEST(Lfo, KeyTrackingRate) {
    ScopedRates scoped(44100.0f);
    Lanes l;
    l.ratio[0] = 0.25f;
    const int32_t ticks = static_cast<int32_t>(rates.controlRate * 10.0f);
    EXPECT_NEAR(measureFrequency(runVoice(l, 440.0f, ticks)), 110.0, 0.05);
    EXPECT_FLOAT_EQ(freeRunningIncrement(0.25f, 0.0f, 440.0f), 110.0f * rates.lfoIncrementScale);
    EXPECT_FLOAT_EQ(freeRunningIncrement(0.0f, 5.0f, 440.0f), 5.0f * rates.lfoIncrementScale);
}

TEST(Lfo, TempoSyncedRate) {
    ScopedRates scoped(44100.0f, 120.0f);
    Lanes l;
    l.sync[0] = 7;       // " 1/4": one cycle per beat
    l.offset[0] = 9.0f;  // ignored while synced
    LfoGroup g;
    const int32_t ticks = static_cast<int32_t>(rates.controlRate * 20.0f);
    EXPECT_NEAR(measureFrequency(runVoice(l, 440.0f, ticks, &g)), 2.0, 2e-3);
    EXPECT_NEAR(g.increment[0], 0.37151927f, 1e-6f);

    rates.hostTempo = 90.0f;
    l.sync[0] = 11;  // " 1/16" at 90 BPM: 6 cycles per second
    EXPECT_NEAR(measureFrequency(runVoice(l, 440.0f, ticks)), 6.0, 6e-3);
}

TEST(Lfo, PhaseOffsetOutLevelAndOff) {
    ScopedRates scoped(44100.0f);
    Lanes l;
    for (int j = 0; j < 4; ++j) l.offset[j] = 1.0f;
    l.type[0] = kLfoPulse;
    l.phase[0] = 0.5f;
    l.type[1] = kLfoPulse;
    l.type[2] = kLfoOff;
    l.type[3] = 17;  // unknown types are silent too
    l.out[1] = 0.25f;
    LfoGroup g;
    resetLfoGroup(g);
    tickVoiceLfoGroup(g, l.type, l.sync, l.ratio, l.offset, l.phase, l.out, 440.0f);
    EXPECT_EQ(g.output[0], -1.0f);  // "Pulse" half a cycle on starts low
    EXPECT_EQ(g.output[1], 0.25f);
    EXPECT_EQ(g.output[2], 0.0f);
    EXPECT_EQ(g.output[3], 0.0f);
    EXPECT_EQ(g.lfoPhaseOffset[0], 64.0f);
    EXPECT_EQ(g.lfoPhase[0], g.lfoPhase[1]);  // the offset is not stored in the phase
}

TEST(Lfo, WaveTablesHaveTheirShapes) {
    const TableEntry* saw = lfoWaveTable(kLfoSaw);
    const TableEntry* tri = lfoWaveTable(kLfoTri);
    const TableEntry* sine = lfoWaveTable(kLfoSine);
    EXPECT_EQ(saw[0].value, 1.0f);
    EXPECT_EQ(saw[127].value + saw[127].slope, -1.0f);  // reaches −1 just before it jumps back
    EXPECT_EQ(lfoWaveTable(kLfoInvSaw)[0].value, -1.0f);
    EXPECT_EQ(tri[0].value, -1.0f);
    EXPECT_EQ(tri[64].value, 1.0f);
    EXPECT_EQ(tri[127].value + tri[127].slope, -1.0f);
    EXPECT_NEAR(sine[32].value, 1.0f, 1e-7f);
    EXPECT_NEAR(sine[127].value + sine[127].slope, 0.0f, 1e-7f);
    EXPECT_EQ(lfoWaveTable(kLfoSine), lfoWaveTable(kLfoSine));  // one table per process
}

TEST(Lfo, PhaseReductionAlwaysLandsInTheTable) {
    EXPECT_EQ(reduceLfoPhase(5.5f), 5.5f);
    EXPECT_EQ(reduceLfoPhase(130.25f), 2.25f);
    EXPECT_EQ(reduceLfoPhase(-3.0f), 125.0f);
    EXPECT_EQ(reduceLfoPhase(128.0f), 0.0f);
    EXPECT_EQ(reduceLfoPhase(1000.5f), 1000.5f - 7.0f * 128.0f);
    EXPECT_EQ(reduceLfoPhase(-1000.5f), 8.0f * 128.0f - 1000.5f);
    EXPECT_EQ(reduceLfoPhase(-1e-9f), 0.0f);  // −1e-9 + 128 rounds to 128
    const float inf = std::numeric_limits<float>::infinity();
    for (float p : {std::nanf(""), inf, -inf, 3e38f, -3e38f, 1e-40f, -1e-40f}) {
        const float r = reduceLfoPhase(p);
        EXPECT_TRUE(r >= 0.0f && r < 128.0f) << p;
    }

    ScopedRates scoped(44100.0f);
    const float increments[] = {1e9f, -1e9f, 3e38f, inf, -inf, std::nanf(""), 200.0f, -200.0f};
    for (float ratio : increments) {
        Lanes l;
        for (int j = 0; j < 4; ++j) {
            l.type[j] = 1 + j;
            l.ratio[j] = ratio;
            l.phase[j] = ratio;  // wild phase offsets too
        }
        LfoGroup g;
        resetLfoGroup(g);
        for (int32_t i = 0; i < 50; ++i) {
            tickVoiceLfoGroup(g, l.type, l.sync, l.ratio, l.offset, l.phase, l.out, 20000.0f);
            for (int j = 0; j < 4; ++j) {
                ASSERT_TRUE(g.lfoPhase[j] >= 0.0f && g.lfoPhase[j] < 128.0f) << ratio;
                ASSERT_TRUE(std::abs(g.output[j]) <= 1.0f) << ratio;
            }
        }
    }
}

}  // namespace
}  // namespace quenvale
