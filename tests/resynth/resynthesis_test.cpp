// Resynthesis of recordings made here: recovered amplitudes, detune, pan and phase, breakpoint counts,
// degenerate recordings, layer and replace modes, refused options, and the edit-guard variant.
#include "resynth/resynthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/edit_guard.h"
#include "engine/spectrum/generator.h"
#include "persist/record_builder.h"
#include "wav_test_support.h"

namespace quenvale {
namespace {

using test::TempFolder;
using test::TonePartial;

constexpr int32_t kBin = 327;  // fundamental on bin 327: about 440.08 Hz, no stretching
const float kAligned = test::binAlignedFundamental(kBin);

ResynthOptions optionsAt(float fundamental, float distance = 0.1f) {
    ResynthOptions o;
    o.fundamental = fundamental;
    o.samplingDistance = distance;
    return o;
}

// Marks every modulator so that untouched parts are recognisable afterwards.
void decorate(Generator& g) {
    for (int32_t t = 0; t < kSpectrumPropertyCount; ++t) {
        Modulator& m = g.modulators[t];
        m.gain.base = 0.5f + static_cast<float>(t);
        m.breakpoints[0].values[t] = 0.25f;
        m.addChild("Old", kCombineMultiply, false).breakpoints[0].values[0] = 9.0f;
    }
}

TEST(Resynthesis, RecoversHarmonicAmplitudesAndFrameLoudness) {
    TempFolder tmp;
    const std::vector<double> amps = {0.4, 0.2, 0.1, 0.05, 0.0, 0.025, 0.0125};
    std::vector<TonePartial> partials;
    for (size_t i = 0; i < amps.size(); ++i)
        partials.push_back({kBin * static_cast<int32_t>(i + 1), amps[i], amps[i], 0.3 * i, 0.3 * i});
    const std::string path = test::writeTone(tmp, "tone.wav", 44100, partials);
    Generator g;
    ResynthReport report;
    ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(kAligned), &report));
    EXPECT_EQ(report.fundamentalBin, kBin);
    EXPECT_EQ(report.frameCount, 9);  // 1 + ⌊(44100 − 8192) / 4410⌋
    const Modulator& amp = g.modulators[kSpectrumAmp];
    ASSERT_EQ(amp.breakpointCount(), 9);
    EXPECT_EQ(amp.breakpoints[0].distance, 0.0f);
    EXPECT_EQ(amp.breakpoints[8].distance, 0.1f);
    // The first window covers 14336 of its 16384 weight: 7/8 of the level.
    EXPECT_NEAR(amp.breakpoints[0].level, 0.875f, 1e-3);
    // Frames whose window lies wholly inside the recording (centres 17012 … 25832): clean ratios.
    for (int32_t b = 2; b <= 4; ++b) {
        const SpectrumBreakpoint& bp = amp.breakpoints[b];
        EXPECT_NEAR(bp.level, 1.0f, 1e-4) << b;
        for (size_t i = 0; i < amps.size(); ++i)
            EXPECT_NEAR(bp.values[static_cast<int32_t>(i)], amps[i] / amps[0], 2e-4) << b << " h" << i + 1;
        for (int32_t k = static_cast<int32_t>(amps.size()); k < 512; ++k) ASSERT_LT(bp.values[k], 1e-3f) << k;
        for (int32_t t : {kSpectrumDetune, kSpectrumPan})  // exactly harmonic and centred
            for (int32_t h : {0, 1, 2, 3, 5, 6})
                EXPECT_NEAR(g.modulators[t].breakpoints[b].values[h], 0.0f, 1e-3) << t << " h" << h + 1;
    }
}

