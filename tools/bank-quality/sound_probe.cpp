// Plays a program of an engine and measures what comes out.
#include "sound_probe.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

#include "common/runtime_random.h"
#include "engine/midi_entry.h"
#include "engine/rate_values.h"
#include "resynth/fft.h"

namespace quenvale::probe {
namespace {

constexpr int32_t kBlock = 256;

void send(SynthEngine& engine, uint8_t status, int data1, int data2) {
    const MidiEntry entry{status, static_cast<uint8_t>(data1), static_cast<uint8_t>(data2), 0};
    engine.processMidi(&entry, 1);
}

double toDb(double level) {
    return 20.0 * std::log10(std::max(level, 1e-12));
}

}  // namespace

Take play(SynthEngine& engine, int32_t program, const std::vector<int>& notes, int velocity, float hold,
          float maxTail, const Controls& controls) {
    // Every take starts alike: the effect lines emptied (a program without effects in between), and the
    // random phases drawn when the program's spectra are built taken from the same point of the runtime's
    // generator.
    quenvale::seedRuntimeRandom(1);
    engine.selectProgram(0, kProgramCount - 1, true);
    engine.selectProgram(0, program, true);
    // Control ticks fall on every 64th sample of the engine's count: notes start on a tick.
    std::vector<float> l(kBlock), r(kBlock);
    if (const int32_t offset = engine.sampleCounter() % 64; offset != 0)
        engine.render(l.data(), r.data(), 64 - offset);
    send(engine, 0xB0, 1, controls.wheel);
    for (const auto& [index, value] : controls.parameters) engine.setParameterValue(0, index, makeFloatValue(value));
    const double rate = rates.sampleRate;
    const auto quietNeeded = static_cast<int64_t>(rate);  // one second
    Take take;
    int64_t quietFrames = 0;
    // Renders up to `frames`; with `untilQuiet`, stops once the voices have ended and a second was silent.
    const auto render = [&](int64_t frames, bool untilQuiet) {
        for (int64_t done = 0; done < frames; done += kBlock) {
            const auto n = static_cast<int32_t>(std::min<int64_t>(kBlock, frames - done));
            engine.render(l.data(), r.data(), n);
            const auto base = static_cast<int64_t>(take.left.size());
            for (int32_t i = 0; i < n; ++i) {
                const bool audible = !(std::fabs(l[i]) < kSilence && std::fabs(r[i]) < kSilence);
                if (audible) take.lastAudible = base + i;
                quietFrames = audible ? 0 : quietFrames + 1;
            }
            take.left.insert(take.left.end(), l.begin(), l.begin() + n);
            take.right.insert(take.right.end(), r.begin(), r.begin() + n);
            if (untilQuiet && engine.activeVoiceCount() == 0 && quietFrames >= quietNeeded) {
                take.finished = true;
                return;
            }
        }
    };
    for (int note : notes) send(engine, 0x90, note, velocity);
    const auto start = std::chrono::steady_clock::now();
    render(static_cast<int64_t>(hold * rate), false);
    take.holdSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    take.releaseFrame = static_cast<int64_t>(take.left.size());
    for (int note : notes) send(engine, 0x80, note, 0);
    render(static_cast<int64_t>(maxTail * rate), true);
    return take;
}

double rmsDb(const Take& take, int64_t from, int64_t to) {
    to = std::min<int64_t>(to, static_cast<int64_t>(take.left.size()));
    double sum = 0.0;
    for (int64_t i = from; i < to; ++i)
        sum += static_cast<double>(take.left[i]) * take.left[i] + static_cast<double>(take.right[i]) * take.right[i];
    return to > from ? toDb(std::sqrt(sum / static_cast<double>(2 * (to - from)))) : -240.0;
}

double peakDb(const Take& take) {
    float peak = 0.0f;
    for (size_t i = 0; i < take.left.size(); ++i) peak = std::max({peak, std::fabs(take.left[i]), std::fabs(take.right[i])});
    return toDb(peak);
}

double dcDb(const Take& take) {
    double left = 0.0, right = 0.0;
    for (size_t i = 0; i < take.left.size(); ++i) {
        left += take.left[i];
        right += take.right[i];
    }
    const double n = std::max<double>(1.0, static_cast<double>(take.left.size()));
    return toDb(std::max(std::fabs(left), std::fabs(right)) / n);
}

double differenceDb(const Take& a, const Take& b) {
    const size_t n = std::min(a.left.size(), b.left.size());
    double difference = 0.0, level = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double dl = static_cast<double>(a.left[i]) - b.left[i], dr = static_cast<double>(a.right[i]) - b.right[i];
        difference += dl * dl + dr * dr;
        level += static_cast<double>(a.left[i]) * a.left[i] + static_cast<double>(a.right[i]) * a.right[i];
    }
    return 10.0 * std::log10((difference + 1e-30) / (level + 1e-30));
}

