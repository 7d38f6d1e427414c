// Banks, bank files and generator files on a whole engine: round trips, applying, refusals that
// change nothing, and loads while the audio thread renders.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "engine/channel.h"
#include "engine/engine_test_support.h"
#include "engine/spectrum/generator.h"
#include "engine/synth_engine.h"
#include "params/parameter_catalogue.h"
#include "persist/bank_io.h"
#include "persist/engine_files.h"
#include "persist/generator_file.h"
#include "persist/whole_file.h"

namespace quenvale {
namespace {

std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("quenvale_") + name)).string();
}

// The whole state as the host sees it: the chunk bytes.
std::vector<uint8_t> chunkOf(SynthEngine& engine) {
    ByteStream s;
    writeBank(engine, s, true);
    return s.bytes;
}

void setValue(SynthEngine& engine, const char* name, float value) {
    const int32_t index = parameterIndex(name);
    ASSERT_GE(index, 0) << name;
    engine.setParameterValue(
        0, index,
        descriptor(index).isEnumerated() ? makeIntValue(static_cast<int32_t>(value)) : makeFloatValue(value));
}

float value(SynthEngine& engine, const char* name) {
    return valueAsFloat(engine.getParameterValue(0, parameterIndex(name)));
}

// Gives program 5 a sound of its own: values, an envelope and a generator spectrum.
void editProgram5(SynthEngine& engine) {
    engine.selectProgram(0, 5, true);
    setValue(engine, "Gen1 Out", 0.75f);
    setValue(engine, "Lfo2 Ratio ModSrc1", 150.0f);
    setValue(engine, "Lfo2 Ratio ModAmt1", 0.5f);
    engine.channel().env[0].curve.segmentCount = 3;
    engine.channel().env[0].curve.lengths[2] = 0.25f;
    {
        EditGuard::EditScope scope(engine.editGuard());
        Generator& g = *engine.channel().generator;
        g.modulator(kSpectrumAmp).breakpoints[0].values[0] = 1.0f;
        g.modulator(kSpectrumAmp).addChild("Layer", kCombineAdd, true);
        engine.generatorChanged();
    }
    engine.storeProgram(5);
}

TEST(EngineBank, BankFileRoundTripsAndAppliesTheCurrentProgram) {
    auto engine = std::make_unique<SynthEngine>();
    editProgram5(*engine);
    const std::string path = tempPath("roundtrip.qpb");
    ASSERT_TRUE(saveBankFile(*engine, path.c_str()));
    std::vector<uint8_t> saved;
    ASSERT_TRUE(readWholeFile(path.c_str(), saved));
    EXPECT_EQ(std::vector<uint8_t>(saved.end() - 4, saved.end()), (std::vector<uint8_t>{0, 0, 0, 0}));

    auto other = std::make_unique<SynthEngine>();
    other->selectProgram(0, 5, false);
    setValue(*other, "Gen1 Out", 0.1f);  // live edit, replaced by the load
    ASSERT_TRUE(loadBankFile(*other, path.c_str()));
    EXPECT_EQ(other->currentProgram(0), 5);
    EXPECT_EQ(value(*other, "Gen1 Out"), 0.75f);
    EXPECT_EQ(valueAsInt(other->getParameterValue(0, parameterIndex("Lfo2 Ratio ModSrc1"))), 150);
    EXPECT_EQ(other->channel().env[0].curve.segmentCount, 3);
    EXPECT_EQ(other->channel().generator->modulator(kSpectrumAmp).childCount(), 1);
    EXPECT_STREQ(other->programName(5), "Program 006");

    const std::string again = tempPath("roundtrip2.qpb");
    ASSERT_TRUE(saveBankFile(*other, again.c_str()));
    std::vector<uint8_t> resaved;
    ASSERT_TRUE(readWholeFile(again.c_str(), resaved));
    EXPECT_EQ(resaved, saved);
    std::filesystem::remove(path);
    std::filesystem::remove(again);
}

