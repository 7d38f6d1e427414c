// bank-quality: plays every factory program and checks what a musician would notice first.
//
// For each program, single notes at C2, C4 and C6 and a chord (C4 E4 G4 C5), at velocities 64 and 127,
// at 44.1 and 96 kHz: every sample finite; peak at most −1 dBFS; DC offset at most −60 dBFS; every note
// below −90 dBFS within 12 s of its release. Across the bank: chord loudness (velocity 127, 44.1 kHz)
// (the loudest 400 ms) within ±4 dB of the median of the playable sounds (drones and effects may sit up to 12 dB lower), and
// no two programs near-identical (loudness contour and spectral centroid of a held C4); the mod wheel and
// each of the six macros audibly change a held C4 (the change of the waveform or of the magnitude
// spectrogram at least kControlDb against the sound's own level, and 6 dB clear of what two plain takes
// differ by: free-running channel LFOs and random movement never play alike). Also prints the
// CPU cost of one voice of each program. --quick runs a reduced matrix for sanitizer builds;
// --controls-only checks only the wheel and the macros; --suggest-trims prints level trims.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "common/runtime_random.h"
#include "factory_bank.h"
#include "persist/bank_io.h"
#include "persist/byte_reader.h"
#include "sound_probe.h"

namespace {

using quenvale::ByteReader;
using quenvale::ByteStream;
using quenvale::SynthEngine;
using quenvale::factory::SoundInfo;
using namespace quenvale::probe;

constexpr double kPeakLimitDb = -1.0;
constexpr double kDcLimitDb = -60.0;
constexpr double kReleaseLimitSeconds = 12.0;
constexpr double kLoudnessSpreadDb = 4.0;
constexpr double kQuietAllowanceDb = 12.0;
constexpr double kLoudnessTargetDb = -18.0;  // chord loudness the trims aim at
constexpr double kControlDb = -30.0;
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
    bool controlsOnly = false;
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

// A held C4 (1 s, then 1 s of release) with the given controls. With a bank, on a new engine holding it:
// its channel LFOs start from the beginning, which a long-lived engine's free-running ones never do.
Take heldC4(SynthEngine& engine, const ByteStream* bank, int32_t program, const Controls& controls = {}) {
    if (bank == nullptr) return play(engine, program, {60}, 100, 1.0f, 1.0f, controls);
    quenvale::seedRuntimeRandom(1);
    auto fresh = std::make_unique<SynthEngine>();
    fresh->setSampleRate(44100.0f);
    ByteReader reader(bank->bytes.data(), bank->bytes.size());
    if (!readBank(*fresh, reader, false)) return {};
    return play(*fresh, program, {60}, 100, 1.0f, 1.0f, controls);
}

// Each control at full against two plain takes of a held C4.
void checkControls(SynthEngine& engine, const ByteStream& bank, int32_t program, const SoundInfo& sound,
                   Result& result) {
    engine.setSampleRate(44100.0f);
    const ByteStream* fresh = nullptr;
    Take base = heldC4(engine, fresh, program), again = heldC4(engine, fresh, program);
    if (spectrogramDifferenceDb(base, again) > -60.0) {  // the engine's history shows: start afresh
        fresh = &bank;
        base = heldC4(engine, fresh, program);
        again = heldC4(engine, fresh, program);
    }
    const double noise = differenceDb(base, again), spectralNoise = spectrogramDifferenceDb(base, again);
    for (int control = 0; control <= 6; ++control) {
        Controls controls;
        if (control == 0) {
            controls.wheel = 127;
        } else {
            controls.parameters.push_back({1 + control, 1.0f});  // "MacroParam<control>"
        }
        const Take moved = heldC4(engine, fresh, program, controls);
        const double change = differenceDb(base, moved), spectralChange = spectrogramDifferenceDb(base, moved);
        const bool heard = (change >= kControlDb && change >= noise + 6.0) ||
                           (spectralChange >= kControlDb && spectralChange >= spectralNoise + 6.0);
        const std::string what = control == 0 ? std::string("the mod wheel")
                                              : "macro " + std::to_string(control) + " \"" + sound.macroNames[control - 1] + "\"";
        if (!heard)
            result.failures.push_back(what + " changes too little (" + std::to_string(change) + " dB, spectrogram " +
                                      std::to_string(spectralChange) + " dB; two plain takes differ by " +
                                      std::to_string(noise) + " and " + std::to_string(spectralNoise) + " dB)");
    }
}

Result measure(SynthEngine& engine, const ByteStream& bank, int32_t program, const SoundInfo& sound,
               const Options& options) {
    Result result;
    if (!options.quick) checkControls(engine, bank, program, sound, result);
    if (options.controlsOnly) return result;
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
        } else if (std::strcmp(argv[i], "--controls-only") == 0) {
            options.controlsOnly = true;
        } else {
            const bool help = std::strcmp(argv[i], "--help") == 0;
            std::fprintf(help ? stdout : stderr, "usage: %s [--quick] [--suggest-trims] [--controls-only]\n",
                         argv[0]);
            return help ? 0 : 2;
        }
    }
    // The engine's random phases come from the runtime's generator: start from a known state.
    quenvale::seedRuntimeRandom(1);
    SynthEngine engine;
    engine.setSampleRate(44100.0f);
    const std::vector<SoundInfo> sounds = quenvale::factory::buildFactoryBank(engine);
    quenvale::ByteStream bank;
    quenvale::writeBank(engine, bank, false);

    std::vector<Result> results(sounds.size());
    const size_t step = options.quick ? 8 : 1;
    std::printf("%-3s %-16s %-16s %9s %8s %9s %10s\n", "#", "program", "category", "loud dB", "peak dB",
                "release s", "CPU %/voice");
    for (size_t p = 0; p < sounds.size(); p += step) {
        results[p] = measure(engine, bank, sounds[p].program, sounds[p], options);
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
        if (!options.quick && !options.controlsOnly && (offset > kLoudnessSpreadDb || offset < floor))
            fail(name + ": chord loudness " + std::to_string(offset) + " dB from the median");
        for (size_t q = 0; q < p; q += step) {
            double envelope = 0.0, centroid = 0.0;
            distance(results[p].features, results[q].features, envelope, centroid);
            if (!options.controlsOnly && envelope < 1.0 && centroid < 0.05) fail(name + " and " + sounds[q].name + " are near-identical");
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