double spectrogramDifferenceDb(const Take& a, const Take& b) {
    constexpr int32_t kSize = 2048, kHop = 1024;
    static const FftTable table(kSize);
    const auto n = static_cast<int64_t>(std::min(a.left.size(), b.left.size()));
    double difference = 0.0, level = 0.0;
    std::vector<double> reA(kSize), imA(kSize), reB(kSize), imB(kSize);
    for (const bool left : {true, false})
        for (int64_t from = 0; from + kSize <= n; from += kHop) {
            const std::vector<float>& x = left ? a.left : a.right;
            const std::vector<float>& y = left ? b.left : b.right;
            for (int32_t i = 0; i < kSize; ++i) {
                const double window = 0.5 - 0.5 * std::cos(2.0 * 3.141592653589793 * i / kSize);
                reA[static_cast<size_t>(i)] = window * x[static_cast<size_t>(from + i)];
                reB[static_cast<size_t>(i)] = window * y[static_cast<size_t>(from + i)];
                imA[static_cast<size_t>(i)] = imB[static_cast<size_t>(i)] = 0.0;
            }
            fftInPlace(table, reA.data(), imA.data(), -1);
            fftInPlace(table, reB.data(), imB.data(), -1);
            for (size_t k = 1; k < kSize / 2; ++k) {
                const double ma = std::hypot(reA[k], imA[k]), mb = std::hypot(reB[k], imB[k]);
                difference += (ma - mb) * (ma - mb);
                level += ma * ma;
            }
        }
    return 10.0 * std::log10((difference + 1e-30) / (level + 1e-30));
}

bool allFinite(const Take& take) {
    for (size_t i = 0; i < take.left.size(); ++i)
        if (!std::isfinite(take.left[i]) || !std::isfinite(take.right[i])) return false;
    return true;
}

double centroidHz(const Take& take, int64_t from, double sampleRate) {
    constexpr int32_t kSize = 4096;
    static const FftTable table(kSize);
    std::vector<double> re(kSize, 0.0), im(kSize, 0.0);
    for (int32_t i = 0; i < kSize; ++i) {
        const int64_t at = from + i;
        if (at < 0 || at >= static_cast<int64_t>(take.left.size())) continue;
        const double window = 0.5 - 0.5 * std::cos(2.0 * 3.141592653589793 * i / kSize);
        re[static_cast<size_t>(i)] = window * (take.left[static_cast<size_t>(at)] + take.right[static_cast<size_t>(at)]);
    }
    fftInPlace(table, re.data(), im.data(), -1);
    double weighted = 0.0, total = 0.0;
    for (int32_t k = 1; k < kSize / 2; ++k) {
        const double magnitude = std::hypot(re[static_cast<size_t>(k)], im[static_cast<size_t>(k)]);
        weighted += magnitude * k * sampleRate / kSize;
        total += magnitude;
    }
    return total > 0.0 ? weighted / total : 0.0;
}

}  // namespace quenvale::probe
