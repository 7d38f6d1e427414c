// Banks on a whole engine and through the built plug-in's chunk: byte-exact round trips, applying,
// refusals that change nothing, loads while the audio thread renders, and the checked-in demo bank.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "demo_sounds.h"
#include "engine/channel.h"
#include "engine/engine_test_support.h"
#include "engine/synth_engine.h"
#include "host/test_host.h"
#include "params/parameter_catalogue.h"
#include "persist/bank_io.h"
#include "persist/engine_files.h"
#include "persist/record_builder.h"
#include "persist/whole_file.h"

namespace quenvale {
namespace {

using test::tempPath;

std::vector<uint8_t> chunkOf(SynthEngine& engine) {  // the whole state as the host sees it
    ByteStream s;
    writeBank(engine, s, true);
    return s.bytes;
}

std::vector<uint8_t> fileBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(readWholeFile(path.c_str(), bytes)) << path;
    return bytes;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(writeWholeFile(path.c_str(), nullptr, 0, bytes.data(), bytes.size()));
}

ParameterValue liveValue(SynthEngine& engine, const char* name) {  // a parameter of channel 0
    EXPECT_GE(parameterIndex(name), 0) << name;
    return engine.getParameterValue(0, parameterIndex(name));
}

// Program 5 with a sound of its own: values, an envelope and a generator spectrum with a layer.
std::unique_ptr<SynthEngine> engineWithProgram5() {
    auto engine = std::make_unique<SynthEngine>();
    engine->selectProgram(0, 5, true);
    engine->setParameterValue(0, parameterIndex("Gen1 Out"), makeFloatValue(0.75f));
    engine->setParameterValue(0, parameterIndex("Lfo2 Ratio ModSrc1"), makeIntValue(150));
    engine->channel().env[0].curve.segmentCount = 3;
    {
        EditGuard::EditScope scope(engine->editGuard());
        engine->channel().generator->modulator(kSpectrumAmp).breakpoints[0].values[0] = 1.0f;
        engine->channel().generator->modulator(kSpectrumAmp).addChild("Layer", kCombineAdd, true);
        engine->generatorChanged();
    }
    engine->storeProgram(5);
    return engine;
}

TEST(EngineBank, BankFileRoundTripsAppliesTheCurrentProgramAndRefusesChangingNothing) {
    auto engine = engineWithProgram5();
    const std::string path = tempPath("roundtrip.qpb"), again = tempPath("roundtrip2.qpb");
    ASSERT_TRUE(saveBankFile(*engine, path.c_str()));
    const std::vector<uint8_t> saved = fileBytes(path);
    ASSERT_GT(saved.size(), 12u);
    // Magic, bank version 0x10002, and a file never holds the channel part: its flag is 0.
    EXPECT_EQ(std::vector<uint8_t>(saved.begin(), saved.begin() + 8),
              (std::vector<uint8_t>{0x82, 0x19, 0x05, 0x13, 0x02, 0x00, 0x01, 0x00}));
    EXPECT_EQ(std::vector<uint8_t>(saved.end() - 4, saved.end()), (std::vector<uint8_t>{0, 0, 0, 0}));
    for (bool older : {false, true}) {  // bank version 0x10001 had no channel flag
        SCOPED_TRACE(older ? "0x10001" : "0x10002");
        std::vector<uint8_t> input = saved;
        if (older) input[4] = 0x01, input.resize(input.size() - 4);
        writeFile(path, input);
        auto other = std::make_unique<SynthEngine>();
        other->selectProgram(0, 5, false);
        other->setParameterValue(0, parameterIndex("Gen1 Out"), makeFloatValue(0.1f));  // replaced by the load
        ASSERT_TRUE(loadBankFile(*other, path.c_str()));
        EXPECT_EQ(other->currentProgram(0), 5);
        EXPECT_EQ(valueAsFloat(liveValue(*other, "Gen1 Out")), 0.75f);
        EXPECT_EQ(valueAsInt(liveValue(*other, "Lfo2 Ratio ModSrc1")), 150);
        EXPECT_EQ(other->channel().env[0].curve.segmentCount, 3);
        EXPECT_EQ(other->channel().generator->modulator(kSpectrumAmp).childCount(), 1);
        ASSERT_TRUE(saveBankFile(*other, again.c_str()));
        EXPECT_EQ(fileBytes(again), saved);
    }
    // Refused: a channel record of an unknown program version, a bank file cut short, no file at all.
    const std::vector<uint8_t> before = chunkOf(*engine);
    std::vector<uint8_t> badChannel = before;
    badChannel[saved.size()] = 0x21;  // first byte of the channel record's version: 0x10021
    ByteReader reader(badChannel.data(), badChannel.size());
    EXPECT_FALSE(readBank(*engine, reader, true));
    writeFile(path, std::vector<uint8_t>(saved.begin(), saved.begin() + 4000));
    EXPECT_FALSE(loadBankFile(*engine, path.c_str()));
    EXPECT_FALSE(loadGeneratorFile(*engine, path.c_str()));
    EXPECT_FALSE(loadBankFile(*engine, tempPath("missing/nothing.qpb").c_str()));
    EXPECT_EQ(chunkOf(*engine), before);
    std::filesystem::remove(path);
    std::filesystem::remove(again);
}

TEST(EngineBank, GeneratorFileCarriesTheLiveGeneratorAndPlaysAtOnce) {
    auto engine = engineWithProgram5();
    const std::string path = tempPath("live.qgd"), wrong = tempPath("wrongtag.qgd");
    ASSERT_TRUE(saveGeneratorFile(*engine, path.c_str()));
    std::vector<uint8_t> file = fileBytes(path);
    const std::vector<uint8_t> record = test::recordOf(*engine->channel().generator);
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 4), (std::vector<uint8_t>{1, 0, 1, 0}));
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 4, file.end()), record);
    auto other = std::make_unique<SynthEngine>();
    const std::vector<uint8_t> before = chunkOf(*other);
    file[2] = 2;  // any other tag
    writeFile(wrong, file);
    EXPECT_FALSE(loadGeneratorFile(*other, wrong.c_str()));
    EXPECT_FALSE(loadGeneratorFile(*other, tempPath("missing/none.qgd").c_str()));
    EXPECT_FALSE(saveGeneratorFile(*other, tempPath("missing/none.qgd").c_str()));
    EXPECT_EQ(chunkOf(*other), before);
    ASSERT_TRUE(loadGeneratorFile(*other, path.c_str()));
    EXPECT_EQ(test::recordOf(*other->channel().generator), record);
    other->setSampleRate(44100.0f);  // the voices were rebuilt for the new tree: a note plays at once
    test::noteOn(*other, 69);
    (void)test::renderSamples(*other, 4096);
    EXPECT_EQ(other->activeVoiceCount(), 1);
    std::filesystem::remove(path);
    std::filesystem::remove(wrong);
}

