// The stages after the partial sum: pulse-width comb, compressor, and their guards against f0 ≤ 0.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/osc/pwm_line.h"
#include "osc_test_support.h"

namespace quenvale {
namespace {

using osctest::amplitudeAt;
using osctest::TestVoice;

constexpr double kRate = 44100.0;

// A saw-like spectrum (1/h, 20 harmonics) at 441 Hz (period 100 samples).
void sawVoice(TestVoice& v) {
    v.curves.amp = [](int k) { return k < 20 ? 0.5f / static_cast<float>(k + 1) : 0.0f; };
    v.start(441.0f);
}

TEST(OscVoiceStage, PwmSubAtHalfWidthRemovesEvenHarmonics) {
    TestVoice v(64);
    v.channel->gen.pwmMode = kPwmSub;
    v.channel->gen.pwmWidth.base = 0.5f;
    sawVoice(v);
    std::vector<float> l, r;
    v.render(l, r, 8800);
    for (int h = 1; h <= 9; h += 2)  // odd harmonics double: x(t) − x(t − T/2)
        EXPECT_NEAR(amplitudeAt(l, 4400, 4400, 441.0 * h, kRate), 1.0 / h, 0.01 / h) << h;
    for (int h = 2; h <= 10; h += 2)
        EXPECT_LT(20.0 * std::log10(amplitudeAt(l, 4400, 4400, 441.0 * h, kRate) * h), -60.0) << h;
}

TEST(OscVoiceStage, PwmAddAtHalfWidthRemovesOddHarmonics) {
    TestVoice v(64);
    v.channel->gen.pwmMode = kPwmAdd;
    v.channel->gen.pwmWidth.base = 0.5f;
    sawVoice(v);
    std::vector<float> l, r;
    v.render(l, r, 8800);
    EXPECT_NEAR(amplitudeAt(r, 4400, 4400, 882.0, kRate), 0.5, 0.005);
    EXPECT_LT(amplitudeAt(r, 4400, 4400, 441.0, kRate), 1e-4);
}

// A delay below one sample reads the entry just ahead of the write index: the oldest in the line.
TEST(OscVoiceStage, PwmDelayBelowOneSampleReadsTheOldestEntry) {
    auto line = std::make_unique<PwmLine>();
    std::memset(static_cast<void*>(line.get()), 0, sizeof(PwmLine));
    line->writeIndex = 65535;
    line->samples[0] = 8.0f;      // just ahead of the write index: written 65536 steps ago
    line->samples[65535] = 4.0f;  // the newest entry
    const PwmTap tap = pwmTap(0.25f / 44100.0f, 44100.0f);
    EXPECT_EQ(tap.whole, 0);
    const float out = pwmStep(*line, tap, 1.0f, 0.5f, kPwmAdd);
    EXPECT_NEAR(out, 8.0f * 0.75f + 4.0f * 0.25f + 1.0f, 1e-5f);
    EXPECT_EQ(line->writeIndex, 0);
    EXPECT_NEAR(line->samples[0], 7.0f * 0.5f + 1.0f, 1e-5f) << "D × feedback + dry";
}

TEST(OscVoiceStage, PwmLineClearTouchesOnlyWrittenEntriesButClearsThemAll) {
    auto line = std::make_unique<PwmLine>();
    std::memset(static_cast<void*>(line.get()), 0, sizeof(PwmLine));
    line->writeIndex = 65530;
    const PwmTap tap = pwmTap(0.0f, 44100.0f);
    for (int i = 0; i < 10; ++i) pwmStep(*line, tap, 1.0f + static_cast<float>(i), 0.0f, kPwmAdd);  // wraps
    EXPECT_EQ(line->written, 10);
    clearPwmLine(*line);
    EXPECT_EQ(line->writeIndex, 4) << "the write index keeps its position";
    for (int i = 0; i < kDelayLineLength; ++i) ASSERT_EQ(line->samples[i], 0.0f) << i;
    for (int i = 0; i < 70000; ++i) pwmStep(*line, tap, 1.0f, 0.0f, kPwmAdd);
    clearPwmLine(*line);
    for (int i = 0; i < kDelayLineLength; ++i) ASSERT_EQ(line->samples[i], 0.0f) << i;
}

TEST(OscVoiceStage, CompressorBelowThresholdOnlyTracksTheLevel) {
    TestVoice on(64), off(64);
    for (TestVoice* v : {&on, &off}) {
        v->channel->compressor.threshold = 0.9f;
        v->channel->compressor.slope = 1.0f;
        v->channel->compressor.attackCoefficient =
            static_cast<float>(std::exp(-1.0 / (44100.0 * 0.001 * 5.0)));
        v->channel->compressor.releaseCoefficient =
            static_cast<float>(std::exp(-1.0 / (44100.0 * 0.001 * 200.0)));
        v->curves.amp = [](int k) { return k == 0 ? 0.5f : 0.0f; };
        v->start(441.0f);
    }
    on.channel->compressor.on = true;
    std::vector<float> lOn, rOn, lOff, rOff;
    on.render(lOn, rOn, 4410);
    off.render(lOff, rOff, 4410);
    EXPECT_EQ(lOn, lOff);
    EXPECT_EQ(rOn, rOff);
    EXPECT_GT(on.vg->compressorLevel, 0.05f);
    EXPECT_LT(on.vg->compressorLevel, 0.9f);
    EXPECT_GT(on.vg->compressorPower, 0.0f);
    EXPECT_EQ(off.vg->compressorLevel, 0.0f);
}

TEST(OscVoiceStage, CompressorAboveThresholdReducesTheLevel) {
    TestVoice v(64);
    v.channel->compressor.on = true;
    v.channel->compressor.threshold = 0.1f;
    v.channel->compressor.slope = 0.5f;
    v.channel->compressor.attackCoefficient = 0.99f;
    v.channel->compressor.releaseCoefficient = 0.9999f;
    v.curves.amp = [](int k) { return k == 0 ? 1.0f : 0.0f; };
    v.start(441.0f);
    std::vector<float> l, r;
    v.render(l, r, 44100);
    // The level settles near the signal's (R² + L²)/4 root: about 0.7 × 0.707; half the excess in log.
    const double a = amplitudeAt(l, 40000, 4100, 441.0, kRate);
    EXPECT_LT(a, 0.5);
    EXPECT_GT(a, 0.2);
}

// An f0 of 0 or below makes the pulse-width delay infinite or negative; the output and the lines stay
// finite, and the delay ramp recovers when f0 becomes valid again.
TEST(OscVoiceStage, ZeroOrNegativeFundamentalGivesFiniteOutput) {
    for (const float offset : {0.0f, -150.0f}) {
        TestVoice v(64);
        v.channel->gen.ratio.base = 0.0f;
        v.channel->gen.offset.base = offset;
        v.channel->gen.pwmMode = kPwmAdd;
        v.channel->gen.pwmWidth.base = 0.5f;
        v.channel->gen.pwmFeedback.base = 0.5f;
        v.channel->compressor.on = true;
        v.channel->compressor.threshold = 0.5f;
        v.channel->compressor.slope = 0.5f;
        v.channel->compressor.attackCoefficient = 0.9f;
        v.channel->compressor.releaseCoefficient = 0.99f;
        v.curves.amp = [](int k) { return k < 8 ? 0.3f : 0.0f; };
        v.curves.phase = [](int k) { return 0.1f * static_cast<float>(k); };
        v.start(440.0f);
        std::vector<float> l, r;
        v.render(l, r, 64 * 20);
        v.channel->gen.ratio.base = 1.0f;
        v.channel->gen.offset.base = 0.0f;
        std::vector<float> l2, r2;
        v.render(l2, r2, 64 * 20);
        l.insert(l.end(), l2.begin(), l2.end());
        r.insert(r.end(), r2.begin(), r2.end());
        for (size_t i = 0; i < l.size(); ++i) {
            ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i])) << offset << " sample " << i;
        }
        for (const PwmLine& line : v.vg->pwmLine)
            for (float x : line.samples) ASSERT_TRUE(std::isfinite(x));
        EXPECT_TRUE(std::isfinite(v.vg->pwmDelayRamp.value));
        EXPECT_NEAR(v.vg->pwmDelayRamp.value, 0.5f / 440.0f, 1e-6f) << "the delay follows f0 again";
        EXPECT_GT(osctest::rms(l2, 640, 640), 0.01) << "and the voice sounds";
    }
}

