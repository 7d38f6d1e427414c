// A RIFF chunk walk for float WAV files.
#include "float_wav.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace quenvale::hostcheck {

namespace {

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

constexpr uint16_t kFormatFloat = 3;
constexpr uint16_t kFormatExtensible = 0xFFFE;

}  // namespace

bool readFloatWav(const std::string& path, StereoSamples& samples, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open '" + path + "'";
        return false;
    }
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
        std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
        error = "'" + path + "' is not a WAV file";
        return false;
    }
    bool haveFormat = false;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const uint8_t* chunk = bytes.data() + at;
        const size_t size = le32(chunk + 4);
        if (size > bytes.size() - at - 8) break;
        const uint8_t* body = chunk + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && size >= 16) {
            uint16_t format = le16(body);
            // The extensible header names the real format in the first two bytes of its sub-format GUID.
            if (format == kFormatExtensible && size >= 26) format = le16(body + 24);
            if (format != kFormatFloat || le16(body + 2) != 2 || le16(body + 14) != 32) {
                error = "'" + path + "' is not stereo 32-bit float";
                return false;
            }
            samples.sampleRate = static_cast<int>(le32(body + 4));
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) break;
            const size_t frames = size / 8;
            samples.left.resize(frames);
            samples.right.resize(frames);
            for (size_t i = 0; i < frames; ++i) {
                std::memcpy(&samples.left[i], body + 8 * i, 4);
                std::memcpy(&samples.right[i], body + 8 * i + 4, 4);
            }
            return true;
        }
        at += 8 + size + (size & 1);
    }
    error = "'" + path + "' holds no readable float sample data";
    return false;
}

}  // namespace quenvale::hostcheck