// Loads swap whole programs and the generator while the audio thread keeps rendering.
TEST(EngineBank, LoadsWhileRenderingAreSafe) {
    auto engine = engineWithProgram5();
    engine->setSampleRate(44100.0f);
    const std::vector<uint8_t> chunk = chunkOf(*engine);
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<float> l(256), r(256);
        for (int note = 60; !stop.load(); note = note == 72 ? 60 : note + 1) {
            test::noteOn(*engine, note);
            engine->render(l.data(), r.data(), 256);
            test::noteOff(*engine, note);
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

std::vector<uint8_t> getChunk(host::PluginHost& host) {
    void* data = nullptr;
    const VstIntPtr size = host.dispatch(effGetChunk, 0, 0, &data);
    const auto* bytes = static_cast<const uint8_t*>(data);
    return size > 0 && bytes != nullptr ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>{};
}

VstIntPtr setChunk(host::PluginHost& host, std::vector<uint8_t> bytes) {
    return host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bytes.size()), bytes.data());
}

TEST(PluginChunk, GetSetGetIsTheSameBytesAndRefusedChunksChangeNothing) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    host.dispatch(effSetProgram, 0, 7);
    host.setParameter(1, 0.25f);  // a live change the chunk must carry
    const std::vector<uint8_t> before = getChunk(host);
    EXPECT_GT(before.size(), 8 + 129 * 1699 + 4);  // 128 programs and the channel record
    ASSERT_EQ(setChunk(host, before), 1);
    EXPECT_EQ(getChunk(host), before);
    EXPECT_EQ(host.getParameter(1), 0.25f);

    std::vector<uint8_t> magic = before, version = before;
    magic[1] = 0x18;
    version[4] = 0x03;  // bank version 0x10003
    EXPECT_EQ(setChunk(host, magic), 0);
    EXPECT_EQ(setChunk(host, version), 0);
    // Every truncation point of the header, the first program and the channel record's end; a stride
    // through the programs between (each point costs a parse of up to the whole bank).
    for (size_t n = 0; n < before.size(); n += (n < 1800 || n + 40 > before.size()) ? 1 : 1499)
        ASSERT_EQ(setChunk(host, std::vector<uint8_t>(before.begin(), before.begin() + static_cast<long>(n))), 0)
            << n;
    std::mt19937 random(5);
    for (int trial = 0; trial < 40; ++trial) {  // damaged in places, or noise after a valid header
        std::vector<uint8_t> garbage = before;
        garbage.resize(trial % 2 == 0 ? garbage.size() - 1 - random() % 100 : 8 + random() % 4000);
        for (size_t i = 8; i < garbage.size(); i += trial % 2 == 0 ? 1 + random() % 40000 : 1)
            garbage[i] = static_cast<uint8_t>(random());
        ASSERT_EQ(setChunk(host, garbage), 0) << trial;
    }
    EXPECT_EQ(getChunk(host), before);
    EXPECT_EQ(host.dispatch(effGetProgram), 7);
}

