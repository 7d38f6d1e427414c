// A voice's generator: what it sounds like by measurement (pitch, level, pan, detune, the 20 kHz stop,
// control ramps, phase continuity, pulse-width comb, compressor), and its vector paths against their
// scalar references bit for bit (the four-lane value type; the run renderer against the per-sample loop).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "common/simd/float4.h"
#include "common/simd/simd_path.h"
#include "engine/osc/control_ramp.h"
#include "engine/osc/pwm_line.h"
#include "engine/osc/render_partials.h"
#include "osc_test_support.h"

namespace quenvale {
namespace {

using test::amplitudeAt;
using osctest::TestVoice;
using test::zeroCrossingFrequency;
using simd::SimdPath;

constexpr double kRate = 44100.0;

TEST(OscSound, NoteSixtyNineWithOnePartialIsA440AtTheExpectedLevel) {
    struct Case {
        float out, gain, env, amplitude;
    };
    for (const Case& c : {Case{1.0f, 1.0f, 1.0f, 1.0f}, Case{0.5f, 0.5f, 0.5f, 0.125f}}) {
        SCOPED_TRACE(c.amplitude);
        TestVoice v(64);
        v.channel->gen.out.base = c.out;
        v.channel->gain.base = c.gain;
        v.env1 = c.env;
        v.curves.amp = [](int k) { return k == 0 ? 1.0f : 0.0f; };
        v.start(440.0f);  // note 69
        std::vector<float> l, r;
        v.render(l, r, 44100);
        EXPECT_NEAR(zeroCrossingFrequency(l, 0, l.size(), kRate), 440.0, 0.01);
        EXPECT_NEAR(zeroCrossingFrequency(r, 0, r.size(), kRate), 440.0, 0.01);
        EXPECT_NEAR(amplitudeAt(l, 0, 44100, 440.0, kRate), c.amplitude, 1e-3 * c.amplitude);
    }
}

// Pan law: the near side stays full, the far side falls linearly; pan beyond ±1 is clamped.
TEST(OscSound, PanMovesAPartialBetweenTheSides) {
    TestVoice v(64);
    v.curves.amp = [](int k) { return k < 3 ? 0.5f : 0.0f; };
    v.curves.pan = [](int k) { return k == 0 ? 1.0f : k == 1 ? -0.5f : -3.0f; };
    v.start(441.0f);
    std::vector<float> l, r;
    v.render(l, r, 4410);
    const double expected[3][2] = {{0.0, 0.5}, {0.5, 0.25}, {0.5, 0.0}};  // 441, 882, 1323 Hz
    for (int k = 0; k < 3; ++k) {
        SCOPED_TRACE(k);
        EXPECT_NEAR(amplitudeAt(l, 0, 4400, 441.0 * (k + 1), kRate), expected[k][0], 5e-4);
        EXPECT_NEAR(amplitudeAt(r, 0, 4400, 441.0 * (k + 1), kRate), expected[k][1], 5e-4);
    }
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
    for (double f : {21000.0, 22000.0}) EXPECT_LT(amplitudeAt(l, 100, 4300, f, kRate), 5e-4) << f;
    EXPECT_GT(v.vg->bank.blocks[4].ampLeft[0], 0.05f) << "block 4 (partials 17 … 20) moves";
    EXPECT_EQ(v.vg->bank.blocks[5].ampLeft[0], 0.05f) << "block 5 is neither rendered nor moved";
}

TEST(OscSound, RampRuleJumpsAtZeroAndArrivesAfterSixtyFourSamples) {
    ControlRamp ramp{0.25f, 0.0f};
    setRampTarget(ramp, 0.75f, 0.0f);
    EXPECT_EQ(ramp.value, 0.75f);
    EXPECT_EQ(ramp.step, 0.0f);
    setRampTarget(ramp, -0.5f, 0.015625f);
    EXPECT_EQ(ramp.value, 0.75f) << "a ramping target leaves the value alone";
    for (int i = 0; i < 63; ++i) advanceRamp(ramp);
    EXPECT_GT(ramp.value, -0.5f + 0.01f);
    advanceRamp(ramp);
    EXPECT_NEAR(ramp.value, -0.5f, 1e-6f);
    setRampTarget(ramp, 3.0f, std::nanf(""));
    EXPECT_EQ(ramp.value, 3.0f) << "a NaN fraction counts as 0";
}

// A partial target change is approached by 64 × dt of the distance per tick: 64 · 64 / 44100 ≈ 9.3 %.
TEST(OscSound, TargetChangeIsApproachedExponentially) {
    TestVoice v(64);
    v.start(110.0f);
    v.curves.amp = [](int) { return 1.0f; };
    std::vector<float> l, r;
    double previous = 0.0;
    for (int tick = 0; tick < 2; ++tick) {  // each tick covers the same fraction of what is left
        v.tick();
        v.render(l, r, 63);  // a 64-sample render would tick again at its end
        renderGeneratorRun(*v.vg, *v.channel, 1, l.data(), r.data());
        const double now = v.vg->bank.blocks[0].ampLeft[0];
        EXPECT_NEAR((now - previous) / (1.0 - previous), 0.0929, 0.0005) << tick;
        previous = now;
    }
}

// Detune moves a partial by detune × f0. The base phase is cut back to its fraction at every tick;
// partials with such non-integer ratios must not jump: each step stays within the sine's slope bound.
TEST(OscSound, DetunedPartialHasItsFrequencyAndStaysContinuousAcrossTicks) {
    TestVoice v(64);
    v.curves.amp = [](int k) { return k == 2 ? 1.0f : 0.0f; };
    v.curves.detune = [](int k) { return k == 2 ? 0.37f : 0.0f; };  // ratio 3.37
    v.start(1234.5f);
    std::vector<float> l, r;
    v.render(l, r, 64 * 40);
    const double f = 3.37 * 1234.5;
    double worst = 0.0;
    for (size_t i = 64; i < l.size(); ++i) worst = std::max(worst, std::fabs(static_cast<double>(l[i]) - l[i - 1]));
    EXPECT_LT(worst, 2.0 * M_PI * f / kRate * 1.01) << "no discontinuity at the ticks";
    EXPECT_NEAR(zeroCrossingFrequency(l, 0, l.size(), kRate), f, 0.5);
}

// A saw-like spectrum (0.5/h, 20 harmonics) at 441 Hz through the comb at half width: "Sub" gives
// x(t) − x(t − T/2), doubling the odd harmonics and removing the even ones; "Add" the other way round.
TEST(OscVoiceStage, PwmAtHalfWidthRemovesEveryOtherHarmonic) {
    for (const int32_t mode : {kPwmSub, kPwmAdd}) {
        SCOPED_TRACE(mode);
        TestVoice v(64);
        v.channel->gen.pwmMode = mode;
        v.channel->gen.pwmWidth.base = 0.5f;
        v.curves.amp = [](int k) { return k < 20 ? 0.5f / static_cast<float>(k + 1) : 0.0f; };
        v.start(441.0f);
        std::vector<float> l, r;
        v.render(l, r, 8800);
        for (int h = 1; h <= 10; ++h) {  // × h: 1 where doubled, below 1e-3 (−60 dB) where removed
            const bool kept = (h % 2 == 1) == (mode == kPwmSub);
            EXPECT_NEAR(amplitudeAt(l, 4400, 4400, 441.0 * h, kRate) * h, kept ? 1.0 : 0.0, kept ? 0.01 : 1e-3) << h;
        }
    }
}

// Below its threshold the compressor only tracks the level (the output is that of no compressor);
// above it, it reduces the level.
TEST(OscVoiceStage, CompressorActsOnlyAboveItsThreshold) {
    std::vector<float> out[3], right;
    float level[3];
    const float thresholds[3] = {0.9f, 0.9f, 0.05f};
    for (int i = 0; i < 3; ++i) {
        TestVoice v(64);
        v.channel->compressor = {i != 1, thresholds[i], 0.5f, 0.0f, 0.0f, 0.995f, 0.9999f};
        v.curves.amp = [](int k) { return k == 0 ? 0.5f : 0.0f; };
        v.start(441.0f);
        v.render(out[i], right, 22050);
        level[i] = v.vg->compressorLevel;
    }
    EXPECT_EQ(out[0], out[1]) << "below the threshold";
    EXPECT_GT(level[0], 0.05f);
    EXPECT_LT(amplitudeAt(out[2], 18000, 4000, 441.0, kRate), 0.4);
}

// An f0 of 0 or below makes the pulse-width delay infinite or negative; the output and the lines stay
// finite, and the delay ramp recovers when f0 becomes valid again.
TEST(OscVoiceStage, ZeroOrNegativeFundamentalGivesFiniteOutput) {
    for (const float offset : {0.0f, -150.0f}) {
        SCOPED_TRACE(offset);
        TestVoice v(64);
        GeneratorBlock& gen = v.channel->gen;
        gen.ratio.base = 0.0f;
        gen.offset.base = offset;
        gen.pwmMode = kPwmAdd;
        gen.pwmWidth.base = gen.pwmFeedback.base = 0.5f;
        v.channel->compressor = {true, 0.5f, 0.5f, 0.0f, 0.0f, 0.9f, 0.99f};
        v.curves.amp = [](int k) { return k < 8 ? 0.3f : 0.0f; };
        v.curves.phase = [](int k) { return 0.1f * static_cast<float>(k); };
        v.start(440.0f);
        std::vector<float> l, r, l2, r2;
        v.render(l, r, 64 * 20);
        gen.ratio.base = 1.0f, gen.offset.base = 0.0f;
        v.render(l2, r2, 64 * 20);
        for (const std::vector<float>* x : {&l, &r, &l2, &r2})
            for (float s : *x) ASSERT_TRUE(std::isfinite(s));
        EXPECT_NEAR(v.vg->pwmDelayRamp.value, 0.5f / 440.0f, 1e-6f) << "the delay follows f0 again";
        EXPECT_GT(test::peakIn(l2, 640), 0.05f) << "and the voice sounds";
    }
}

// Restores the automatic path choice.
struct PathGuard {
    SimdPath saved = partialRunPath();
    ~PathGuard() { setPartialRunPath(saved); }
};

bool sameBits(const void* a, const void* b, size_t bytes) {
    return std::memcmp(a, b, bytes) == 0;
}

#if defined(QUENVALE_HAS_SSE2)
// Identical bits, or both NaN: which NaN an operation returns depends on operand order, which a
// compiler may swap in commutative scalar code, and carries no meaning here.
bool sameFloat(float a, float b) {
    return sameBits(&a, &b, sizeof a) || (a != a && b != b);
}

// Every case is four lanes; together they cover zeros of both signs, halves, whole numbers at and past
// 2^23, the int32 limits, infinities and NaN.
constexpr float kInf = std::numeric_limits<float>::infinity();
const float kCases[][4] = {
    {0.0f, -0.0f, 0.5f, -0.5f},
    {1.0f, -1.0f, 2.75f, -2.75f},
    {8388607.5f, 8388608.0f, -8388609.0f, 16777217.0f},
    {2147483520.0f, 2147483648.0f, -2147483648.0f, -2147483904.0f},
    {kInf, -kInf, std::nanf(""), 1e-40f},
    {127.99999f, -0.0000001f, 3e9f, -3e9f},
};

TEST(OscSimd, Sse2BuildMatchesPortableBuildBitForBit) {
    using simd::scalar::Float4;
    for (const auto& a : kCases) {
        for (const auto& b : kCases) {
            const Float4 sa(a[0], a[1], a[2], a[3]), sb(b[0], b[1], b[2], b[3]);
            const simd::sse2::Float4 va(a[0], a[1], a[2], a[3]), vb(b[0], b[1], b[2], b[3]);
            // clang-format off
            const Float4 sr[] = {min(sa, sb), max(sa, sb), simd::scalar::trunc(sa), sa + sb, sa * sb,
                                 select(sa < sb, sa, sb), toFloat(truncToInt(sa))};
            const simd::sse2::Float4 vr[] = {min(va, vb), max(va, vb), simd::sse2::trunc(va), va + vb, va * vb,
                                             select(va < vb, va, vb), toFloat(truncToInt(va))};
            // clang-format on
            for (int k = 0; k < 7; ++k)
                for (int j = 0; j < 4; ++j)
                    ASSERT_TRUE(sameFloat(sr[k].lane(j), vr[k].lane(j)))
                        << "operation " << k << " lane " << j << ": " << a[j] << ", " << b[j];
            EXPECT_TRUE((sa < sb).bits() == (va < vb).bits() && (sa != sb).bits() == (va != vb).bits());
            for (int j = 0; j < 4; ++j) EXPECT_EQ(truncToInt(sa).lane(j), truncToInt(va).lane(j));
            EXPECT_TRUE(sameFloat(simd::scalar::sumLanesDouble(sa), simd::sse2::sumLanesDouble(va)));
        }
    }
    // In single precision (1e8 + 1) + (-1e8) + 1 would lose the first 1.
    EXPECT_EQ(simd::sse2::sumLanesDouble(simd::sse2::Float4(1e8f, 1.0f, -1e8f, 1.0f)), 2.0f);
}
#endif

// Busy curves: every partial with its own amplitude, detune, phase and pan.
void randomCurves(TestVoice& v, std::mt19937& rng) {
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::vector<float> a(512), d(512), ph(512), pn(512);
    for (int k = 0; k < 512; ++k) {
        a[k] = unit(rng) / static_cast<float>(k + 1);
        d[k] = (unit(rng) - 0.5f) * 0.8f;
        ph[k] = (unit(rng) - 0.5f) * 3.0f;
        pn[k] = (unit(rng) - 0.5f) * 2.6f;
    }
    v.curves = {[a](int k) { return a[k]; }, [d](int k) { return d[k]; }, [ph](int k) { return ph[k]; },
                [pn](int k) { return pn[k]; }};
}

// A busy voice: 512 partials whose fundamental sweeps so that the 20 kHz stop moves through many blocks
// (also within runs), with detune, phases and pan changing every tick, the phase parameter, pulse-width
// comb and compressor on. Runs have irregular lengths. Returns the output and leaves the voice's state.
struct BusyScenario {
    std::vector<float> left, right;
    std::unique_ptr<TestVoice> voice;

