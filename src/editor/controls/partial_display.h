// How the partial graph maps a partial's value to a bar end on screen and a mouse height back to a
// value, in the linear, logarithmic ("L", 60 dB) and bipolar ("B") displays; and the status text.
#pragma once

#include <cstdint>
#include <string>

namespace quenvale::editor {

// Display flags of a partial graph: bit 0 bipolar ("B"), bit 1 logarithmic ("L").
enum PartialDisplayFlags : uint32_t {
    kDisplayBipolar = 1u << 0,
    kDisplayLog = 1u << 1,
};

// The logarithmic display spans this many decibels from the top (or centre) to the zero line.
inline constexpr double kLogDisplayRange = 60.0;

// [any] The pixel row of the bar's end for value v in a graph of height h, clamped to 0 … h.
// Linear: t = 1 − v. Logarithmic: t = min(1, −20·log10|v| / 60) (1 for 0 or NaN), 2 − t for negative v.
// Bipolar halves t, so 0 … 2 fills the height with zero on the centre line.
double partialValueToScreen(float v, int h, uint32_t flags) noexcept;

// [any] The value drawn at pixel row y of a graph of height h (y clamped to the graph): the inverse of
// partialValueToScreen where that is one to one.
float partialScreenToValue(double y, int h, uint32_t flags) noexcept;

// [any] "Partial %d: " with the partial numbered from 1, then "-oo dB" for 0 or "%1.1f dB" of
// 20·log10|v|.
std::string partialStatusText(int32_t partial, float v);

}  // namespace quenvale::editor
