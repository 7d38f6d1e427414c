// WAV files built byte by byte, and synthesised recordings with partials on exact analysis bins, for the
// reader and resynthesis tests; written into a per-test temp folder.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace quenvale::test {

struct ByteWriter {
    std::vector<unsigned char> bytes;

    ByteWriter& tag(const char* t) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(t[i]));
        return *this;
    }
    ByteWriter& u16(uint32_t v) {
        bytes.push_back(static_cast<unsigned char>(v));
        bytes.push_back(static_cast<unsigned char>(v >> 8));
        return *this;
    }
    ByteWriter& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    ByteWriter& s16(int32_t v) { return u16(static_cast<uint16_t>(static_cast<int16_t>(v))); }
};

// "RIFF" … "fmt " with a PCM (or float) format chunk of formatSize bytes (extra bytes zero).
inline ByteWriter wavPreamble(uint32_t channels = 2, uint32_t rate = 44100, uint32_t bits = 16,
                              uint32_t formatSize = 16, uint32_t format = 1) {
    ByteWriter w;
    w.tag("RIFF").u32(0).tag("WAVE").tag("fmt ").u32(formatSize);
    w.u16(format).u16(channels).u32(rate).u32(rate * channels * bits / 8).u16(channels * bits / 8).u16(bits);
    w.bytes.resize(w.bytes.size() + formatSize - 16);
    return w;
}

// A canonical 16-bit stereo 44100 Hz file with interleaved samples (left, right, left, …).
inline std::vector<unsigned char> canonicalWav(const std::vector<int16_t>& interleaved) {
    ByteWriter w = wavPreamble();
    w.tag("data").u32(static_cast<uint32_t>(interleaved.size() * 2));
    for (int16_t s : interleaved) w.s16(s);
    return w.bytes;
}

// A fresh folder of its own, removed with everything in it at the end of the test.
class TempFolder {
public:
    TempFolder() : path_(std::filesystem::temp_directory_path() / "quenvale_XXXXXX") {
        std::string name = path_.string();
        EXPECT_NE(::mkdtemp(name.data()), nullptr) << name;
        path_ = name;
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const std::vector<unsigned char>& bytes) const {
        const std::string p = file(name);
        std::FILE* f = std::fopen(p.c_str(), "wb");
        EXPECT_TRUE(f != nullptr && (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size()))
            << p;
        if (f != nullptr) std::fclose(f);
        return p;
    }

private:
    std::filesystem::path path_;
};

// The analysis bin width at 44100 Hz is 44100 / 32768 = 11025 / 8192 Hz; a fundamental of
// F · 11025 / 8192 Hz is exact in single precision for F < 1521 and lies exactly on bin F.
inline float binAlignedFundamental(int32_t bin) {
    return static_cast<float>(bin * 11025.0 / 8192.0);
}

struct TonePartial {
    int32_t bin;        // frequency in analysis bins (harmonic h of fundamental bin F: h·F)
    double left = 0.0;  // amplitudes, full scale 1
    double right = 0.0;
    double phaseLeft = 0.0;  // radians at sample 0
    double phaseRight = 0.0;
};

// A canonical file of `frames` frames holding the partials (cosines), rounded to 16 bits.
inline std::string writeTone(const TempFolder& tmp, const std::string& name, size_t frames,
                             const std::vector<TonePartial>& partials) {
    std::vector<double> mix(2 * frames, 0.0);
    for (const TonePartial& p : partials) {
        const double w = 6.283185307179586476925 * p.bin / 32768.0;
        for (size_t n = 0; n < frames; ++n) {
            const double x = w * static_cast<double>(n % 32768);  // exact period of 32768 samples
            mix[2 * n] += p.left * std::cos(x + p.phaseLeft);
            mix[2 * n + 1] += p.right * std::cos(x + p.phaseRight);
        }
    }
    std::vector<int16_t> samples(mix.size());
    for (size_t i = 0; i < mix.size(); ++i)
        samples[i] = static_cast<int16_t>(std::clamp(std::nearbyint(mix[i] * 32768.0), -32768.0, 32767.0));
    return tmp.write(name, canonicalWav(samples));
}

}  // namespace quenvale::test
