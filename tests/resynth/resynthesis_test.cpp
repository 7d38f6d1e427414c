// Resynthesis of recordings made here: recovered amplitudes, detune, pan and phase, breakpoint
// counts, layer and replace modes, refused options, and the edit-guard variant.
#include "resynth/resynthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/edit_guard.h"
#include "engine/spectrum/generator.h"
#include "engine/spectrum/modulator_evaluation.h"
#include "tone_support.h"

namespace quenvale {
namespace {

using test::TempFolder;
using test::TonePartial;

constexpr int32_t kBin = 327;  // fundamental on bin 327: about 440.08 Hz, no stretching

ResynthOptions optionsAt(float fundamental, float distance = 0.1f) {
    ResynthOptions o;
    o.fundamental = fundamental;
    o.samplingDistance = distance;
    return o;
}

// A comparable picture of a modulator tree: names, modes, breakpoints with all 512 values.
struct TreeSnapshot {
    std::string name;
    std::vector<float> numbers;
    std::vector<TreeSnapshot> children;
    bool operator==(const TreeSnapshot&) const = default;
};

TreeSnapshot snapshot(const Modulator& m) {
    TreeSnapshot s{m.name, {}, {}};
    s.numbers.push_back(m.gain.base);
    s.numbers.push_back(static_cast<float>(m.loopEnd));
    for (const SpectrumBreakpoint& bp : m.breakpoints) {
        s.numbers.push_back(bp.distance);
        s.numbers.push_back(bp.level);
        for (int32_t k = 0; k < bp.values.size(); ++k) s.numbers.push_back(bp.values[k]);
    }
    for (const ModulatorLink& link : m.children) {
        s.children.push_back(snapshot(*link.child));
        s.children.back().numbers.push_back(static_cast<float>(link.mode));
        s.children.back().numbers.push_back(link.enabled ? 1.0f : 0.0f);
    }
    return s;
}

std::vector<TreeSnapshot> snapshot(const Generator& g) {
    std::vector<TreeSnapshot> all;
    for (const Modulator& m : g.modulators) all.push_back(snapshot(m));
    return all;
}

// Marks a generator so that untouched parts are recognisable afterwards.
void decorate(Generator& g) {
    for (int32_t t = 0; t < kSpectrumPropertyCount; ++t) {
        Modulator& m = g.modulators[t];
        m.gain.base = 0.5f + static_cast<float>(t);
        m.loopEnd = 3;
        m.breakpoints[0].values[t] = 0.25f;
        m.breakpoints[0].level = 0.75f;
        m.addChild("Old", kCombineMultiply, false).breakpoints[0].values[0] = 9.0f;
    }
}

TEST(Resynthesis, RecoversHarmonicAmplitudesAndFrameLoudness) {
    TempFolder tmp;
    const std::vector<double> amps = {0.4, 0.2, 0.1, 0.05, 0.0, 0.025, 0.0125};
    std::vector<TonePartial> partials;
    for (size_t i = 0; i < amps.size(); ++i)
        if (amps[i] > 0)
            partials.push_back({kBin * static_cast<int32_t>(i + 1), amps[i], amps[i], 0.3 * i, 0.3 * i});
    const std::string path = test::writeTone(tmp, "tone.wav", test::makeTone(44100, partials));

    Generator g;
    ResynthReport report;
    ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(test::binAlignedFundamental(kBin)), &report));
    EXPECT_EQ(report.fundamentalBin, kBin);
    EXPECT_EQ(report.analysedFrames, 44100u);  // already on its bin: no stretch
    EXPECT_EQ(report.frameCount, 9);           // 1 + ⌊(44100 − 8192) / 4410⌋
    EXPECT_EQ(report.breakpointsWritten, 9 * 3 + 1);

