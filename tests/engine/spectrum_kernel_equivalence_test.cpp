// The fused, vectorised spectrum evaluation against a plain per-partial evaluation, bit for bit, on every path.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "common/simd/simd_path.h"
#include "engine/spectrum/dynamic_tables.h"
#include "engine/spectrum/filter_templates.h"
#include "engine/spectrum/key_mapping.h"
#include "engine/spectrum/spectrum_kernels.h"
#include "spectrum_test_support.h"

namespace quenvale::test {
namespace {

constexpr int kP = 512;
using Curve = std::vector<float>;

// Source read with the border outside 0 … P − 1, in double.
double at(const Curve& in, int64_t i, double border) {
    return (i >= 0 && i < kP) ? static_cast<double>(in[static_cast<size_t>(i)]) : border;
}

Curve referenceShift(const Curve& in, float amount) {  // border repeated
    const double m = -static_cast<double>(amount);
    const double border = std::signbit(m) ? in[0] : in[kP - 1];
    const double fl = std::floor(m);
    const double f = m - fl;
    Curve out(kP);
    for (int k = 0; k < kP; ++k) {
        const int64_t i = k + static_cast<int64_t>(fl);
        out[k] = static_cast<float>(at(in, i, border) * (1.0 - f) + at(in, i + 1, border) * f);
    }
    return out;
}

Curve referenceOctaveShift(const PartialCurve& source, float octaves) {  // mode 0, border repeated
    const Curve in(source.data(), source.data() + kP);
    const double o = octaves;
    const double border = std::signbit(-o) ? in[0] : in[kP - 1];
    const float r = static_cast<float>(std::exp2(-o));
    Curve out(kP);
    for (int k = 0; k < kP; ++k) {
        const float x = static_cast<float>(static_cast<double>(k + 1) * r - 1.0);
        if (!(x < static_cast<float>(kP) + 1.0f)) {
            out[k] = static_cast<float>(border);
            continue;
        }
        const int32_t i = static_cast<int32_t>(x);
        const double f = static_cast<double>(x) - i;
        out[k] = static_cast<float>(at(in, i, border) * (1.0 - f) + at(in, i + 1, border) * f);
    }
    return out;
}

// One modulator, stage after stage, one partial at a time (no loop set, so the time is as the state has it).
Curve reference(const Modulator& m, const ModulatorState& s, float f0) {
    const float keyValue = evaluateCurve(m.keyMapping, keyPosition(f0));
    int i = -1;
    float acc = 0.0f;
    for (int b = 0; b < m.breakpointCount() && !(acc + m.breakpoints[b].distance > s.time); ++b) {
        ++i;
        acc += m.breakpoints[b].distance;
    }
    const SpectrumBreakpoint& bp = m.breakpoints[i];
    const float elapsed = s.time - acc;
    Curve w(kP);
    for (int k = 0; k < kP; ++k) w[k] = bp.values[k] * bp.level + bp.slopes[k] * elapsed;
    for (int j = 0; j < m.childCount(); ++j) {
        const Curve c = reference(*m.children[j].child, s.children[j], f0);
        for (int k = 0; k < kP; ++k) w[k] = m.children[j].mode == kCombineMultiply ? w[k] * c[k] : w[k] + c[k];
    }
    for (float& v : w) v = v + s.offset;
    if (s.shift != 0.0f) w = referenceShift(w, s.shift);
    if (m.dynamicMode != kDynamicNone) {
        const bool sine = m.dynamicMode == kDynamicSine;
        const int n = sine ? kSineDynamicTableSize : kRandomDynamicTableSize;
        const DynamicTableEntry* table = sine ? sineDynamicTable() : randomDynamicTable();
        const float q = sine ? 1.0f : 0.05f;
        const float f = m.dynamicFrequency * q;
        const float scale = m.partialFreqScale;
        for (int k = 0; k < kP; ++k) {
            const float h = static_cast<float>(k + 1);
            const float y = (m.partialPhaseOffset * q * h + m.dynamicPhase +
                             m.randomPhaseCurve[k] * m.randomPhaseOffset + (h * scale + (1.0f - scale)) * s.time * f) *
                            static_cast<float>(n);
            const int64_t t = static_cast<int64_t>(y);
            const DynamicTableEntry& e = table[t & (n - 1)];
            const float move = e.value + (y - static_cast<float>(t)) * e.slope;
            const float a = m.dynamicAmount;
            w[k] = m.additive ? move * a + w[k] : move * w[k] * a + (1.0f - a) * w[k];
        }
    }
    if (m.filterMode != kFilterNone) {
        const Curve dry = w;
        const Curve bump = referenceOctaveShift(filterTemplate(kBandPass12Template), s.cutoff * 7.0f - 5.0f);
        for (int k = 0; k < kP; ++k) w[k] = (bump[k] * s.resonance + 1.0f) * w[k];
        if (m.filterMode >= kFirstShapedFilterMode) {
            const int index = m.filterMode - kFirstShapedFilterMode;
            const float corner = static_cast<float>(filterTemplateCornerOctave(index));
            const Curve shape = referenceOctaveShift(filterTemplate(index), s.cutoff * 7.0f - corner);
            for (int k = 0; k < kP; ++k) w[k] = shape[k] * w[k];
        }
        if (s.dryWet != 1.0f)
            for (int k = 0; k < kP; ++k) w[k] = dry[k] * (1.0f - s.dryWet) + s.dryWet * w[k];
    }
    for (float& v : w) v = v * (s.gain * keyValue);
    return w;
}

void fill(Modulator& m, int breakpoint, double scale) {
    ASSERT_TRUE(m.setBreakpointValues(breakpoint, curveOf(kP, [&](int k) { return scale / (k + 1) - 0.01 * (k % 5); })));
}

// Two breakpoints, random movement, low-pass with dry/wet, a shift and an offset on top; a child with
// additive sine movement and a notch; with two children, a second one added without modifiers.
void buildTree(Modulator& m, bool twoChildren) {
    fill(m, 0, 1.0);
    ASSERT_TRUE(m.insertBreakpoint(1, 0.05f, 0.7f, false));
    fill(m, 1, 0.5);
    m.dynamicMode = kDynamicRandom;
    m.dynamicAmount = 0.4f;
    m.partialPhaseOffset = 0.3f;
    m.dynamicFrequency = 7.0f;
    m.filterMode = kFilterLowPass12;
    m.dryWet.base = 0.8f;
    m.shift.base = 0.75f;
    m.offset.base = 0.01f;
    m.gain.base = 0.9f;
    Modulator& layer = m.addChild("layer", kCombineMultiply, true);
    fill(layer, 0, 3.0);
    layer.dynamicMode = kDynamicSine;
    layer.additive = true;
    layer.dynamicFrequency = 3.0f;
    layer.filterMode = kFilterNotch6;
    if (twoChildren) {
        Modulator& extra = m.addChild("extra", kCombineAdd, true);
        fill(extra, 0, 0.25);
    }
}

TEST(SpectrumKernelEquivalence, FusedEvaluationMatchesPerPartialReferenceOnEveryPath) {
    const simd::SimdPath saved = spectrumKernelPath();
    for (int path = 0; path < simd::kSimdPathCount; ++path) {
        if (!setSpectrumKernelPath(static_cast<simd::SimdPath>(path))) continue;
        for (const bool twoChildren : {false, true}) {
            SpectrumHarness h;
            Modulator m(kP);
            buildTree(m, twoChildren);
            ModulatorState s;
            prepareModulatorState(s, m);
            resetModulatorState(s, m);
            int mismatches = 0;
            for (int tick = 0; tick < 120; ++tick) {
                // The cutoff sweeps past both ends, so the moved templates also read their borders.
                m.cutoff.base = -0.3f + 0.0137f * static_cast<float>(tick);
                m.children[0].child->cutoff.base = 1.2f - 0.011f * static_cast<float>(tick);
                h.tick(m, s, 110.0f, kP, 64.0f / 44100.0f);
                const Curve want = reference(m, s, 110.0f);
                if (std::memcmp(want.data(), s.output.data(), sizeof(float) * kP) != 0 && ++mismatches <= 3) {
                    for (int k = 0; k < kP; ++k)
                        if (std::memcmp(&want[k], &s.output[k], sizeof(float)) != 0) {
                            ADD_FAILURE() << simd::simdPathName(static_cast<simd::SimdPath>(path)) << " tick "
                                          << tick << " partial " << k << ": " << s.output[k] << " != " << want[k];
                            break;
                        }
                }
            }
            EXPECT_EQ(mismatches, 0);
        }
    }
    setSpectrumKernelPath(saved);
}

}  // namespace
}  // namespace quenvale::test
