// The renderer as a host: event timing across blocks, host calls in order, WAV output; and the tool's CLI.
#include "renderer.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "render/smf_builder.h"

namespace quenvale::render {
namespace {

using test::Bytes;
using test::TrackBuilder;

// A stand-in instrument that marks each note-on with an impulse at its frame (left: 1, right: velocity /
// 127).
struct ImpulseInstrument {
    AEffect effect{};
    audioMasterCallback host = nullptr;
    std::vector<std::pair<int, float>> pending;
    static inline std::vector<std::string> calls;
    static inline double lastTempo = 0.0;
    static inline std::vector<uint8_t> chunk;

    static VstIntPtr VSTCALLBACK dispatch(AEffect* e, VstInt32 opcode, VstInt32, VstIntPtr value, void* ptr,
                                          float opt) {
        auto* self = static_cast<ImpulseInstrument*>(e->object);
        switch (opcode) {
            case effSetSampleRate:
                calls.push_back("rate " + std::to_string(static_cast<int>(opt)));
                return 1;
            case effSetBlockSize:
                calls.push_back("block " + std::to_string(value));
                return 1;
            case effMainsChanged:
                calls.push_back("mains " + std::to_string(value));
                return 1;
            case effSetProgram:
                calls.push_back("program " + std::to_string(value));
                return 1;
            case effSetChunk: {
                const auto* bytes = static_cast<const uint8_t*>(ptr);
                chunk.assign(bytes, bytes + value);
                calls.push_back("chunk");
                return 1;
            }
            case effProcessEvents: {
                const auto* list = static_cast<const VstEvents*>(ptr);
                VstEvent* const* events = list->events;
                for (int i = 0; i < list->numEvents; ++i) {
                    const auto* midi = reinterpret_cast<const VstMidiEvent*>(events[i]);
                    if ((midi->midiData[0] & 0xF0) == 0x90 && midi->midiData[2] != 0)
                        self->pending.emplace_back(midi->deltaFrames, midi->midiData[2] / 127.0f);
                }
                return 1;
            }
            case effClose:
                calls.push_back("close");
                delete self;
                return 1;
            default:
                return 0;
        }
    }
    static void VSTCALLBACK render(AEffect* e, float**, float** outputs, VstInt32 frames) {
        auto* self = static_cast<ImpulseInstrument*>(e->object);
        auto* time =
            reinterpret_cast<VstTimeInfo*>(self->host(e, audioMasterGetTime, 0, kVstTempoValid, nullptr, 0));
        if (time != nullptr) lastTempo = time->tempo;
        for (int i = 0; i < frames; ++i) outputs[0][i] = outputs[1][i] = 0.0f;
        for (const auto& [frame, level] : self->pending) {
            if (frame >= 0 && frame < frames) {
                outputs[0][frame] = 1.0f;
                outputs[1][frame] = level;
            }
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
        self->effect.numPrograms = 128;
        self->effect.numOutputs = 2;
        self->effect.object = self;
        return &self->effect;
    }
};

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "quenvale_render_" + name;
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

struct Wav {
    SF_INFO info{};
    std::vector<float> samples;  // interleaved
};

bool readWav(const std::string& path, Wav& wav) {
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &wav.info);
    if (file == nullptr) return false;
    wav.samples.resize(static_cast<size_t>(wav.info.frames * wav.info.channels));
    sf_readf_float(file, wav.samples.data(), wav.info.frames);
    sf_close(file);
    return true;
}

// 480 ticks a quarter at 120 BPM, then 60 BPM from tick 960.
Bytes timingFile() {
    return test::buildSmf(
        1, 480,
        {TrackBuilder().tempo(960, 1000000).end(), TrackBuilder()
                                                       .event(0, {0x90, 60, 127})
                                                       .event(480, {0x90, 62, 64})  // 0.5 s
                                                       .event(960, {0x90, 64, 32})  // 2.0 s
                                                       .event(1, {0x80, 64, 0})
                                                       .end(479)});  // last event at tick 1920: 3.0 s
}

TEST(Renderer, EventsLandOnTheirFramesAcrossBlocks) {
    const std::string midi = tempPath("timing.mid"), out = tempPath("timing.wav"),
                      state = tempPath("timing.bin");
    writeFile(midi, timingFile());
    writeFile(state, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    RenderOptions options;
    options.pluginPath = "impulse";
    options.midiPath = midi;
    options.outputPath = out;
    options.blockSize = 500;
    options.tailSeconds = 0.5;
    options.tempo = 87.0;
    options.program = 3;
    options.bankPath = state;
    ImpulseInstrument::calls.clear();
    RenderSummary summary;
    std::string error;
    ASSERT_TRUE(renderWithPlugin(&ImpulseInstrument::entry, options, nullptr, summary, error)) << error;

    const std::vector<std::string> expectedCalls = {"rate 44100", "block 500", "chunk", "mains 1",
                                                    "program 3",  "mains 0",   "close"};
    EXPECT_EQ(ImpulseInstrument::calls, expectedCalls);
    EXPECT_EQ(ImpulseInstrument::chunk, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(ImpulseInstrument::lastTempo, 87.0);

    Wav wav;
    ASSERT_TRUE(readWav(out, wav));
    EXPECT_EQ(wav.info.channels, 2);
    EXPECT_EQ(wav.info.samplerate, 44100);
    EXPECT_EQ(wav.info.format & SF_FORMAT_SUBMASK, SF_FORMAT_FLOAT);
    EXPECT_EQ(wav.info.frames, 3 * 44100 + 22050);
    EXPECT_EQ(summary.frames, wav.info.frames);
    EXPECT_FLOAT_EQ(summary.peak, 1.0f);
    std::vector<std::pair<long, float>> impulses;
    for (long i = 0; i < wav.info.frames; ++i)
        if (wav.samples[static_cast<size_t>(2 * i)] != 0.0f)
            impulses.emplace_back(i, wav.samples[static_cast<size_t>(2 * i + 1)]);
    ASSERT_EQ(impulses.size(), 3u);
    EXPECT_EQ(impulses[0].first, 0);
    EXPECT_EQ(impulses[1].first, 22050);  // inside block 44, at offset 50
    EXPECT_EQ(impulses[2].first, 88200);
    EXPECT_FLOAT_EQ(impulses[1].second, 64 / 127.0f);
}

TEST(Renderer, RefusesAnInstrumentThatDoesNotStart) {
    const std::string midi = tempPath("refuse.mid");
    writeFile(midi, timingFile());
    RenderOptions options;
    options.midiPath = midi;
    options.outputPath = tempPath("refuse.wav");
    RenderSummary summary;
    std::string error;
    const host::EntryFunction refusing = [](audioMasterCallback) -> AEffect* { return nullptr; };
    EXPECT_FALSE(renderWithPlugin(refusing, options, nullptr, summary, error));
    EXPECT_NE(error.find("returned null"), std::string::npos) << error;
}

#ifdef QUENVALE_RENDER_PATH
// Runs the tool; returns its exit status and its standard error and output in text.
int runTool(const std::string& arguments, std::string& text) {
    const std::string command = std::string(QUENVALE_RENDER_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    text.clear();
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) text += buffer;
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(RenderTool, RendersThroughTheBuiltPlugin) {
    const std::string midi = tempPath("tool.mid"), out = tempPath("tool.wav");
    writeFile(midi, timingFile());
    std::string text;
    ASSERT_EQ(runTool(std::string("--sr 48000 --block 256 --tail 1 --format pcm24 ") + QUENVALE_PLUGIN_PATH +
                          " " + midi + " -o " + out,
                      text),
              0)
        << text;
    EXPECT_NE(text.find("real time"), std::string::npos) << text;
    EXPECT_NE(text.find("dBFS"), std::string::npos) << text;
    Wav wav;
    ASSERT_TRUE(readWav(out, wav));
    EXPECT_EQ(wav.info.samplerate, 48000);
    EXPECT_EQ(wav.info.channels, 2);
    EXPECT_EQ(wav.info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_24);
    EXPECT_EQ(wav.info.frames, 4 * 48000);
}

TEST(RenderTool, BadInputGivesAMessageAndAFailureStatus) {
    const std::string good = tempPath("good.mid"), junk = tempPath("junk.mid"),
                      shortState = tempPath("short.qpb");
    writeFile(good, timingFile());
    writeFile(junk, {'M', 'T', 'h', 'd', 0, 0});
    writeFile(shortState, {1, 2, 3});
    const std::string plugin = QUENVALE_PLUGIN_PATH, out = tempPath("bad.wav");
    struct Case {
        std::string arguments;
        const char* message;
    };
    const Case cases[] = {
        {plugin + " " + tempPath("missing.mid") + " " + out, "cannot open MIDI file"},
        {plugin + " " + junk + " " + out, "truncated"},
        {good + " " + good + " " + out, "cannot load plug-in"},
        {tempPath("missing.so") + " " + good + " " + out, "no such file"},
        {"--bank " + shortState + " " + plugin + " " + good + " " + out, "refused"},
        {"--sr 0 " + plugin + " " + good + " " + out, "--sr"},
        {plugin + " " + good, "output"},
        {"--frobnicate " + plugin + " " + good + " " + out, "unknown option"},
    };
    for (const Case& c : cases) {
        std::string text;
        EXPECT_NE(runTool(c.arguments, text), 0) << c.arguments;
        EXPECT_NE(text.find(c.message), std::string::npos) << c.arguments << "\n" << text;
    }
    std::string help;
    EXPECT_EQ(runTool("--help", help), 0);
    EXPECT_NE(help.find("Usage: quenvale-render"), std::string::npos);
}
#endif

}  // namespace
}  // namespace quenvale::render
