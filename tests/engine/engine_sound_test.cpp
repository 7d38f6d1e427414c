// The whole engine by measurement: pitch and level of a played note, peaks, block-size
// independence of the output, glide heard as a pitch sweep, silence after the release.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/curve/partial_curve.h"
#include "engine/spectrum/generator.h"
#include "engine/synth_engine.h"
#include "engine_test_support.h"
#include "params/parameter_index.h"
#include "scoped_rates.h"

namespace quenvale {
namespace {

using test::noteOff;
using test::noteOn;
using test::renderSamples;

// The first partial at full amplitude, nothing else: every note is a plain sine.
void makeSine(SynthEngine& engine) {
    EditGuard::EditScope scope(engine.editGuard());
    PartialCurve amp(kMaxPartials);
    amp[0] = 1.0f;
    engine.channel().generator->modulator(kSpectrumAmp).setBreakpointValues(0, amp);
    engine.generatorChanged();
}

double zeroCrossingFrequency(const std::vector<float>& x, size_t first, size_t count, double sampleRate) {
    double firstCrossing = -1.0, lastCrossing = -1.0;
    int crossings = 0;
    for (size_t i = first + 1; i < first + count; ++i) {
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) {
            const double t = static_cast<double>(i - 1) + x[i - 1] / (static_cast<double>(x[i - 1]) - x[i]);
            if (firstCrossing < 0.0) firstCrossing = t;
            lastCrossing = t;
            ++crossings;
        }
    }
    if (crossings < 2) return 0.0;
    return (crossings - 1) * sampleRate / (lastCrossing - firstCrossing);
}

float maxAbs(const std::vector<float>& x, size_t first = 0) {
    float m = 0.0f;
    for (size_t i = first; i < x.size(); ++i) m = std::max(m, std::fabs(x[i]));
    return m;
}

TEST(EngineSound, ANoteSoundsAtItsPitchAndLevelAtTwoSampleRates) {
    for (float sr : {44100.0f, 96000.0f}) {
        test::ScopedRates rates(44100.0f);
        SynthEngine engine;  // the first engine of the process sets 44100 Hz: the host's rate comes after
        engine.setSampleRate(sr);
        makeSine(engine);
        noteOn(engine, 69, 127);
        std::vector<float> right;
        const std::vector<float> left = renderSamples(engine, static_cast<int32_t>(sr), &right);
        const size_t settled = static_cast<size_t>(sr * 0.1f);
        EXPECT_NEAR(zeroCrossingFrequency(left, settled, left.size() - settled, sr), 440.0, 0.05) << sr;
        // "Gen1 Out" 0.5 × "Gain" 1 × envelope 1 held at 1; centred pan keeps both sides at full level.
        EXPECT_NEAR(maxAbs(left, settled), 0.5f, 0.01f) << sr;
        EXPECT_EQ(left, right);
        float pl = 0, pr = 0;
        engine.readPeaks(pl, pr);
        EXPECT_EQ(pl, maxAbs(left));
        EXPECT_EQ(pr, maxAbs(right));
    }
}

TEST(EngineSound, PeaksTakeAbsoluteValuesAndRestartAfterAReading) {
    SynthEngine engine;
    makeSine(engine);
    noteOn(engine, 57, 127);
    std::vector<float> l(4096), r(4096);
    engine.render(l.data(), r.data(), 4096);
    float pl = 0, pr = 0, pl2 = 0, pr2 = 0;
    engine.readPeaks(pl, pr);
    engine.readPeaks(pl2, pr2);  // no block between: the same values
    EXPECT_EQ(pl, pl2);
    const float lowest = *std::min_element(l.begin(), l.end());
    EXPECT_LT(lowest, 0.0f);
    EXPECT_GE(pl, -lowest);  // the negative swing counts by its magnitude
    EXPECT_EQ(pl, maxAbs(l));

    noteOff(engine, 57);
    renderSamples(engine, 44100 * 2);  // release over, the voice has ended
    ASSERT_EQ(engine.activeVoiceCount(), 0);
    engine.readPeaks(pl, pr);
    renderSamples(engine, 512);  // a silent block
    engine.readPeaks(pl, pr);
    EXPECT_EQ(pl, 0.0f);
    EXPECT_EQ(pr, 0.0f);
}

TEST(EngineSound, TheOutputDoesNotDependOnTheHostBlockSize) {
    constexpr int32_t kTotal = 20000;
    std::vector<std::vector<float>> outputs;
    for (int32_t block : {512, 1, 37, 64, 100}) {
        SynthEngine engine;
        makeSine(engine);
        noteOn(engine, 60, 100);
        noteOn(engine, 64, 70);
        std::vector<float> out(static_cast<size_t>(kTotal) + 512), right(out.size());
        for (int32_t done = 0; done < kTotal; done += block) engine.render(&out[done], &right[done], block);
        out.resize(static_cast<size_t>(kTotal));
        outputs.push_back(out);
    }
    ASSERT_GT(maxAbs(outputs[0]), 0.1f);
    for (size_t k = 1; k < outputs.size(); ++k) EXPECT_EQ(outputs[k], outputs[0]) << "block set " << k;
}

TEST(EngineSound, AGlideSweepsThePitch) {
    test::ScopedRates rates(44100.0f);
    SynthEngine engine;
    makeSine(engine);
    engine.setParameterValue(0, kParamGlide, makeFloatValue(0.5f));
    noteOn(engine, 57, 127);  // 220 Hz
    renderSamples(engine, 4410);
    noteOn(engine, 69, 127);  // glides to 440 Hz over 22050 samples
    const std::vector<float> x = renderSamples(engine, 22050 + 8820);
    const double early = zeroCrossingFrequency(x, 0, 2205, 44100.0);
    const double middle = zeroCrossingFrequency(x, 11025 - 1102, 2205, 44100.0);
    const double late = zeroCrossingFrequency(x, 22050 + 2205, 4410, 44100.0);
    EXPECT_NEAR(early, 220.0 + 220.0 * 0.05 / 2.0, 6.0);
    EXPECT_NEAR(middle, 330.0, 6.0);
    EXPECT_NEAR(late, 440.0, 0.5);
}

}  // namespace
}  // namespace quenvale
