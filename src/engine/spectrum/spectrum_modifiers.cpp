// Dynamic movement and spectral filter stages of spectrum modulator evaluation.
#include "engine/spectrum/spectrum_modifiers.h"

#include <cstring>

#include "common/capacity.h"
#include "engine/spectrum/dynamic_tables.h"
#include "engine/spectrum/filter_templates.h"
#include "engine/spectrum/partial_kernels.h"

namespace quenvale {
namespace {

constexpr float kRandomRateFactor = 0.05f;  // q: the random table is swept 20 times slower

// Whole table periods beyond this are irrelevant (the float has no fraction left there); limiting the
// position keeps its integer conversion defined for any time or frequency.
constexpr float kPositionLimit = 4611686018427387904.0f;  // 2^62

// Two passes: the table positions of all partials (plain 4-lane arithmetic), then the lookups.
template <int32_t N>
void move(const DynamicTableEntry* table, float q, const Modulator& m, const ModulatorState& s, float* work,
          int32_t count) noexcept {
    const float f = m.dynamicFrequency * q;
    const float scale = m.partialFreqScale;
    const float rest = 1.0f - scale;
    const float phase = m.dynamicPhase;
    const float perHarmonic = m.partialPhaseOffset * q;
    const float randomness = m.randomPhaseOffset;
    const float time = s.time;
    const float* __restrict randomPhase = m.randomPhaseCurve.data();

    alignas(16) float position[kMaxPartials];
    for (int32_t g = 0; g < count; g += kPartialsPerGroup) {
        for (int32_t j = 0; j < kPartialsPerGroup; ++j) {
            const int32_t k = g + j;
            const float h = static_cast<float>(k + 1);
            float y =
                (perHarmonic * h + phase + randomPhase[k] * randomness + (h * scale + rest) * time * f) *
                static_cast<float>(N);
            y = y > -kPositionLimit ? y : -kPositionLimit;  // also for a position that is not a number
            position[k] = y < kPositionLimit ? y : kPositionLimit;
        }
    }
    for (int32_t k = 0; k < count; ++k) {
        const float y = position[k];
        const int64_t n = static_cast<int64_t>(y);  // truncation toward zero
        const DynamicTableEntry& e = table[n & (N - 1)];
        position[k] = e.value + (y - static_cast<float>(n)) * e.slope;
    }

    const float amount = m.dynamicAmount;
    if (m.additive) {
        for (int32_t g = 0; g < count; g += kPartialsPerGroup)
            for (int32_t j = 0; j < kPartialsPerGroup; ++j)
                work[g + j] = position[g + j] * amount + work[g + j];
    } else {
        const float keep = 1.0f - amount;
        for (int32_t g = 0; g < count; g += kPartialsPerGroup)
            for (int32_t j = 0; j < kPartialsPerGroup; ++j)
                work[g + j] = position[g + j] * work[g + j] * amount + keep * work[g + j];
    }
}

// The template moved so that its corner or centre sits at harmonic 2^(7 × cutoff).
const float* templateAtCutoff(ShiftedTemplate& cache, int32_t index, float cutoff) noexcept {
    const float octaves = cutoff * 7.0f - static_cast<float>(filterTemplateCornerOctave(index));
    return shiftedTemplate(cache, index, octaves).data();
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

    kernels::bump(work, templateAtCutoff(m.resonanceShape, kBandPass12Template, s.cutoff), s.resonance,
                  count);
    if (mode >= kFirstShapedFilterMode) {
        const int32_t index = mode - kFirstShapedFilterMode;
        kernels::shape(work, templateAtCutoff(m.filterShape, index, s.cutoff), count);
    }
    if (mix) kernels::mix(work, dry, s.dryWet, count);
}

}  // namespace quenvale
