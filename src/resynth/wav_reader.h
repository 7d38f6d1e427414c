// Reads the one sound format the resynthesis accepts: 16-bit stereo PCM WAV at 44100 Hz.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace quenvale {

// The canonical 44-byte header of a RIFF WAVE file, all fields little-endian. The last two fields
// double as the current chunk header while the reader walks the chunk list.
struct WavHeader {
    char riffTag[4] = {'R', 'I', 'F', 'F'};
    uint32_t riffSize = 0;
    char waveTag[4] = {'W', 'A', 'V', 'E'};
    char formatTag[4] = {'f', 'm', 't', ' '};
    uint32_t formatSize = 16;
    uint16_t formatCode = 1;
    uint16_t channels = 1;
    uint32_t sampleRate = 44100;
    uint32_t byteRate = 88200;
    uint16_t blockAlign = 2;
    uint16_t bitsPerSample = 16;
    char chunkTag[4] = {'d', 'a', 't', 'a'};
    uint32_t chunkSize = 0;
};

inline constexpr size_t kWavHeaderBytes = 44;

// [any] Overwrites the header with the bytes read; `count` (0 … 44) bytes from the file's start are
// present, the tail beyond them keeps the header's current (default) values.
void decodeWavHeader(WavHeader& header, const unsigned char* bytes, size_t count) noexcept;

// The two channels of a read file, scaled to −1 … +1 (a sample s becomes s / 32768).
struct WavData {
    std::vector<double> left;
    std::vector<double> right;
    size_t frames = 0;
    uint32_t wavSampleRate = 0;
};

// [any] Reads a 16-bit stereo 44100 Hz WAV file. Every other format, an unopenable file and a file
// without a "data" chunk fail, leaving `result` untouched. The chunk list is walked from byte 36
// (so a format chunk longer than 16 bytes is misread). A data chunk that declares more bytes than
// the file holds (a truncated file) yields the whole frames the file holds, and no memory is set
// aside for bytes that are not there.
bool readWav(const char* path, WavData& result);

// [any] The same on a file already open for binary reading at its first byte (left open).
bool readWavStream(std::FILE* file, WavData& result);

}  // namespace quenvale
