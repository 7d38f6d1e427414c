// Test helper: sets the process-wide rate values and host tempo for one test and restores them.
#pragma once

#include "engine/rate_values.h"

namespace quenvale::test {

class ScopedRates {
public:
    explicit ScopedRates(float sampleRate, float tempo = 120.0f) : saved_(rates) {
        setRateValues(sampleRate);
        rates.hostTempo = tempo;
    }
    ~ScopedRates() { rates = saved_; }
    ScopedRates(const ScopedRates&) = delete;
    ScopedRates& operator=(const ScopedRates&) = delete;

private:
    RateValues saved_;
};

}  // namespace quenvale::test