    const Modulator& amp = g.modulators[kSpectrumAmp];
    ASSERT_EQ(amp.breakpointCount(), 9);
    EXPECT_EQ(amp.breakpoints[0].distance, 0.0f);
    float loudest = 0.0f;
    for (int32_t b = 0; b < 9; ++b) {
        const SpectrumBreakpoint& bp = amp.breakpoints[b];
        if (b > 0) {
            EXPECT_EQ(bp.distance, 0.1f);
        }
        loudest = std::max(loudest, bp.level);
        // Frames whose window lies wholly inside the recording (centres 17012 … 25832) see clean ratios;
        // the others see a cut window and looser ones.
        const bool whole = b >= 2 && b <= 4;
        const double tol = whole ? 2e-4 : 5e-3;
        EXPECT_FLOAT_EQ(bp.values[0], 1.0f) << b;  // values peak at 1 (m times the float 1/m)
        for (size_t i = 0; i < amps.size(); ++i)
            EXPECT_NEAR(bp.values[static_cast<int32_t>(i)], amps[i] / amps[0], tol)
                << "frame " << b << " h" << i + 1;
        for (int32_t k = static_cast<int32_t>(amps.size()); k < 512; ++k) ASSERT_LT(bp.values[k], 1e-3f) << k;
        if (whole) {
            EXPECT_NEAR(bp.level, 1.0f, 1e-4) << b;
        }
    }
    EXPECT_EQ(loudest, 1.0f);
    // The first window covers 14336 of its 16384 weight: 7/8 of the level.
    EXPECT_NEAR(amp.breakpoints[0].level, 0.875f, 1e-3);
    // Slopes follow the breakpoints (distance 0.1 s between them).
    const SpectrumBreakpoint& b0 = amp.breakpoints[0];
    const SpectrumBreakpoint& b1 = amp.breakpoints[1];
    EXPECT_NEAR(b0.slopes[1], (b1.values[1] * b1.level - b0.values[1] * b0.level) / 0.1f, 1e-4);

    // Exactly harmonic: detune 0; centred: pan 0.
    for (const Modulator* m : {&g.modulators[kSpectrumDetune], &g.modulators[kSpectrumPan]}) {
        ASSERT_EQ(m->breakpointCount(), 9);
        for (const SpectrumBreakpoint& bp : m->breakpoints)
            for (size_t i = 0; i < amps.size(); ++i)
                if (amps[i] > 0) {
                    EXPECT_NEAR(bp.values[static_cast<int32_t>(i)], 0.0f, 1e-3) << m->name << " " << i;
                }
    }
    // The absent 5th partial: the cut windows of the early frames leak enough into its range to place
    // it somewhere (at 1e-5 or more); in the whole-window frames it falls below that and keeps the
    // detune and pan of the frame before.
    const Modulator& detune = g.modulators[kSpectrumDetune];
    for (int32_t b = 2; b <= 4; ++b) {
        EXPECT_LT(amp.breakpoints[b].values[4], 1e-4f);
        EXPECT_EQ(detune.breakpoints[b].values[4], detune.breakpoints[1].values[4]) << b;
        EXPECT_EQ(g.modulators[kSpectrumPan].breakpoints[b].values[4],
                  g.modulators[kSpectrumPan].breakpoints[1].values[4]);
    }
    EXPECT_EQ(g.modulators[kSpectrumPhase].breakpointCount(), 1);
}

TEST(Resynthesis, MeasuresDetuneInHarmonicUnits) {
    TempFolder tmp;
    // Harmonic 2 sits 20 bins low, harmonic 3 33 bins high.
    const std::vector<TonePartial> partials = {
        {kBin, 0.3, 0.3}, {2 * kBin - 20, 0.2, 0.2}, {3 * kBin + 33, 0.2, 0.2}, {4 * kBin, 0.1, 0.1}};
    const std::string path = test::writeTone(tmp, "detuned.wav", test::makeTone(30000, partials));
    Generator g;
    ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(test::binAlignedFundamental(kBin))));
    const Modulator& detune = g.modulators[kSpectrumDetune];
    ASSERT_EQ(detune.breakpointCount(), 1 + (30000 - 8192) / 4410);
    for (const SpectrumBreakpoint& bp : detune.breakpoints) {
        EXPECT_EQ(bp.values[0], 0.0f);
        EXPECT_EQ(bp.values[1], static_cast<float>((2.0 * kBin - 20) / kBin - 2));
        EXPECT_EQ(bp.values[2], static_cast<float>((3.0 * kBin + 33) / kBin - 3));
        EXPECT_EQ(bp.values[3], 0.0f);
    }
}

TEST(Resynthesis, PanFollowsTheLouderSide) {
    TempFolder tmp;
    const std::vector<TonePartial> partials = {
        {kBin, 0.3, 0.0}, {2 * kBin, 0.0, 0.3}, {3 * kBin, 0.1, 0.2}, {4 * kBin, 0.2, 0.2}};
    const std::string path = test::writeTone(tmp, "pan.wav", test::makeTone(30000, partials));
    Generator g;
    ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(test::binAlignedFundamental(kBin))));
    const Modulator& pan = g.modulators[kSpectrumPan];
    ASSERT_GT(pan.breakpointCount(), 0);
    for (const SpectrumBreakpoint& bp : pan.breakpoints) {
        EXPECT_NEAR(bp.values[0], -1.0f, 1e-3);
        EXPECT_NEAR(bp.values[1], 1.0f, 1e-3);
        EXPECT_NEAR(bp.values[2], 0.5f, 2e-3);
        EXPECT_NEAR(bp.values[3], 0.0f, 1e-3);
    }
}

