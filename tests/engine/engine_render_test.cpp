// The engine as the host drives it: ticks on the engine's own 64-sample grid whatever the block
// sizes, silent blocks during structural edits, peaks, no allocation on the audio path, rendering
// while another thread edits, and modulation sources (LFO, velocity, macro, controller, step
// sequencer) heard through a parameter's slots.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "engine_test_support.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_index.h"
#include "scoped_rates.h"
#include "support/allocation_counter.h"

namespace quenvale {
namespace {

using test::noteOff;
using test::noteOn;
using test::peakIn;
using test::renderSamples;

void renderBlock(SynthEngine& engine, int32_t n) {
    std::vector<float> l(static_cast<size_t>(n) + 1, 1.0f), r(static_cast<size_t>(n) + 1, 1.0f);
    engine.render(l.data(), r.data(), n);
}

// Ticks fall on the engine's own 64-sample grid whatever the host's blocks; a zero-frame call standing
// on the grid runs that tick (once).
TEST(RenderLoop, TicksFallOnMultiplesOf64WhateverTheBlockSize) {
    struct Case {
        std::vector<int32_t> blocks, ticks;
    };
    const Case cases[] = {
        {{100}, {64}},                  // runs 64, tick, 36
        {{100, 100}, {64, 128, 192}},   // then 28, tick, 64, tick, 8
        {{63}, {}},
        {{63, 1}, {64}},
        {{0, 10, 0, 54, 0}, {0, 64, 64}},  // 0 on the grid; 10 off it; 64 right after its tick
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.blocks.size());
        SynthEngine engine;
        test::TickRecorder ticks(engine);
        for (int32_t n : c.blocks) renderBlock(engine, n);
        EXPECT_EQ(ticks.ticks, c.ticks);
    }
    SynthEngine engine;
    float l[1] = {3.0f}, r[1] = {3.0f};
    engine.render(l, r, -5);  // a negative count renders nothing
    EXPECT_EQ(l[0], 3.0f);
    EXPECT_EQ(engine.sampleCounter(), 0);
}

TEST(RenderLoop, ABlockDuringAStructuralEditIsSilentKeepsTheGridAndQueuesMidi) {
    SynthEngine engine;
    test::TickRecorder ticks(engine);
    renderBlock(engine, 100);
    ASSERT_EQ(ticks.ticks.size(), 1u);
    {
        EditGuard::EditScope scope(engine.editGuard());
        std::vector<float> l(100, 1.0f), r(100, 1.0f);
        engine.render(l.data(), r.data(), 100);  // 100 … 200: no control work
        EXPECT_TRUE(l == std::vector<float>(100, 0.0f) && r == l);
        noteOn(engine, 60);
        noteOn(engine, 62);
        noteOff(engine, 62);
        EXPECT_EQ(engine.activeVoiceCount(), 0);
    }
    noteOff(engine, 60);  // the queued notes are started before this batch: it finds note 60
    EXPECT_EQ(engine.pendingMidiCount(), 0);
    EXPECT_TRUE(engine.voice(0).env[0].released && engine.voice(1).env[0].released);
    renderBlock(engine, 55);
    EXPECT_EQ(ticks.ticks.size(), 1u);
    renderBlock(engine, 1);  // the grid kept its place: the next tick is at 256
    EXPECT_EQ(ticks.ticks.back(), 256);
}

TEST(EngineSound, PeaksTakeAbsoluteValuesAndFallToZeroWhenSilent) {
    SynthEngine engine;
    test::makeSine(engine);
    noteOn(engine, 57, 127);
    std::vector<float> r;
    const std::vector<float> l = renderSamples(engine, 4096, &r);
    float pl = 0, pr = 0;
    engine.readPeaks(pl, pr);
    EXPECT_EQ(pl, peakIn(l));  // the negative swing counts by its magnitude
    EXPECT_EQ(pr, peakIn(r));
    EXPECT_LT(*std::min_element(l.begin(), l.end()), -0.4f);

    noteOff(engine, 57);
    renderSamples(engine, 44100 * 2);  // release over, the voice has ended
    ASSERT_EQ(engine.activeVoiceCount(), 0);
    engine.readPeaks(pl, pr);
    std::vector<float> silentL(512, 7.0f), silentR(512, -7.0f);
    engine.render(silentL.data(), silentR.data(), 512);
    EXPECT_TRUE(silentL == std::vector<float>(512, 0.0f) && silentR == silentL) << "buffers overwritten";
    engine.readPeaks(pl, pr);
    EXPECT_TRUE(pl == 0.0f && pr == 0.0f);
}

TEST(EngineAllocation, RenderMidiAndParameterStoresAllocateNothing) {
    test::ScopedRates rates(44100.0f);  // restores the tempo read below
    SynthEngine engine;
    engine.setTempoReader([](void*) { return 133.0f; }, nullptr);
    engine.setParameterChangedCallback([](int32_t, int32_t, void*) {}, nullptr);
    std::vector<float> l(1024), r(1024);
    std::vector<MidiEntry> batch{test::controllerEntry(7, 90)}, offs;
    for (int n = 0; n < 40; ++n) batch.push_back(test::noteOnEntry(30 + n, 100));  // 8 more than voices
    for (int n = 0; n < 40; n += 2) offs.push_back(test::noteOffEntry(30 + n));

    test::AllocationCounter counter;
    engine.processMidi(batch.data(), static_cast<int32_t>(batch.size()));
    for (int block = 0; block < 6; ++block) engine.render(l.data(), r.data(), 1024 - block * 7);
    engine.render(l.data(), r.data(), 0);
    engine.processMidi(offs.data(), static_cast<int32_t>(offs.size()));
    for (int32_t i = 0; i < kParameterCount; ++i)
        engine.setParameterNormalized(0, i, engine.getParameterNormalized(0, i));
    engine.setParameterValue(0, kParamGlide, makeFloatValue(0.1f));
    engine.refreshVoices(0, kAllParameters);
    for (int block = 0; block < 10; ++block) engine.render(l.data(), r.data(), 512);
    EXPECT_EQ(counter.count(), 0u);
    EXPECT_GT(engine.tickCount(), 150u);
    EXPECT_GT(engine.activeVoiceCount(), 0);
}

TEST(EngineConcurrency, RenderingWhileTheEditorChangesProgramsAndParameters) {
    SynthEngine engine;
    std::atomic<bool> stop{false}, finite{true};
    std::atomic<int64_t> blocks{0};

    std::thread audio([&] {
        std::vector<float> l(256), r(256);
        int note = 0;
        while (!stop.load()) {
            noteOn(engine, 36 + note % 48);
            noteOff(engine, 36 + (note + 40) % 48);
            ++note;
            engine.setParameterNormalized(0, note % kParameterCount, 0.5f);  // host automation
            engine.render(l.data(), r.data(), 100 + note % 157);
            if (!std::all_of(l.begin(), l.end(), [](float x) { return std::isfinite(x); })) finite.store(false);
            blocks.fetch_add(1);
        }
    });

    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(300);
    int32_t step = 0;
    while (std::chrono::steady_clock::now() < end) {
        engine.selectProgram(0, step % kProgramCount, true);
        engine.setParameterNormalized(0, (step * 37) % kParameterCount, static_cast<float>(step % 11) / 10.0f);
        if (step % 7 == 0) engine.storeProgram(step % kProgramCount);
        float pl, pr;
        engine.readPeaks(pl, pr);
        ++step;
    }
    stop.store(true);
    audio.join();

    EXPECT_TRUE(finite.load());
    EXPECT_GT(blocks.load(), 10);
    int32_t active = 0, assigned = 0;
    for (int i = 0; i < kVoiceCount; ++i) {
        active += engine.voice(i).active ? 1 : 0;
        assigned += engine.voice(i).channel == 0 ? 1 : 0;
    }
    EXPECT_EQ(engine.activeVoiceCount(), active);
    EXPECT_EQ(engine.voiceCount(), assigned);
}

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
    test::ScopedRates rates(44100.0f, 120.0f);  // the tempo is process-wide: earlier hosts may have set it
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
