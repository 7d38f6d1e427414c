// What the bank sounds like, by measurement: pitch, level, pan, detune and the 20 kHz stop.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "osc_test_support.h"

namespace quenvale {
namespace {

using osctest::amplitudeAt;
using osctest::RateGuard;
using osctest::rms;
using osctest::TestVoice;
using osctest::zeroCrossingFrequency;

constexpr double kRate = 44100.0;

TEST(OscSound, NoteSixtyNineWithOnePartialIsA440AtFullLevel) {
    for (const float rate : {44100.0f, 48000.0f}) {
        RateGuard guard(rate);
        TestVoice v(64);
        v.curves.amp = [](int k) { return k == 0 ? 1.0f : 0.0f; };
        v.start(440.0f);  // note 69
        std::vector<float> l, r;
        v.render(l, r, static_cast<int>(rate));
        EXPECT_NEAR(zeroCrossingFrequency(l, 0, l.size(), rate), 440.0, 0.01) << rate;
        EXPECT_NEAR(zeroCrossingFrequency(r, 0, r.size(), rate), 440.0, 0.01) << rate;
        // A unit sine: RMS 1/√2 (the 128-entry interpolated table is accurate to about 3e-4).
        EXPECT_NEAR(rms(l, 0, l.size()), std::sqrt(0.5), 5e-4);
        EXPECT_NEAR(20.0 * std::log10(amplitudeAt(l, 0, static_cast<size_t>(rate), 440.0, rate)), 0.0, 0.01);
    }
}

TEST(OscSound, OutputLevelAndGainScaleTheVoice) {
    TestVoice v(64);
    v.channel->gen.out.base = 0.5f;
    v.channel->gain.base = 0.5f;
    v.env1 = 0.5f;
    v.curves.amp = [](int k) { return k == 0 ? 1.0f : 0.0f; };
    v.start(441.0f);
    std::vector<float> l, r;
    v.render(l, r, 4410);
    EXPECT_NEAR(amplitudeAt(l, 0, 4400, 441.0, kRate), 0.125, 0.125 * 1e-3);
}

TEST(OscSound, PanMovesAPartialBetweenTheSides) {
    TestVoice v(64);
    v.curves.amp = [](int k) { return k == 0 || k == 1 ? 0.5f : 0.0f; };
    v.curves.pan = [](int k) { return k == 0 ? 1.0f : -0.5f; };  // 441 Hz right only; 882 Hz left, half right
    v.start(441.0f);
    std::vector<float> l, r;
    v.render(l, r, 4410);
    EXPECT_LT(amplitudeAt(l, 0, 4400, 441.0, kRate), 1e-5);
    EXPECT_NEAR(amplitudeAt(r, 0, 4400, 441.0, kRate), 0.5, 5e-4);
    EXPECT_NEAR(amplitudeAt(l, 0, 4400, 882.0, kRate), 0.5, 5e-4);
    EXPECT_NEAR(amplitudeAt(r, 0, 4400, 882.0, kRate), 0.25, 5e-4);
}

TEST(OscSound, DetuneMovesAPartialByDetuneTimesF0) {
    TestVoice v(64);
    v.curves.amp = [](int k) { return k == 2 ? 1.0f : 0.0f; };
    v.curves.detune = [](int k) { return k == 2 ? -0.25f : 0.0f; };
    v.start(200.0f);
    std::vector<float> l, r;
    v.render(l, r, 44100);
    EXPECT_NEAR(zeroCrossingFrequency(l, 0, l.size(), kRate), (3.0 - 0.25) * 200.0, 0.01);
}

// f0 = 1000 Hz, 512 partials all at amplitude 0.05: partials 1 … 20 sound; block 5 (ratio 21, 21 kHz) is
// where the loop stops, so 21 and 22 kHz (below Nyquist, measurable) are silent and the blocks from 5
// on never move.
TEST(OscSound, PartialsFromTwentyKilohertzOnAreNotRendered) {
    TestVoice v(512);
    v.curves.amp = [](int) { return 0.05f; };
    v.start(1000.0f);
    v.curves.amp = [](int) { return 0.06f; };  // make every block want to move
    v.tick();
    std::vector<float> l, r;
    v.render(l, r, 4410);
    for (int h = 1; h <= 20; ++h) EXPECT_GT(amplitudeAt(l, 100, 4300, 1000.0 * h, kRate), 0.04) << h;
    // Rendered, they would measure 0.05; what remains is leakage of the ramping partials (below −50 dB).
    EXPECT_LT(amplitudeAt(l, 100, 4300, 21000.0, kRate), 5e-4);
    EXPECT_LT(amplitudeAt(l, 100, 4300, 22000.0, kRate), 5e-4);
    EXPECT_GT(v.vg->bank.blocks[4].ampLeft[0], 0.05f) << "block 4 (partials 17 … 20) moves";
    EXPECT_EQ(v.vg->bank.blocks[5].ampLeft[0], 0.05f) << "block 5 is neither rendered nor moved";
    EXPECT_EQ(v.vg->bank.blocks[127].ratio[0], 509.0f);
}

// Only lane 0 is tested: a block whose first partial lies below 20 kHz renders all four, even if the
// others are above.
TEST(OscSound, StopTestLooksAtTheFirstPartialOfABlockOnly) {
    TestVoice v(512);
    v.curves.amp = [](int k) { return k == 21 ? 0.5f : 0.0f; };      // partial 22 of block 5
    v.curves.detune = [](int k) { return k == 20 ? -1.5f : 0.0f; };  // block 5's first partial at 19.5 kHz
    v.start(1000.0f);
    std::vector<float> l, r;
    v.render(l, r, 4410);
    // 22 kHz sits next to its own image across Nyquist, which leaks into the measurement by about 2 %.
    EXPECT_NEAR(amplitudeAt(l, 100, 4300, 22000.0, kRate), 0.5, 0.02);
}

}  // namespace
}  // namespace quenvale