TEST(Resynthesis, FirstFramePhaseComesFromTheLeftChannel) {
    TempFolder tmp;
    // The first window starts 8192 samples before the recording: a partial on bin k with phase φ at
    // sample 0 shows the phase φ − 2π·k·8192/32768 there.
    const double phases[4] = {0.4, -1.1, 2.0, -2.5};
    std::vector<TonePartial> partials;
    for (int32_t h = 1; h <= 4; ++h)
        partials.push_back({h * kBin, 0.2, 0.2, phases[h - 1], phases[h - 1] + 1.0});  // right differs
    const std::string path = test::writeTone(tmp, "phase.wav", test::makeTone(30000, partials));
    Generator g;
    ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(test::binAlignedFundamental(kBin))));
    const Modulator& phase = g.modulators[kSpectrumPhase];
    ASSERT_EQ(phase.breakpointCount(), 1);
    EXPECT_EQ(phase.breakpoints[0].distance, 0.0f);
    EXPECT_EQ(phase.breakpoints[0].level, 1.0f);
    const double pi = 3.14159265358979323846;
    for (int32_t h = 1; h <= 4; ++h) {
        const double expected =
            std::remainder(phases[h - 1] - 2.0 * pi * h * kBin * 8192.0 / 32768.0, 2.0 * pi) / pi;
        EXPECT_NEAR(phase.breakpoints[0].values[h - 1], expected, 1e-3) << "h" << h;
    }
}

TEST(Resynthesis, BreakpointCountFollowsStretchedLengthAndHop) {
    TempFolder tmp;
    const float aligned = test::binAlignedFundamental(kBin);
    struct Case {
        size_t frames;
        float fundamental;
        float distance;
        size_t stretched;  // frames'
        int32_t count;     // 1 + ⌊(frames' − 8192) / hop⌋, or 0 below 8192
    };
    // 440 Hz lies on bin 326.93: F = 326 and a stretch of about 1.0029. The single-precision 0.01 s
    // gives a hop of 440 frames (28 frames below; a hop of 441 would give 27); 0.37 s gives 16317.
    for (const Case c : {Case{20000, 440.0f, 0.1f, 20057, 3}, Case{20000, 440.0f, 0.01f, 20057, 27},
                         Case{20080, aligned, 0.01f, 20080, 28}, Case{8192, aligned, 0.1f, 8192, 1},
                         Case{8191, aligned, 0.1f, 8191, 0}, Case{8169, 440.0f, 0.1f, 8192, 1},
                         Case{12602, aligned, 0.1f, 12602, 2}, Case{30000, 1000.0f, 0.37f, 30001, 2}}) {
        const std::string path =
            test::writeTone(tmp, "len.wav", test::makeTone(c.frames, {{kBin, 0.1, 0.1}}));
        Generator g;
        ResynthReport report;
        ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(c.fundamental, c.distance), &report));
        EXPECT_EQ(report.analysedFrames, c.stretched) << c.frames << " " << c.fundamental;
        EXPECT_EQ(report.frameCount, c.count) << c.frames << " " << c.distance;
        EXPECT_EQ(g.modulators[kSpectrumAmp].breakpointCount(), c.count);
        EXPECT_EQ(g.modulators[kSpectrumDetune].breakpointCount(), c.count);
        EXPECT_EQ(g.modulators[kSpectrumPan].breakpointCount(), c.count);
        EXPECT_EQ(g.modulators[kSpectrumPhase].breakpointCount(), std::min(c.count, 1));
        EXPECT_EQ(report.breakpointsWritten, 3 * c.count + std::min(c.count, 1));
    }
}

