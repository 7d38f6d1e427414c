// Start-up time and resident memory of one plug-in instance, through the built QuenvaleVST.so and its
// VSTPluginMain, as a host loads it.
//
// BM_PluginStartup: the time from VSTPluginMain to the end of the first rendered block (open, sample rate,
// block size, switch on, one note, one 512-frame block); every iteration is a cold start of an instance,
// including the process-wide tables, which the last instance releases when it closes. Counters
// startup_ms, the mean, and first_startup_ms, the process's first instance (budget: 50 ms each).
//
// BM_PluginMemory: the resident-set growth from just before VSTPluginMain to after all 32 voices have
// sounded for a second (rss_growth_mb, budget: 40 MB), and the heap bytes in use it added
// (heap_growth_mb). Resident pages are only counted once touched, so every voice plays; the heap figure
// does not depend on what the allocator had lying free. Run it on its own
// (--benchmark_filter=BM_PluginMemory) for a process that has not rendered anything before.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "plugin_host.h"
#include "plugin_library.h"

namespace {

using quenvale::host::PluginHost;
using quenvale::host::PluginLibrary;

constexpr int kBlock = 512;
constexpr float kSampleRate = 44100.0f;

// The library stays loaded for the whole process, as a host keeps it.
PluginLibrary* library(std::string& error) {
    static std::unique_ptr<PluginLibrary> lib = PluginLibrary::open(QUENVALE_PLUGIN_PATH, error);
    return lib.get();
}

// Resident set size of this process in bytes, from /proc/self/statm.
double residentBytes() {
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return 0.0;
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

double heapInUseBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks) + static_cast<double>(info.hblkhd);
}

// The built plug-in, or null after marking the benchmark skipped with the reason.
PluginLibrary* libraryOrSkip(benchmark::State& state) {
    std::string error;
    PluginLibrary* lib = library(error);
    if (lib == nullptr) state.SkipWithError(error.c_str());
    return lib;
}

// The calls a host makes before it renders.
bool startInstance(PluginHost& host, PluginLibrary& lib) {
    if (!host.instantiate(lib.entry())) return false;
    host.dispatch(effOpen);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, kSampleRate);
    host.dispatch(effSetBlockSize, 0, kBlock);
    host.dispatch(effMainsChanged, 0, 1);
    return true;
}

void BM_PluginStartup(benchmark::State& state) {
    PluginLibrary* lib = libraryOrSkip(state);
    if (lib == nullptr) return;
    std::vector<float> left(kBlock), right(kBlock);
    double totalSeconds = 0.0;
    // The process's first instance pays for fresh pages as well; a host that starts one instance sees it.
    static double firstSeconds = -1.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        auto host = std::make_unique<PluginHost>();
        if (!startInstance(*host, *lib)) {
            state.SkipWithError(host->error().c_str());
            return;
        }
        host->sendMidi({PluginHost::midiEvent(0x90, 60, 100)});
        host->processReplacing(left.data(), right.data(), kBlock);
        benchmark::DoNotOptimize(left.data());
        const auto end = std::chrono::steady_clock::now();
        const double seconds = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(seconds);
        totalSeconds += seconds;
        if (firstSeconds < 0.0) firstSeconds = seconds;
        host->close();
    }
    state.counters["startup_ms"] = 1000.0 * totalSeconds / static_cast<double>(state.iterations());
    state.counters["first_startup_ms"] = 1000.0 * firstSeconds;
}
BENCHMARK(BM_PluginStartup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_PluginMemory(benchmark::State& state) {
    PluginLibrary* lib = libraryOrSkip(state);
    if (lib == nullptr) return;
    std::vector<float> left(kBlock), right(kBlock);
    double rssGrowth = 0.0, heapGrowth = 0.0;
    for (auto _ : state) {
        const double rssBefore = residentBytes(), heapBefore = heapInUseBytes();
        auto host = std::make_unique<PluginHost>();
        if (!startInstance(*host, *lib)) {
            state.SkipWithError(host->error().c_str());
            return;
        }
        std::vector<VstMidiEvent> notes;
        for (int n = 0; n < 32; ++n)
            notes.push_back(PluginHost::midiEvent(0x90, static_cast<uint8_t>(36 + n), 100));
        host->sendMidi(notes);
        for (int block = 0; block < static_cast<int>(kSampleRate) / kBlock; ++block)
            host->processReplacing(left.data(), right.data(), kBlock);
        benchmark::DoNotOptimize(left.data());
        rssGrowth = residentBytes() - rssBefore;
        heapGrowth = heapInUseBytes() - heapBefore;
        host->close();
    }
    state.counters["rss_growth_mb"] = rssGrowth / (1024.0 * 1024.0);
    state.counters["heap_growth_mb"] = heapGrowth / (1024.0 * 1024.0);
}
// One iteration: the first instance of the run is the one that shows what a host's process pays.
BENCHMARK(BM_PluginMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
