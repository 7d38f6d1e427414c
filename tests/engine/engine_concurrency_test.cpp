// One thread renders and plays notes while another selects programs, stores programs and sets
// parameters: no memory error, no lost bookkeeping, finite output.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <thread>
#include <vector>

#include "engine/synth_engine.h"
#include "engine_test_support.h"

namespace quenvale {
namespace {

TEST(EngineConcurrency, RenderingWhileTheEditorChangesProgramsAndParameters) {
    SynthEngine engine;
    std::atomic<bool> stop{false};
    std::atomic<int64_t> blocks{0};
    std::atomic<bool> finite{true};

    std::thread audio([&] {
        std::vector<float> l(256), r(256);
        int note = 0;
        while (!stop.load()) {
            const MidiEntry on = test::noteOnEntry(36 + note % 48, 100);
            const MidiEntry off = test::noteOffEntry(36 + (note + 40) % 48);
            engine.processMidi(&on, 1);
            engine.processMidi(&off, 1);
            ++note;
            engine.setParameterNormalized(0, note % kParameterCount, 0.5f);  // host automation
            engine.render(l.data(), r.data(), 100 + note % 157);
            for (float x : l)
                if (!std::isfinite(x)) finite.store(false);
            blocks.fetch_add(1);
        }
    });

    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
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
    EXPECT_GT(step, 10);
    int32_t active = 0, assigned = 0;
    for (int i = 0; i < kVoiceCount; ++i) {
        active += engine.voice(i).active ? 1 : 0;
        assigned += engine.voice(i).channel == 0 ? 1 : 0;
    }
    EXPECT_EQ(engine.activeVoiceCount(), active);
    EXPECT_EQ(engine.assignedVoiceCount(), assigned);
    EXPECT_EQ(engine.voiceCount(), assigned);
}

}  // namespace
}  // namespace quenvale