TEST(Resynthesis, TooShortRecordingSucceedsWithEmptySpectra) {
    TempFolder tmp;
    const std::string path = test::writeTone(tmp, "short.wav", test::makeTone(8000, {{kBin, 0.3, 0.3}}));
    Generator g;
    decorate(g);
    ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(test::binAlignedFundamental(kBin))));
    for (Modulator& m : g.modulators) {
        EXPECT_EQ(m.breakpointCount(), 0) << m.name;
        EXPECT_EQ(m.childCount(), 0) << m.name;
        // An emptied modulator evaluates as silence.
        ModulatorState state;
        prepareModulatorState(state, m);
        resetModulatorState(state, m);
        state.output[0] = 5.0f;
        evaluateModulator(m, state, 440.0f, g.partialCount);
        for (int32_t k = 0; k < g.partialCount; ++k) ASSERT_EQ(state.output[k], 0.0f);
    }
}

TEST(Resynthesis, SilenceLeavesZerosAndUnitLevels) {
    TempFolder tmp;
    const std::string path = test::writeTone(tmp, "silent.wav", test::makeTone(20000, {}));
    Generator g;
    ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(440.0f)));
    for (const Modulator& m : g.modulators) {
        ASSERT_GT(m.breakpointCount(), 0);
        for (const SpectrumBreakpoint& bp : m.breakpoints) {
            EXPECT_EQ(bp.level, 1.0f);  // no normalisation without a peak
            for (int32_t k = 0; k < 512; ++k) ASSERT_EQ(bp.values[k], 0.0f) << m.name;
        }
    }
}

TEST(Resynthesis, LayerModeAddsAReSynthLayerEachRun) {
    TempFolder tmp;
    const std::string path = test::writeTone(tmp, "layer.wav", test::makeTone(20000, {{kBin, 0.3, 0.3}}));
    Generator g;
    decorate(g);
    const std::vector<TreeSnapshot> before = snapshot(g);
    ResynthOptions o = optionsAt(test::binAlignedFundamental(kBin));
    o.additiveLayer = true;
    ASSERT_TRUE(resynthesize(g, path.c_str(), o));
    ASSERT_TRUE(resynthesize(g, path.c_str(), o));
    for (int32_t t = 0; t < kSpectrumPropertyCount; ++t) {
        Modulator& m = g.modulators[t];
        ASSERT_EQ(m.childCount(), 3) << m.name;
        // The modulator's own data and its earlier layer are untouched.
        TreeSnapshot own = snapshot(m);
        own.children.resize(1);
        EXPECT_EQ(own, before[t]) << m.name;
        for (int32_t c = 1; c < 3; ++c) {
            const ModulatorLink& link = m.children[c];
            EXPECT_EQ(link.child->name, "Re-Synth");
            EXPECT_EQ(link.mode, kCombineAdd);
            EXPECT_TRUE(link.enabled);
            EXPECT_EQ(link.child->breakpointCount(), t == kSpectrumPhase ? 1 : 3);
        }
    }
    EXPECT_FLOAT_EQ(g.modulators[kSpectrumAmp].children[2].child->breakpoints[0].values[0], 1.0f);
}

TEST(Resynthesis, PhaseOnlyReplacesThePhaseModulatorAlone) {
    TempFolder tmp;
    const std::string path = test::writeTone(tmp, "phaseonly.wav", test::makeTone(30000, {{kBin, 0.3, 0.3}}));
    Generator g;
    decorate(g);
    const std::vector<TreeSnapshot> before = snapshot(g);
    ResynthOptions o = optionsAt(test::binAlignedFundamental(kBin));
    o.amp = o.detune = o.pan = false;
    ASSERT_TRUE(resynthesize(g, path.c_str(), o));
    const std::vector<TreeSnapshot> after = snapshot(g);
    EXPECT_EQ(after[kSpectrumAmp], before[kSpectrumAmp]);
    EXPECT_EQ(after[kSpectrumDetune], before[kSpectrumDetune]);
    EXPECT_EQ(after[kSpectrumPan], before[kSpectrumPan]);
    const Modulator& phase = g.modulators[kSpectrumPhase];
    EXPECT_EQ(phase.breakpointCount(), 1);
    EXPECT_EQ(phase.childCount(), 0);
    EXPECT_EQ(phase.gain.base,
              0.5f + static_cast<float>(kSpectrumPhase));  // settings other than data are kept
    EXPECT_EQ(phase.loopEnd, 3);
}

