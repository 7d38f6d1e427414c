// Tones made by our own code for re-synthesis.
#include "tone_sources.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>

#include "resynth/resynthesis.h"

namespace quenvale::factory {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A small generator of our own, so the tones do not depend on the process's rand().
class Noise {
public:
    explicit Noise(uint32_t seed) : state_(seed * 747796405u + 2891336453u) {}
    float next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<float>(state_ >> 8) / 8388608.0f - 1.0f;
    }

private:
    uint32_t state_;
};

// A two-pole resonator (band-pass) at hz with bandwidth bw.
struct Resonator {
    double a1 = 0, a2 = 0, gain = 0, y1 = 0, y2 = 0;
    Resonator(double hz, double bw, double level) {
        const double r = std::exp(-std::numbers::pi * bw / kToneRate);
        a1 = 2.0 * r * std::cos(kTwoPi * hz / kToneRate);
        a2 = -r * r;
        gain = level * (1.0 - r);
    }
    double run(double x) {
        const double y = gain * x + a1 * y1 + a2 * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

void put16(std::FILE* f, uint32_t v) {
    std::fputc(static_cast<int>(v & 0xFF), f);
    std::fputc(static_cast<int>((v >> 8) & 0xFF), f);
}
void put32(std::FILE* f, uint32_t v) {
    put16(f, v & 0xFFFF);
    put16(f, v >> 16);
}

// The form the analysis reads: 16-bit stereo PCM at 44100 Hz, both channels the tone.
bool writeWav16(const std::string& path, const std::vector<float>& tone) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) return false;
    const uint32_t dataBytes = static_cast<uint32_t>(tone.size() * 4);
    std::fputs("RIFF", f);
    put32(f, 36 + dataBytes);
    std::fputs("WAVEfmt ", f);
    put32(f, 16);
    put16(f, 1);
    put16(f, 2);
    put32(f, 44100);
    put32(f, 44100 * 4);
    put16(f, 4);
    put16(f, 16);
    std::fputs("data", f);
    put32(f, dataBytes);
    for (float s : tone) {
        const auto v = static_cast<int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
        put16(f, static_cast<uint16_t>(v));
        put16(f, static_cast<uint16_t>(v));
    }
    return std::fclose(f) == 0;
}

void normalise(std::vector<float>& tone) {
    float peak = 0.0f;
    for (float s : tone) peak = std::max(peak, std::fabs(s));
    if (peak > 0.0f)
        for (float& s : tone) s *= 0.8f / peak;
}

}  // namespace

std::vector<float> pluckedString(int32_t delaySamples, float seconds, float brightness, uint32_t seed) {
    Noise noise(seed);
    std::vector<float> line(static_cast<size_t>(delaySamples));
    // A pick near the bridge: the burst is smoothed once so the very top is softer.
    float last = 0.0f;
    for (float& s : line) {
        const float n = noise.next();
        s = 0.5f * (n + last);
        last = n;
    }
    std::vector<float> tone(static_cast<size_t>(seconds * kToneRate));
    size_t index = 0;
    float previous = 0.0f;
    for (float& out : tone) {
        const float current = line[index];
        const float averaged = 0.5f * (current + previous);
        line[index] = 0.996f * (brightness * current + (1.0f - brightness) * averaged);
        previous = current;
        out = current;
        index = (index + 1) % line.size();
    }
    normalise(tone);
    return tone;
}

float pluckedStringPitch(int32_t delaySamples) {
    // The averaging filter delays by half a sample, weighted by the share of the loop it takes.
    return kToneRate / (static_cast<float>(delaySamples) + 0.5f);
}

std::vector<float> fmTine(float hz, float seconds) {
    std::vector<float> tone(static_cast<size_t>(seconds * kToneRate));
    for (size_t n = 0; n < tone.size(); ++n) {
        const double t = static_cast<double>(n) / kToneRate;
        const double index = 0.3 + 3.2 * std::exp(-t * 6.0);
        const double tine = 0.25 * std::exp(-t * 14.0) * std::sin(kTwoPi * 14.0 * hz * t);
        const double body = std::sin(kTwoPi * hz * t + index * std::sin(kTwoPi * hz * t) + tine);
        tone[n] = static_cast<float>(body * std::exp(-t * 0.9) * std::min(1.0, t * 400.0));
    }
    normalise(tone);
    return tone;
}

std::vector<float> sungVowel(float hz, float seconds) {
    Resonator formants[] = {{750, 90, 1.0}, {1150, 110, 0.55}, {2800, 160, 0.25}, {3500, 200, 0.12}};
    std::vector<float> tone(static_cast<size_t>(seconds * kToneRate));
    double phase = 0.0;
    for (size_t n = 0; n < tone.size(); ++n) {
        const double t = static_cast<double>(n) / kToneRate;
        phase += hz * (1.0 + 0.004 * std::sin(kTwoPi * 5.2 * t) * std::min(1.0, t)) / kToneRate;
        phase -= std::floor(phase);
        // A smooth glottal pulse: open for 60 % of the period, closing faster than it opens.
        const double open = 0.6;
        const double pulse = phase < open ? std::pow(std::sin(std::numbers::pi * phase / open), 3.0) : 0.0;
        const double source = pulse - 0.3;
        double sum = 0.0;
        for (Resonator& r : formants) sum += r.run(source);
        tone[n] = static_cast<float>(sum * std::min(1.0, t * 8.0));
    }
    normalise(tone);
    return tone;
}

void resynthesizeTone(SoundBuilder& b, const std::vector<float>& tone, float fundamental, float distance) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
        ("quenvale-factory-" + std::to_string(::getpid()) + ".wav");
    if (!writeWav16(path.string(), tone)) {
        std::fprintf(stderr, "make-factory-bank: cannot write %s\n", path.string().c_str());
        std::exit(1);
    }
    ResynthOptions options;
    options.phase = false;
    options.pan = false;
    options.fundamental = fundamental;
    options.samplingDistance = distance;
    ResynthReport report;
    const bool done = resynthesize(b.generator(), path.string().c_str(), options, &report);
    std::filesystem::remove(path);
    if (!done) {
        std::fprintf(stderr, "make-factory-bank: re-synthesis failed: %s\n", report.error.c_str());
        std::exit(1);
    }
}

}  // namespace quenvale::factory
