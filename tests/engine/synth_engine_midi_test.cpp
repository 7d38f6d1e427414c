// Voices and MIDI events: note on and off, glide, controllers, MIDI channels, program selection, the
// voice limit, and the bookkeeping faults once found here (stale note entries, glides whose voice has
// gone, malformed data bytes, voices ending in the middle of a tick's pass); parameter stores reaching
// the sounding voices.
#include <gtest/gtest.h>

#include "engine/lfo/lfo_tick.h"
#include "engine/note_frequency.h"
#include "engine_test_support.h"
#include "params/parameter_index.h"
#include "scoped_rates.h"

namespace quenvale {
namespace {

using test::noteOff;
using test::noteOn;
using test::renderSamples;
using test::send;

void setGlide(SynthEngine& engine, float seconds) {
    engine.setParameterValue(0, kParamGlide, makeFloatValue(seconds));
}

TEST(SynthEngineMidi, NoteOnStartsAVoiceAndNoteOffOrVelocityZeroReleasesIt) {
    SynthEngine engine;
    noteOn(engine, 69, 127);
    ASSERT_EQ(engine.noteVoice(69), 0);
    const Voice& v = engine.voice(0);
    EXPECT_EQ(v.keyFrequency, 440.0f);
    EXPECT_EQ(v.keyVelocity, 1.0f);  // 127 × 0.007874015718698502 rounds to 1.0
    noteOff(engine, 69);
    EXPECT_EQ(engine.noteVoice(69), -1);
    for (const EnvelopeState& e : v.env) EXPECT_TRUE(e.released);
    EXPECT_TRUE(v.active);  // sounds on through its release

    noteOn(engine, 60);
    noteOn(engine, 60);  // a repeated note-on for a sounding key is ignored
    noteOn(engine, 64);  // without glide a second key starts a second voice (and the repeat none)
    EXPECT_EQ(engine.noteVoice(64), 2);
    send(engine, test::noteOnEntry(60, 0));
    EXPECT_EQ(engine.noteVoice(60), -1);
    EXPECT_TRUE(engine.voice(1).env[0].released);
}

TEST(SynthEngineMidi, GlideMovesTheHeldVoiceLinearlyInHzWithoutRetrigger) {
    test::ScopedRates rates(44100.0f);
    SynthEngine engine;
    setGlide(engine, 0.5f);
    noteOn(engine, 60, 127);
    const Voice& v = engine.voice(0);
    renderSamples(engine, 640);  // let the note settle for a few ticks
    const uint32_t maskBefore = v.soundingMask;
    noteOn(engine, 64, 64);
    EXPECT_EQ(engine.noteVoice(60), -1);
    EXPECT_EQ(v.glideCounter, 22050u);
    EXPECT_EQ(v.soundingMask, maskBefore);  // nothing retriggered

    const double f0 = noteFrequency[60], f1 = noteFrequency[64];
    renderSamples(engine, 11025);
    EXPECT_NEAR(v.keyFrequency, (f0 + f1) / 2.0, 0.05);
    renderSamples(engine, 11024);
    EXPECT_NE(v.keyFrequency, noteFrequency[64]);
    renderSamples(engine, 1);
    EXPECT_EQ(v.keyFrequency, noteFrequency[64]);
    EXPECT_EQ(v.env[0].segment, 0) << "the envelope was not restarted";
    noteOff(engine, 60);  // the glided-away key: nothing happens
    EXPECT_FALSE(v.env[0].released);
}

TEST(SynthEngineMidi, ControllersStoreScaledValues) {
    SynthEngine engine;
    send(engine, test::controllerEntry(7, 127));
    EXPECT_EQ(engine.channel().controllerValue[7], 1.0f);
    send(engine, test::controllerEntry(7, 64));
    EXPECT_FLOAT_EQ(engine.channel().controllerValue[7], 0.503937f);
}

TEST(SynthEngineMidi, MidiChannelTenPlaysTheSameSoundAsChannelOne) {
    SynthEngine a, b;
    send(a, test::noteOnEntry(62, 90, 0));
    send(b, test::noteOnEntry(62, 90, 9));
    std::vector<float> ra, rb;
    EXPECT_EQ(renderSamples(a, 1000, &ra), renderSamples(b, 1000, &rb));
    EXPECT_EQ(ra, rb);
    send(b, test::noteOffEntry(62, 9));
    EXPECT_TRUE(b.voice(0).env[0].released);
}

TEST(SynthEngineMidi, ProgramSelectionSilencesVoicesAndForgetsTheirNotes) {
    SynthEngine engine;
    int32_t calls = 0;
    engine.setProgramChangedCallback([](int32_t, int32_t, void* c) { ++*static_cast<int32_t*>(c); }, &calls);
    noteOn(engine, 60);
    noteOn(engine, 64);
    engine.selectProgram(0, 3, true);
    EXPECT_EQ(engine.currentProgram(0), 3);
    EXPECT_EQ(engine.activeVoiceCount(), 0);
    noteOff(engine, 60);  // too late: nothing to release
    EXPECT_FALSE(engine.voice(0).env[0].released);
    engine.selectProgram(0, 128, true);  // no such program: nothing
    engine.selectProgram(0, -1, false);
    EXPECT_EQ(engine.currentProgram(0), 3);
    EXPECT_EQ(calls, 1);
}

TEST(SynthEngineMidi, AThirtyThirdNoteIsDroppedUntilAVoiceEnds) {
    SynthEngine engine;
    engine.channel().env[0].curve.lengths[1] = 0.02f;  // a short release keeps the test quick
    for (int n = 0; n < kVoiceCount; ++n) noteOn(engine, 30 + n);
    noteOn(engine, 100);
    EXPECT_EQ(engine.noteVoice(100), -1);
    EXPECT_EQ(engine.activeVoiceCount(), 32);
    noteOff(engine, 30);
    for (int block = 0; block < 400 && engine.activeVoiceCount() == 32; ++block) renderSamples(engine, 256);
    ASSERT_EQ(engine.voiceCount(), 31);
    noteOn(engine, 100);
    EXPECT_EQ(engine.noteVoice(100), 0);
    EXPECT_EQ(engine.voiceListEntry(31), 0);  // appended at the end of the list
}

TEST(VoiceBookkeeping, AVoiceEndingWhileItsKeyIsHeldNoLongerAnswersToThatKey) {
    SynthEngine engine;
    noteOn(engine, 60);
    engine.clearSoundingBit(engine.voice(0), 0);  // envelope 1 running out without a note-off
    EXPECT_EQ(engine.noteVoice(60), -1);
    EXPECT_EQ(engine.assignedVoiceCount(), 0);
    noteOn(engine, 62);  // takes the same voice
    ASSERT_EQ(engine.noteVoice(62), 0);
    noteOff(engine, 60);  // the old key must not release the new note
    EXPECT_FALSE(engine.voice(0).env[0].released);
    noteOn(engine, 60);  // and the old key plays again at once
    EXPECT_EQ(engine.noteVoice(60), 1);
}

TEST(VoiceBookkeeping, AGlideWhoseVoiceHasGoneStartsANormalNote) {
    SynthEngine engine;
    setGlide(engine, 0.5f);
    noteOn(engine, 60);
    engine.clearSoundingBit(engine.voice(0), 0);
    noteOn(engine, 64);
    ASSERT_EQ(engine.activeVoiceCount(), 1);
    EXPECT_EQ(engine.voice(engine.noteVoice(64)).keyFrequency, noteFrequency[64]) << "no glide";
    engine.selectProgram(0, 0, false);  // the same after a program selection (no load: glide stays)
    noteOn(engine, 67);
    EXPECT_EQ(engine.voice(engine.noteVoice(67)).keyFrequency, noteFrequency[67]);
}

TEST(VoiceBookkeeping, DataBytesAbove127AreIgnored) {
    SynthEngine engine;
    noteOn(engine, 60);
    const float before = engine.channel().controllerValue[1];
    const MidiEntry bad[] = {{0x90, 200, 100, 0}, {0x90, 61, 200, 0}, {0x80, 255, 0, 0}, {0xB0, 130, 5, 0},
                             {0xB0, 1, 255, 0}};
    engine.processMidi(bad, 5);
    engine.processMidi(nullptr, 3);
    EXPECT_EQ(engine.activeVoiceCount(), 1);
    EXPECT_EQ(engine.noteVoice(61), -1);
    EXPECT_EQ(engine.channel().controllerValue[1], before);
    EXPECT_FALSE(engine.voice(0).env[0].released);
}

TEST(VoiceBookkeeping, VoicesEndingInOneTickDoNotMakeThePassSkipOthers) {
    SynthEngine engine;
    for (int n = 0; n < 4; ++n) noteOn(engine, 60 + n);
    renderSamples(engine, 64 * 4);
    // The first two listed voices finish on the same tick; the voice behind them in the list must
    // still be updated on that tick.
    noteOff(engine, 60);
    noteOff(engine, 61);
    for (int32_t ticks = 0; engine.voice(0).active && ticks < 2000; ++ticks) {
        ASSERT_TRUE(engine.voice(1).active);
        renderSamples(engine, 64);
    }
    EXPECT_FALSE(engine.voice(1).active);
    EXPECT_EQ(engine.voiceCount(), 2);
    EXPECT_EQ(engine.voiceListEntry(0), 2);
    EXPECT_EQ(engine.voiceListEntry(1), 3);
    EXPECT_EQ(engine.assignedVoiceCount(), 2);
}

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
    noteOn(engine, 69);
    noteOn(engine, 57);
    const Voice& a = engine.voice(0);
    const Voice& b = engine.voice(1);
    const float lfo4Before = a.lfo[0].increment[3];
    const float lfo3Before = lfo3Increment(a);
    engine.setParameterValue(0, kLfo3Ratio, makeFloatValue(0.1f));
    EXPECT_EQ(lfo3Increment(a), lfo3Before);  // the refresh waits for the next block
    renderSamples(engine, 1);
    EXPECT_EQ(lfo3Increment(a), expectedLfo3Increment(engine, a));
    EXPECT_EQ(lfo3Increment(b), expectedLfo3Increment(engine, b));
    EXPECT_NE(lfo3Increment(a), lfo3Increment(b));  // key tracking: 440 Hz against 220 Hz
    EXPECT_EQ(a.lfo[0].increment[3], lfo4Before);
}

TEST(VoiceRefresh, AStoreDuringAStructuralEditReachesTheVoicesAtTheNextBlock) {
    SynthEngine engine;
    noteOn(engine, 69);
    renderSamples(engine, 10);  // off the tick grid
    const Voice& a = engine.voice(0);
    const float before = lfo3Increment(a);
    {
        EditGuard::EditScope scope(engine.editGuard());
        engine.setParameterValue(0, kLfo3Offset, makeFloatValue(12.5f));
    }
    EXPECT_EQ(lfo3Increment(a), before);
    renderSamples(engine, 1);
    EXPECT_EQ(lfo3Increment(a), expectedLfo3Increment(engine, a));
    EXPECT_NE(lfo3Increment(a), before);
}

}  // namespace
}  // namespace quenvale
