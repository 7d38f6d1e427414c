// The round trip a musician makes with the tools: resynthesize a recorded tone into a program of the factory
// bank with quenvale-resynth, play a MIDI file with that program through quenvale-render, and hear the
// tone's partial levels again.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>
#include <vector>

#include "wav_test_support.h"

namespace quenvale {
namespace {

int run(const std::string& command) {
    const int status = std::system((command + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A format-0 Standard MIDI File holding one note of the given length (480 ticks per quarter, 120 BPM).
std::vector<unsigned char> oneNoteMidi(uint8_t note, uint32_t ticks) {
    std::vector<unsigned char> track = {0x00, 0x90, note, 100};
    std::vector<unsigned char> delta;  // variable-length quantity
    for (uint32_t v = ticks; ; v >>= 7) {
        delta.insert(delta.begin(), static_cast<unsigned char>((v & 0x7F) | (delta.empty() ? 0 : 0x80)));
        if (v < 0x80) break;
    }
    track.insert(track.end(), delta.begin(), delta.end());
    for (unsigned char b : {0x80, static_cast<int>(note), 0, 0x00, 0xFF, 0x2F, 0x00}) track.push_back(b);
    std::vector<unsigned char> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,
                                       'M', 'T', 'r', 'k'};
    const auto size = static_cast<uint32_t>(track.size());
    for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<unsigned char>(size >> shift));
    file.insert(file.end(), track.begin(), track.end());
    return file;
}

std::vector<float> readLeft(const std::string& path, double& sampleRate) {
    SF_INFO info{};
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
    if (f == nullptr) return {};
    std::vector<float> frames(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(f, frames.data(), info.frames);
    sf_close(f);
    sampleRate = info.samplerate;
    std::vector<float> left(static_cast<size_t>(info.frames));
    for (size_t i = 0; i < left.size(); ++i) left[i] = frames[i * static_cast<size_t>(info.channels)];
    return left;
}

double levelAt(const std::vector<float>& x, size_t from, size_t count, double frequency, double rate) {
    double re = 0.0, im = 0.0;
    for (size_t n = 0; n < count; ++n) {
        const double phase = 2.0 * std::numbers::pi * frequency * static_cast<double>(n) / rate;
        re += x[from + n] * std::cos(phase);
        im += x[from + n] * std::sin(phase);
    }
    return 2.0 * std::hypot(re, im) / static_cast<double>(count);
}

TEST(MusicianRoundTrip, ResynthesizedToneKeepsItsPartialLevelsThroughTheTools) {
    test::TempFolder tmp;
    // A 1.5 s tone on analysis bin 163 (about 219.4 Hz) with partials 1 : 0.5 : 0.25.
    const int bin = 163;
    const double f0 = test::binAlignedFundamental(bin);
    const std::string tone =
        test::writeTone(tmp, "tone.wav", 66150, {{bin, 0.4, 0.4}, {2 * bin, 0.2, 0.2}, {3 * bin, 0.1, 0.1}});
    const std::string bank = tmp.file("bank.qpb");
    const int program = 100;  // a program the factory bank leaves at its defaults
    ASSERT_EQ(run(std::string(QUENVALE_RESYNTH_PATH) + " " + tone + " --fundamental " + std::to_string(f0) +
                  " --bank " QUENVALE_SOURCE_DIR "/examples/factory.qpb --program " + std::to_string(program) +
                  " --out " + bank),
              0);

    // Note 57 is 220 Hz; the generator plays the recording's partials at multiples of the key frequency.
    const std::string midi = tmp.write("note.mid", oneNoteMidi(57, 960));
    const std::string wav = tmp.file("out.wav");
    ASSERT_EQ(run(std::string(QUENVALE_RENDER_PATH) + " -q --bank " + bank + " --program " +
                  std::to_string(program) + " " QUENVALE_PLUGIN_PATH " " + midi + " " + wav),
              0);

    double rate = 0.0;
    const std::vector<float> left = readLeft(wav, rate);
    ASSERT_GT(left.size(), static_cast<size_t>(rate));
    const size_t from = static_cast<size_t>(0.3 * rate), count = static_cast<size_t>(0.5 * rate);
    const double key = 220.0;
    const double h1 = levelAt(left, from, count, key, rate);
    const double h2 = levelAt(left, from, count, 2 * key, rate);
    const double h3 = levelAt(left, from, count, 3 * key, rate);
    ASSERT_GT(h1, 1e-3);
    EXPECT_NEAR(h2 / h1, 0.5, 0.03);
    EXPECT_NEAR(h3 / h1, 0.25, 0.03);
    EXPECT_LT(levelAt(left, from, count, 4 * key, rate), 0.02 * h1) << "no partial the tone lacks";
}

}  // namespace
}  // namespace quenvale
