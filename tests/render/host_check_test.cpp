// quenvale-host-check's parts on Linux: the record check, the float WAV reader and the bit-exact comparison,
// against the built plug-in loaded with dlopen (the same code runs the Windows DLLs under wine).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "float_wav.h"
#include "host/test_host.h"
#include "load_bench.h"
#include "record_check.h"
#include "render_compare.h"
#include "renderer.h"
#include "wav_writer.h"

namespace quenvale::hostcheck {
namespace {

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "quenvale_host_check_" + name;
}

TEST(HostCheck, TheBuiltPluginPassesTheRecordCheckAndAStrangerDoesNot) {
    ASSERT_NE(test::builtPluginEntry(), nullptr);
    const std::vector<std::string> problems = checkRecord(test::builtPluginEntry());
    EXPECT_TRUE(problems.empty()) << problems.front();

    // A plug-in of another maker: a record with its own identity and no answers.
    struct Stranger {
        static VstIntPtr VSTCALLBACK dispatch(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) {
            return 0;
        }
        static AEffect* VSTCALLBACK entry(audioMasterCallback) {
            static AEffect effect{};
            effect.magic = kEffectMagic;
            effect.dispatcher = &dispatch;
            effect.numPrograms = 1;
            return &effect;
        }
    };
    const std::vector<std::string> found = checkRecord(&Stranger::entry);
    const auto mentions = [&found](const char* what) {
        for (const std::string& p : found)
            if (p.find(what) != std::string::npos) return true;
        return false;
    };
    for (const char* what : {"version 0", "numPrograms", "numParams", "flags", "uniqueID", "effIdentify",
                             "receiveVstMidiEvent", "effClose"})
        EXPECT_TRUE(mentions(what)) << what;
}

TEST(HostCheck, FloatWavReadsBackEveryBitAndRefusesOtherFiles) {
    const std::vector<float> left = {0.0f,     -0.0f, 1.0f, -1.5f, std::numeric_limits<float>::denorm_min(),
                                     3.0e-39f, 0.1f};
    std::vector<float> interleaved;
    for (const float v : left) interleaved.insert(interleaved.end(), {v, -v * 0.5f});
    std::string error;
    const std::string floatPath = tempPath("float.wav"), pcmPath = tempPath("pcm.wav");
    for (const auto& [path, format] : {std::pair{floatPath, render::SampleFormat::Float32},
                                       std::pair{pcmPath, render::SampleFormat::Pcm24}}) {
        render::WavWriter wav;
        ASSERT_TRUE(wav.open(path, 48000, format, error)) << error;
        ASSERT_TRUE(wav.write(interleaved.data(), static_cast<int64_t>(left.size()), error)) << error;
        ASSERT_TRUE(wav.close(error)) << error;
    }
    StereoSamples read;
    ASSERT_TRUE(readFloatWav(floatPath, read, error)) << error;
    EXPECT_EQ(read.sampleRate, 48000);
    ASSERT_EQ(read.left.size(), left.size());
    EXPECT_EQ(std::memcmp(read.left.data(), left.data(), left.size() * sizeof(float)), 0);
    for (size_t i = 0; i < left.size(); ++i) EXPECT_EQ(read.right[i], -left[i] * 0.5f) << i;

    // A format chunk that claims more bytes than the file has.
    const char junk[] = "RIFF\x14\0\0\0WAVEfmt \xff\xff\xff\x7f\3\0\2\0";
    std::ofstream(tempPath("junk.wav"), std::ios::binary).write(junk, sizeof junk - 1);
    const std::pair<std::string, const char*> kRefused[] = {{pcmPath, "not stereo 32-bit float"},
                                                            {tempPath("junk.wav"), "no readable"},
                                                            {tempPath("missing.wav"), "cannot open"}};
    for (const auto& [path, message] : kRefused) {
        EXPECT_FALSE(readFloatWav(path, read, error)) << path;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

TEST(HostCheck, RendersMatchTheirReferenceBitForBitAndADifferentRenderIsCaught) {
    // References rendered the way quenvale-render renders them: programs 0 and 3 of the demo bank.
    render::RenderOptions options;
    options.pluginPath = QUENVALE_PLUGIN_PATH;
    options.midiPath = QUENVALE_SOURCE_DIR "/examples/demo.mid";
    options.bankPath = QUENVALE_SOURCE_DIR "/examples/demo.qpb";
    options.lengthSeconds = 0.5;
    const std::string dir = tempPath("references");
    std::filesystem::create_directories(dir);
    for (const int program : {0, 3}) {
        render::RenderOptions one = options;
        one.program = program;
        // Program 3's render stands as the reference of program 1, which sounds different.
        one.outputPath = dir + "/program-" + std::to_string(program == 3 ? 1 : 0) + ".wav";
        render::RenderSummary summary;
        std::string error;
        ASSERT_TRUE(render::renderWithPlugin(test::builtPluginEntry(), one, nullptr, summary, error))
            << error;
    }
    const std::vector<CompareResult> results =
        compareRenders(test::builtPluginEntry(), options, {0, 1, 2}, dir);
    ASSERT_EQ(results.size(), 3u);
    EXPECT_TRUE(results[0].identical) << results[0].detail;
    EXPECT_DOUBLE_EQ(results[0].seconds, 0.5);
    EXPECT_FALSE(results[1].identical);
    EXPECT_NE(results[1].detail.find("frames differ"), std::string::npos) << results[1].detail;
    EXPECT_FALSE(results[2].identical);
    EXPECT_NE(results[2].detail.find("cannot open"), std::string::npos) << results[2].detail;
}

TEST(HostCheck, TheFullLoadIsAcceptedAndTimed) {
    BenchResult bench;
    std::string error;
    ASSERT_TRUE(benchFullLoad(test::builtPluginEntry(), 0.05, bench, error)) << error;
    EXPECT_GE(bench.audioSeconds, 0.05);
    EXPECT_GT(bench.cpuSeconds, 0.0);
    EXPECT_GT(bench.realTimeFactor(), 0.0);
}

}  // namespace
}  // namespace quenvale::hostcheck