TEST(OscVoiceStage, NoteStartClearsLinesAndCompressorButKeepsWriteIndices) {
    TestVoice v(64);
    v.channel->gen.pwmMode = kPwmMul;
    v.channel->gen.pwmWidth.base = 0.3f;
    v.channel->compressor.on = true;
    v.channel->compressor.threshold = 0.5f;
    v.curves.amp = [](int k) { return k < 3 ? 0.3f : 0.0f; };
    v.start(300.0f);
    std::vector<float> l, r;
    v.render(l, r, 1000);
    const uint16_t index = v.vg->pwmLine[0].writeIndex;
    EXPECT_NE(index, 0);
    startVoiceGenerator(*v.vg, *v.channel, 300.0f, v.outputs);
    EXPECT_EQ(v.vg->pwmLine[0].writeIndex, index);
    for (const PwmLine& line : v.vg->pwmLine)
        for (float x : line.samples) ASSERT_EQ(x, 0.0f);
    EXPECT_EQ(v.vg->compressorLevel, 0.0f);
    EXPECT_EQ(v.vg->gainRamp.value, 0.0f);
    EXPECT_FALSE(v.vg->bankActive);
    // An inactive bank renders silence and leaves the comb alone.
    float left = 0.0f, right = 0.0f;
    renderGeneratorSample(*v.vg, *v.channel, left, right);
    EXPECT_EQ(left, 0.0f);
    EXPECT_EQ(v.vg->pwmLine[0].written, 0);
}

}  // namespace
}  // namespace quenvale
