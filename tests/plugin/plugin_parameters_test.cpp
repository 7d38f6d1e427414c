// What a host sees of the parameters and the sound through the built plug-in's ABI.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "host/test_host.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_conversion.h"

namespace quenvale {
namespace {

std::string dispatchText(host::PluginHost& host, VstInt32 opcode, VstInt32 index) {
    char buffer[256] = {};
    host.dispatch(opcode, index, 0, buffer);
    return buffer;
}

TEST(PluginParameters, HostSeesEveryNameAndDefaultDisplayText) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    for (int i = 0; i < parameterCount(); ++i) {
        ASSERT_EQ(dispatchText(host, effGetParamName, i), descriptor(i).name) << i;
    }
    // Defaults of MasterGain, Gen1 Offset, StepSeq1 Length, Lfo1 Type, Lfo1 Offset and ChFx1 Type.
    std::string defaults;
    for (int i : {0, 13, 80, 107, 114, 331}) defaults += dispatchText(host, effGetParamDisplay, i) + "|";
    EXPECT_EQ(defaults, "1.000|0.000| 4|Off|5.000|None|");
    host.setParameter(9, 1.0f / 157.0f);  // "Gen1 Ratio ModSrc1" = 1
    EXPECT_EQ(dispatchText(host, effGetParamDisplay, 9), "E1");
    host.setParameter(9, 20.0f / 157.0f);  // a controller source has no name in the short list
    EXPECT_EQ(dispatchText(host, effGetParamDisplay, 9), "");
}

TEST(PluginParameters, SetThenGetReturnsTheHostsValueForEveryParameter) {
    host::PluginHost host;
    ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
    for (const float x : {0.0f, 0.2f, 0.5f, 0.75f, 1.0f}) {
        for (int i = 0; i < parameterCount(); ++i) {
            host.setParameter(i, x);
            const float expected = normalizedFromValue(i, valueFromNormalized(i, x));
            ASSERT_EQ(host.getParameter(i), expected) << "parameter " << i << " at " << x;
            ASSERT_TRUE(descriptor(i).isEnumerated() || std::fabs(host.getParameter(i) - x) <= 1e-6f) << i;
        }
    }
}

// Energy of one frequency in a signal (a single DFT bin at an arbitrary frequency).
double levelAt(const std::vector<float>& signal, double frequency, double sampleRate) {
    double re = 0.0, im = 0.0;
    for (size_t n = 0; n < signal.size(); ++n) {
        const double phase = 2.0 * std::numbers::pi * frequency * static_cast<double>(n) / sampleRate;
        re += signal[n] * std::cos(phase);
        im += signal[n] * std::sin(phase);
    }
    return std::hypot(re, im) / static_cast<double>(signal.size());
}

TEST(PluginParameters, DemoBankPlaysItsFirstProgramAtThePitchOfTheNote) {
    std::ifstream file(QUENVALE_SOURCE_DIR "/examples/demo.qpb", std::ios::binary);
    ASSERT_TRUE(file) << "examples/demo.qpb is missing";
    std::vector<char> bank((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

    for (const double rate : {44100.0, 96000.0}) {
        host::PluginHost host;
        ASSERT_TRUE(test::startBuiltPlugin(host)) << host.error();
        host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
        ASSERT_EQ(host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), bank.data()), 1);
        host.dispatch(effMainsChanged, 0, 1);
        host.dispatch(effSetProgram, 0, 0);
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

}  // namespace
}  // namespace quenvale
