// Shared by the LV2 tests: files, WAV reading, running the two renderers, one lilv world per process.
#pragma once

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "lv2_host.h"

namespace quenvale::test {

struct Stereo {
    std::vector<float> left, right;
};

inline std::vector<uint8_t> readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "quenvale_lv2_" + name;
}

inline void writeBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
}

// A stereo float WAV file as two channels; empty when it cannot be read.
inline Stereo readWav(const std::string& path) {
    SF_INFO info{};
    Stereo out;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr || info.channels != 2) {
        if (file != nullptr) sf_close(file);
        return out;
    }
    std::vector<float> interleaved(static_cast<size_t>(info.frames) * 2);
    sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    for (size_t i = 0; i < interleaved.size(); i += 2) {
        out.left.push_back(interleaved[i]);
        out.right.push_back(interleaved[i + 1]);
    }
    return out;
}

// Runs a renderer (quenvale-render or quenvale-lv2-render) with arguments; its WAV output, read back.
inline Stereo runRenderer(const std::string& tool, const std::string& arguments, const std::string& wavName) {
    const std::string wav = tempPath(wavName);
    std::remove(wav.c_str());
    const std::string command = "'" + tool + "' " + arguments + " '" + wav + "' > /dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return readWav(wav);
}

inline float peakOf(const std::vector<float>& samples) {
    float peak = 0.0f;
    for (float s : samples) peak = std::max(peak, std::abs(s));
    return peak;
}

// Frames (from the first) where a and b differ, counting a length difference as one.
inline size_t differingFrames(const Stereo& a, const Stereo& b) {
    if (a.left.size() != b.left.size()) return 1 + std::max(a.left.size(), b.left.size());
    size_t count = 0;
    for (size_t i = 0; i < a.left.size(); ++i) count += a.left[i] != b.left[i] || a.right[i] != b.right[i];
    return count;
}

// The lilv world of LV2_PATH (the build's bundle folder), loaded once.
inline lv2host::Lv2World& lv2World() {
    static lv2host::Lv2World world;
    return world;
}

}  // namespace quenvale::test
