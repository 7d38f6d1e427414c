// The engine as the host drives it: ticks on the engine's own 64-sample grid whatever the block
// sizes, tempo reading, silent blocks during structural edits, pitch and level by measurement, peaks,
// no allocation on the audio path, and rendering while another thread edits.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "engine/denormal_guard.h"
#include "engine_test_support.h"
#include "params/parameter_index.h"
#include "scoped_rates.h"
#include "support/allocation_counter.h"

namespace quenvale {
namespace {

using test::noteOff;
using test::noteOn;
using test::peakIn;
using test::renderSamples;
using test::TickRecorder;

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
        TickRecorder ticks(engine);
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
    TickRecorder ticks(engine);
    renderBlock(engine, 100);
    ASSERT_EQ(ticks.ticks.size(), 1u);
    {
        EditGuard::EditScope scope(engine.editGuard());
        std::vector<float> l(100, 1.0f), r(100, 1.0f);
        engine.render(l.data(), r.data(), 100);  // 100 … 200: no control work
        EXPECT_EQ(l, std::vector<float>(100, 0.0f));
        EXPECT_EQ(r, std::vector<float>(100, 0.0f));
        test::noteOn(engine, 60);
        test::noteOn(engine, 62);
        test::noteOff(engine, 62);
        EXPECT_EQ(engine.activeVoiceCount(), 0);
    }
    renderBlock(engine, 55);
    EXPECT_EQ(engine.pendingMidiCount(), 0);
    EXPECT_EQ(engine.noteVoice(60), 0);
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

TEST(EngineSound, PeaksTakeAbsoluteValuesAndFallToZeroWhenSilent) {
    SynthEngine engine;
    test::makeSine(engine);
    noteOn(engine, 57, 127);
    std::vector<float> r;
    const std::vector<float> l = renderSamples(engine, 4096, &r);
    float pl = 0, pr = 0, pl2 = 0, pr2 = 0;
    engine.readPeaks(pl, pr);
    engine.readPeaks(pl2, pr2);  // no block between: the same values
    EXPECT_EQ(pl, pl2);
    EXPECT_EQ(pl, peakIn(l));  // the negative swing counts by its magnitude
    EXPECT_EQ(pr, peakIn(r));
    EXPECT_LT(*std::min_element(l.begin(), l.end()), -0.4f);

    noteOff(engine, 57);
    renderSamples(engine, 44100 * 2);  // release over, the voice has ended
    ASSERT_EQ(engine.activeVoiceCount(), 0);
    engine.readPeaks(pl, pr);
    std::vector<float> silentL(512, 7.0f), silentR(512, -7.0f);
    engine.render(silentL.data(), silentR.data(), 512);
    EXPECT_EQ(silentL, std::vector<float>(512, 0.0f)) << "the buffers are overwritten";
    EXPECT_EQ(silentR, std::vector<float>(512, 0.0f));
    engine.readPeaks(pl, pr);
    EXPECT_EQ(pl, 0.0f);
    EXPECT_EQ(pr, 0.0f);
}

TEST(EngineSound, TheOutputDoesNotDependOnTheHostBlockSize) {
    constexpr int32_t kTotal = 20000;
    std::vector<std::vector<float>> outputs;
    for (int32_t block : {512, 1, 37, 100}) {
        SynthEngine engine;
        test::makeSine(engine);
        noteOn(engine, 60, 100);
        noteOn(engine, 64, 70);
        std::vector<float> out(static_cast<size_t>(kTotal) + 512), right(out.size());
        for (int32_t done = 0; done < kTotal; done += block) engine.render(&out[done], &right[done], block);
        out.resize(static_cast<size_t>(kTotal));
        outputs.push_back(out);
    }
    ASSERT_GT(peakIn(outputs[0]), 0.1f);
    for (size_t k = 1; k < outputs.size(); ++k) EXPECT_EQ(outputs[k], outputs[0]) << "block set " << k;
}

TEST(EngineAllocation, RenderMidiAndParameterStoresAllocateNothing) {
    SynthEngine engine;
    engine.setTempoReader([](void*) { return 133.0f; }, nullptr);
    engine.setParameterChangedCallback([](int32_t, int32_t, void*) {}, nullptr);
    std::vector<float> l(1024), r(1024);
    std::vector<MidiEntry> batch, offs;
    for (int n = 0; n < 40; ++n) batch.push_back(test::noteOnEntry(30 + n, 100));  // 8 more than voices
    batch.push_back(test::controllerEntry(7, 90));
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
        engine.setParameterNormalized(0, (step * 37) % kParameterCount,
                                      static_cast<float>(step % 11) / 10.0f);
        if (step % 7 == 0) engine.storeProgram(step % kProgramCount);
        float pl, pr;
        engine.readPeaks(pl, pr);
        ++step;
        std::this_thread::yield();
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

}  // namespace
}  // namespace quenvale
