// Process-wide rate values shared by every engine instance (a rate change through one instance
// changes them for all), and the host tempo read at each control tick.
#pragma once

namespace quenvale {

struct RateValues {
    float sampleRate = 44100.0f;
    float sampleTime = 1.0f / 44100.0f;
    float controlRate = 44100.0f * 0.015625f;
    float controlTime = 1.0f / (44100.0f * 0.015625f);
    float lfoIncrementScale = 128.0f / (44100.0f * 0.015625f);
    float hostTempo = 120.0f;  // beats per minute
};

// [any] The one process-wide record. Written by setRateValues (user-interface thread) and the
// control tick (tempo); read everywhere on the audio thread.
extern RateValues rates;

// [ui] sampleRate = sr; controlRate = sr / 64; sampleTime = 1 / sr; controlTime = 1 / controlRate;
// lfoIncrementScale = 128 / controlRate; all in single precision.
void setRateValues(float sr) noexcept;

}  // namespace quenvale
