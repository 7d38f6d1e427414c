// Sound file conversion for quenvale-resynth: libsndfile in, libsamplerate for the rate, WAV out.
#include "audio_input.h"

#include <samplerate.h>
#include <sndfile.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace quenvale::tool {
namespace {

constexpr int32_t kAnalysisRate = 44100;
// Far below what 16-bit output keeps; the best sinc converter costs several times as much.
constexpr int kConverter = SRC_SINC_MEDIUM_QUALITY;

struct SndfileCloser {
    void operator()(SNDFILE* file) const noexcept { sf_close(file); }
};
struct FileCloser {
    void operator()(std::FILE* file) const noexcept { std::fclose(file); }
};

void put16(std::vector<unsigned char>& out, uint32_t v) {
    out.push_back(static_cast<unsigned char>(v));
    out.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(std::vector<unsigned char>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void putTag(std::vector<unsigned char>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(tag[i]));
}

int16_t toSample(float v) {
    const float s = std::nearbyint(v * 32768.0f);
    return static_cast<int16_t>(s >= 32767.0f ? 32767.0f : (s <= -32768.0f ? -32768.0f : s));
}

// Interleaved stereo floats as a canonical 44-byte-header WAV.
bool writeStereoWav(const std::string& path, const std::vector<float>& stereo, std::string& error) {
    const uint64_t frames = stereo.size() / 2;
    if (frames * 4 > 0xFFFFFFFFull - 36) {
        error = "the converted recording is too long for a WAV file";
        return false;
    }
    const uint32_t dataBytes = static_cast<uint32_t>(frames * 4);
    std::vector<unsigned char> bytes;
    bytes.reserve(44 + dataBytes);
    putTag(bytes, "RIFF");
    put32(bytes, 36 + dataBytes);
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    put32(bytes, 16);
    put16(bytes, 1);
    put16(bytes, 2);
    put32(bytes, kAnalysisRate);
    put32(bytes, kAnalysisRate * 4);
    put16(bytes, 4);
    put16(bytes, 16);
    putTag(bytes, "data");
    put32(bytes, dataBytes);
    for (float v : stereo) put16(bytes, static_cast<uint16_t>(toSample(v)));

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size() ||
        std::fclose(file.release()) != 0) {
        error = "cannot write the converted recording to " + path;
        return false;
    }
    return true;
}

}  // namespace

bool convertToAnalysisWav(const std::string& input, const std::string& output, ConversionInfo& info,
                          std::string& error) {
    SF_INFO format{};
    std::unique_ptr<SNDFILE, SndfileCloser> in(sf_open(input.c_str(), SFM_READ, &format));
    if (!in) {
        error = "cannot read " + input + ": " + sf_strerror(nullptr);
        return false;
    }
    if (format.channels < 1 || format.samplerate < 1) {
        error = input + ": no channels or no sample rate";
        return false;
    }
    info.sourceFrames = format.frames;
    info.sourceRate = format.samplerate;
    info.sourceChannels = format.channels;

    // Keep the first two channels; a mono recording feeds both sides.
    std::vector<float> stereo;
    if (format.frames > 0) stereo.reserve(static_cast<size_t>(format.frames) * 2);
    std::vector<float> block(static_cast<size_t>(4096) * format.channels);
    for (;;) {
        const sf_count_t got = sf_readf_float(in.get(), block.data(), 4096);
        if (got <= 0) break;
        for (sf_count_t f = 0; f < got; ++f) {
            const float* frame = &block[static_cast<size_t>(f) * format.channels];
            stereo.push_back(frame[0]);
            stereo.push_back(format.channels > 1 ? frame[1] : frame[0]);
        }
    }
    if (sf_error(in.get()) != SF_ERR_NO_ERROR) {
        error = "cannot read " + input + ": " + sf_strerror(in.get());
        return false;
    }
    in.reset();

    if (format.samplerate != kAnalysisRate && !stereo.empty()) {
        const double ratio = static_cast<double>(kAnalysisRate) / format.samplerate;
        const long inFrames = static_cast<long>(stereo.size() / 2);
        std::vector<float> converted(static_cast<size_t>(std::ceil(inFrames * ratio) + 16) * 2);
        SRC_DATA data{};
        data.data_in = stereo.data();
        data.input_frames = inFrames;
        data.data_out = converted.data();
        data.output_frames = static_cast<long>(converted.size() / 2);
        data.src_ratio = ratio;
        data.end_of_input = 1;
        if (const int rc = src_simple(&data, kConverter, 2); rc != 0) {
            error = std::string("sample-rate conversion failed: ") + src_strerror(rc);
            return false;
        }
        converted.resize(static_cast<size_t>(data.output_frames_gen) * 2);
        stereo.swap(converted);
    }
    info.frames = static_cast<int64_t>(stereo.size() / 2);
    return writeStereoWav(output, stereo, error);
}

}  // namespace quenvale::tool
