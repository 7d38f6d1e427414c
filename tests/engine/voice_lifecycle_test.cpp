// A voice's life through its components: the amplitude envelope holds, releases and ends the
// voice; glides do not retrigger; note starts set the channel effects' ramps at once.
#include <gtest/gtest.h>

#include "engine/synth_engine.h"
#include "engine_test_support.h"
#include "params/parameter_index.h"
#include "scoped_rates.h"

namespace quenvale {
namespace {

using test::noteOff;
using test::noteOn;
using test::renderSamples;

TEST(VoiceLifecycle, TheDefaultEnvelopeAttacksInSixTicksAndReleasesIn689) {
    test::ScopedRates rates(44100.0f);
    SynthEngine engine;
    noteOn(engine, 60);
    const Voice& v = engine.voice(0);
    renderSamples(engine, 64 * 5);
    EXPECT_LT(v.env[0].value, 1.0f);
    EXPECT_EQ(v.modSources[kVoiceOutputEnvelope1], v.env[0].output);
    renderSamples(engine, 64);  // sixth tick: the attack has arrived
    EXPECT_NEAR(v.env[0].value, 1.0f, 1e-5f);
    renderSamples(engine, 64 * 20);
    EXPECT_TRUE(v.env[0].holding);
    EXPECT_EQ(v.env[0].value, 1.0f);

    noteOff(engine, 60);
    int32_t ticks = 0;
    while (v.active && ticks < 2000) {
        renderSamples(engine, 64);
        ++ticks;
    }
    // The first tick after the note-off starts the 689-tick release; the tick after it ends.
    EXPECT_EQ(ticks, 690);
    EXPECT_EQ(engine.activeVoiceCount(), 0);
    EXPECT_EQ(engine.voiceCount(), 0);
    EXPECT_EQ(v.channel, -1);
}

TEST(VoiceLifecycle, EnvelopesTwoToSixEndingDoNotEndTheVoice) {
    SynthEngine engine;
    Channel& ch = engine.channel();
    ch.env[1].curve.segmentCount = 1;  // plays straight through: no loop reaches it
    ch.env[1].curve.loopStart = ch.env[1].curve.loopEnd = -1;
    ch.env[1].curve.lengths[0] = 0.01f;
    noteOn(engine, 60);
    renderSamples(engine, 64 * 40);
    EXPECT_TRUE(engine.voice(0).env[1].finished);
    EXPECT_TRUE(engine.voice(0).active);
    ch.env[0].curve = ch.env[1].curve;  // the same curve on envelope 1 ends the next note
    noteOn(engine, 62);
    renderSamples(engine, 64 * 40);
    EXPECT_FALSE(engine.voice(1).active);
    EXPECT_EQ(engine.noteVoice(62), -1);
}

TEST(VoiceLifecycle, AGlideDoesNotRetriggerTheEnvelopes) {
    SynthEngine engine;
    engine.setParameterValue(0, kParamGlide, makeFloatValue(0.05f));
    noteOn(engine, 60);
    renderSamples(engine, 64 * 30);
    const Voice& v = engine.voice(0);
    ASSERT_TRUE(v.env[0].holding);
    noteOn(engine, 72);
    renderSamples(engine, 64 * 3);
    EXPECT_TRUE(v.env[0].holding);
    EXPECT_EQ(v.env[0].segment, 0);
    EXPECT_EQ(v.env[0].value, 1.0f);
}

TEST(VoiceLifecycle, ANoteStartSetsTheEffectRampsAtOnceAndTicksRampThem) {
    SynthEngine engine;
    Channel& ch = engine.channel();
    EXPECT_EQ(ch.fx[0].paramRamp[0].value, 0.0f);  // a new channel's ramps start at 0
    noteOn(engine, 60);
    EXPECT_EQ(ch.fx[0].paramRamp[0].value, 0.5f);  // "Param1" default
    EXPECT_EQ(ch.fx[0].paramRamp[0].step, 0.0f);
    EXPECT_EQ(ch.fx[1].dryWetRamp.value, 1.0f);                                // "Dry/Wet" default
    engine.setParameterValue(0, kChFxGroup.first + 1, makeFloatValue(0.25f));  // "ChFx1 Param1"
    EXPECT_FLOAT_EQ(ch.fx[0].paramRamp[0].step, -0.25f / 64.0f);  // the refresh ramps over 64 samples
}

TEST(VoiceLifecycle, StoredProgramsComeBackThroughTheRouting) {
    SynthEngine engine;
    ParameterValue gain = engine.getParameterValue(0, kParamGain);
    ASSERT_EQ(gain.kind, ParameterKind::Modulated);
    engine.setParameterValue(0, kParamGain, makeFloatValue(0.3f));
    engine.setParameterValue(0, kParamGain + kSlotSource1, makeIntValue(19));  // velocity
    engine.setParameterValue(0, kParamGain + kSlotAmount1, makeFloatValue(0.5f));
    engine.setParameterValue(0, kParamGlide, makeFloatValue(0.2f));
    engine.channel().env[0].curve.segmentCount = 2;
    engine.storeProgram(9);
    engine.selectProgram(0, 0, true);
    EXPECT_EQ(engine.getParameterValue(0, kParamGlide).numberAsFloat(), 0.0f);
    engine.selectProgram(0, 9, true);
    gain = engine.getParameterValue(0, kParamGain);
    EXPECT_EQ(gain.modulated.base, 0.3f);
    EXPECT_EQ(gain.modulated.slots[0].source, 19);
    EXPECT_EQ(gain.modulated.slots[0].amount, 0.5f);
    EXPECT_EQ(engine.getParameterValue(0, kParamGlide).numberAsFloat(), 0.2f);
    for (int32_t i = 0; i < kParameterCount; ++i)
        EXPECT_EQ(engine.programParameterValue(9, i).number, engine.program(9).values[i].number);
    EXPECT_EQ(engine.programParameterValue(9, kParameterCount).kind, ParameterKind::None);
}

}  // namespace
}  // namespace quenvale
