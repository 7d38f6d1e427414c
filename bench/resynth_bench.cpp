// Resynthesis cost: one 32768-point FFT, one analysis frame, and whole runs per second of input.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/spectrum/generator.h"
#include "resynth/fft.h"
#include "resynth/harmonic_analyser.h"
#include "resynth/resynthesis.h"

namespace quenvale {
namespace {

// A 16-bit stereo 44100 Hz recording of a 20-partial tone at 440 Hz with a little noise.
std::string writeBenchTone(double seconds) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("quenvale_resynth_bench_" + std::to_string(seconds) + ".wav"))
                                 .string();
    const uint32_t frames = static_cast<uint32_t>(seconds * 44100.0);
    std::vector<unsigned char> bytes;
    auto u16 = [&](uint32_t v) {
        bytes.push_back(static_cast<unsigned char>(v));
        bytes.push_back(static_cast<unsigned char>(v >> 8));
    };
    auto u32 = [&](uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<unsigned char>(t[i]));
    };
    tag("RIFF");
    u32(36 + frames * 4);
    tag("WAVE");
    tag("fmt ");
    u32(16);
    u16(1);
    u16(2);
    u32(44100);
    u32(176400);
    u16(4);
    u16(16);
    tag("data");
    u32(frames * 4);
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> noise(-0.001, 0.001);
    for (uint32_t n = 0; n < frames; ++n) {
        double l = 0.0, r = 0.0;
        for (int h = 1; h <= 20; ++h) {
            const double x = std::sin(6.283185307179586 * 440.0 * h * n / 44100.0) * 0.3 / h;
            l += x * (h % 2 ? 1.0 : 0.5);
            r += x * (h % 2 ? 0.5 : 1.0);
        }
        u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround((l + noise(rng)) * 16000.0))));
        u16(static_cast<uint16_t>(static_cast<int16_t>(std::lround((r + noise(rng)) * 16000.0))));
    }
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    return path;
}

void BM_Fft32768(benchmark::State& state) {
    std::vector<double> re(kAnalysisSize), im(kAnalysisSize);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    for (double& v : re) v = dist(rng);
    for (auto _ : state) {
        fftInPlace(kAnalysisSize, re.data(), im.data(), -1);
        benchmark::DoNotOptimize(re.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Fft32768)->Unit(benchmark::kMicrosecond);

// The same with the precomputed twiddle table the analysis uses.
void BM_Fft32768Table(benchmark::State& state) {
    const FftTable table(kAnalysisSize);
    std::vector<double> re(kAnalysisSize), im(kAnalysisSize);
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    for (double& v : re) v = dist(rng);
    for (auto _ : state) {
        fftInPlace(table, re.data(), im.data(), -1);
        benchmark::DoNotOptimize(re.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Fft32768Table)->Unit(benchmark::kMicrosecond);

// One frame: windowing, two FFTs and the peak search over 512 partials.
void BM_AnalysisFrame(benchmark::State& state) {
    std::vector<double> left(65536), right(65536);
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = std::sin(0.0627 * i);
        right[i] = std::cos(0.0627 * i);
    }
    HarmonicAnalyser analyser(326, 512);
    bool first = true;
    for (auto _ : state) {
        analyser.analyseFrame(left.data(), right.data(), 65536, 32768, first);
        first = false;
        benchmark::DoNotOptimize(analyser.amplitude().data());
    }
}
BENCHMARK(BM_AnalysisFrame)->Unit(benchmark::kMillisecond);

// A whole run (read, stretch, analyse, normalise, apply) on 4 s of input into 512 partials.
// "per_input_second" is the run time per second of recording.
void BM_ResynthesisRun(benchmark::State& state) {
    const double seconds = 4.0;
    static const std::string path = writeBenchTone(seconds);
    ResynthOptions options;
    options.fundamental = 440.0f;
    options.samplingDistance = static_cast<float>(state.range(0)) / 1000.0f;
    for (auto _ : state) {
        Generator generator;
        generator.setPartialCount(512);
        const bool ok = resynthesize(generator, path.c_str(), options);
        if (!ok) state.SkipWithError("resynthesis failed");
        benchmark::DoNotOptimize(generator.modulators[0].breakpoints.data());
    }
    state.counters["per_input_second"] =
        benchmark::Counter(seconds * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ResynthesisRun)->Arg(100)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace quenvale