TEST(EngineBank, ChunkCarriesTheLiveSoundAndKeepsTheProgramNumber) {
    auto engine = std::make_unique<SynthEngine>();
    editProgram5(*engine);
    setValue(*engine, "MasterGain", 0.3f);  // live only, not stored
    const std::vector<uint8_t> chunk = chunkOf(*engine);

    auto other = std::make_unique<SynthEngine>();
    other->selectProgram(0, 9, true);
    ByteReader reader(chunk.data(), chunk.size());
    ASSERT_TRUE(readBank(*other, reader, true));
    EXPECT_EQ(other->currentProgram(0), 9);  // the number stays, the sound is the stored channel's
    EXPECT_EQ(value(*other, "MasterGain"), 0.3f);
    EXPECT_EQ(value(*other, "Gen1 Out"), 0.75f);
    EXPECT_EQ(chunkOf(*other), chunk);
}

TEST(EngineBank, RefusedInputChangesNothing) {
    auto engine = std::make_unique<SynthEngine>();
    editProgram5(*engine);
    setValue(*engine, "Glide", 0.4f);
    const std::vector<uint8_t> before = chunkOf(*engine);

    const auto refusedChunk = [&](const std::vector<uint8_t>& bytes) {
        ByteReader reader(bytes.data(), bytes.size());
        return !readBank(*engine, reader, true);
    };
    std::vector<uint8_t> magic = before;
    magic[0] = 0x83;
    EXPECT_TRUE(refusedChunk(magic));
    std::vector<uint8_t> version = before;
    version[4] = 0x03;
    EXPECT_TRUE(refusedChunk(version));
    for (size_t n = 0; n < before.size(); n += (n < 1800 || n + 40 > before.size()) ? 1 : 1201)
        ASSERT_TRUE(refusedChunk(std::vector<uint8_t>(before.begin(), before.begin() + static_cast<long>(n))))
            << n;
    // A program version the reader does not know, in the channel record.
    std::vector<uint8_t> badChannel = before;
    ByteStream bankOnly;
    writeBank(*engine, bankOnly, false);
    badChannel[bankOnly.size()] = 0x21;  // first byte of the channel record's version: 0x10021
    EXPECT_TRUE(refusedChunk(badChannel));
    EXPECT_EQ(chunkOf(*engine), before);

    EXPECT_FALSE(loadBankFile(*engine, tempPath("missing/nothing.qpb").c_str()));
    const std::string garbage = tempPath("garbage.qpb");
    std::FILE* f = std::fopen(garbage.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(before.data(), 1, 4000, f);  // a bank cut short
    std::fclose(f);
    EXPECT_FALSE(loadBankFile(*engine, garbage.c_str()));
    EXPECT_FALSE(loadGeneratorFile(*engine, garbage.c_str()));
    EXPECT_EQ(chunkOf(*engine), before);
    std::filesystem::remove(garbage);
}

TEST(EngineBank, GeneratorFileReplacesTheLiveGenerator) {
    auto engine = std::make_unique<SynthEngine>();
    editProgram5(*engine);
    const std::string path = tempPath("live.qgd");
    ASSERT_TRUE(saveGeneratorFile(*engine, path.c_str()));
    auto other = std::make_unique<SynthEngine>();
    ASSERT_TRUE(loadGeneratorFile(*other, path.c_str()));
    EXPECT_EQ(other->channel().generator->modulator(kSpectrumAmp).childCount(), 1);
    // The voices were rebuilt for the new tree: a note plays through it at once.
    other->setSampleRate(44100.0f);
    test::noteOn(*other, 69);
    (void)test::renderSamples(*other, 4096);
    EXPECT_EQ(other->activeVoiceCount(), 1);
    std::filesystem::remove(path);
}

// Loads swap whole programs and the generator while the audio thread keeps rendering.
TEST(EngineBank, LoadsWhileRenderingAreSafe) {
    auto engine = std::make_unique<SynthEngine>();
    editProgram5(*engine);
    engine->setSampleRate(44100.0f);
    const std::vector<uint8_t> chunk = chunkOf(*engine);
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> l(256), r(256);
        int note = 60;
        while (!stop.load()) {
            test::noteOn(*engine, note);
            engine->render(l.data(), r.data(), 256);
            test::noteOff(*engine, note);
            note = note == 72 ? 60 : note + 1;
        }
    });
    for (int i = 0; i < 8; ++i) {
        ByteReader reader(chunk.data(), chunk.size());
        EXPECT_TRUE(readBank(*engine, reader, (i % 2) == 0));
    }
    stop.store(true);
    audio.join();
    EXPECT_EQ(chunkOf(*engine), chunk);
}

}  // namespace
}  // namespace quenvale
