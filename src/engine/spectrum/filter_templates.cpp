// Building the spectral filter templates once per process.
#include "engine/spectrum/filter_templates.h"

#include <bit>
#include <cmath>

#include "engine/curve/curve_octave_shift.h"

namespace quenvale {
namespace {

// Values g^p for the four slopes of a family: −6 dB (p = 1), −12 dB (2), −24 dB (4), or the
// brick-wall form, where the outside of the pass band is 0.
double lowPassGain(int32_t k) noexcept {
    if (k < 16) return 1.0;
    if (k == 511) return 0.0;
    return 16.0 / (k + 1);
}

double highPassGain(int32_t k) noexcept {
    if (k > 128) return 1.0;
    if (k == 0) return 0.0;
    return (k + 1) / 128.0;
}

double bandGain(int32_t k) noexcept {
    if (k == 0 || k == 511) return 0.0;
    return k < 32 ? (k + 1) / 32.0 : 32.0 / (k + 1);
}

struct FilterTemplates {
    PartialCurve curves[kFilterTemplateCount];

    FilterTemplates() {
        for (PartialCurve& c : curves) c = PartialCurve(kFilterTemplateSize);
        for (int32_t k = 0; k < kFilterTemplateSize; ++k) {
            const double lp = lowPassGain(k);
            const double hp = highPassGain(k);
            const double bp = bandGain(k);
            const double notch = 1.0 - bp;
            const double shapes[kFilterTemplateCount] = {
                lp,
                lp * lp,
                lp * lp * lp * lp,
                k < 16 ? 1.0 : 0.0,
                hp,
                hp * hp,
                hp * hp * hp * hp,
                k > 128 ? 1.0 : 0.0,
                std::sqrt(bp),
                bp,
                bp * bp,
                bp * bp * bp * bp,
                std::sqrt(notch),
                notch,
                notch * notch,
                notch * notch * notch * notch,
            };
            for (int32_t t = 0; t < kFilterTemplateCount; ++t) curves[t][k] = static_cast<float>(shapes[t]);
        }
    }
};

const FilterTemplates& templates() {
    static const FilterTemplates instance;
    return instance;
}

}  // namespace

const PartialCurve& filterTemplate(int32_t index) noexcept {
    const FilterTemplates& t = templates();
    return t.curves[(index >= 0 && index < kFilterTemplateCount) ? index : 0];
}

int32_t filterTemplateCornerOctave(int32_t index) noexcept {
    if (index < 4) return 4;
    if (index < 8) return 7;
    return 5;
}

const PartialCurve& shiftedTemplate(ShiftedTemplate& cache, int32_t index, float octaves) noexcept {
    const uint32_t bits = std::bit_cast<uint32_t>(octaves);
    if (cache.index != index || cache.octaveBits != bits) {
        curveOctaveShift(filterTemplate(index), cache.curve, octaves, true, 0);
        cache.index = index;
        cache.octaveBits = bits;
    }
    return cache.curve;
}

}  // namespace quenvale
