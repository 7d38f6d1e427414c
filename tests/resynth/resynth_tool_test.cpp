// quenvale-resynth: command-line parsing, conversion of other formats into the analysis format, and
// the executable's outputs and refusals (which leave an existing output as it was).
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "audio_input.h"
#include "engine/spectrum/generator.h"
#include "persist/bank_record.h"
#include "persist/component_streams.h"
#include "persist/generator_file.h"
#include "persist/whole_file.h"
#include "resynth/resynthesis.h"
#include "resynth/wav_reader.h"
#include "tool_options.h"
#include "wav_test_support.h"

namespace quenvale::tool {
namespace {

using test::TempFolder;

bool parse(std::vector<const char*> args, ResynthToolOptions& options, std::string& error) {
    args.insert(args.begin(), "quenvale-resynth");
    return parseToolOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(ResynthToolOptions, DefaultsFlagsAndRefusedCommandLines) {
    ResynthToolOptions o;
    std::string error;
    ASSERT_TRUE(parse({"in.flac", "--fundamental", "220.5", "--qgd", "out.qgd"}, o, error)) << error;
    EXPECT_EQ(o.input, "in.flac");
    EXPECT_EQ(o.analysis.fundamental, 220.5f);
    EXPECT_EQ(o.analysis.samplingDistance, 0.1f);
    EXPECT_TRUE(o.analysis.amp && o.analysis.detune && o.analysis.phase && o.analysis.pan);
    EXPECT_FALSE(o.analysis.additiveLayer);
    EXPECT_EQ(o.partials, 512);
    EXPECT_EQ(o.qgdPath, "out.qgd");
    ASSERT_TRUE(parse({"--phase", "--layer", "--fundamental", "10000", "in.wav", "--bank", "b.qpb", "--program",
                       "127", "--out", "o.qpb"},
                      o, error))
        << error;
    EXPECT_TRUE(o.analysis.phase && !o.analysis.amp && !o.analysis.pan && o.analysis.additiveLayer);
    EXPECT_EQ(o.program, 127);

    const char* const bad[] = {
        "in.wav --qgd o.qgd",                        // no fundamental
        "--fundamental 440 --qgd o.qgd",             // no input
        "in.wav --fundamental 9.9 --qgd o.qgd",      // below range
        "in.wav --fundamental 440Hz --qgd o.qgd",    // trailing junk
        "in.wav --fundamental 440 --distance 11 --qgd o.qgd",
        "in.wav --fundamental 440",                  // no output
        "in.wav --fundamental 440 --qgd o.qgd --bank b.qpb --program 1 --out o",
        "in.wav --fundamental 440 --bank b.qpb --program 128 --out o.qpb",
        "in.wav --fundamental 440 --qgd o.qgd --partials 100",
        "in.wav --fundamental 440 --qgd o.qgd --fundamental 220",  // repeated
        "in.wav --fundamental 440 --qgd o.qgd --noise",            // unknown
        "in.wav --qgd o.qgd --fundamental",                        // value missing
    };
    for (const char* line : bad) {
        std::istringstream split(line);
        const std::vector<std::string> words{std::istream_iterator<std::string>(split), {}};
        std::vector<const char*> args;
        for (const std::string& w : words) args.push_back(w.c_str());
        ResynthToolOptions refused;
        error.clear();
        EXPECT_FALSE(parse(args, refused, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

// A sound file of any layout libsndfile writes: channel c holds a sine of freqs[c] at amps[c].
std::string writeSound(const TempFolder& tmp, const char* name, int channels, int rate, int format,
                       const std::vector<double>& freqs, const std::vector<double>& amps) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | format;
    const std::string path = tmp.file(name);
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(f, nullptr) << sf_strerror(nullptr);
    std::vector<double> frames(static_cast<size_t>(rate * channels));
    for (size_t i = 0; i < frames.size(); ++i)
        frames[i] = amps[i % channels] * std::sin(6.283185307179586 * freqs[i % channels] * (i / channels) / rate);
    sf_writef_double(f, frames.data(), rate);
    sf_close(f);
    return path;
}

// Upward zero crossings per second over the middle 80 %, and the peak.
std::pair<double, double> frequencyAndPeak(const std::vector<double>& v) {
    int32_t crossings = 0;
    size_t first = 0, last = 0;
    double peak = 0.0;
    for (size_t i = v.size() / 10 + 1; i < v.size() - v.size() / 10; ++i) {
        peak = std::max(peak, std::abs(v[i]));
        if (v[i - 1] < 0.0 && v[i] >= 0.0) {
            first = crossings++ == 0 ? i : first;
            last = i;
        }
    }
    return {crossings > 1 ? (crossings - 1) * 44100.0 / static_cast<double>(last - first) : 0.0, peak};
}

TEST(ResynthToolConversion, OtherRatesAndLayoutsBecomeOneSecondOf44100HzStereo) {
    TempFolder tmp;
    struct Case {
        int channels, rate, format;
        std::vector<double> freqs, amps;
        double left, right, leftPeak, rightPeak;
    };
    for (const Case& c : {Case{1, 48000, SF_FORMAT_PCM_16, {1000}, {0.5}, 1000, 1000, 0.5, 0.5},  // duplicated
                          Case{3, 22050, SF_FORMAT_FLOAT, {500, 700, 900}, {0.25, 0.75, 0.9}, 500, 700, 0.25, 0.75}}) {
        SCOPED_TRACE(c.channels);
        const std::string in = writeSound(tmp, "in.wav", c.channels, c.rate, c.format, c.freqs, c.amps);
        ConversionInfo info;
        std::string error;
        ASSERT_TRUE(convertToAnalysisWav(in, tmp.file("out.wav"), info, error)) << error;
        EXPECT_EQ(info.sourceRate, c.rate);
        EXPECT_EQ(info.sourceChannels, c.channels);
        WavData d;
        ASSERT_TRUE(readWav(tmp.file("out.wav").c_str(), d));
        EXPECT_NEAR(static_cast<double>(d.frames), 44100.0, 2.0);
        EXPECT_EQ(static_cast<int64_t>(d.frames), info.frames);
        const auto [left, leftPeak] = frequencyAndPeak(d.left);
        const auto [right, rightPeak] = frequencyAndPeak(d.right);
        EXPECT_NEAR(left, c.left, 0.5);
        EXPECT_NEAR(right, c.right, 0.5);
        EXPECT_NEAR(leftPeak, c.leftPeak, 0.01);
        EXPECT_NEAR(rightPeak, c.rightPeak, 0.01);
    }
    // Unreadable input is reported by name and writes nothing.
    ConversionInfo info;
    std::string error;
    for (const std::string& bad : {tmp.write("junk.wav", {'n', 'o', 't'}), tmp.file("missing.wav")}) {
        EXPECT_FALSE(convertToAnalysisWav(bad, tmp.file("none.wav"), info, error));
        EXPECT_NE(error.find(bad), std::string::npos) << error;
        EXPECT_FALSE(std::filesystem::exists(tmp.file("none.wav")));
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
    const std::string bankIn = QUENVALE_SOURCE_DIR "/examples/demo.qpb", out = tmp.file("out.qpb");
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
    EXPECT_EQ(edited.partialCount, original.partialCount);
    for (int32_t t = 0; t < kSpectrumPropertyCount; ++t) {
        const Modulator& m = edited.modulators[t];
        ASSERT_EQ(m.childCount(), original.modulators[t].childCount() + 1) << m.name;
        EXPECT_EQ(m.children.back().child->name, "Re-Synth");
        EXPECT_EQ(m.children.back().mode, kCombineAdd);
        EXPECT_EQ(m.breakpointCount(), original.modulators[t].breakpointCount());
    }
}

}  // namespace
}  // namespace quenvale::tool
