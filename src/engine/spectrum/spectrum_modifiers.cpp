// Dynamic movement, spectral filter and gain: the stages of spectrum modulator evaluation after the shift.
#include "engine/spectrum/spectrum_modifiers.h"

#include "common/capacity.h"
#include "engine/spectrum/dynamic_tables.h"
#include "engine/spectrum/filter_templates.h"
#include "engine/spectrum/spectrum_kernels.h"

namespace quenvale {
namespace {

constexpr float kRandomRateFactor = 0.05f;  // q: the random table is swept 20 times slower

// The table readings of all partials; false for "None" or an unknown mode.
bool readMovement(const Modulator& m, const ModulatorState& s, const SpectrumKernels& kernels, float* out,
                  int32_t count) noexcept {
    MovementPass pass{};
    float q = 1.0f;
    if (m.dynamicMode == kDynamicSine) {
        pass.table = sineDynamicTable();
        pass.tableSize = kSineDynamicTableSize;
    } else if (m.dynamicMode == kDynamicRandom) {
        pass.table = randomDynamicTable();
        pass.tableSize = kRandomDynamicTableSize;
        q = kRandomRateFactor;
    } else {
        return false;
    }
    pass.out = out;
    pass.randomPhase = m.randomPhaseCurve.data();
    pass.f = m.dynamicFrequency * q;
    pass.scale = m.partialFreqScale;
    pass.rest = 1.0f - m.partialFreqScale;
    pass.phase = m.dynamicPhase;
    pass.perHarmonic = m.partialPhaseOffset * q;
    pass.randomness = m.randomPhaseOffset;
    pass.time = s.time;
    pass.count = count;
    kernels.movement(pass);
    return true;
}

// The template moved so that its corner or centre sits at harmonic 2^(7 × cutoff).
const float* templateAtCutoff(ShiftedTemplate& cache, int32_t index, float cutoff) noexcept {
    const float octaves = cutoff * 7.0f - static_cast<float>(filterTemplateCornerOctave(index));
    return shiftedTemplate(cache, index, octaves).data();
}

bool filters(const Modulator& m) noexcept {
    return m.filterMode > kFilterNone && m.filterMode < kFilterModeCount;
}

}  // namespace

bool hasModifierStages(const Modulator& m) noexcept {
    return m.dynamicMode == kDynamicSine || m.dynamicMode == kDynamicRandom || filters(m);
}

void applyModifierStages(Modulator& m, const ModulatorState& s, float* work, float gainKey,
                         int32_t count) noexcept {
    const SpectrumKernels& kernels = spectrumKernels();
    alignas(64) float movement[kMaxPartials];
    BackPass pass{};
    pass.work = work;
    pass.movement = movement;
    pass.amount = m.dynamicAmount;
    pass.wet = s.dryWet;
    pass.resonance = s.resonance;
    pass.gainKey = gainKey;
    pass.count = count;

    int32_t move = kBackNoMovement;
    if (readMovement(m, s, kernels, movement, count)) move = m.additive ? kBackAdditive : kBackScaling;

    int32_t filter = kBackNoFilter;
    bool mix = false;
    if (filters(m)) {
        filter = kBackResonance;
        mix = s.dryWet != 1.0f;
        pass.resonanceShape = templateAtCutoff(m.resonanceShape, kBandPass12Template, s.cutoff);
        if (m.filterMode >= kFirstShapedFilterMode) {
            filter = kBackShaped;
            pass.filterShape = templateAtCutoff(m.filterShape, m.filterMode - kFirstShapedFilterMode, s.cutoff);
        }
    }
    kernels.back[move][filter][mix ? 1 : 0](pass);
}

}  // namespace quenvale
