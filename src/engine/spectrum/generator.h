// The generator's spectrum data: the partial count and the four top-level modulators.
#pragma once

#include <cstdint>

#include "engine/spectrum/modulator.h"
#include "engine/spectrum/spectrum_property.h"

namespace quenvale {

// Partial counts selectable per program, by selector 0 … 3.
inline constexpr int32_t kPartialCountChoices[4] = {64, 128, 256, 512};
// The default generator sounds with 128 partials, the count that generator records written before the
// partial-count selector existed were made with (a record without a selector reads as 128).
inline constexpr int32_t kDefaultPartialCount = 128;

// [any] 64, 128, 256 or 512 for selector 0 … 3, −1 for anything else.
int32_t partialCountForSelector(int32_t index) noexcept;
// [any] 0 … 3 for a valid count, −1 otherwise.
int32_t selectorForPartialCount(int32_t count) noexcept;

struct Generator {
    // [ui] The default generator: 128 partials and the four modulators "Amp", "Detune", "Phase", "Pan",
    // each with its defaults and one breakpoint of zero values (so it is silent until edited).
    Generator();

    // The partial count P (64, 128, 256 or 512). Read it freely; change it through setPartialCount so
    // the modulators follow.
    int32_t partialCount = kDefaultPartialCount;
    Modulator modulators[kSpectrumPropertyCount];

    Modulator& modulator(SpectrumProperty property) noexcept { return modulators[property]; }
    const Modulator& modulator(SpectrumProperty property) const noexcept { return modulators[property]; }

    // [ui] Accepts 64, 128, 256 or 512 (false and no change otherwise). Nothing is reallocated or lost:
    // every breakpoint keeps all 512 values, so partials hidden by a smaller count come back unchanged.
    // Voices already sounding keep their block count until their next note start.
    bool setPartialCount(int32_t count) noexcept;
    // [ui] The same by selector 0 … 3.
    bool setPartialCountIndex(int32_t index) noexcept;
    // [any] 0 … 3.
    int32_t partialCountIndex() const noexcept { return selectorForPartialCount(partialCount); }
};

}  // namespace quenvale
