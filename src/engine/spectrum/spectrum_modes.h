// Enumerations of a spectrum modulator: dynamic movement, spectral filter and child combine modes.
#pragma once

#include <cstdint>

namespace quenvale {

enum DynamicMode : int32_t { kDynamicNone = 0, kDynamicSine = 1, kDynamicRandom = 2 };
inline constexpr int32_t kDynamicModeCount = 3;

// How a child modulator's output joins its parent's work curve. Other values leave the curve as it is.
enum CombineMode : int32_t { kCombineMultiply = 0, kCombineAdd = 1 };

// Filter modes 0 … 17. Modes 2 … 17 shape the spectrum with filter template (mode − 2).
enum FilterMode : int32_t {
    kFilterNone = 0,
    kFilterAllPass = 1,
    kFilterLowPass6 = 2,
    kFilterLowPass12 = 3,
    kFilterLowPass24 = 4,
    kFilterLowPassInf = 5,
    kFilterHighPass6 = 6,
    kFilterHighPass12 = 7,
    kFilterHighPass24 = 8,
    kFilterHighPassInf = 9,
    kFilterBandPass3 = 10,
    kFilterBandPass6 = 11,
    kFilterBandPass12 = 12,
    kFilterBandPass24 = 13,
    kFilterNotch3 = 14,
    kFilterNotch6 = 15,
    kFilterNotch12 = 16,
    kFilterNotch24 = 17,
};
inline constexpr int32_t kFilterModeCount = 18;
inline constexpr int32_t kFirstShapedFilterMode = kFilterLowPass6;

// [any] Display names ("None", "Sine", …; "None", "AllPass", "LowPass -6 dB", …); "" out of range.
const char* dynamicModeName(int32_t mode) noexcept;
const char* filterModeName(int32_t mode) noexcept;
// [any] "Modulate" for 0, "Add" for 1, "" otherwise.
const char* combineModeName(int32_t mode) noexcept;

}  // namespace quenvale
