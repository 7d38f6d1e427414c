// The default generator and its partial-count choice.
#include "engine/spectrum/generator.h"

namespace quenvale {

int32_t partialCountForSelector(int32_t index) noexcept {
    return (index >= 0 && index < 4) ? kPartialCountChoices[index] : -1;
}

int32_t selectorForPartialCount(int32_t count) noexcept {
    for (int32_t i = 0; i < 4; ++i)
        if (kPartialCountChoices[i] == count) return i;
    return -1;
}

Generator::Generator()
    : modulators{Modulator(kDefaultPartialCount, kSpectrumPropertyNames[kSpectrumAmp]),
                 Modulator(kDefaultPartialCount, kSpectrumPropertyNames[kSpectrumDetune]),
                 Modulator(kDefaultPartialCount, kSpectrumPropertyNames[kSpectrumPhase]),
                 Modulator(kDefaultPartialCount, kSpectrumPropertyNames[kSpectrumPan])} {}

bool Generator::setPartialCount(int32_t count) noexcept {
    if (selectorForPartialCount(count) < 0) return false;
    partialCount = count;
    for (Modulator& m : modulators) m.setPartialCount(count);
    return true;
}

bool Generator::setPartialCountIndex(int32_t index) noexcept {
    return setPartialCount(partialCountForSelector(index));
}

}  // namespace quenvale
