// The render loop: ticks on the engine's own 64-sample grid, tempo reading, silent blocks during
// structural edits, peaks.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/denormal_guard.h"
#include "engine/rate_values.h"
#include "engine/synth_engine.h"
#include "engine_test_support.h"
#include "scoped_rates.h"

namespace quenvale {
namespace {

using test::TickRecorder;

void renderBlock(SynthEngine& engine, int32_t n) {
    std::vector<float> l(static_cast<size_t>(n) + 1, 1.0f), r(static_cast<size_t>(n) + 1, 1.0f);
    engine.render(l.data(), r.data(), n);
}

TEST(RenderLoop, TicksFallOnMultiplesOf64WhateverTheBlockSize) {
    SynthEngine engine;
    TickRecorder ticks(engine);
    renderBlock(engine, 100);  // runs 64, tick, 36
    EXPECT_EQ(ticks.ticks, (std::vector<int32_t>{64}));
    renderBlock(engine, 100);  // runs 28, tick, 64, tick, 8
    EXPECT_EQ(ticks.ticks, (std::vector<int32_t>{64, 128, 192}));
    EXPECT_EQ(engine.sampleCounter(), 200);
    EXPECT_EQ(engine.tickCount(), 3u);

    for (int i = 0; i < 63; ++i) renderBlock(engine, 1);  // 200 … 263: one tick at 256
    EXPECT_EQ(ticks.ticks.back(), 256);
    EXPECT_EQ(ticks.ticks.size(), 4u);
}

TEST(RenderLoop, OneSampleAt63ThenATick) {
    SynthEngine engine;
    TickRecorder ticks(engine);
    renderBlock(engine, 63);
    EXPECT_TRUE(ticks.ticks.empty());
    renderBlock(engine, 1);
    EXPECT_EQ(ticks.ticks, (std::vector<int32_t>{64}));
}

TEST(RenderLoop, AZeroFrameCallOnTheGridRunsOneTick) {
    SynthEngine engine;
    TickRecorder ticks(engine);
    renderBlock(engine, 0);  // counter 0 stands on the grid
    EXPECT_EQ(ticks.ticks, (std::vector<int32_t>{0}));
    renderBlock(engine, 10);
    renderBlock(engine, 0);  // off the grid: nothing
    EXPECT_EQ(ticks.ticks.size(), 1u);
    renderBlock(engine, 54);
    renderBlock(engine, 0);  // on the grid again (64), right after its tick: one more
    EXPECT_EQ(ticks.ticks, (std::vector<int32_t>{0, 64, 64}));
    float l[1] = {3.0f}, r[1] = {3.0f};
    engine.render(l, r, -5);  // a negative count renders nothing and is treated as 0
    EXPECT_EQ(l[0], 3.0f);
    EXPECT_EQ(engine.sampleCounter(), 64);
}

TEST(RenderLoop, LongBlocksTickEvery64Samples) {
    SynthEngine engine;
    TickRecorder ticks(engine);
    renderBlock(engine, 1000);
    renderBlock(engine, 4096);
    ASSERT_EQ(ticks.ticks.size(), 5096u / 64u);
    for (size_t i = 0; i < ticks.ticks.size(); ++i)
        EXPECT_EQ(ticks.ticks[i], static_cast<int32_t>(64 * (i + 1)));
}

TEST(RenderLoop, TheTempoComesFromTheReaderUnlessItIsNonsense) {
    test::ScopedRates rates(44100.0f, 120.0f);
    SynthEngine engine;
    TickRecorder ticks(engine);
    ticks.tempo = 140.0f;
    renderBlock(engine, 64);
    EXPECT_EQ(quenvale::rates.hostTempo, 140.0f);
    for (float bad :
         {0.0f, -20.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
        ticks.tempo = bad;
        renderBlock(engine, 64);
        EXPECT_EQ(quenvale::rates.hostTempo, 140.0f) << bad;
    }
}

TEST(RenderLoop, WithNoVoicesTheOutputIsSilentAndOverwritesTheBuffers) {
    SynthEngine engine;
    std::vector<float> l(300, 7.0f), r(300, -7.0f);
    engine.render(l.data(), r.data(), 300);
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(l[static_cast<size_t>(i)], 0.0f);
        ASSERT_EQ(r[static_cast<size_t>(i)], 0.0f);
    }
    float pl = 1, pr = 1;
    engine.readPeaks(pl, pr);
    EXPECT_EQ(pl, 0.0f);
    EXPECT_EQ(pr, 0.0f);
}

TEST(RenderLoop, ABlockDuringAStructuralEditIsSilentKeepsTheGridAndQueuesMidi) {
    SynthEngine engine;
    TickRecorder ticks(engine);
    renderBlock(engine, 100);
    ASSERT_EQ(ticks.ticks.size(), 1u);
    {
        EditGuard::EditScope scope(engine.editGuard());
        std::vector<float> l(100, 1.0f), r(100, 1.0f);
        engine.render(l.data(), r.data(), 100);  // 100 … 200: no control work
        for (float x : l) ASSERT_EQ(x, 0.0f);
        for (float x : r) ASSERT_EQ(x, 0.0f);
        test::noteOn(engine, 60);
        test::noteOn(engine, 62);
        test::noteOff(engine, 62);
        EXPECT_EQ(engine.pendingMidiCount(), 3);
        EXPECT_EQ(engine.activeVoiceCount(), 0);
    }
    EXPECT_EQ(engine.sampleCounter(), 200);
    EXPECT_EQ(ticks.ticks.size(), 1u);
    renderBlock(engine, 55);
    EXPECT_EQ(engine.pendingMidiCount(), 0);
    EXPECT_EQ(engine.activeVoiceCount(), 2);
    EXPECT_EQ(engine.noteVoice(60), 0);
    EXPECT_EQ(engine.noteVoice(62), -1);
    EXPECT_TRUE(engine.voice(1).env[0].released);
    EXPECT_EQ(ticks.ticks.size(), 1u);
    renderBlock(engine, 1);  // the grid kept its place: the next tick is at 256
    EXPECT_EQ(ticks.ticks.back(), 256);
}

TEST(RenderLoop, MidiQueuedDuringAnEditIsAppliedBeforeTheNextBatch) {
    SynthEngine engine;
    {
        EditGuard::EditScope scope(engine.editGuard());
        test::noteOn(engine, 60);
    }
    test::noteOff(engine, 60);  // must find the queued note already started
    EXPECT_EQ(engine.pendingMidiCount(), 0);
    EXPECT_TRUE(engine.voice(0).active);
    EXPECT_TRUE(engine.voice(0).env[0].released);
}

#ifdef QUENVALE_HAS_MXCSR
TEST(RenderLoop, DenormalsAreFlushedInsideRenderAndTheCallersModeIsRestored) {
    SynthEngine engine;
    static unsigned seenInside = 0;
    engine.setTempoReader(
        [](void*) {
            seenInside = _mm_getcsr();
            return 120.0f;
        },
        nullptr);
    const unsigned before = _mm_getcsr();
    ASSERT_EQ(before & 0x8040u, 0u);  // the test runs with the default mode
    renderBlock(engine, 64);
    EXPECT_EQ(seenInside & 0x8040u, 0x8040u);
    EXPECT_EQ(_mm_getcsr(), before);
}
#endif

TEST(MidiQueue, AFullQueueKeepsNoteOffsOverNewerNoteOns) {
    MidiQueue q;
    for (int i = 0; i < MidiQueue::kCapacity; ++i) q.push(test::noteOnEntry(i % 128, 100));
    q.push(test::controllerEntry(1, 2));
    EXPECT_EQ(q.size(), MidiQueue::kCapacity);
    EXPECT_EQ(q.dropped(), 1u);
    q.push(test::noteOffEntry(5));
    EXPECT_EQ(q.size(), MidiQueue::kCapacity);
    EXPECT_EQ(q.data()[MidiQueue::kCapacity - 1].status, 0x80);
    EXPECT_EQ(q.data()[MidiQueue::kCapacity - 2].data1, (MidiQueue::kCapacity - 2) % 128);
}

}  // namespace
}  // namespace quenvale
