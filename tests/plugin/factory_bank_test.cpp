// A fresh instance of the built plug-in, through VSTPluginMain as a host creates it: the factory programs
// by name, program 0 sounding at the pitch of the note, and its chunk round-tripping byte for byte.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "engine/synth_engine.h"
#include "factory_bank.h"
#include "host/test_host.h"
#include "plugin/factory_bank.h"

namespace quenvale {
namespace {

std::vector<uint8_t> chunkOf(host::PluginHost& host) {
    void* data = nullptr;
    const VstIntPtr size = host.dispatch(effGetChunk, 0, 0, &data);
    if (size <= 0 || data == nullptr) return {};
    return {static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size};
}

// Level of one frequency in a signal (a single DFT bin at an arbitrary frequency).
double levelAt(const std::vector<float>& signal, double frequency, double sampleRate) {
    double re = 0.0, im = 0.0;
    for (size_t n = 0; n < signal.size(); ++n) {
        const double phase = 2.0 * std::numbers::pi * frequency * static_cast<double>(n) / sampleRate;
        re += signal[n] * std::cos(phase);
        im += signal[n] * std::sin(phase);
    }
    return std::hypot(re, im) / static_cast<double>(signal.size());
}

TEST(PluginFactoryBank, FreshInstanceListsTheFactoryNamesAndDefaultsForTheRest) {
    // The names the embedded bank holds (FactoryBank tests hold it to the code that builds it).
    auto engine = std::make_unique<SynthEngine>();
    ASSERT_TRUE(loadFactoryBank(*engine));
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    EXPECT_EQ(host.dispatch(effGetProgram), 0);
    char name[64] = {};
    host.dispatch(effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "Soft Keys");
    int designed = 0;  // the factory programs come first, then the defaults
    for (int p = 0; p < 128; ++p) {
        char fallback[32];
        std::snprintf(fallback, sizeof fallback, "Program %03d", p + 1);
        char stored[kNameFieldSize] = {};
        const std::string expected = engine->programName(p, stored);
        if (expected != fallback) {
            EXPECT_EQ(designed, p) << "a default program before the factory program " << expected;
            designed = p + 1;
        }
        char shown[64] = {};
        ASSERT_EQ(host.dispatch(effGetProgramNameIndexed, p, 0, shown), 1);
        EXPECT_EQ(shown, expected) << p;
    }
    EXPECT_GE(designed, 48);
}

TEST(PluginFactoryBank, FreshInstancePlaysProgramZeroAtThePitchOfTheNote) {
    for (const double rate : {44100.0, 96000.0}) {
        host::PluginHost host;
        ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
        host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
        host.dispatch(effMainsChanged, 0, 1);
        host.sendMidi({host::PluginHost::midiEvent(0x90, 69, 100)});
        const int frames = static_cast<int>(rate / 2);
        std::vector<float> left(frames), right(frames);
        for (int done = 0; done < frames; done += 256)
            host.processReplacing(left.data() + done, right.data() + done, std::min(256, frames - done));
        const std::vector<float> tail(left.begin() + frames / 2, left.end());
        const double a440 = levelAt(tail, 440.0, rate);
        EXPECT_GT(a440, 1e-3) << "the note sounds at " << rate;
        EXPECT_GT(a440, 10.0 * levelAt(tail, 415.3, rate)) << rate;
        EXPECT_GT(a440, 10.0 * levelAt(tail, 466.2, rate)) << rate;
        for (const float s : left) ASSERT_TRUE(std::isfinite(s) && std::fabs(s) < 1.0f);
        host.close();
    }
}

TEST(PluginFactoryBank, FreshChunkHoldsTheFactoryBankAndRoundTripsByteForByte) {
    host::PluginHost first, second;
    ASSERT_TRUE(test::startBuiltPlugin(first)) << first.error();
    const std::vector<uint8_t> fresh = chunkOf(first);
    // The chunk is the bank file's programs, then the channel flag (1) and the live channel state.
    const size_t programsEnd = kFactoryBankBytesSize - 4;
    ASSERT_GT(fresh.size(), kFactoryBankBytesSize);
    EXPECT_EQ(std::memcmp(fresh.data(), kFactoryBankBytes, programsEnd), 0);
    EXPECT_EQ(fresh[programsEnd], 1);

    ASSERT_TRUE(test::startBuiltPlugin(second)) << second.error();
    std::vector<uint8_t> handed = fresh;
    ASSERT_EQ(second.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(handed.size()), handed.data()), 1);
    EXPECT_EQ(chunkOf(second), fresh);
    ASSERT_EQ(first.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(handed.size()), handed.data()), 1);
    EXPECT_EQ(chunkOf(first), fresh);
}

}  // namespace
}  // namespace quenvale
