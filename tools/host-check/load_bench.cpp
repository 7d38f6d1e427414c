// The full-load benchmark of quenvale-host-check. The sound is built with the engine's own classes (this
// tool links the engine for that only) and handed to the plug-in as a chunk, as a host would restore it.
#include "load_bench.h"

#include <chrono>
#include <vector>

#include "common/byte_stream.h"
#include "engine/channel.h"
#include "engine/edit_guard.h"
#include "engine/spectrum/generator.h"
#include "engine/spectrum/modulator.h"
#include "engine/spectrum/spectrum_property.h"
#include "engine/synth_engine.h"
#include "params/parameter_value.h"
#include "persist/bank_io.h"
#include "plugin_host.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <time.h>
#endif

namespace quenvale::hostcheck {

namespace {

constexpr int kVoices = 32;
constexpr int kBlock = 512;
constexpr double kSampleRate = 44100.0;
constexpr int32_t kGen1Ratio = 8;
constexpr int kRoundBlocks = 43;  // about half a second of audio

double threadCpuSeconds() {
#if defined(_WIN32)
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return 0.0;
    const auto ticks = [](const FILETIME& t) {
        return static_cast<double>(static_cast<uint64_t>(t.dwHighDateTime) << 32 | t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) * 1e-7;  // 100-nanosecond units
#else
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
#endif
}

std::vector<uint8_t> fullLoadChunk() {
    SynthEngine engine;
    engine.setSampleRate(static_cast<float>(kSampleRate));
    {
        EditGuard::EditScope edit(engine.editGuard());
        Generator& generator = *engine.channel().generator;
        generator.setPartialCount(kMaxPartials);
        PartialCurve saw(kMaxPartials);
        for (int k = 0; k < kMaxPartials; ++k) saw[k] = 1.0f / static_cast<float>(k + 1);
        generator.modulators[kSpectrumAmp].setBreakpointValues(0, saw);
    }
    engine.generatorChanged();
    engine.setParameterValue(0, kGen1Ratio, makeFloatValue(0.75f));
    ByteStream stream;
    writeBank(engine, stream, true);
    return stream.bytes;
}

}  // namespace

bool benchFullLoad(host::EntryFunction entry, double seconds, BenchResult& result, std::string& error) {
    std::vector<uint8_t> chunk = fullLoadChunk();
    host::PluginHost host;
    if (!host.instantiate(entry)) {
        error = host.error();
        return false;
    }
    host.dispatch(effOpen);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    host.dispatch(effSetBlockSize, 0, kBlock);
    if (host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data()) == 0) {
        error = "the plug-in refused the full-load chunk";
        return false;
    }
    host.dispatch(effMainsChanged, 0, 1);
    std::vector<VstMidiEvent> notes;
    for (int n = 0; n < kVoices; ++n)
        notes.push_back(host::PluginHost::midiEvent(0x90, static_cast<uint8_t>(n), 100));
    host.sendMidi(notes);
    std::vector<float> left(kBlock), right(kBlock);
    host.processReplacing(left.data(), right.data(), kBlock);
    const int64_t blocks = static_cast<int64_t>(seconds * kSampleRate / kBlock) + 1;
    const auto started = std::chrono::steady_clock::now();
    const double cpuStarted = threadCpuSeconds();
    double roundStarted = cpuStarted;
    result.bestRoundFactor = 0.0;
    for (int64_t b = 0; b < blocks; ++b) {
        host.processReplacing(left.data(), right.data(), kBlock);
        if ((b + 1) % kRoundBlocks == 0) {
            const double now = threadCpuSeconds();
            const double factor = (now - roundStarted) / (kRoundBlocks * kBlock / kSampleRate);
            if (result.bestRoundFactor == 0.0 || factor < result.bestRoundFactor) result.bestRoundFactor = factor;
            roundStarted = now;
        }
    }
    result.cpuSeconds = threadCpuSeconds() - cpuStarted;
    result.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    result.audioSeconds = static_cast<double>(blocks * kBlock) / kSampleRate;
    if (result.bestRoundFactor == 0.0) result.bestRoundFactor = result.realTimeFactor();
    host.dispatch(effMainsChanged, 0, 0);
    return true;
}

}  // namespace quenvale::hostcheck
