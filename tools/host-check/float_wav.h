// Reading back the 32-bit float stereo WAV files that quenvale-render writes (the reference renders).
#pragma once

#include <string>
#include <vector>

namespace quenvale::hostcheck {

struct StereoSamples {
    int sampleRate = 0;
    std::vector<float> left;
    std::vector<float> right;
};

// Reads a RIFF WAVE file of two channels of 32-bit IEEE floats (plain or extensible format header, any
// other chunks skipped). False with a message in error for anything else.
bool readFloatWav(const std::string& path, StereoSamples& samples, std::string& error);

}  // namespace quenvale::hostcheck
