// Voice bookkeeping under the situations that could leave stale note entries or skip voices:
// voices ending while their key is held, glides whose voice has gone, malformed MIDI bytes, and
// voices ending in the middle of a control tick's pass.
#include <gtest/gtest.h>

#include "engine/note_frequency.h"
#include "engine/synth_engine.h"
#include "engine_test_support.h"
#include "params/parameter_index.h"

namespace quenvale {
namespace {

using test::noteOff;
using test::noteOn;
using test::renderSamples;

TEST(VoiceBookkeeping, AVoiceEndingWhileItsKeyIsHeldNoLongerAnswersToThatKey) {
    SynthEngine engine;
    noteOn(engine, 60);
    Voice& a = engine.voice(0);
    engine.clearSoundingBit(a, 0);  // what envelope 1 does when it runs out without a note-off
    EXPECT_FALSE(a.active);
    EXPECT_EQ(a.channel, -1);
    EXPECT_EQ(engine.noteVoice(60), -1);
    EXPECT_EQ(engine.activeVoiceCount(), 0);
    EXPECT_EQ(engine.assignedVoiceCount(), 0);

    noteOn(engine, 62);  // takes the same voice
    ASSERT_EQ(engine.noteVoice(62), 0);
    noteOff(engine, 60);  // the old key must not release the new note
    EXPECT_FALSE(a.env[0].released);
    noteOn(engine, 60);  // and the old key plays again at once
    EXPECT_EQ(engine.noteVoice(60), 1);
}

TEST(VoiceBookkeeping, ClearingABitThatIsNotSetOrTwiceDoesNothing) {
    SynthEngine engine;
    noteOn(engine, 60);
    Voice& a = engine.voice(0);
    engine.clearSoundingBit(a, 3);  // envelope 4 finishing: the voice lives on
    EXPECT_TRUE(a.active);
    engine.clearSoundingBit(a, 40);  // no such component
    EXPECT_TRUE(a.active);
    engine.clearSoundingBit(a, 0);
    engine.clearSoundingBit(a, 0);
    EXPECT_EQ(engine.activeVoiceCount(), 0);
    EXPECT_EQ(engine.assignedVoiceCount(), 0);
}

TEST(VoiceBookkeeping, AGlideWhoseVoiceHasGoneStartsANormalNote) {
    SynthEngine engine;
    engine.setParameterValue(0, kParamGlide, makeFloatValue(0.5f));
    noteOn(engine, 60);
    ASSERT_EQ(engine.lastNote(), 60);
    engine.clearSoundingBit(engine.voice(0), 0);
    EXPECT_EQ(engine.lastNote(), -1);
    noteOn(engine, 64);
    ASSERT_EQ(engine.activeVoiceCount(), 1);
    const Voice& v = engine.voice(engine.noteVoice(64));
    EXPECT_TRUE(v.active);
    EXPECT_EQ(v.glideCounter, 0u);
    EXPECT_EQ(v.keyFrequency, noteFrequency[64]);
}

TEST(VoiceBookkeeping, AGlideOntoAKeyHeldByAnotherVoiceReleasesThatVoice) {
    SynthEngine engine;
    noteOn(engine, 60);  // voice 0, no glide yet
    engine.setParameterValue(0, kParamGlide, makeFloatValue(0.25f));
    noteOn(engine, 64);  // voice 1 starts and becomes the held glide voice
    ASSERT_EQ(engine.noteVoice(64), 1);
    noteOn(engine, 60);  // voice 1 glides to 60; voice 0 would otherwise never be released
    EXPECT_EQ(engine.noteVoice(60), 1);
    EXPECT_TRUE(engine.voice(0).env[0].released);
    EXPECT_FALSE(engine.voice(1).env[0].released);
}

TEST(VoiceBookkeeping, MalformedDataBytesAreIgnored) {
    SynthEngine engine;
    noteOn(engine, 60);
    const float before = engine.channel().controllerValue[1];
    const MidiEntry bad[] = {
        {0x90, 200, 100, 0}, {0x90, 61, 200, 0}, {0x80, 255, 0, 0}, {0xB0, 130, 5, 0}, {0xB0, 1, 255, 0},
    };
    engine.processMidi(bad, 5);
    EXPECT_EQ(engine.activeVoiceCount(), 1);
    EXPECT_EQ(engine.noteVoice(61), -1);
    EXPECT_EQ(engine.channel().controllerValue[1], before);
    EXPECT_FALSE(engine.voice(0).env[0].released);
    EXPECT_EQ(engine.noteVoice(200), -1);
    engine.processMidi(nullptr, 3);
    engine.processMidi(bad, 0);
    EXPECT_EQ(engine.activeVoiceCount(), 1);
}

TEST(VoiceBookkeeping, VoicesEndingInOneTickDoNotMakeThePassSkipOthers) {
    SynthEngine engine;
    for (int n = 0; n < 4; ++n) noteOn(engine, 60 + n);
    renderSamples(engine, 64 * 4);
    // Release the first two listed voices together: they finish on the same tick, and the voice
    // behind them in the list must still be updated on that tick.
    noteOff(engine, 60);
    noteOff(engine, 61);
    int32_t ticks = 0;
    while (engine.voice(0).active && ticks < 2000) {
        ASSERT_TRUE(engine.voice(1).active);
        renderSamples(engine, 64);
        ++ticks;
    }
    ASSERT_FALSE(engine.voice(0).active);
    EXPECT_FALSE(engine.voice(1).active);
    EXPECT_EQ(engine.voiceCount(), 2);
    EXPECT_EQ(engine.voiceListEntry(0), 2);
    EXPECT_EQ(engine.voiceListEntry(1), 3);
    EXPECT_EQ(engine.activeVoiceCount(), 2);
    EXPECT_EQ(engine.assignedVoiceCount(), 2);
}

TEST(VoiceBookkeeping, ProgramSelectionDuringGlideForgetsTheHeldNote) {
    SynthEngine engine;
    engine.setParameterValue(0, kParamGlide, makeFloatValue(0.5f));
    noteOn(engine, 60);
    engine.selectProgram(0, 0, false);  // no load: the glide setting stays
    EXPECT_EQ(engine.lastNote(), -1);
    noteOn(engine, 64);
    EXPECT_EQ(engine.activeVoiceCount(), 1);
    EXPECT_EQ(engine.voice(engine.noteVoice(64)).glideCounter, 0u);
}

}  // namespace
}  // namespace quenvale
