// Dynamic movement and spectral filter stages of spectrum modulator evaluation.
#include "engine/spectrum/spectrum_modifiers.h"

#include <cstring>

#include "engine/curve/curve_shift.h"
#include "engine/spectrum/dynamic_tables.h"
#include "engine/spectrum/filter_templates.h"

namespace quenvale {
namespace {

constexpr float kRandomRateFactor = 0.05f;  // q: the random table is swept 20 times slower

// Whole table periods beyond this are irrelevant (the float has no fraction left there); limiting the
// position keeps its integer conversion defined for any time or frequency.
constexpr float kPositionLimit = 4611686018427387904.0f;  // 2^62

template <int32_t N>
void move(const DynamicTableEntry* table, float rate, const Modulator& m, const ModulatorState& s, float* work,
          int32_t count) noexcept {
    const float q = rate;
    const float f = m.dynamicFrequency * q;
    const float scale = m.partialFreqScale;
    const float phase = m.dynamicPhase;
    const float perHarmonic = m.partialPhaseOffset * q;
    const float amount = m.dynamicAmount;
    const float randomness = m.randomPhaseOffset;
    const float time = s.time;
    const float* randomPhase = m.randomPhaseCurve.data();
    const float keep = 1.0f - amount;
    const float rest = 1.0f - scale;
    for (int32_t g = 0; g < count; g += 4) {
        for (int32_t j = 0; j < 4; ++j) {
            const int32_t k = g + j;
            const float h = static_cast<float>(k + 1);
            float y = (perHarmonic * h + phase + randomPhase[k] * randomness + (h * scale + rest) * time * f) *
                      static_cast<float>(N);
            if (!(y > -kPositionLimit)) y = -kPositionLimit;  // also for a position that is not a number
            if (!(y < kPositionLimit)) y = kPositionLimit;
            const int64_t n = static_cast<int64_t>(y);  // truncation toward zero
            const DynamicTableEntry& e = table[n & (N - 1)];
            const float w = e.value + (y - static_cast<float>(n)) * e.slope;
            work[k] = m.additive ? w * amount + work[k] : w * work[k] * amount + keep * work[k];
        }
    }
}

}  // namespace

void applyDynamicMovement(const Modulator& m, const ModulatorState& s, float* work, int32_t count) noexcept {
    if (m.dynamicMode == kDynamicSine)
        move<kSineDynamicTableSize>(sineDynamicTable(), 1.0f, m, s, work, count);
    else if (m.dynamicMode == kDynamicRandom)
        move<kRandomDynamicTableSize>(randomDynamicTable(), kRandomRateFactor, m, s, work, count);
}

void applySpectralFilter(Modulator& m, const ModulatorState& s, float* work, int32_t count) noexcept {
    const int32_t mode = m.filterMode;
    if (mode <= kFilterNone || mode >= kFilterModeCount) return;
    const bool mix = s.dryWet != 1.0f;
    float* dry = m.dry.data();
    if (mix) std::memcpy(dry, work, static_cast<size_t>(count) * sizeof(float));

    const float* shape = m.scratch.data();
    const float cutoffOctave = s.cutoff * 7.0f;
    curveOctaveShift(filterTemplate(kBandPass12Template), m.scratch,
                     cutoffOctave - static_cast<float>(filterTemplateCornerOctave(kBandPass12Template)), true, 0);
    const float resonance = s.resonance;
    for (int32_t k = 0; k < count; ++k) work[k] = (shape[k] * resonance + 1.0f) * work[k];

    if (mode >= kFirstShapedFilterMode) {
        const int32_t index = mode - kFirstShapedFilterMode;
        curveOctaveShift(filterTemplate(index), m.scratch,
                         cutoffOctave - static_cast<float>(filterTemplateCornerOctave(index)), true, 0);
        for (int32_t k = 0; k < count; ++k) work[k] = shape[k] * work[k];
    }

    if (mix) {
        const float wet = s.dryWet;
        const float dryShare = 1.0f - wet;
        for (int32_t k = 0; k < count; ++k) work[k] = dry[k] * dryShare + wet * work[k];
    }
}

}  // namespace quenvale
