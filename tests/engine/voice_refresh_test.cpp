// Parameter stores reach the sounding voices at once (or, during a structural edit on another
// path, at the next block), and a new program holds the catalogue defaults.
#include <gtest/gtest.h>

#include <thread>

#include "engine/lfo/lfo_tick.h"
#include "engine/program.h"
#include "engine/seq/step_seq_ranges.h"
#include "engine/synth_engine.h"
#include "engine_test_support.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_index.h"

namespace quenvale {
namespace {

constexpr int32_t kLfo3Ratio = 153;  // "Lfo3 Ratio": LFO 3 is lane 2 of the first group
constexpr int32_t kLfo3Offset = 158;

float lfo3Increment(const Voice& v) {
    return v.lfo[0].increment[2];
}

float expectedLfo3Increment(const SynthEngine& engine, const Voice& v) {
    const VoiceLfoBlock& b = engine.channel().lfo[0];
    return freeRunningIncrement(b.ratio[2].base, b.offset[2].base, v.keyFrequency);
}

TEST(VoiceRefresh, AnLfoRatioStoreRecomputesThatLfoInEveryVoice) {
    SynthEngine engine;
    int32_t changed = -1;
    engine.setParameterChangedCallback(
        [](int32_t, int32_t index, void* c) { *static_cast<int32_t*>(c) = index; }, &changed);
    test::noteOn(engine, 69);
    test::noteOn(engine, 57);
    const Voice& a = engine.voice(0);
    const Voice& b = engine.voice(1);
    const float lfo4Before = a.lfo[0].increment[3];
    engine.setParameterValue(0, kLfo3Ratio, makeFloatValue(0.1f));
    EXPECT_EQ(changed, kLfo3Ratio);
    EXPECT_EQ(engine.channel().lfo[0].ratio[2].base, 0.1f);
    EXPECT_EQ(lfo3Increment(a), expectedLfo3Increment(engine, a));
    EXPECT_EQ(lfo3Increment(b), expectedLfo3Increment(engine, b));
    EXPECT_NE(lfo3Increment(a), lfo3Increment(b));  // key tracking: 440 Hz against 220 Hz
    EXPECT_EQ(a.lfo[0].increment[3], lfo4Before);
}

TEST(VoiceRefresh, ARefreshDuringAnEditWaitsForTheNextBlock) {
    SynthEngine engine;
    test::noteOn(engine, 69);
    test::renderSamples(engine, 10);  // off the tick grid
    const Voice& a = engine.voice(0);
    const float before = lfo3Increment(a);
    {
        EditGuard::EditScope scope(engine.editGuard());
        engine.setParameterValue(0, kLfo3Offset, makeFloatValue(12.5f));
        EXPECT_EQ(engine.channel().lfo[0].offset[2].base, 12.5f);  // the store itself is not held back
        EXPECT_EQ(lfo3Increment(a), before);
    }
    test::renderSamples(engine, 1);
    EXPECT_EQ(lfo3Increment(a), expectedLfo3Increment(engine, a));
    EXPECT_NE(lfo3Increment(a), before);
}

TEST(VoiceRefresh, AStoreFromAnotherThreadIsTakenUpByTheAudioThreadAtTheNextBlock) {
    SynthEngine engine;
    test::noteOn(engine, 69);
    test::renderSamples(engine, 10);  // this thread is now the audio thread, off the tick grid
    const Voice& a = engine.voice(0);
    const float before = lfo3Increment(a);
    std::thread editor([&] { engine.setParameterValue(0, kLfo3Ratio, makeFloatValue(0.2f)); });
    editor.join();
    EXPECT_EQ(engine.channel().lfo[0].ratio[2].base, 0.2f);
    EXPECT_EQ(lfo3Increment(a), before);
    test::renderSamples(engine, 1);
    EXPECT_EQ(lfo3Increment(a), expectedLfo3Increment(engine, a));
    EXPECT_NE(lfo3Increment(a), before);
}

TEST(VoiceRefresh, HostIndicesOutsideTheCatalogueAreRefused) {
    SynthEngine engine;
    int32_t calls = 0;
    engine.setParameterChangedCallback([](int32_t, int32_t, void* c) { ++*static_cast<int32_t*>(c); },
                                       &calls);
    engine.setParameterNormalized(0, kParameterCount, 0.5f);
    engine.setParameterNormalized(0, -1, 0.5f);
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(engine.getParameterNormalized(0, kParameterCount), 0.0f);
    EXPECT_STREQ(engine.parameterDisplayText(0, -3), "");
    engine.setParameterNormalized(0, kParamMasterGain, 0.25f);  // 0 … 2
    EXPECT_EQ(calls, 1);
    EXPECT_FLOAT_EQ(engine.channel().masterGain, 0.5f);
    EXPECT_FLOAT_EQ(engine.getParameterNormalized(0, kParamMasterGain), 0.25f);
}

TEST(Programs, ANewProgramHoldsTheCatalogueDefaultsAndEmptyStreams) {
    Program p;
    initProgram(p, "Seventeen chars!!");
    EXPECT_EQ(p.version, 0x10020u);
    EXPECT_STREQ(p.name, "Seventeen chars!");
    EXPECT_STREQ(p.macroNames[0], "Macro1");
    EXPECT_STREQ(p.macroNames[5], "Macro6");
    for (int32_t i = 0; i < kParameterCount; ++i) {
        EXPECT_EQ(p.values[i].number, descriptor(i).defaultValue.number) << i;
        EXPECT_EQ(p.values[i].kind, descriptor(i).defaultValue.kind) << i;
    }
    for (const ByteStream& s : p.envelopeData) EXPECT_TRUE(s.empty());
    for (const ByteStream& s : p.stepSeqData) EXPECT_TRUE(s.empty());
    EXPECT_TRUE(p.generatorData.empty());
}

TEST(Programs, ApplyingAProgramWithEmptyStreamsSetsComponentDefaults) {
    SynthEngine engine;
    Channel& ch = engine.channel();
    ch.env[2].curve.segmentCount = 7;
    ch.stepSeq[1].steps[1].start = 0.25f;
    setStepSeqLength(ch.stepSeq[1], 8);
    engine.selectProgram(0, 0, true);
    EXPECT_EQ(ch.env[2].curve.segmentCount, 2);
    EXPECT_EQ(ch.env[2].curve.lengths[0], 0.01f);
    EXPECT_EQ(ch.env[2].curve.shapes[1], 0.7f);
    EXPECT_EQ(ch.stepSeq[1].stepCount, 4);
    EXPECT_EQ(ch.stepSeq[1].steps[1].start, 1.0f);
    EXPECT_EQ(ch.stepSeq[1].steps[2].shape, 2);
    EXPECT_EQ(ch.stepSeq[1].steps[3].range, -1.0f);  // back to step 0
}

}  // namespace
}  // namespace quenvale
