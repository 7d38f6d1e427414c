// The engine's hardening seen from outside: the two feedback runaways found by hand stay bounded, and
// the last line of defence (a faulty voice silenced, a faulty channel stage cleared) keeps inf and NaN
// from the host while the rest plays on.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_test_support.h"
#include "engine/synth_engine.h"
#include "host/test_host.h"
#include "params/parameter_catalogue.h"

namespace quenvale {
namespace {

constexpr int32_t kMacroParam1Source = 132;  // ChModSource of "MacroParam1"

void set(SynthEngine& engine, const char* name, const ParameterValue& value) {
    const int32_t index = parameterIndex(name);
    ASSERT_GE(index, 0) << name;
    engine.setParameterValue(0, index, value);
}

bool allFinite(const std::vector<float>& x) {
    for (float s : x)
        if (!std::isfinite(s)) return false;
    return true;
}

std::unique_ptr<SynthEngine> sineEngine() {
    auto engine = std::make_unique<SynthEngine>();
    engine->setSampleRate(44100.0f);
    test::makeSine(*engine);
    return engine;
}

// A feedback driven past 1 by modulation: the line's feedback stops at 0.999, so the output stays
// bounded where it ran to inf (Delay after 6.5 s, Comb after 0.16 s).
TEST(OutputGuard, FeedbackModulatedPastOneStaysBounded) {
    for (const int32_t type : {1, 2}) {  // Delay, Comb
        SCOPED_TRACE(type == 1 ? "Delay" : "Comb");
        auto engine = sineEngine();
        test::DebugCapture capture;
        set(*engine, "ChFx1 Type", makeIntValue(type));
        set(*engine, "ChFx1 Param2", makeFloatValue(1.0f));
        set(*engine, "ChFx1 Param2 ModSrc1", makeIntValue(kMacroParam1Source));
        set(*engine, "ChFx1 Param2 ModAmt1", makeFloatValue(1.0f));
        set(*engine, "MacroParam1", makeFloatValue(1.0f));
        test::noteOn(*engine, 60);
        std::vector<float> right;
        const std::vector<float> left = test::renderSamples(*engine, 44100 * 10, &right);
        ASSERT_TRUE(allFinite(left) && allFinite(right));
        EXPECT_EQ(engine->channel().fx[0].lines[0].feedback, 0.999f);
        // A sine of level ≤ 1 recirculated at 0.999 grows at most to 1 / (1 − 0.999) = 1000.
        EXPECT_LT(test::peakIn(left), 1000.0f);
        EXPECT_GT(test::peakIn(left, 44100 * 9), 0.01f);  // still sounding: bounded, not muted
        EXPECT_TRUE(capture.texts().empty()) << capture.texts().front();
    }
}

TEST(OutputGuard, AFaultyVoiceIsSilencedAndTheOthersPlayOn) {
    auto engine = sineEngine();
    test::noteOn(*engine, 57);  // 220 Hz
    test::noteOn(*engine, 69);  // 440 Hz
    test::renderSamples(*engine, 4096);
    const int32_t faulty = engine->noteVoice(57);
    ASSERT_GE(faulty, 0);
    test::DebugCapture capture;
    engine->voice(faulty).generator.gainRamp.value = std::numeric_limits<float>::infinity();
    std::vector<float> right;
    const std::vector<float> left = test::renderSamples(*engine, 44100, &right);
    EXPECT_TRUE(allFinite(left) && allFinite(right));
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"Quenvale: voice " + std::to_string(faulty + 1) +
                                                        " produced a non-finite sample and was silenced\n"});
    EXPECT_FALSE(engine->voice(faulty).active);
    EXPECT_EQ(engine->noteVoice(57), -1);
    EXPECT_EQ(engine->activeVoiceCount(), 1);
    // The other note sounds on; the silenced one is gone.
    EXPECT_GT(test::amplitudeAt(left, 4410, 22050, 440.0, 44100.0), 0.1);
    EXPECT_LT(test::amplitudeAt(left, 4410, 22050, 220.0, 44100.0), 1e-4);
    // The voice is reset: the same key plays again, and nothing more is reported.
    test::noteOn(*engine, 57);
    const std::vector<float> again = test::renderSamples(*engine, 22050);
    EXPECT_TRUE(allFinite(again));
    EXPECT_GT(test::amplitudeAt(again, 4410, 11025, 220.0, 44100.0), 0.1);
    EXPECT_EQ(capture.texts().size(), 1u);
}

TEST(OutputGuard, AFaultyLineIsClearedOnceAndTheChannelPlaysOn) {
    auto engine = sineEngine();
    set(*engine, "ChFx1 Type", makeIntValue(1));  // Delay, 0.5 s, feedback 0.5, wet 1
    test::noteOn(*engine, 69);
    test::renderSamples(*engine, 4096);
    test::DebugCapture capture;
    float* line = engine->channel().fx[0].lines[0].buffer.get();
    for (int i = 0; i < kDelayLineLength; ++i) line[i] = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> right;
    const std::vector<float> left = test::renderSamples(*engine, 44100 * 2, &right);
    EXPECT_TRUE(allFinite(left) && allFinite(right));
    EXPECT_EQ(capture.texts(), std::vector<std::string>{"Quenvale: the channel effects produced a non-finite "
                                                        "sample; their lines were cleared\n"});
    // The note keeps its voice, and once the delay has filled again it is heard through the line.
    EXPECT_EQ(engine->activeVoiceCount(), 1);
    EXPECT_GT(test::amplitudeAt(left, 44100, 22050, 440.0, 44100.0), 0.1);
    float peakL = 0.0f, peakR = 0.0f;
    engine->readPeaks(peakL, peakR);
    EXPECT_TRUE(std::isfinite(peakL) && std::isfinite(peakR));
}

}  // namespace
}  // namespace quenvale
