// libsndfile-backed WAV writer.
#include "wav_writer.h"

#include <sndfile.h>

namespace quenvale::render {

WavWriter::~WavWriter() {
    std::string ignored;
    close(ignored);
}

bool WavWriter::open(const std::string& path, int sampleRate, SampleFormat format, std::string& error) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | (format == SampleFormat::Float32 ? SF_FORMAT_FLOAT : SF_FORMAT_PCM_24);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        error = "cannot write '" + path + "': " + sf_strerror(nullptr);
        return false;
    }
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    file_ = file;
    return true;
}

bool WavWriter::write(const float* interleaved, int64_t frames, std::string& error) {
    auto* file = static_cast<SNDFILE*>(file_);
    if (file == nullptr) return false;
    if (sf_writef_float(file, interleaved, frames) != frames) {
        error = std::string("writing the WAV file failed: ") + sf_strerror(file);
        return false;
    }
    return true;
}

bool WavWriter::close(std::string& error) {
    auto* file = static_cast<SNDFILE*>(file_);
    file_ = nullptr;
    if (file == nullptr) return true;
    if (sf_close(file) != 0) {
        error = "closing the WAV file failed";
        return false;
    }
    return true;
}

}  // namespace quenvale::render