    void run(bool perSample, uint32_t seed) {
        voice = std::make_unique<TestVoice>(512);
        TestVoice& v = *voice;
        Channel& ch = *v.channel;
        ch.gen.phase.base = 0.3f;
        ch.gen.pwmMode = kPwmAdd;
        ch.gen.pwmWidth.base = 0.37f;
        ch.gen.pwmFeedback.base = 0.25f;
        ch.compressor = {true, 0.05f, 0.6f, 0.0f, 0.0f, 0.9f, 0.999f};
        std::mt19937 rng(seed);
        randomCurves(v, rng);
        v.start(30.0f);
        const int ticks = 160;
        left.assign(ticks * 64, 0.0f), right.assign(ticks * 64, 0.0f);
        std::mt19937 splits(seed + 1);
        int pos = 0;
        for (int tick = 0; tick < ticks; ++tick) {
            // Runs of irregular length between ticks (as host blocks split them).
            int left64 = 64;
            while (left64 > 0) {
                const int length = std::min(left64, 1 + static_cast<int>(splits() % 37));
                if (!perSample) renderGeneratorRun(*v.vg, ch, length, left.data() + pos, right.data() + pos);
                for (int i = 0; perSample && i < length; ++i)
                    renderGeneratorSample(*v.vg, ch, left[pos + i], right[pos + i]);
                pos += length;
                left64 -= length;
            }
            // The fundamental sweeps up and down (the stop block moves); curves change every few ticks.
            ch.gen.ratio.base = 1.0f + 14.0f * std::sin(static_cast<float>(tick) * 0.05f) *
                                           std::sin(static_cast<float>(tick) * 0.05f);
            ch.gen.phase.base = 0.3f + 0.01f * static_cast<float>(tick);
            if (tick % 5 == 0) randomCurves(v, rng);
            v.tick();
        }
    }
};

TEST(OscRunEquivalence, EveryPathMatchesThePerSampleReferenceBitForBit) {
    PathGuard guard;
    BusyScenario reference;
    reference.run(true, 1234u);
    ASSERT_GT(test::peakIn(reference.left), 0.1f) << "the scenario must sound";

    int tested = 0;
    for (int p = 0; p < simd::kSimdPathCount; ++p) {
        const SimdPath path = static_cast<SimdPath>(p);
        if (!setPartialRunPath(path)) continue;
        ++tested;
        BusyScenario run;
        run.run(false, 1234u);
        SCOPED_TRACE(simd::simdPathName(path));
        const size_t bytes = reference.left.size() * sizeof(float);
        EXPECT_TRUE(sameBits(reference.left.data(), run.left.data(), bytes)) << "left output";
        EXPECT_TRUE(sameBits(reference.right.data(), run.right.data(), bytes)) << "right output";
        const VoiceGenerator& a = *reference.voice->vg;
        const VoiceGenerator& b = *run.voice->vg;
        EXPECT_TRUE(sameBits(&a.bank, &b.bank, sizeof(a.bank))) << "partial bank state";
        EXPECT_TRUE(sameBits(a.pwmLine, b.pwmLine, sizeof(a.pwmLine))) << "pulse-width lines";
        EXPECT_EQ(a.compressorLevel, b.compressorLevel);
    }
    EXPECT_GE(tested, 1);
#if defined(__x86_64__)
    EXPECT_GE(tested, 2) << "SSE2 is always there on x86-64";
#endif
}

// Runs of every length 1 … 64 in which one block crosses the 20 kHz stop mid-run: the paths that carry
// blocks through a run in registers must stop that block on exactly the sample the per-sample loop does.
TEST(OscRunEquivalence, StopCrossingInsideRunsOnEveryPath) {
    PathGuard guard;
    for (int p = 0; p < simd::kSimdPathCount; ++p) {
        const SimdPath path = static_cast<SimdPath>(p);
        if (!simd::simdPathSupported(path)) continue;
        SCOPED_TRACE(simd::simdPathName(path));
        for (const int crossing : {5, 21})
            for (int n = 1; n <= 64; ++n) {
                auto a = std::make_unique<PartialBank>();
                a->blockCount = 32;
                for (int b = 0; b < 32; ++b) {
                    for (int j = 0; j < 4; ++j) {
                        PartialBlock& blk = a->blocks[b];
                        blk.ampLeft[j] = 0.01f * static_cast<float>(j + 1);
                        blk.ampRight[j] = 0.02f;
                        blk.ratio[j] = static_cast<float>(4 * b + j + 1);
                        blk.ratioStep[j] = b == crossing ? 0.01f : -0.001f * static_cast<float>(j);
                        blk.partialPhase[j] = 0.1f * static_cast<float>(j);
                        blk.partialPhaseStep[j] = 0.001f;
                        blk.ampLeftStep[j] = 1e-4f;
                        blk.phaseOffset[j] = -0.25f;
                    }
                }
                auto b = std::make_unique<PartialBank>();
                std::memcpy(static_cast<void*>(b.get()), a.get(), sizeof(PartialBank));
                std::vector<float> bf(n), inc(n), ph(n), runL(n), runR(n);
                for (int t = 0; t < n; ++t) {
                    // The crossing block starts at ratio 4 × crossing + 1.
                    bf[t] = 19990.0f / static_cast<float>(4 * crossing + 1) +
                            0.9f * static_cast<float>(t - n / 2);
                    inc[t] = bf[t] / 44100.0f;
                    ph[t] = 0.01f * static_cast<float>(t);
                }
                renderPartialsRun(*b, bf.data(), inc.data(), ph.data(), n, runL.data(), runR.data(), path);
                for (int t = 0; t < n; ++t) {
                    for (int j = 0; j < 4; ++j) {
                        a->baseFrequency[j] = bf[t];
                        a->baseIncrement[j] = inc[t];
                        a->phaseParam[j] = ph[t];
                    }
                    renderPartials(*a);
                    ASSERT_TRUE(sameBits(&a->outLeft, &runL[t], 4))
                        << "crossing " << crossing << " n " << n << " sample " << t;
                    ASSERT_TRUE(sameBits(&a->outRight, &runR[t], 4))
                        << "crossing " << crossing << " n " << n << " sample " << t;
                }
                ASSERT_TRUE(sameBits(a.get(), b.get(), sizeof(PartialBank)))
                    << "crossing " << crossing << ", state after run of " << n;
            }
    }
}

}  // namespace
}  // namespace quenvale
