// Stereo WAV output through libsndfile, as 32-bit float or 24-bit integer samples.
#pragma once

#include <cstdint>
#include <string>

namespace quenvale::render {

enum class SampleFormat { Float32, Pcm24 };

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Creates or truncates path. False with a message in error when the file cannot be written.
    bool open(const std::string& path, int sampleRate, SampleFormat format, std::string& error);
    // Appends frames of interleaved left/right samples; integer output is clipped, not wrapped.
    bool write(const float* interleaved, int64_t frames, std::string& error);
    bool close(std::string& error);

private:
    void* file_ = nullptr;  // SNDFILE*
};

}  // namespace quenvale::render
