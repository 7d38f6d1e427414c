// The renderer as a host: event timing across blocks, host calls in order, WAV output; and the tool's CLI.
#include "renderer.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "render/smf_builder.h"

namespace quenvale::render {
namespace {

using test::Bytes;
using test::TrackBuilder;

// A stand-in instrument that marks each note-on with an impulse at its frame (velocity / 127, both channels)
// and records the host's set-up calls with their values.
struct ImpulseInstrument {
    AEffect effect{};
    audioMasterCallback host = nullptr;
    std::vector<std::pair<int, float>> pending;
    static inline std::vector<std::pair<VstInt32, VstIntPtr>> calls;
    static inline double lastTempo = 0.0;
    static inline Bytes chunk;

    static VstIntPtr VSTCALLBACK dispatch(AEffect* e, VstInt32 op, VstInt32, VstIntPtr value, void* ptr,
                                          float opt) {
        auto* self = static_cast<ImpulseInstrument*>(e->object);
        if (op == effProcessEvents) {
            const auto* list = static_cast<const VstEvents*>(ptr);
            for (int i = 0; i < list->numEvents; ++i) {
                const auto* midi = reinterpret_cast<const VstMidiEvent*>(list->events[i]);
                if ((midi->midiData[0] & 0xF0) == 0x90 && midi->midiData[2] != 0)
                    self->pending.emplace_back(midi->deltaFrames, midi->midiData[2] / 127.0f);
            }
            return 1;
        }
        if (op != effSetSampleRate && op != effSetBlockSize && op != effMainsChanged && op != effSetProgram &&
            op != effSetChunk && op != effClose)
            return 0;
        if (op == effSetChunk) chunk.assign(static_cast<uint8_t*>(ptr), static_cast<uint8_t*>(ptr) + value);
        calls.emplace_back(op, op == effSetSampleRate ? static_cast<VstIntPtr>(opt) : value);
        if (op == effClose) delete self;
        return 1;
    }
    static void VSTCALLBACK render(AEffect* e, float**, float** outputs, VstInt32 frames) {
        auto* self = static_cast<ImpulseInstrument*>(e->object);
        auto* time =
            reinterpret_cast<VstTimeInfo*>(self->host(e, audioMasterGetTime, 0, kVstTempoValid, nullptr, 0));
        if (time != nullptr) lastTempo = time->tempo;
        for (int i = 0; i < frames; ++i) outputs[0][i] = outputs[1][i] = 0.0f;
        for (const auto& [frame, level] : self->pending) {
            if (frame >= 0 && frame < frames) outputs[0][frame] = outputs[1][frame] = level;
        }
        self->pending.clear();
    }
    static AEffect* VSTCALLBACK entry(audioMasterCallback host) {
        if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0) == 0) return nullptr;
        auto* self = new ImpulseInstrument;
        self->host = host;
        self->effect.magic = kEffectMagic;
        self->effect.dispatcher = &dispatch;
        self->effect.processReplacing = &render;
        self->effect.numOutputs = 2;
        self->effect.numPrograms = 128;
        self->effect.object = self;
        return &self->effect;
    }
};

std::string tempFile(const std::string& name, const Bytes& bytes = {}) {
    const std::string path = ::testing::TempDir() + "quenvale_render_" + name;
    if (!bytes.empty())
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), long(bytes.size()));
    return path;
}

// Interleaved samples; info.frames 0 when the file cannot be read.
std::vector<float> readWav(const std::string& path, SF_INFO& info) {
    info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    std::vector<float> samples(file ? static_cast<size_t>(info.frames * info.channels) : 0);
    if (file != nullptr) sf_readf_float(file, samples.data(), info.frames), sf_close(file);
    return samples;
}

// 480 ticks a quarter at 120 BPM, then 60 BPM from tick 960; notes at 0, 0.5 and 2.0 s; the end at 3.0 s.
Bytes timingFile() {
    TrackBuilder notes;
    notes.event(0, {0x90, 60, 127})
        .event(480, {0x90, 62, 64})
        .event(960, {0x90, 64, 32})
        .event(1, {0x80, 64, 0});
    return test::buildSmf(1, 480, {TrackBuilder().tempo(960, 1000000).end(), notes.end(479)});
}

