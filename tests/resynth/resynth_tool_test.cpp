// quenvale-resynth: command-line parsing, conversion of other formats into the analysis format, and
// the executable's refusals leaving an existing output as it was.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio_input.h"
#include "engine/program.h"
#include "engine/spectrum/generator.h"
#include "persist/bank_record.h"
#include "persist/byte_reader.h"
#include "persist/component_streams.h"
#include "persist/generator_file.h"
#include "persist/whole_file.h"
#include "resynth/resynthesis.h"
#include "resynth/wav_reader.h"
#include "tone_support.h"
#include "tool_options.h"
#include "wav_test_support.h"

namespace quenvale::tool {
namespace {

using test::ByteWriter;
using test::TempFolder;

bool parse(std::vector<const char*> args, ResynthToolOptions& options, std::string& error) {
    args.insert(args.begin(), "quenvale-resynth");
    return parseToolOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(ResynthToolOptions, DefaultsAndFlags) {
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

    ASSERT_TRUE(parse({"--phase", "--pan", "--layer", "--distance", "0.01", "--fundamental", "10000",
                       "in.wav", "--bank", "b.qpb", "--program", "127", "--out", "o.qpb"},
                      o, error))
        << error;
    EXPECT_FALSE(o.analysis.amp || o.analysis.detune);
    EXPECT_TRUE(o.analysis.phase && o.analysis.pan && o.analysis.additiveLayer);
    EXPECT_EQ(o.analysis.samplingDistance, 0.01f);
    EXPECT_EQ(o.program, 127);
    EXPECT_EQ(o.bankPath, "b.qpb");
    EXPECT_EQ(o.outPath, "o.qpb");

    ASSERT_TRUE(parse({"in.wav", "--fundamental", "100", "--qgd", "x.qgd", "--partials", "64"}, o, error));
    EXPECT_EQ(o.partials, 64);
}

TEST(ResynthToolOptions, RefusesBadCommandLines) {
    const std::vector<std::vector<const char*>> bad = {
        {"in.wav", "--qgd", "o.qgd"},                            // no fundamental
        {"--fundamental", "440", "--qgd", "o.qgd"},              // no input
        {"in.wav", "--fundamental", "9.9", "--qgd", "o.qgd"},    // below range
        {"in.wav", "--fundamental", "10001", "--qgd", "o.qgd"},  // above range
        {"in.wav", "--fundamental", "nan", "--qgd", "o.qgd"},    // not a number
        {"in.wav", "--fundamental", "440Hz", "--qgd", "o.qgd"},  // trailing junk
        {"in.wav", "--fundamental", "440", "--distance", "0", "--qgd", "o.qgd"},
        {"in.wav", "--fundamental", "440", "--distance", "11", "--qgd", "o.qgd"},
        {"in.wav", "--fundamental", "440"},  // no output
        {"in.wav", "--fundamental", "440", "--qgd", "o.qgd", "--bank", "b.qpb", "--program", "1", "--out",
         "o"},
        {"in.wav", "--fundamental", "440", "--bank", "b.qpb", "--program", "1"},  // no --out
        {"in.wav", "--fundamental", "440", "--bank", "b.qpb", "--program", "128", "--out", "o.qpb"},
        {"in.wav", "--fundamental", "440", "--bank", "b.qpb", "--program", "1", "--out", "o", "--partials",
         "64"},
        {"in.wav", "--fundamental", "440", "--qgd", "o.qgd", "--partials", "100"},
        {"in.wav", "--fundamental", "440", "--qgd", "o.qgd", "--fundamental", "220"},  // repeated
        {"in.wav", "--fundamental", "440", "--qgd", "o.qgd", "--noise"},               // unknown
        {"in.wav", "other.wav", "--fundamental", "440", "--qgd", "o.qgd"},
        {"in.wav", "--qgd", "o.qgd", "--fundamental"},  // value missing
    };
    for (const auto& args : bad) {
        ResynthToolOptions o;
        std::string error;
        std::string line;
        for (const char* a : args) line += std::string(a) + " ";
        EXPECT_FALSE(parse(args, o, error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
}

// A WAV of any PCM or float layout, samples given per frame and channel as −1 … +1.
std::vector<unsigned char> anyWav(uint32_t channels, uint32_t rate, bool asFloat,
                                  const std::vector<std::vector<double>>& channelData) {
    const uint32_t bits = asFloat ? 32 : 16;
    ByteWriter w;
    const size_t frames = channelData[0].size();
    const uint32_t dataBytes = static_cast<uint32_t>(frames * channels * bits / 8);
    w.tag("RIFF").u32(36 + dataBytes).tag("WAVE").tag("fmt ").u32(16);
    w.u16(asFloat ? 3 : 1)
        .u16(channels)
        .u32(rate)
        .u32(rate * channels * bits / 8)
        .u16(channels * bits / 8)
        .u16(bits);
    w.tag("data").u32(dataBytes);
    for (size_t i = 0; i < frames; ++i) {
        for (uint32_t c = 0; c < channels; ++c) {
            const double v = channelData[c][i];
            if (asFloat) {
                const float f = static_cast<float>(v);
                uint32_t u;
                std::memcpy(&u, &f, 4);
                w.u32(u);
            } else {
                w.s16(static_cast<int32_t>(std::lround(v * 32767.0)));
            }
        }
    }
    return w.bytes;
}

std::vector<double> sine(size_t frames, double hz, double rate, double amplitude) {
    std::vector<double> v(frames);
    for (size_t i = 0; i < frames; ++i) v[i] = amplitude * std::sin(6.283185307179586 * hz * i / rate);
    return v;
}

// Upward zero crossings per second over the middle of a signal.
double frequencyOf(const std::vector<double>& v, double rate) {
    const size_t from = v.size() / 10, to = v.size() - v.size() / 10;
    int32_t crossings = 0;
    size_t first = 0, last = 0;
    for (size_t i = from + 1; i < to; ++i) {
        if (v[i - 1] < 0.0 && v[i] >= 0.0) {
            if (crossings == 0) first = i;
            last = i;
            ++crossings;
        }
    }
    return crossings > 1 ? (crossings - 1) * rate / static_cast<double>(last - first) : 0.0;
}

double peakOf(const std::vector<double>& v) {
    double p = 0.0;
    for (double x : v) p = std::max(p, std::abs(x));
    return p;
}

TEST(ResynthToolConversion, MonoAt48kIsResampledAndDuplicated) {
    TempFolder tmp;
    const std::string in =
        tmp.write("mono48.wav", anyWav(1, 48000, false, {sine(48000, 1000.0, 48000, 0.5)}));
    ConversionInfo info;
    std::string error;
    ASSERT_TRUE(convertToAnalysisWav(in, tmp.file("out.wav"), info, error)) << error;
    EXPECT_EQ(info.sourceRate, 48000);
    EXPECT_EQ(info.sourceChannels, 1);
    EXPECT_EQ(info.sourceFrames, 48000);
    WavData d;
    ASSERT_TRUE(readWav(tmp.file("out.wav").c_str(), d));
    EXPECT_NEAR(static_cast<double>(d.frames), 44100.0, 2.0);
    EXPECT_EQ(static_cast<int64_t>(d.frames), info.frames);
    EXPECT_EQ(d.left, d.right);
    EXPECT_NEAR(frequencyOf(d.left, 44100.0), 1000.0, 0.5);
    EXPECT_NEAR(peakOf(d.left), 0.5, 0.01);
}

TEST(ResynthToolConversion, FloatWithThreeChannelsKeepsTheFirstTwo) {
    TempFolder tmp;
    const std::vector<std::vector<double>> channels = {
        sine(22050, 500.0, 22050, 0.25), sine(22050, 700.0, 22050, 0.75), sine(22050, 900.0, 22050, 0.9)};
    const std::string in = tmp.write("three.wav", anyWav(3, 22050, true, channels));
    ConversionInfo info;
    std::string error;
    ASSERT_TRUE(convertToAnalysisWav(in, tmp.file("out.wav"), info, error)) << error;
    EXPECT_EQ(info.sourceChannels, 3);
    WavData d;
    ASSERT_TRUE(readWav(tmp.file("out.wav").c_str(), d));
    EXPECT_NEAR(static_cast<double>(d.frames), 44100.0, 2.0);
    EXPECT_NEAR(frequencyOf(d.left, 44100.0), 500.0, 0.5);
    EXPECT_NEAR(frequencyOf(d.right, 44100.0), 700.0, 0.5);
    EXPECT_NEAR(peakOf(d.left), 0.25, 0.01);
    EXPECT_NEAR(peakOf(d.right), 0.75, 0.01);
}

TEST(ResynthToolConversion, AnalysisFormatPassesThroughSampleForSample) {
    TempFolder tmp;
    std::vector<int16_t> samples;
    for (int32_t i = 0; i < 2000; ++i) samples.push_back(static_cast<int16_t>((i * 7919) % 65536 - 32768));
    const std::string in = tmp.write("in.wav", test::canonicalWav(samples));
    ConversionInfo info;
    std::string error;
    ASSERT_TRUE(convertToAnalysisWav(in, tmp.file("out.wav"), info, error)) << error;
    std::ifstream a(in, std::ios::binary), b(tmp.file("out.wav"), std::ios::binary);
    const std::vector<char> ba((std::istreambuf_iterator<char>(a)), {}),
        bb((std::istreambuf_iterator<char>(b)), {});
    ASSERT_EQ(ba.size(), bb.size());
    EXPECT_TRUE(std::equal(ba.begin() + 44, ba.end(), bb.begin() + 44));  // the same samples
}

TEST(ResynthToolConversion, UnreadableInputIsReported) {
    TempFolder tmp;
    const std::string junk = tmp.write("junk.wav", {'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o'});
    for (const std::string& in : {junk, tmp.file("missing.wav")}) {
        ConversionInfo info;
        std::string error;
        EXPECT_FALSE(convertToAnalysisWav(in, tmp.file("out.wav"), info, error));
        EXPECT_NE(error.find(in), std::string::npos) << error;
        EXPECT_FALSE(std::filesystem::exists(tmp.file("out.wav")));
    }
}

#ifdef QUENVALE_RESYNTH_PATH
int runTool(const std::string& arguments) {
    const std::string command = std::string(QUENVALE_RESYNTH_PATH) + " " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ResynthToolExecutable, RefusalsLeaveTheExistingOutputAndNoStrayFiles) {
    TempFolder tmp;
    const std::string out = tmp.write("out.qgd", {'k', 'e', 'e', 'p'});
    const std::string tone = tmp.write(
        "tone.wav", anyWav(2, 44100, false, {sine(20000, 440, 44100, 0.3), sine(20000, 440, 44100, 0.3)}));
    const std::string junk = tmp.write("junk.wav", {'x'});
    EXPECT_EQ(runTool(tone + " --fundamental 5 --qgd " + out), 2);
    EXPECT_EQ(runTool(tone + " --qgd " + out), 2);
    EXPECT_NE(runTool(junk + " --fundamental 440 --qgd " + out), 0);
    EXPECT_NE(runTool(tmp.file("missing.wav") + " --fundamental 440 --qgd " + out), 0);
    EXPECT_EQ(runTool("--help"), 0);
    std::ifstream f(out, std::ios::binary);
    const std::string content((std::istreambuf_iterator<char>(f)), {});
    EXPECT_EQ(content, "keep");
    int32_t entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(out).parent_path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 3);  // out.qgd, tone.wav, junk.wav
}

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(path.c_str(), bytes)) << path;
    return bytes;
}

TEST(ResynthToolExecutable, GeneratorFileMatchesTheAnalysisInProcess) {
    TempFolder tmp;
    const std::string tone = test::writeTone(
        tmp, "tone.wav", test::makeTone(30000, {{327, 0.4, 0.1}, {654, 0.2, 0.3}, {981, 0.05, 0.05}}));
    const std::string out = tmp.file("out.qgd");
    ASSERT_EQ(runTool(tone + " --fundamental 440 --distance 0.05 --amp --pan --partials 64 --qgd " + out), 0);

    Generator expected;
    expected.setPartialCount(64);
    ResynthOptions options;
    options.fundamental = 440.0f;
    options.samplingDistance = 0.05f;
    options.detune = options.phase = false;
    ASSERT_TRUE(resynthesize(expected, tone.c_str(), options));
    ASSERT_TRUE(saveGeneratorData(expected, tmp.file("expected.qgd").c_str()));
    EXPECT_EQ(fileBytes(out), fileBytes(tmp.file("expected.qgd")));

    Generator loaded;
    ASSERT_TRUE(loadGeneratorData(loaded, out.c_str()));
    EXPECT_EQ(loaded.partialCount, 64);
    EXPECT_EQ(loaded.modulator(kSpectrumAmp).breakpointCount(), 1 + (30057 - 8192) / 2205);
    EXPECT_EQ(loaded.modulator(kSpectrumDetune).breakpointCount(), 1);  // untouched default
}

TEST(ResynthToolExecutable, TooShortRecordingSavesAndLoadsEmptyModulators) {
    TempFolder tmp;
    const std::string tone = test::writeTone(tmp, "short.wav", test::makeTone(4000, {{327, 0.4, 0.4}}));
    const std::string out = tmp.file("short.qgd");
    ASSERT_EQ(runTool(tone + " --fundamental 440 --qgd " + out), 0);
    Generator loaded;
    ASSERT_TRUE(loadGeneratorData(loaded, out.c_str()));
    EXPECT_EQ(loaded.partialCount, 512);
    for (const Modulator& m : loaded.modulators) EXPECT_EQ(m.breakpointCount(), 0) << m.name;
}

TEST(ResynthToolExecutable, BankProgramGetsLayersAndEverythingElseStays) {
    TempFolder tmp;
    const std::string bankIn = std::string(QUENVALE_SOURCE_DIR) + "/examples/demo.qpb";
    const std::string tone = test::writeTone(tmp, "tone.wav", test::makeTone(20000, {{327, 0.4, 0.4}}));
    const std::string out = tmp.file("out.qpb");
    const int32_t program = 5;
    ASSERT_EQ(runTool(tone + " --fundamental 440 --layer --bank " + bankIn + " --program 5 --out " + out), 0);

    const std::vector<uint8_t> inBytes = fileBytes(bankIn), outBytes = fileBytes(out);
    BankImage before, after;
    ByteReader r1(inBytes.data(), inBytes.size()), r2(outBytes.data(), outBytes.size());
    ASSERT_TRUE(parseBankRecord(r1, before));
    ASSERT_TRUE(parseBankRecord(r2, after));

    Generator original, edited;
    const Program& in = before.programs[program];
    if (!in.generatorData.empty()) {
        ASSERT_TRUE(readGeneratorStream(in.generatorData, in.version, original));
    }
    ASSERT_TRUE(
        readGeneratorStream(after.programs[program].generatorData, after.programs[program].version, edited));

    // Only program 5's generator record differs: putting it into the input gives the output's bytes.
    before.programs[program].generatorData = after.programs[program].generatorData;
    ByteStream rewritten;
    writeBankRecord(before.programs.get(), before.channel.get(), rewritten);
    EXPECT_EQ(rewritten.bytes, outBytes);

    EXPECT_EQ(edited.partialCount, original.partialCount);
    for (int32_t t = 0; t < kSpectrumPropertyCount; ++t) {
        const Modulator& m = edited.modulators[t];
        ASSERT_EQ(m.childCount(), original.modulators[t].childCount() + 1) << m.name;
        EXPECT_EQ(m.children.back().child->name, "Re-Synth");
        EXPECT_EQ(m.children.back().mode, 1);
        EXPECT_EQ(m.breakpointCount(), original.modulators[t].breakpointCount());
    }

    // A file that is not a bank: refused, the existing output kept.
    const std::vector<uint8_t> kept = fileBytes(out);
    EXPECT_NE(runTool(tone + " --fundamental 440 --bank " + tone + " --program 5 --out " + out), 0);
    EXPECT_EQ(fileBytes(out), kept);
}
#endif

}  // namespace
}  // namespace quenvale::tool
