// The run renderer on every vector path against the plain per-sample loop, bit for bit.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "common/simd/simd_path.h"
#include "engine/osc/render_partials.h"
#include "osc_test_support.h"

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
        ch.compressor.on = true;
        ch.compressor.threshold = 0.05f;
        ch.compressor.slope = 0.6f;
        ch.compressor.attackCoefficient = 0.9f;
        ch.compressor.releaseCoefficient = 0.999f;
        std::mt19937 rng(seed);
        std::uniform_real_distribution<float> unit(0.0f, 1.0f);
        auto randomCurves = [&] {
            std::vector<float> a(512), d(512), ph(512), pn(512);
            for (int k = 0; k < 512; ++k) {
                a[k] = unit(rng) / static_cast<float>(k + 1);
                d[k] = (unit(rng) - 0.5f) * 0.8f;
                ph[k] = (unit(rng) - 0.5f) * 3.0f;
                pn[k] = (unit(rng) - 0.5f) * 2.6f;
            }
            v.curves.amp = [a](int k) { return a[k]; };
            v.curves.detune = [d](int k) { return d[k]; };
            v.curves.phase = [ph](int k) { return ph[k]; };
            v.curves.pan = [pn](int k) { return pn[k]; };
        };
        randomCurves();
        v.start(30.0f);
        const int ticks = 160;
        left.assign(ticks * 64, 0.0f);
        right.assign(ticks * 64, 0.0f);
        std::mt19937 splits(seed + 1);
        int pos = 0;
        for (int tick = 0; tick < ticks; ++tick) {
            // Runs of irregular length between ticks (as host blocks split them).
            int left64 = 64;
            while (left64 > 0) {
                const int length = std::min(left64, 1 + static_cast<int>(splits() % 37));
                if (perSample) {
                    for (int i = 0; i < length; ++i)
                        renderGeneratorSample(*v.vg, ch, left[pos + i], right[pos + i]);
                } else {
                    renderGeneratorRun(*v.vg, ch, length, left.data() + pos, right.data() + pos);
                }
                pos += length;
                left64 -= length;
            }
            // The fundamental sweeps up and down (the stop block moves); curves change every few ticks.
            ch.gen.ratio.base = 1.0f + 14.0f * std::sin(static_cast<float>(tick) * 0.05f) *
                                           std::sin(static_cast<float>(tick) * 0.05f);
            ch.gen.phase.base = 0.3f + 0.01f * static_cast<float>(tick);
            if (tick % 5 == 0) randomCurves();
            v.tick();
        }
    }
};

TEST(OscRunEquivalence, EveryPathMatchesThePerSampleReferenceBitForBit) {
    PathGuard guard;
    BusyScenario reference;
    reference.run(true, 1234u);
    double energy = 0.0;
    for (float x : reference.left) energy += static_cast<double>(x) * x;
    ASSERT_GT(energy, 1.0) << "the scenario must actually sound";

    int tested = 0;
    for (int p = 0; p < simd::kSimdPathCount; ++p) {
        const SimdPath path = static_cast<SimdPath>(p);
        if (!setPartialRunPath(path)) continue;
        ++tested;
        BusyScenario run;
        run.run(false, 1234u);
        SCOPED_TRACE(simd::simdPathName(path));
        size_t firstDiff = reference.left.size();
        for (size_t i = 0; i < reference.left.size(); ++i) {
            if (!sameBits(&reference.left[i], &run.left[i], 4) ||
                !sameBits(&reference.right[i], &run.right[i], 4)) {
                firstDiff = i;
                break;
            }
        }
        EXPECT_EQ(firstDiff, reference.left.size()) << "first differing sample";
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

// The bank alone: runs of every length 1 … 64 with the stop crossing inside the run (the fundamental
// ramps across the point where the crossing block's first partial reaches 20 kHz). Crossing at block 5
// leaves one group and a part before it; at block 21, enough groups for the wide kernels' pairs.
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