TEST(Renderer, EventsLandOnTheirFramesAcrossBlocksAndAnInstrumentThatDoesNotStartIsRefused) {
    RenderOptions options;
    options.pluginPath = "impulse";
    options.midiPath = tempFile("timing.mid", timingFile());
    options.outputPath = tempFile("timing.wav");
    options.bankPath = tempFile("timing.bin", {1, 2, 3, 4, 5, 6, 7, 8, 9});
    options.blockSize = 500;
    options.tailSeconds = 0.5;
    options.tempo = 87.0;
    options.program = 3;
    ImpulseInstrument::calls.clear();
    RenderSummary summary;
    std::string error;
    ASSERT_TRUE(renderWithPlugin(&ImpulseInstrument::entry, options, nullptr, summary, error)) << error;
    const std::vector<std::pair<VstInt32, VstIntPtr>> expectedCalls = {
        {effSetSampleRate, 44100}, {effSetBlockSize, 500}, {effSetChunk, 9}, {effMainsChanged, 1},
        {effSetProgram, 3},        {effMainsChanged, 0},   {effClose, 0}};
    EXPECT_EQ(ImpulseInstrument::calls, expectedCalls);
    EXPECT_EQ(ImpulseInstrument::chunk, (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(ImpulseInstrument::lastTempo, 87.0);

    SF_INFO info;
    const std::vector<float> samples = readWav(options.outputPath, info);
    EXPECT_EQ(std::vector<int>({info.channels, info.samplerate, info.format & SF_FORMAT_SUBMASK}),
              std::vector<int>({2, 44100, SF_FORMAT_FLOAT}));
    EXPECT_EQ(info.frames, 3 * 44100 + 22050);
    EXPECT_EQ(summary.frames, info.frames);
    EXPECT_FLOAT_EQ(summary.peak, 1.0f);
    std::vector<std::pair<long, float>> impulses;
    for (long i = 0; i < info.frames; ++i)
        if (samples[size_t(2 * i)] != 0.0f) impulses.emplace_back(i, samples[size_t(2 * i)]);
    // The second note falls inside block 44, at offset 50.
    const std::vector<std::pair<long, float>> expected = {
        {0, 1.0f}, {22050, 64 / 127.0f}, {88200, 32 / 127.0f}};
    EXPECT_EQ(impulses, expected);
    // An instrument that does not start is refused with a reason.
    auto refusing = [](audioMasterCallback) -> AEffect* { return nullptr; };
    EXPECT_FALSE(renderWithPlugin(refusing, options, nullptr, summary, error));
    EXPECT_NE(error.find("returned null"), std::string::npos) << error;
}

TEST(Renderer, ALengthEndsTheOutputThereWhereverTheSongIsAndEachBlockReachesTheSink) {
    RenderOptions options;
    options.pluginPath = "impulse";
    options.midiPath = tempFile("length.mid", timingFile());
    options.blockSize = 500;
    std::vector<float> left;
    std::vector<int> blockSizes;
    const BlockSink keep = [&](const float* l, const float* r, int frames, std::string&) {
        EXPECT_TRUE(std::equal(l, l + frames, r));
        left.insert(left.end(), l, l + frames);
        blockSizes.push_back(frames);
        return true;
    };
    const std::pair<double, long> kLengths[] = {{1.25, 55125}, {0.001, 44}, {5.0, 5 * 44100}};
    for (const auto& [seconds, frames] : kLengths) {
        options.lengthSeconds = seconds;
        left.clear();
        blockSizes.clear();
        RenderSummary summary;
        std::string error;
        ASSERT_TRUE(renderToSink(&ImpulseInstrument::entry, options, keep, nullptr, summary, error)) << error;
        EXPECT_EQ(long(left.size()), frames) << seconds;
        EXPECT_EQ(summary.frames, frames) << seconds;
        EXPECT_EQ(blockSizes.front(), std::min(500L, frames)) << seconds;
        // The impulses inside the length are where the whole render has them.
        for (const long at : {0L, 22050L, 88200L}) {
            if (at < frames) {
                EXPECT_GT(left[size_t(at)], 0.0f) << seconds << " at " << at;
            }
        }
    }
    // A sink that fails stops the render with its message.
    const BlockSink refuse = [](const float*, const float*, int, std::string& why) {
        why = "disk full";
        return false;
    };
    RenderSummary summary;
    std::string error;
    EXPECT_FALSE(renderToSink(&ImpulseInstrument::entry, options, refuse, nullptr, summary, error));
    EXPECT_EQ(error, "disk full");
}

#ifdef QUENVALE_RENDER_PATH
// Runs the tool; returns its exit status, with its standard error and output in text.
int runTool(const std::string& arguments, std::string& text) {
    FILE* pipe = ::popen((std::string(QUENVALE_RENDER_PATH) + " " + arguments + " 2>&1").c_str(), "r");
    if (pipe == nullptr) return -1;
    text.clear();
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RenderTool, RendersThroughTheBuiltPluginAndRefusesBadInputWithAMessage) {
    const std::string plugin = QUENVALE_PLUGIN_PATH, good = tempFile("tool.mid", timingFile()),
                      out = tempFile("tool.wav"), junk = tempFile("junk.mid", {'M', 'T', 'h', 'd', 0, 0});
    std::string text;
    ASSERT_EQ(
        runTool("--sr 48000 --block 256 --tail 1 --format pcm24 " + plugin + " " + good + " -o " + out, text),
        0)
        << text;
    EXPECT_TRUE(text.find("real time") != std::string::npos && text.find("dBFS") != std::string::npos)
        << text;
    SF_INFO info;
    readWav(out, info);
    EXPECT_EQ(std::vector<long>({info.samplerate, info.format & SF_FORMAT_SUBMASK, long(info.frames)}),
              std::vector<long>({48000, SF_FORMAT_PCM_24, 4 * 48000}));

    const std::pair<std::string, const char*> kBad[] = {
        {plugin + " " + tempFile("missing.mid") + " " + out, "cannot open MIDI file"},
        {plugin + " " + junk + " " + out, "truncated"},
        {good + " " + good + " " + out, "cannot load plug-in"},
        {tempFile("missing.so") + " " + good + " " + out, "no such file"},
        {"--bank " + tempFile("short.qpb", {1, 2, 3}) + " " + plugin + " " + good + " " + out, "refused"},
        {"--sr 0 " + plugin + " " + good + " " + out, "--sr"},
        {plugin + " " + good, "output"},
        {"--frobnicate " + plugin + " " + good + " " + out, "unknown option"}};
    for (const auto& [arguments, message] : kBad) {
        EXPECT_NE(runTool(arguments, text), 0) << arguments;
        EXPECT_NE(text.find(message), std::string::npos) << arguments << "\n" << text;
    }
    EXPECT_EQ(runTool("--help", text), 0);
    EXPECT_NE(text.find("Usage: quenvale-render"), std::string::npos);
}
#endif

}  // namespace
}  // namespace quenvale::render
