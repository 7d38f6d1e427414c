// Resynthesis into a live engine: the result is heard at the played pitch with the recorded balance
// of partials, and a run completes while the audio thread keeps rendering.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "engine/channel.h"
#include "engine/engine_test_support.h"
#include "engine/scoped_rates.h"
#include "engine/spectrum/generator.h"
#include "engine/synth_engine.h"
#include "resynth/resynthesis.h"
#include "tone_support.h"

namespace quenvale {
namespace {

using test::TempFolder;
using test::TonePartial;

constexpr int32_t kBin = 327;

// |DFT| of x[first … first + count) at `hz`, scaled to the amplitude of a sine.
double amplitudeAt(const std::vector<float>& x, size_t first, size_t count, double hz, double rate) {
    double re = 0.0, im = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double phase = 6.283185307179586 * hz * static_cast<double>(i) / rate;
        re += x[first + i] * std::cos(phase);
        im += x[first + i] * std::sin(phase);
    }
    return 2.0 * std::sqrt(re * re + im * im) / static_cast<double>(count);
}

TEST(ResynthesisEngine, PlayedNoteHasTheRecordedPartialBalance) {
    test::ScopedRates rates(44100.0f);
    TempFolder tmp;
    // Partials 1 and 3 at 4 : 1, centred.
    const std::string path = test::writeTone(
        tmp, "note.wav", test::makeTone(44100, {{kBin, 0.4, 0.4}, {3 * kBin, 0.1, 0.1, 1.0, 1.0}}));
    SynthEngine engine;
    engine.setSampleRate(44100.0f);
    ResynthReport report;
    ASSERT_TRUE(resynthesize(
        engine, path.c_str(),
        ResynthOptions{true, true, true, true, false, test::binAlignedFundamental(kBin), 0.1f}, &report));
    EXPECT_EQ(report.frameCount, 9);
    EXPECT_EQ(engine.channel().generator->modulator(kSpectrumAmp).breakpointCount(), 9);

    test::noteOn(engine, 69, 127);  // 440 Hz
    std::vector<float> right;
    const std::vector<float> left = test::renderSamples(engine, 22050, &right);
    // 0.25 … 0.45 s: whole-window frames at full level; 88 and 264 whole cycles.
    const size_t first = 11025, count = 8820;
    const double a1 = amplitudeAt(left, first, count, 440.0, 44100.0);
    const double a2 = amplitudeAt(left, first, count, 880.0, 44100.0);
    const double a3 = amplitudeAt(left, first, count, 1320.0, 44100.0);
    ASSERT_GT(a1, 0.05);
    EXPECT_NEAR(a3 / a1, 0.25, 0.01);
    EXPECT_LT(a2 / a1, 0.01);
    EXPECT_NEAR(amplitudeAt(right, first, count, 440.0, 44100.0), a1, a1 * 0.01);  // centred
}

TEST(ResynthesisEngine, RunCompletesWhileTheAudioThreadRenders) {
    TempFolder tmp;
    const std::string path = test::writeTone(tmp, "busy.wav", test::makeTone(30000, {{kBin, 0.4, 0.2}}));
    SynthEngine engine;
    std::atomic<bool> stop{false};
    std::atomic<bool> finite{true};
    std::atomic<int64_t> blocks{0};
    std::thread audio([&] {
        std::vector<float> l(256), r(256);
        int32_t n = 0;
        while (!stop.load()) {
            const MidiEntry on = test::noteOnEntry(48 + n % 24, 100);
            engine.processMidi(&on, 1);
            engine.render(l.data(), r.data(), 256);
            for (float x : l)
                if (!std::isfinite(x)) finite.store(false);
            ++n;
            blocks.fetch_add(1);
        }
    });
    ResynthOptions layer;
    layer.fundamental = test::binAlignedFundamental(kBin);
    layer.additiveLayer = true;
    ResynthOptions replace = layer;
    replace.additiveLayer = false;
    for (int32_t run = 0; run < 3; ++run) {
        EXPECT_TRUE(resynthesize(engine, path.c_str(), layer));
        EXPECT_TRUE(resynthesize(engine, path.c_str(), replace));
    }
    const int64_t before = blocks.load();
    while (blocks.load() < before + 20) std::this_thread::yield();  // renders on after the edits
    stop.store(true);
    audio.join();
    EXPECT_TRUE(finite.load());
    const Modulator& amp = engine.channel().generator->modulator(kSpectrumAmp);
    EXPECT_EQ(amp.childCount(), 0);
    EXPECT_EQ(amp.breakpointCount(), 1 + (30000 - 8192) / 4410);
}

}  // namespace
}  // namespace quenvale