// One recording: detune in harmonic units, pan from the louder side, phase of the first frame (left).
TEST(Resynthesis, MeasuresDetunePanAndFirstFramePhase) {
    TempFolder tmp;
    const std::string path = test::writeTone(tmp, "mixed.wav", 30000,
                                             {{kBin, 0.3, 0.0, 0.4, 0.0},
                                              {2 * kBin - 20, 0.0, 0.3},
                                              {3 * kBin + 33, 0.1, 0.2},
                                              {4 * kBin, 0.2, 0.2, -2.5, -1.5}});
    Generator g;
    ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(kAligned)));
    const Modulator& detune = g.modulators[kSpectrumDetune];
    ASSERT_EQ(detune.breakpointCount(), 1 + (30000 - 8192) / 4410);
    for (int32_t b = 0; b < detune.breakpointCount(); ++b) {
        EXPECT_EQ(detune.breakpoints[b].values[0], 0.0f);
        EXPECT_EQ(detune.breakpoints[b].values[1], static_cast<float>((2.0 * kBin - 20) / kBin - 2));
        EXPECT_EQ(detune.breakpoints[b].values[2], static_cast<float>((3.0 * kBin + 33) / kBin - 3));
        EXPECT_EQ(detune.breakpoints[b].values[3], 0.0f);
        const SpectrumBreakpoint& pan = g.modulators[kSpectrumPan].breakpoints[b];
        EXPECT_NEAR(pan.values[0], -1.0f, 2e-3);
        EXPECT_NEAR(pan.values[1], 1.0f, 2e-3);
        EXPECT_NEAR(pan.values[2], 0.5f, 2e-3);
        EXPECT_NEAR(pan.values[3], 0.0f, 2e-3);
    }
    // The first window starts 8192 samples before the recording: a partial on bin k with phase φ at
    // sample 0 shows the phase φ − 2π·k·8192/32768 there, stored in units of π.
    const Modulator& phase = g.modulators[kSpectrumPhase];
    ASSERT_EQ(phase.breakpointCount(), 1);
    EXPECT_EQ(phase.breakpoints[0].level, 1.0f);
    const double pi = 3.14159265358979323846;
    for (const auto& [h, phi] : {std::pair{1, 0.4}, std::pair{4, -2.5}})
        EXPECT_NEAR(phase.breakpoints[0].values[h - 1], std::remainder(phi - 2 * pi * h * kBin / 4.0, 2 * pi) / pi,
                    1e-3)
            << "h" << h;
}

TEST(Resynthesis, BreakpointCountFollowsStretchedLengthAndHop) {
    TempFolder tmp;
    struct Case {
        size_t frames;
        float fundamental, distance;
        size_t stretched;  // frames'
        int32_t count;     // 1 + ⌊(frames' − 8192) / hop⌋, or 0 below 8192
    };
    // 440 Hz lies on bin 326.93: F = 326 and a stretch of about 1.0029. The single-precision 0.01 s
    // gives a hop of 440 frames (28 frames below; a hop of 441 would give 27); 0.37 s gives 16317.
    for (const Case c : {Case{20000, 440.0f, 0.1f, 20057, 3}, Case{20000, 440.0f, 0.01f, 20057, 27},
                         Case{20080, kAligned, 0.01f, 20080, 28}, Case{8192, kAligned, 0.1f, 8192, 1},
                         Case{8191, kAligned, 0.1f, 8191, 0}, Case{8169, 440.0f, 0.1f, 8192, 1},
                         Case{12602, kAligned, 0.1f, 12602, 2}, Case{30000, 1000.0f, 0.37f, 30001, 2}}) {
        SCOPED_TRACE(testing::Message() << c.frames << " " << c.fundamental << " " << c.distance);
        Generator g;
        ResynthReport report;
        const std::string path = test::writeTone(tmp, "len.wav", c.frames, {{kBin, 0.1, 0.1}});
        ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(c.fundamental, c.distance), &report));
        EXPECT_EQ(report.analysedFrames, c.stretched);
        EXPECT_EQ(report.frameCount, c.count);
        for (const Modulator& m : g.modulators)
            EXPECT_EQ(m.breakpointCount(), &m == &g.modulators[kSpectrumPhase] ? std::min(c.count, 1) : c.count);
        EXPECT_EQ(report.breakpointsWritten, 3 * c.count + std::min(c.count, 1));
    }
}

TEST(Resynthesis, TooShortOrSilentRecordingsSucceedWithEmptyOrZeroSpectra) {
    TempFolder tmp;
    Generator g;
    decorate(g);
    ASSERT_TRUE(resynthesize(g, test::writeTone(tmp, "short.wav", 8000, {{kBin, 0.3, 0.3}}).c_str(),
                             optionsAt(kAligned)));
    for (const Modulator& m : g.modulators) {
        EXPECT_EQ(m.breakpointCount(), 0) << m.name;
        EXPECT_EQ(m.childCount(), 0) << m.name;  // replaced, layers and all
    }
    ASSERT_TRUE(resynthesize(g, test::writeTone(tmp, "silent.wav", 20000, {}).c_str(), optionsAt(440.0f)));
    for (const Modulator& m : g.modulators) {
        ASSERT_GT(m.breakpointCount(), 0);
        for (const SpectrumBreakpoint& bp : m.breakpoints) {
            EXPECT_EQ(bp.level, 1.0f);  // no normalisation without a peak
            for (int32_t k = 0; k < 512; ++k) ASSERT_EQ(bp.values[k], 0.0f) << m.name;
        }
    }
}