TEST(DemoBank, CheckedInFileIsWhatTheDemoSoundsBuild) {
    auto engine = std::make_unique<SynthEngine>();
    demo::buildDemoSounds(*engine);
    ByteStream built;
    writeBank(*engine, built, false);
    EXPECT_EQ(built.bytes, fileBytes(QUENVALE_SOURCE_DIR "/examples/demo.qpb"))
        << "run build/tools/quenvale-make-demo-bank examples/demo.qpb";
}

// Each sound as the demo piece uses it: a three-note chord with a melody note above, held, released.
TEST(DemoBank, EverySoundPlaysAudiblyWithoutClipping) {
    // Random phase curves come from the process-wide rand(), which earlier tests have advanced: start
    // from the state a fresh process has, so the levels measured do not depend on test order.
    std::srand(1);
    auto engine = std::make_unique<SynthEngine>();
    engine->setSampleRate(44100.0f);
    ASSERT_TRUE(loadBankFile(*engine, QUENVALE_SOURCE_DIR "/examples/demo.qpb"));
    for (int32_t p = 0; p < demo::kDemoSoundCount; ++p) {
        char name[kNameFieldSize];
        SCOPED_TRACE(engine->programName(p, name));
        engine->selectProgram(0, p, true);
        for (int n : {57, 60, 64, 76}) test::noteOn(*engine, n, n == 76 ? 110 : 90);
        std::vector<float> right, tailRight;
        const std::vector<float> left = test::renderSamples(*engine, 44100 * 2, &right);
        for (int n : {57, 60, 64, 76}) test::noteOff(*engine, n);
        const std::vector<float> tail = test::renderSamples(*engine, 44100, &tailRight);
        double sum = 0.0;  // over the held chord
        for (const std::vector<float>* block : {&left, &std::as_const(right), &tail, &std::as_const(tailRight)})
            for (float s : *block) {
                ASSERT_TRUE(std::isfinite(s) && std::fabs(s) < 0.98f) << s;
                if (block == &left || block == &right) sum += static_cast<double>(s) * s;
            }
        const double rms = std::sqrt(sum / static_cast<double>(2 * left.size()));
        // The slow pad is the quietest: its level over the first two seconds depends on the random
        // phases drawn for its layers, a few dB either way.
        EXPECT_GT(20.0 * std::log10(rms + 1e-12), -36.0) << "rms " << rms;
    }
}

}  // namespace
}  // namespace quenvale
