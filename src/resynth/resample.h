// Linear-interpolation stretch of a channel, used to move a recording's fundamental onto an FFT bin.
#pragma once

#include <cstddef>
#include <vector>

namespace quenvale {

// [any] Returns `outFrames` samples: out[i] = in[k]·(1 − t) + in[k+1]·t with pos = i·step, k = ⌊pos⌋,
// t = pos − k, where k + 1 past the last source sample is replaced by k. An empty source gives zeros.
std::vector<double> stretchLinear(const std::vector<double>& in, size_t outFrames, double step);

}  // namespace quenvale
