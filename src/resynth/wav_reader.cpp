// WAV reading: header over defaults, chunk walk to "data", 16-bit stereo frames into doubles.
#include "resynth/wav_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace quenvale {
namespace {

constexpr double kSampleScale = 3.0517578125e-5;  // 1 / 32768
constexpr size_t kReadBlockBytes = 65536;
// A seek step that fits a 32-bit `long` (the runtime's offset type on 32-bit Windows).
constexpr uint32_t kMaxSeekStep = 0x40000000u;

struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

uint16_t readU16(const unsigned char* p) noexcept {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t readU32(const unsigned char* p) noexcept {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

int16_t readS16(const unsigned char* p) noexcept {
    return static_cast<int16_t>(readU16(p));
}

// Moves the position forward by `bytes`, in steps a 32-bit offset can carry.
bool skipForward(std::FILE* file, uint32_t bytes) noexcept {
    while (bytes > 0) {
        const uint32_t step = std::min(bytes, kMaxSeekStep);
        if (std::fseek(file, static_cast<long>(step), SEEK_CUR) != 0) return false;
        bytes -= step;
    }
    return true;
}

}  // namespace

void decodeWavHeader(WavHeader& header, const unsigned char* bytes, size_t count) noexcept {
    // Start from the header as it stands, so that bytes not read keep their current values.
    unsigned char raw[kWavHeaderBytes];
    std::memcpy(raw + 0, header.riffTag, 4);
    for (int i = 0; i < 4; ++i) raw[4 + i] = static_cast<unsigned char>(header.riffSize >> (8 * i));
    std::memcpy(raw + 8, header.waveTag, 4);
    std::memcpy(raw + 12, header.formatTag, 4);
    for (int i = 0; i < 4; ++i) raw[16 + i] = static_cast<unsigned char>(header.formatSize >> (8 * i));
    for (int i = 0; i < 2; ++i) raw[20 + i] = static_cast<unsigned char>(header.formatCode >> (8 * i));
    for (int i = 0; i < 2; ++i) raw[22 + i] = static_cast<unsigned char>(header.channels >> (8 * i));
    for (int i = 0; i < 4; ++i) raw[24 + i] = static_cast<unsigned char>(header.sampleRate >> (8 * i));
    for (int i = 0; i < 4; ++i) raw[28 + i] = static_cast<unsigned char>(header.byteRate >> (8 * i));
    for (int i = 0; i < 2; ++i) raw[32 + i] = static_cast<unsigned char>(header.blockAlign >> (8 * i));
    for (int i = 0; i < 2; ++i) raw[34 + i] = static_cast<unsigned char>(header.bitsPerSample >> (8 * i));
    std::memcpy(raw + 36, header.chunkTag, 4);
    for (int i = 0; i < 4; ++i) raw[40 + i] = static_cast<unsigned char>(header.chunkSize >> (8 * i));

    std::memcpy(raw, bytes, std::min(count, kWavHeaderBytes));

    std::memcpy(header.riffTag, raw + 0, 4);
    header.riffSize = readU32(raw + 4);
    std::memcpy(header.waveTag, raw + 8, 4);
    std::memcpy(header.formatTag, raw + 12, 4);
    header.formatSize = readU32(raw + 16);
    header.formatCode = readU16(raw + 20);
    header.channels = readU16(raw + 22);
    header.sampleRate = readU32(raw + 24);
    header.byteRate = readU32(raw + 28);
    header.blockAlign = readU16(raw + 32);
    header.bitsPerSample = readU16(raw + 34);
    std::memcpy(header.chunkTag, raw + 36, 4);
    header.chunkSize = readU32(raw + 40);
}

bool readWav(const char* path, WavData& result) {
    if (path == nullptr) return false;
    FileHandle file(std::fopen(path, "rb"));
    if (!file) return false;
    return readWavStream(file.get(), result);
}

bool readWavStream(std::FILE* file, WavData& result) {
    if (file == nullptr) return false;
    WavHeader header;
    unsigned char bytes[kWavHeaderBytes];
    const size_t headerRead = std::fread(bytes, 1, kWavHeaderBytes, file);
    decodeWavHeader(header, bytes, headerRead);

    if (header.channels != 2 || header.sampleRate != 44100 || header.bitsPerSample != 16) return false;

    // The chunk list is taken to begin at byte 36; the position now lies at the body of that chunk.
    while (std::memcmp(header.chunkTag, "data", 4) != 0) {
        if (!skipForward(file, header.chunkSize)) return false;
        unsigned char chunk[8];
        if (std::fread(chunk, 1, 8, file) != 8) return false;
        std::memcpy(header.chunkTag, chunk, 4);
        header.chunkSize = readU32(chunk + 4);
    }

    // Read in blocks until the declared size or the end of the file, whichever comes first, so a
    // declared size beyond the file never turns into a large allocation.
    std::vector<unsigned char> data;
    const size_t declared = static_cast<size_t>(header.chunkSize) & ~static_cast<size_t>(3);
    data.reserve(std::min(declared, kReadBlockBytes * 16));
    while (data.size() < declared) {
        const size_t want = std::min(declared - data.size(), kReadBlockBytes);
        const size_t at = data.size();
        data.resize(at + want);
        const size_t got = std::fread(data.data() + at, 1, want, file);
        data.resize(at + got);
        if (got < want) break;
    }

    const size_t frames = data.size() / 4;
    std::vector<double> left(frames);
    std::vector<double> right(frames);
    for (size_t i = 0; i < frames; ++i) {
        left[i] = readS16(&data[4 * i]) * kSampleScale;
        right[i] = readS16(&data[4 * i + 2]) * kSampleScale;
    }

    result.left = std::move(left);
    result.right = std::move(right);
    result.frames = frames;
    result.wavSampleRate = header.sampleRate;
    return true;
}

}  // namespace quenvale
