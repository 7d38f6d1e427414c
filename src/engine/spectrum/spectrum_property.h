// The four partial properties of the generator's spectrum, one top-level modulator tree each.
#pragma once

#include <cstdint>

namespace quenvale {

enum SpectrumProperty : int32_t {
    kSpectrumAmp = 0,
    kSpectrumDetune = 1,
    kSpectrumPhase = 2,
    kSpectrumPan = 3
};

inline constexpr int kSpectrumPropertyCount = 4;

// Names of the top-level modulators, in property order: "Amp", "Detune", "Phase", "Pan".
inline constexpr const char* kSpectrumPropertyNames[kSpectrumPropertyCount] = {"Amp", "Detune", "Phase",
                                                                               "Pan"};

}  // namespace quenvale