TEST(Resynthesis, LayerModeAddsAReSynthLayerEachRunAndPhaseOnlyTouchesPhase) {
    TempFolder tmp;
    const std::string path = test::writeTone(tmp, "layer.wav", 20000, {{kBin, 0.3, 0.3}});
    Generator g;
    decorate(g);
    const std::vector<uint8_t> before = test::recordOf(g);
    ResynthOptions o = optionsAt(kAligned);
    o.additiveLayer = true;
    ASSERT_TRUE(resynthesize(g, path.c_str(), o));
    ASSERT_TRUE(resynthesize(g, path.c_str(), o));
    for (int32_t t = 0; t < kSpectrumPropertyCount; ++t) {
        Modulator& m = g.modulators[t];
        ASSERT_EQ(m.childCount(), 3) << m.name;
        for (int32_t c = 1; c < 3; ++c) {
            EXPECT_EQ(m.children[c].child->name, "Re-Synth");
            EXPECT_EQ(m.children[c].mode, kCombineAdd);
            EXPECT_TRUE(m.children[c].enabled);
            EXPECT_EQ(m.children[c].child->breakpointCount(), t == kSpectrumPhase ? 1 : 3);
        }
        ASSERT_TRUE(m.removeChild(2) && m.removeChild(1));
    }
    EXPECT_EQ(test::recordOf(g), before);  // the modulators' own data and earlier layers are untouched

    o.additiveLayer = false;
    o.amp = o.detune = o.pan = false;
    ASSERT_TRUE(resynthesize(g, path.c_str(), o));
    for (const Modulator& m : g.modulators) {  // phase replaced, the others left alone with their layer
        EXPECT_EQ(m.childCount(), &m == &g.modulators[kSpectrumPhase] ? 0 : 1) << m.name;
        EXPECT_EQ(m.gain.base, 0.5f + static_cast<float>(&m - g.modulators));  // settings kept
    }
}

TEST(Resynthesis, RefusesOptionsOutOfRangeAndUnreadableFilesLeavingTheGeneratorAlone) {
    TempFolder tmp;
    const std::string path = test::writeTone(tmp, "ok.wav", 20000, {{kBin, 0.3, 0.3}});
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    Generator g;
    decorate(g);
    const std::vector<uint8_t> before = test::recordOf(g);
    const std::pair<std::string, ResynthOptions> cases[] = {
        {path, optionsAt(9.99f)},         {path, optionsAt(10001.0f)},     {path, optionsAt(0.0f)},
        {path, optionsAt(-440.0f)},       {path, optionsAt(nan)},          {path, optionsAt(inf)},
        {path, optionsAt(440.0f, 0.0f)},  {path, optionsAt(440.0f, 0.005f)}, {path, optionsAt(440.0f, 10.5f)},
        {path, optionsAt(440.0f, nan)},   {tmp.file("missing.wav"), optionsAt(440.0f)},
    };
    for (const auto& [file, options] : cases) {
        ResynthReport report;
        EXPECT_FALSE(resynthesize(g, file.c_str(), options, &report))
            << options.fundamental << " " << options.samplingDistance;
        EXPECT_FALSE(report.error.empty());
        EXPECT_EQ(test::recordOf(g), before);
    }
    // The range ends themselves are usable.
    EXPECT_TRUE(resynthesize(g, path.c_str(), optionsAt(10.0f, 10.0f)));
    EXPECT_TRUE(resynthesize(g, path.c_str(), optionsAt(10000.0f, 0.01f)));
}

TEST(Resynthesis, GuardedRunAnalysesOutsideTheEditAndAppliesInside) {
    TempFolder tmp;
    const std::string path = test::writeTone(tmp, "guard.wav", 20000, {{kBin, 0.3, 0.3}});
    Generator g;
    EditGuard guard;
    std::vector<int32_t> calls;  // progress 10·done + total outside the guard, breakpoints when applied inside
    const auto applied = [&] { calls.push_back(guard.editing() ? g.modulators[0].breakpointCount() : -1); };
    ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(kAligned), guard, applied, nullptr,
                             [&](int32_t done, int32_t total) { calls.push_back(guard.editing() ? -1 : done * 10 + total); }));
    EXPECT_EQ(calls, (std::vector<int32_t>{13, 23, 33, 3}));
    EXPECT_FALSE(guard.editing());
    // A refused run never takes the guard.
    EXPECT_FALSE(resynthesize(g, path.c_str(), optionsAt(5.0f), guard, applied));
    EXPECT_EQ(calls.size(), 4u);
}

}  // namespace
}  // namespace quenvale
