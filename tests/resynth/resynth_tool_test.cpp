// quenvale-resynth: command-line parsing, and the executable's outputs and refusals (which leave an
// existing output as it was).
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "engine/spectrum/generator.h"
#include "persist/bank_record.h"
#include "persist/component_streams.h"
#include "persist/generator_file.h"
#include "persist/whole_file.h"
#include "resynth/resynthesis.h"
#include "tool_options.h"
#include "wav_test_support.h"

namespace quenvale::tool {
namespace {

using test::TempFolder;

bool parse(std::vector<const char*> args, ResynthToolOptions& options, std::string& error) {
    args.insert(args.begin(), "quenvale-resynth");
    return parseToolOptions(static_cast<int>(args.size()), args.data(), options, error);
}

// Flags and defaults are heard through the executable below; these lines must be refused.
TEST(ResynthToolOptions, RefusesBadCommandLinesWithAMessage) {
    for (const char* line : {"in.wav --qgd o.qgd",                    // no fundamental
                             "--fundamental 440 --qgd o.qgd",         // no input
                             "in.wav --fundamental 440Hz --qgd o.qgd",  // trailing junk
                             "in.wav --fundamental 440 --distance 11 --qgd o.qgd", "in.wav --fundamental 440",
                             "in.wav --fundamental 440 --qgd o.qgd --bank b.qpb --program 1 --out o",
                             "in.wav --fundamental 440 --bank b.qpb --program 128 --out o.qpb",
                             "in.wav --fundamental 440 --qgd o.qgd --partials 100",
                             "in.wav --fundamental 440 --qgd o.qgd --fundamental 220",  // repeated
                             "in.wav --fundamental 440 --qgd o.qgd --noise", "in.wav --qgd o.qgd --fundamental"}) {
        std::istringstream split(line);
        const std::vector<std::string> words{std::istream_iterator<std::string>(split), {}};
        std::vector<const char*> args;
        for (const std::string& w : words) args.push_back(w.c_str());
        ResynthToolOptions refused;
        std::string error;
        EXPECT_FALSE(parse(args, refused, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

int runTool(const std::string& arguments) {
    const int status = std::system((QUENVALE_RESYNTH_PATH " " + arguments + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(path.c_str(), bytes)) << path;
    return bytes;
}

TEST(ResynthToolExecutable, RefusalsLeaveTheExistingOutputAndNoStrayFiles) {
    TempFolder tmp;
    const std::string out = tmp.write("out.qgd", {'k', 'e', 'e', 'p'});
    const std::string tone = test::writeTone(tmp, "tone.wav", 20000, {{327, 0.3, 0.3}});
    const std::string junk = tmp.write("junk.wav", {'x'});
    EXPECT_EQ(runTool(tone + " --fundamental 5 --qgd " + out), 2);
    EXPECT_EQ(runTool(tone + " --qgd " + out), 2);
    EXPECT_NE(runTool(junk + " --fundamental 440 --qgd " + out), 0);
    EXPECT_NE(runTool(tmp.file("missing.wav") + " --fundamental 440 --qgd " + out), 0);
    EXPECT_NE(runTool(tone + " --fundamental 440 --bank " + tone + " --program 5 --out " + out), 0);
    EXPECT_EQ(runTool("--help"), 0);
    EXPECT_EQ(fileBytes(out), (std::vector<uint8_t>{'k', 'e', 'e', 'p'}));
    const auto entries = std::distance(std::filesystem::directory_iterator(std::filesystem::path(out).parent_path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 3);  // out.qgd, tone.wav, junk.wav
}

// The saved generator is the in-process analysis, also when the recording is too short for a frame.
TEST(ResynthToolExecutable, GeneratorFileMatchesTheAnalysisInProcess) {
    TempFolder tmp;
    for (size_t frames : {30000, 4000}) {
        SCOPED_TRACE(frames);
        const std::string tone =
            test::writeTone(tmp, "tone.wav", frames, {{327, 0.4, 0.1}, {654, 0.2, 0.3}, {981, 0.05, 0.05}});
        const std::string out = tmp.file("out.qgd"), expectedPath = tmp.file("expected.qgd");
        ASSERT_EQ(runTool(tone + " --fundamental 440 --distance 0.05 --amp --pan --partials 64 --qgd " + out), 0);
        Generator expected;
        expected.setPartialCount(64);
        ResynthOptions options;
        options.fundamental = 440.0f;
        options.samplingDistance = 0.05f;
        options.detune = options.phase = false;
        ASSERT_TRUE(resynthesize(expected, tone.c_str(), options));
        ASSERT_TRUE(saveGeneratorData(expected, expectedPath.c_str()));
        EXPECT_EQ(fileBytes(out), fileBytes(expectedPath));
        Generator loaded;
        ASSERT_TRUE(loadGeneratorData(loaded, out.c_str()));
        EXPECT_EQ(loaded.modulator(kSpectrumAmp).breakpointCount(), frames > 8192 ? 1 + (30057 - 8192) / 2205 : 0);
        EXPECT_EQ(loaded.modulator(kSpectrumDetune).breakpointCount(), 1);  // untouched default
    }
}

TEST(ResynthToolExecutable, BankProgramGetsLayersAndEverythingElseStays) {
    TempFolder tmp;
    const std::string bankIn = QUENVALE_SOURCE_DIR "/examples/factory.qpb", out = tmp.file("out.qpb");
    const std::string tone = test::writeTone(tmp, "tone.wav", 20000, {{327, 0.4, 0.4}});
    ASSERT_EQ(runTool(tone + " --fundamental 440 --layer --bank " + bankIn + " --program 5 --out " + out), 0);
    const std::vector<uint8_t> inBytes = fileBytes(bankIn), outBytes = fileBytes(out);
    BankImage before, after;
    ByteReader r1(inBytes.data(), inBytes.size()), r2(outBytes.data(), outBytes.size());
    ASSERT_TRUE(parseBankRecord(r1, before) && parseBankRecord(r2, after));
    Generator original, edited;
    const Program &in = before.programs[5], &changed = after.programs[5];
    ASSERT_TRUE(in.generatorData.empty() || readGeneratorStream(in.generatorData, in.version, original));
    ASSERT_TRUE(readGeneratorStream(changed.generatorData, changed.version, edited));
    // Only program 5's generator record differs: putting it into the input gives the output's bytes.
    before.programs[5].generatorData = changed.generatorData;
    ByteStream rewritten;
    writeBankRecord(before.programs.get(), before.channel.get(), rewritten);
    EXPECT_EQ(rewritten.bytes, outBytes);
    const Modulator& amp = edited.modulators[kSpectrumAmp];  // a layer added, the rest kept
    ASSERT_EQ(amp.childCount(), original.modulators[kSpectrumAmp].childCount() + 1);
    EXPECT_EQ(amp.children.back().child->name, "Re-Synth");
    EXPECT_EQ(amp.breakpointCount(), original.modulators[kSpectrumAmp].breakpointCount());
}

// Any format libsndfile reads: a mono float file at 48 kHz is converted (resampled, duplicated to both
// sides) before the analysis, which still finds its partials' levels.
TEST(ResynthToolExecutable, OtherRatesAndChannelCountsAreConvertedForTheAnalysis) {
    TempFolder tmp;
    const std::string in = tmp.file("mono48.wav");
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* f = sf_open(in.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr);
    std::vector<float> x(48000);
    for (size_t n = 0; n < x.size(); ++n) {
        const double t = static_cast<double>(n) / 48000.0;
        x[n] = static_cast<float>(0.4 * std::sin(2 * std::numbers::pi * 500.0 * t) +
                                  0.2 * std::sin(2 * std::numbers::pi * 1000.0 * t));
    }
    sf_writef_float(f, x.data(), static_cast<sf_count_t>(x.size()));
    sf_close(f);

    const std::string out = tmp.file("out.qgd");
    ASSERT_EQ(runTool(in + " --fundamental 500 --amp --pan --partials 64 --qgd " + out), 0);
    Generator loaded;
    ASSERT_TRUE(loadGeneratorData(loaded, out.c_str()));
    const Modulator& amp = loaded.modulator(kSpectrumAmp);
    ASSERT_GE(amp.breakpointCount(), 2);
    const PartialCurve& values = amp.breakpoints[1].values;
    EXPECT_NEAR(values[0], 1.0f, 1e-3f);
    EXPECT_NEAR(values[1], 0.5f, 0.02f);
    EXPECT_LT(values[2], 0.02f);
    EXPECT_NEAR(loaded.modulator(kSpectrumPan).breakpoints[1].values[0], 0.0f, 1e-3f) << "mono is centred";
}

}  // namespace
}  // namespace quenvale::tool
