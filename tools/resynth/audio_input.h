// Brings any sound file libsndfile reads into the analysis format: 16-bit stereo WAV at 44100 Hz.
#pragma once

#include <cstdint>
#include <string>

namespace quenvale::tool {

struct ConversionInfo {
    int64_t sourceFrames = 0;
    int32_t sourceRate = 0;
    int32_t sourceChannels = 0;
    int64_t frames = 0;  // frames written at 44100 Hz
};

// Reads `input`, keeps its first two channels (a mono file is used for both sides), converts the
// rate to 44100 Hz with libsamplerate and writes a canonical 16-bit stereo WAV to `output` (values
// beyond full scale are clipped). False with a message in `error` when the input cannot be read or
// the output cannot be written.
bool convertToAnalysisWav(const std::string& input, const std::string& output, ConversionInfo& info,
                          std::string& error);

}  // namespace quenvale::tool
