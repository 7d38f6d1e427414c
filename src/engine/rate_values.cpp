// The process-wide rate values.
#include "engine/rate_values.h"

namespace quenvale {

RateValues rates;

void setRateValues(float sr) noexcept {
    rates.sampleRate = sr;
    rates.controlRate = sr * 0.015625f;
    rates.sampleTime = 1.0f / sr;
    rates.controlTime = 1.0f / rates.controlRate;
    rates.lfoIncrementScale = 128.0f / rates.controlRate;
}

}  // namespace quenvale
