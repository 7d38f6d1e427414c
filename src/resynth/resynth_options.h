// The options of one resynthesis run and the ranges outside which a run is refused.
#pragma once

namespace quenvale {

struct ResynthOptions {
    bool amp = true;                // analyse into "Amp"
    bool detune = true;             // analyse into "Detune"
    bool phase = true;              // analyse into "Phase"
    bool pan = true;                // analyse into "Pan"
    bool additiveLayer = false;     // write into a new "Re-Synth" layer instead of replacing
    float fundamental = 440.0f;     // Hz, fundamental of the recorded note
    float samplingDistance = 0.1f;  // seconds between analysis frames
};

// The options dialog's ranges. They keep the fundamental's bin at 7 or more and the hop between
// frames at 440 frames or more, so the analysis neither divides by zero nor steps in place.
inline constexpr float kMinFundamental = 10.0f;
inline constexpr float kMaxFundamental = 10000.0f;
inline constexpr float kMinSamplingDistance = 0.01f;
inline constexpr float kMaxSamplingDistance = 10.0f;

// [any] nullptr for usable options, otherwise a sentence saying which option is out of range
// (NaN counts as out of range).
const char* resynthOptionsError(const ResynthOptions& options) noexcept;

}  // namespace quenvale
