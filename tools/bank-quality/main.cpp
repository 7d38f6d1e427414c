// bank-quality: plays every factory program and checks what a musician would notice first.
//
// For each program, single notes at C2, C4 and C6 and a chord (C4 E4 G4 C5), at velocities 64 and 127,
// at 44.1 and 96 kHz: every sample finite; peak at most −1 dBFS; DC offset at most −60 dBFS; every note
// below −90 dBFS within 12 s of its release. Across the bank: chord loudness (velocity 127, 44.1 kHz)
// (the loudest 400 ms) within ±4 dB of the median of the playable sounds (drones and effects may sit up to 12 dB lower), and
// no two programs near-identical (loudness contour and spectral centroid of a held C4). Also prints the
// CPU cost of one voice of each program. --quick runs a reduced matrix for sanitizer builds.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "factory_bank.h"
#include "sound_probe.h"

namespace {

using quenvale::SynthEngine;
using quenvale::factory::SoundInfo;
using namespace quenvale::probe;

constexpr double kPeakLimitDb = -1.0;
constexpr double kDcLimitDb = -60.0;
constexpr double kReleaseLimitSeconds = 12.0;
constexpr double kLoudnessSpreadDb = 4.0;
constexpr double kQuietAllowanceDb = 12.0;
constexpr double kLoudnessTargetDb = -18.0;  // chord loudness the trims aim at
constexpr float kChordHold = 3.0f;
constexpr float kNoteHold = 1.0f;

struct Features {
    double envelope[8] = {};
    double centroid[4] = {};
};

struct Result {
    double loudness = -240.0;
    double peak = -240.0;
    double worstRelease = 0.0;
    double cpuPercent = 0.0;
    Features features;
    std::vector<std::string> failures;
};

struct Options {
    bool quick = false;
    bool suggestTrims = false;
};

void check(Result& result, const Take& take, double rate, const std::string& what) {
    if (!allFinite(take)) result.failures.push_back(what + ": non-finite sample");
    const double peak = peakDb(take);
    result.peak = std::max(result.peak, peak);
    if (peak > kPeakLimitDb) result.failures.push_back(what + ": peak " + std::to_string(peak) + " dBFS");
    const double dc = dcDb(take);
    if (dc > kDcLimitDb) result.failures.push_back(what + ": DC " + std::to_string(dc) + " dBFS");
    const double release = static_cast<double>(std::max<int64_t>(0, take.lastAudible - take.releaseFrame)) / rate;
    result.worstRelease = std::max(result.worstRelease, release);
    if (!take.finished || release > kReleaseLimitSeconds)
        result.failures.push_back(what + ": still audible " + std::to_string(release) + " s after release");
}

// The loudest 400 ms of the held chord (RMS, both channels, stepped by 100 ms): fair to struck sounds,
// which are loudest at once, and to pads, which take seconds to open.
double momentaryLoudness(const Take& take, double rate) {
    const auto window = static_cast<int64_t>(0.4 * rate), hop = static_cast<int64_t>(0.1 * rate);
    double loudest = -240.0;
    for (int64_t from = 0; from + window <= take.releaseFrame; from += hop)
        loudest = std::max(loudest, rmsDb(take, from, from + window));
    return loudest;
}

Features featuresOf(const Take& take, double rate) {
    Features f;
    for (int i = 0; i < 8; ++i) {
        const auto from = static_cast<int64_t>(i * 0.25 * rate);
        f.envelope[i] = std::max(-80.0, rmsDb(take, from, from + static_cast<int64_t>(0.25 * rate)));
    }
    const double at[4] = {0.1, 0.4, 0.7, 0.95};
    for (int i = 0; i < 4; ++i) f.centroid[i] = std::log2(std::max(1.0, centroidHz(take, static_cast<int64_t>(at[i] * rate), rate)));
    return f;
}

// Mean contour distance (dB) and mean centroid distance (octaves).
void distance(const Features& a, const Features& b, double& envelope, double& centroid) {
    envelope = centroid = 0.0;
    for (int i = 0; i < 8; ++i) envelope += std::fabs(a.envelope[i] - b.envelope[i]) / 8.0;
    for (int i = 0; i < 4; ++i) centroid += std::fabs(a.centroid[i] - b.centroid[i]) / 4.0;
}

Result measure(SynthEngine& engine, int32_t program, const Options& options) {
    Result result;
    const std::vector<double> rates = options.quick ? std::vector<double>{44100.0} : std::vector<double>{44100.0, 96000.0};
    const std::vector<int> velocities = options.quick ? std::vector<int>{127} : std::vector<int>{64, 127};
    const std::vector<std::vector<int>> notes = options.quick
        ? std::vector<std::vector<int>>{{60}, {60, 64, 67, 72}}
        : std::vector<std::vector<int>>{{36}, {60}, {84}, {60, 64, 67, 72}};
    const float chordHold = options.quick ? 0.5f : kChordHold;
    for (double rate : rates) {
        engine.setSampleRate(static_cast<float>(rate));
        for (int velocity : velocities)
            for (const std::vector<int>& chord : notes) {
                const bool isChord = chord.size() > 1;
                const Take take = play(engine, program, chord, velocity, isChord ? chordHold : kNoteHold,
                                       static_cast<float>(kReleaseLimitSeconds) + 1.0f);
                const std::string what = std::to_string(static_cast<int>(rate)) + " Hz, " +
                    (isChord ? std::string("chord") : "note " + std::to_string(chord[0])) + ", velocity " +
                    std::to_string(velocity);
                check(result, take, rate, what);
                if (rate != 44100.0 || velocity != 127) continue;
                if (isChord) {
                    result.loudness = momentaryLoudness(take, rate);
                } else if (chord[0] == 60) {
                    result.features = featuresOf(take, rate);
                    result.cpuPercent = 100.0 * take.holdSeconds / kNoteHold;
                }
            }
    }
    return result;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0) {
            options.quick = true;
        } else if (std::strcmp(argv[i], "--suggest-trims") == 0) {
            options.suggestTrims = true;
        } else {
            std::fprintf(stderr, "usage: %s [--quick] [--suggest-trims]\n", argv[0]);
            return 2;
        }
    }
    // The engine's random phases come from the runtime's generator: start from a known state.
    std::srand(1);
    SynthEngine engine;
    engine.setSampleRate(44100.0f);
    const std::vector<SoundInfo> sounds = quenvale::factory::buildFactoryBank(engine);

    std::vector<Result> results(sounds.size());
    const size_t step = options.quick ? 8 : 1;
    std::printf("%-3s %-16s %-16s %9s %8s %9s %10s\n", "#", "program", "category", "loud dB", "peak dB",
                "release s", "CPU %/voice");
    for (size_t p = 0; p < sounds.size(); p += step) {
        results[p] = measure(engine, sounds[p].program, options);
        const Result& r = results[p];
        std::printf("%-3d %-16s %-16s %9.1f %8.1f %9.2f %10.2f\n", sounds[p].program, sounds[p].name.c_str(),
                    sounds[p].category.c_str(), r.loudness, r.peak, r.worstRelease, r.cpuPercent);
        std::fflush(stdout);
    }

    int failures = 0;
    const auto fail = [&](const std::string& text) {
        std::printf("FAIL %s\n", text.c_str());
        ++failures;
    };
    std::vector<double> playable;
    for (size_t p = 0; p < sounds.size(); p += step)
        if (!sounds[p].quiet) playable.push_back(results[p].loudness);
    std::sort(playable.begin(), playable.end());
    const double median = playable.empty() ? 0.0 : playable[playable.size() / 2];
    std::printf("median chord loudness of the playable sounds: %.1f dB RMS\n", median);
    for (size_t p = 0; p < sounds.size(); p += step) {
        const std::string name = sounds[p].name;
        for (const std::string& f : results[p].failures) fail(name + ": " + f);
        const double offset = results[p].loudness - median;
        const double floor = sounds[p].quiet ? -kLoudnessSpreadDb - kQuietAllowanceDb : -kLoudnessSpreadDb;
        if (!options.quick && (offset > kLoudnessSpreadDb || offset < floor))
            fail(name + ": chord loudness " + std::to_string(offset) + " dB from the median");
        for (size_t q = 0; q < p; q += step) {
            double envelope = 0.0, centroid = 0.0;
            distance(results[p].features, results[q].features, envelope, centroid);
            if (envelope < 1.0 && centroid < 0.05) fail(name + " and " + sounds[q].name + " are near-identical");
        }
    }
    if (options.suggestTrims) {
        std::printf("suggested level trims (dB):\n");
        for (size_t p = 0; p < sounds.size(); p += step) {
            const double target = kLoudnessTargetDb - (sounds[p].quiet ? 6.0 : 0.0);
            const double current = quenvale::factory::levelTrimDb(sounds[p].name);
            double change = target - results[p].loudness;
            change = std::min(change, -2.0 - results[p].peak);  // keep 2 dB below the peak limit
            std::printf("        {\"%s\", %.1ff},\n", sounds[p].name.c_str(), current + change);
        }
    }
    std::printf("%s: %d failure(s)\n", failures == 0 ? "PASS" : "FAIL", failures);
    return failures == 0 ? 0 : 1;
}
