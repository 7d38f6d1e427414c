// Builds WAV files byte by byte for the reader and resynthesis tests, in a per-process temp folder.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace quenvale::test {

class ByteWriter {
public:
    ByteWriter& tag(const char* t) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(t[i]));
        return *this;
    }
    ByteWriter& u16(uint32_t v) {
        bytes.push_back(static_cast<unsigned char>(v));
        bytes.push_back(static_cast<unsigned char>(v >> 8));
        return *this;
    }
    ByteWriter& u32(uint32_t v) {
        u16(v & 0xFFFF);
        return u16(v >> 16);
    }
    ByteWriter& s16(int32_t v) { return u16(static_cast<uint16_t>(static_cast<int16_t>(v))); }
    ByteWriter& raw(const std::vector<unsigned char>& more) {
        for (unsigned char b : more) bytes.push_back(b);
        return *this;
    }
    std::vector<unsigned char> bytes;
};

// "RIFF" … "fmt " with a format chunk of formatSize bytes (extra bytes zero).
inline ByteWriter wavPreamble(uint32_t channels = 2, uint32_t rate = 44100, uint32_t bits = 16,
                              uint32_t formatSize = 16) {
    ByteWriter w;
    w.tag("RIFF").u32(0).tag("WAVE").tag("fmt ").u32(formatSize);
    w.u16(1).u16(channels).u32(rate).u32(rate * channels * bits / 8).u16(channels * bits / 8).u16(bits);
    for (uint32_t i = 16; i < formatSize; ++i) w.bytes.push_back(0);
    return w;
}

// A canonical 16-bit stereo 44100 Hz file with interleaved samples (left, right, left, …).
inline std::vector<unsigned char> canonicalWav(const std::vector<int16_t>& interleaved) {
    ByteWriter w = wavPreamble();
    w.tag("data").u32(static_cast<uint32_t>(interleaved.size() * 2));
    for (int16_t s : interleaved) w.s16(s);
    return w.bytes;
}

// Stereo 16-bit samples of two channels given as −1 … +1 doubles, rounded and clipped.
inline std::vector<int16_t> quantise(const std::vector<double>& left, const std::vector<double>& right) {
    std::vector<int16_t> out(left.size() * 2);
    auto q = [](double v) {
        const double s = std::nearbyint(v * 32768.0);
        return static_cast<int16_t>(s > 32767.0 ? 32767.0 : (s < -32768.0 ? -32768.0 : s));
    };
    for (size_t i = 0; i < left.size(); ++i) {
        out[2 * i] = q(left[i]);
        out[2 * i + 1] = q(right[i]);
    }
    return out;
}

// A folder of its own for this process, removed at the end of the test.
class TempFolder {
public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "quenvale_";
        if (info != nullptr) name += std::string(info->test_suite_name()) + "_" + info->name() + "_";
        name += std::to_string(static_cast<long>(::getpid()));
        for (char& c : name)
            if (c == '/') c = '_';
        path_ = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

    std::string write(const std::string& name, const std::vector<unsigned char>& bytes) const {
        const std::string p = file(name);
        std::FILE* f = std::fopen(p.c_str(), "wb");
        EXPECT_NE(f, nullptr) << p;
        if (f != nullptr) {
            if (!bytes.empty()) {
                EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
            }
            std::fclose(f);
        }
        return p;
    }

private:
    std::filesystem::path path_;
};

}  // namespace quenvale::test
