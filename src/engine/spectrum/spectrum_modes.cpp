// Display names of the spectrum modulator's enumerations.
#include "engine/spectrum/spectrum_modes.h"

namespace quenvale {
namespace {

constexpr const char* kDynamicModeNames[kDynamicModeCount] = {"None", "Sine", "Random"};

constexpr const char* kFilterModeNames[kFilterModeCount] = {
    "None",           "AllPass",        "LowPass -6 dB",   "LowPass -12 dB",  "LowPass -24 dB",
    "LowPass -oo dB", "HighPass -6 dB", "HighPass -12 dB", "HighPass -24 dB", "HighPass -oo dB",
    "BandPass -3 dB", "BandPass -6 dB", "BandPass -12 dB", "BandPass -24 dB", "Notch -3 dB",
    "Notch -6 dB",    "Notch -12 dB",   "Notch -24 dB",
};

}  // namespace

const char* dynamicModeName(int32_t mode) noexcept {
    return (mode >= 0 && mode < kDynamicModeCount) ? kDynamicModeNames[mode] : "";
}

const char* filterModeName(int32_t mode) noexcept {
    return (mode >= 0 && mode < kFilterModeCount) ? kFilterModeNames[mode] : "";
}

const char* combineModeName(int32_t mode) noexcept {
    if (mode == kCombineMultiply) return "Modulate";
    if (mode == kCombineAdd) return "Add";
    return "";
}

}  // namespace quenvale
