// The vector paths against their scalar references, bit for bit: the four-lane value type, and the
// run renderer on every path against the plain per-sample loop. Also: the generator allocates nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "common/simd/float4.h"
#include "common/simd/simd_path.h"
#include "engine/osc/render_partials.h"
#include "osc_test_support.h"
#include "support/allocation_counter.h"

namespace quenvale {
namespace {

using osctest::TestVoice;
using simd::SimdPath;

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
            EXPECT_EQ((sa < sb).bits(), (va < vb).bits());
            EXPECT_EQ((sa != sb).bits(), (va != vb).bits());
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
    ASSERT_GT(osctest::rms(reference.left, 0, reference.left.size()), 0.01) << "the scenario must sound";

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

TEST(OscAllocation, NoteStartTicksRefreshesAndRunsAllocateNothingOnAnyPath) {
    PathGuard guard;
    TestVoice v(512);
    v.channel->gen.pwmMode = kPwmSub;
    v.channel->gen.pwmWidth.base = 0.4f;
    v.channel->compressor.on = true;
    v.curves.amp = [](int k) { return 1.0f / static_cast<float>(k + 1); };
    v.writeCurves();
    alignas(64) float left[200] = {}, right[200] = {};
    for (int p = 0; p < simd::kSimdPathCount; ++p) {
        if (!setPartialRunPath(static_cast<SimdPath>(p))) continue;
        test::AllocationCounter counter;
        startVoiceGenerator(*v.vg, *v.channel, 55.0f, v.outputs);
        updateGeneratorControl(*v.vg, *v.channel, v.outputs, 55.0f, 1.0f, 0.0f);
        for (int tick = 0; tick < 20; ++tick) {
            renderGeneratorRun(*v.vg, *v.channel, 64, left, right);
            updateGeneratorControl(*v.vg, *v.channel, v.outputs, 55.0f, 1.0f, 0.015625f);
            refreshGeneratorControl(*v.vg, *v.channel, v.outputs, 55.0f, 1.0f, 0.015625f);
        }
        renderGeneratorRun(*v.vg, *v.channel, 200, left, right);
        renderGeneratorSample(*v.vg, *v.channel, left[0], right[0]);
        releaseVoiceGenerator(*v.vg);
        EXPECT_EQ(counter.count(), 0u) << simd::simdPathName(static_cast<SimdPath>(p));
    }
}

}  // namespace
}  // namespace quenvale
