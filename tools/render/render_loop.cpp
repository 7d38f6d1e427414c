// The render loop shared by quenvale-render and quenvale-host-check.
#include "render_loop.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iterator>
#include <vector>

#include "midi_file.h"
#include "plugin_host.h"
#include "tempo_map.h"

namespace quenvale::render {

namespace {

struct ScheduledEvent {
    int64_t frame;
    VstMidiEvent event;
};

bool readFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open '" + path + "'";
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        error = "cannot read '" + path + "'";
        return false;
    }
    return true;
}

std::vector<ScheduledEvent> schedule(const MidiSequence& sequence, double sampleRate) {
    const TempoMap tempo(sequence);
    std::vector<ScheduledEvent> events;
    events.reserve(sequence.events.size());
    for (const MidiFileEvent& e : sequence.events) {
        const uint8_t data2 = e.size > 2 ? e.bytes[2] : 0;
        events.push_back(
            {tempo.frameAt(e.tick, sampleRate), host::PluginHost::midiEvent(e.bytes[0], e.bytes[1], data2)});
    }
    return events;
}

}  // namespace

bool renderToSink(host::EntryFunction entry, const RenderOptions& options, const BlockSink& sink,
                  const ProgressFunction& progress, RenderSummary& summary, std::string& error) {
    MidiSequence sequence;
    if (!loadMidiFile(options.midiPath, sequence, error)) return false;
    std::vector<uint8_t> chunk;
    const std::string& chunkPath = options.chunkPath.empty() ? options.bankPath : options.chunkPath;
    if (!chunkPath.empty()) {
        if (!readFile(chunkPath, chunk, error)) return false;
        if (chunk.empty()) {
            error = "'" + chunkPath + "' is empty";
            return false;
        }
    }

    host::PluginHost host;
    if (!host.instantiate(entry)) {
        error = options.pluginPath + ": " + host.error();
        return false;
    }
    const double sampleRate = options.sampleRate;
    host.setSampleRate(sampleRate);
    host.setTempo(options.tempo);
    host.dispatch(effOpen);
    host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    host.dispatch(effSetBlockSize, 0, options.blockSize);
    if (!chunk.empty() &&
        host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data()) == 0) {
        error = "the plug-in refused the state in '" + chunkPath + "'";
        return false;
    }
    host.dispatch(effMainsChanged, 0, 1);
    if (options.program >= 0) {
        if (options.program >= host.effect()->numPrograms) {
            error = "the plug-in has no program " + std::to_string(options.program);
            return false;
        }
        host.dispatch(effSetProgram, 0, options.program);
    }

    const std::vector<ScheduledEvent> events = schedule(sequence, sampleRate);
    const TempoMap tempo(sequence);
    const int64_t endFrame = tempo.frameAt(sequence.endTick, sampleRate);
    const int64_t totalFrames =
        options.lengthSeconds > 0.0
            ? static_cast<int64_t>(std::llround(options.lengthSeconds * sampleRate))
            : endFrame + static_cast<int64_t>(std::llround(options.tailSeconds * sampleRate));

    const auto started = std::chrono::steady_clock::now();
    const int block = options.blockSize;
    std::vector<float> left(static_cast<size_t>(block)), right(static_cast<size_t>(block));
    std::vector<VstMidiEvent> blockEvents;
    size_t next = 0;
    float peak = 0.0f;
    for (int64_t start = 0; start < totalFrames; start += block) {
        const int frames = static_cast<int>(std::min<int64_t>(block, totalFrames - start));
        blockEvents.clear();
        while (next < events.size() && events[next].frame < start + frames) {
            VstMidiEvent event = events[next].event;
            ++next;
            if ((static_cast<uint8_t>(event.midiData[0]) & 0xF0) == 0xC0) {
                // A program change selects the program as a host's program list does; what came
                // before it in this block reaches the old program first.
                if (!blockEvents.empty()) host.sendMidi(blockEvents);
                blockEvents.clear();
                host.dispatch(effSetProgram, 0, static_cast<uint8_t>(event.midiData[1]) & 0x7F);
                continue;
            }
            event.deltaFrames = static_cast<VstInt32>(std::max<int64_t>(events[next - 1].frame - start, 0));
            blockEvents.push_back(event);
        }
        if (!blockEvents.empty()) host.sendMidi(blockEvents);
        host.setSamplePosition(static_cast<double>(start));
        host.processReplacing(left.data(), right.data(), frames);
        for (int i = 0; i < frames; ++i) {
            peak = std::max(
                {peak, std::fabs(left[static_cast<size_t>(i)]), std::fabs(right[static_cast<size_t>(i)])});
        }
        if (!sink(left.data(), right.data(), frames, error)) return false;
        if (progress) progress(static_cast<double>(start + frames) / static_cast<double>(totalFrames));
    }
    host.dispatch(effMainsChanged, 0, 0);
    host.close();

    summary.frames = totalFrames;
    summary.seconds = static_cast<double>(totalFrames) / sampleRate;
    summary.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    summary.peak = peak;
    return true;
}

}  // namespace quenvale::render