TEST(Resynthesis, RefusesOptionsOutOfRangeAndUnreadableFilesLeavingTheGeneratorAlone) {
    TempFolder tmp;
    const std::string path = test::writeTone(tmp, "ok.wav", test::makeTone(20000, {{kBin, 0.3, 0.3}}));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        float fundamental, distance;
    };
    Generator g;
    decorate(g);
    const std::vector<TreeSnapshot> before = snapshot(g);
    for (const Case c : {Case{9.99f, 0.1f}, Case{10001.0f, 0.1f}, Case{0.0f, 0.1f}, Case{-440.0f, 0.1f},
                         Case{nan, 0.1f}, Case{440.0f, 0.0f}, Case{440.0f, 0.005f}, Case{440.0f, 10.5f},
                         Case{440.0f, nan}, Case{std::numeric_limits<float>::infinity(), 0.1f}}) {
        ResynthReport report;
        EXPECT_FALSE(resynthesize(g, path.c_str(), optionsAt(c.fundamental, c.distance), &report))
            << c.fundamental << " " << c.distance;
        EXPECT_FALSE(report.error.empty());
        EXPECT_EQ(snapshot(g), before);
    }
    ResynthReport report;
    EXPECT_FALSE(resynthesize(g, tmp.file("missing.wav").c_str(), optionsAt(440.0f), &report));
    EXPECT_FALSE(report.error.empty());
    EXPECT_EQ(snapshot(g), before);
    // The range ends themselves are usable.
    EXPECT_TRUE(resynthesize(g, path.c_str(), optionsAt(10.0f, 10.0f)));
    EXPECT_TRUE(resynthesize(g, path.c_str(), optionsAt(10000.0f, 0.01f)));
}

TEST(Resynthesis, TopFundamentalSearchesOnlyTwoPartials) {
    TempFolder tmp;
    // F = 7430 at 10000 Hz: harmonics 1 and 2 have search ranges, harmonic 3 on starts at bin 16384.
    const float fundamental = 10000.0f;
    const int32_t f = static_cast<int32_t>(fundamental / 1.3458251953125);
    ASSERT_EQ(f, 7430);
    const std::string path =
        test::writeTone(tmp, "high.wav", test::makeTone(20000, {{7431, 0.3, 0.1}, {14000, 0.2, 0.2}}));
    Generator g;
    ASSERT_TRUE(resynthesize(g, path.c_str(), optionsAt(fundamental)));
    for (const SpectrumBreakpoint& bp : g.modulators[kSpectrumAmp].breakpoints) {
        EXPECT_GT(bp.values[0], 0.9f);
        EXPECT_GT(bp.values[1], 0.3f);
        for (int32_t k = 2; k < 128; ++k) ASSERT_EQ(bp.values[k], 0.0f) << k;
    }
    for (const SpectrumBreakpoint& bp : g.modulators[kSpectrumPan].breakpoints)
        for (int32_t k = 2; k < 128; ++k) ASSERT_EQ(bp.values[k], 0.0f) << k;
}

TEST(Resynthesis, GuardedRunAnalysesOutsideTheEditAndAppliesInside) {
    TempFolder tmp;
    const std::string path = test::writeTone(tmp, "guard.wav", test::makeTone(20000, {{kBin, 0.3, 0.3}}));
    Generator g;
    EditGuard guard;
    std::vector<int32_t> progress;
    bool editingDuringAnalysis = false;
    int32_t appliedCalls = 0;
    bool editingWhenApplied = false;
    int32_t breakpointsWhenApplied = -1;
    ResynthReport report;
    ASSERT_TRUE(resynthesize(
        g, path.c_str(), optionsAt(test::binAlignedFundamental(kBin)), guard,
        [&] {
            ++appliedCalls;
            editingWhenApplied = guard.editing();
            breakpointsWhenApplied = g.modulators[kSpectrumAmp].breakpointCount();
        },
        &report,
        [&](int32_t done, int32_t total) {
            progress.push_back(done);
            EXPECT_EQ(total, 3);
            editingDuringAnalysis = editingDuringAnalysis || guard.editing();
        }));
    EXPECT_EQ(progress, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_FALSE(editingDuringAnalysis);
    EXPECT_EQ(appliedCalls, 1);
    EXPECT_TRUE(editingWhenApplied);
    EXPECT_EQ(breakpointsWhenApplied, 3);
    EXPECT_FALSE(guard.editing());
    EXPECT_EQ(report.frameCount, 3);

    // A refused run never takes the guard.
    appliedCalls = 0;
    EXPECT_FALSE(resynthesize(g, path.c_str(), optionsAt(5.0f), guard, [&] { ++appliedCalls; }));
    EXPECT_EQ(appliedCalls, 0);
}

}  // namespace
}  // namespace quenvale
