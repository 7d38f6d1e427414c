// Voices and MIDI events: voice choice, note on and off, glide, controllers, program selection.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/note_frequency.h"
#include "engine/rate_values.h"
#include "engine/synth_engine.h"
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

TEST(SynthEngineMidi, ConstructionBuildsTheBankAndTheNoteTable) {
    SynthEngine engine;
    EXPECT_STREQ(engine.programName(0), "Program 001");
    EXPECT_STREQ(engine.programName(127), "Program 128");
    EXPECT_STREQ(engine.programName(128), "");
    EXPECT_EQ(engine.currentProgram(0), 0);
    EXPECT_FLOAT_EQ(noteFrequency[69], 440.0f);
    EXPECT_NEAR(noteFrequency[60], 261.6256f, 1e-3f);
    EXPECT_NEAR(noteFrequency[9], 13.75f, 1e-6f);
    EXPECT_EQ(engine.voiceCount(), 0);
    EXPECT_EQ(engine.monitoredVoice(), nullptr);
    for (int i = 0; i < kVoiceCount; ++i) {
        EXPECT_EQ(engine.voice(i).index, i);
        EXPECT_EQ(engine.voice(i).channel, -1);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(&engine.voice(i)) % 16, 0u);
    }
    EXPECT_EQ(reinterpret_cast<uintptr_t>(&engine.channel()) % 16, 0u);
}

TEST(SynthEngineMidi, TheFirstEngineOfTheProcessSetsTheRatesForLaterOnesToShare) {
    test::ScopedRates saved(48000.0f);
    SynthEngine first;
    EXPECT_EQ(rates.sampleRate, 44100.0f);
    EXPECT_EQ(rates.controlRate, 689.0625f);
    EXPECT_FLOAT_EQ(rates.lfoIncrementScale, 0.18575963f);
    first.setSampleRate(48000.0f);
    SynthEngine second;  // not the first: the shared rate stays
    EXPECT_EQ(rates.sampleRate, 48000.0f);
    EXPECT_EQ(rates.sampleTime, 1.0f / 48000.0f);
}

TEST(SynthEngineMidi, NoteOnStartsAVoiceAndNoteOffReleasesIt) {
    SynthEngine engine;
    noteOn(engine, 69, 127);
    ASSERT_EQ(engine.activeVoiceCount(), 1);
    ASSERT_EQ(engine.noteVoice(69), 0);
    const Voice& v = engine.voice(0);
    EXPECT_TRUE(v.active);
    EXPECT_EQ(v.channel, 0);
    EXPECT_EQ(v.soundingMask, 1u);
    EXPECT_EQ(v.keyFrequency, 440.0f);
    EXPECT_EQ(v.keyVelocity, 1.0f);  // 127 × 0.007874015718698502 rounds to 1.0
    EXPECT_EQ(v.modSources[kVoiceOutputVelocity], 1.0f);
    EXPECT_EQ(engine.monitoredVoice(), &v);
    for (const EnvelopeState& e : v.env) EXPECT_FALSE(e.released);

    noteOff(engine, 69);
    EXPECT_EQ(engine.noteVoice(69), -1);
    for (const EnvelopeState& e : v.env) EXPECT_TRUE(e.released);
    EXPECT_TRUE(v.active);  // sounds on through its release
}

TEST(SynthEngineMidi, VelocityZeroIsANoteOffAndARepeatedNoteOnIsIgnored) {
    SynthEngine engine;
    noteOn(engine, 60);
    noteOn(engine, 60);
    EXPECT_EQ(engine.activeVoiceCount(), 1);
    EXPECT_EQ(engine.voiceCount(), 1);
    send(engine, test::noteOnEntry(60, 0));
    EXPECT_EQ(engine.noteVoice(60), -1);
    EXPECT_TRUE(engine.voice(0).env[0].released);
}

TEST(SynthEngineMidi, WithoutGlideASecondKeyStartsASecondVoice) {
    SynthEngine engine;
    noteOn(engine, 60);
    noteOn(engine, 64);
    EXPECT_EQ(engine.activeVoiceCount(), 2);
    EXPECT_EQ(engine.noteVoice(60), 0);
    EXPECT_EQ(engine.noteVoice(64), 1);
    EXPECT_EQ(engine.lastNote(), -1);
    EXPECT_EQ(engine.voiceListEntry(0), 0);
    EXPECT_EQ(engine.voiceListEntry(1), 1);
}

TEST(SynthEngineMidi, GlideMovesTheHeldVoiceLinearlyInHz) {
    test::ScopedRates rates(44100.0f);
    SynthEngine engine;
    setGlide(engine, 0.5f);
    noteOn(engine, 60, 127);
    ASSERT_EQ(engine.lastNote(), 60);
    const Voice& v = engine.voice(0);
    renderSamples(engine, 640);  // let the note settle for a few ticks
    const uint32_t maskBefore = v.soundingMask;

    noteOn(engine, 64, 64);
    EXPECT_EQ(engine.activeVoiceCount(), 1);
    EXPECT_EQ(engine.voiceCount(), 1);
    EXPECT_EQ(engine.noteVoice(64), 0);
    EXPECT_EQ(engine.noteVoice(60), -1);
    EXPECT_EQ(engine.lastNote(), 64);
    EXPECT_EQ(v.glideCounter, 22050u);
    EXPECT_EQ(v.soundingMask, maskBefore);  // nothing retriggered
    EXPECT_EQ(v.keyFrequency, noteFrequency[60]);

    const double f0 = noteFrequency[60], f1 = noteFrequency[64];
    renderSamples(engine, 11025);
    EXPECT_NEAR(v.keyFrequency, (f0 + f1) / 2.0, 0.05);
    renderSamples(engine, 5512);
    EXPECT_NEAR(v.keyFrequency, f0 + (f1 - f0) * (16537.0 / 22050.0), 0.05);
    renderSamples(engine, 22050 - 16537 - 1);
    EXPECT_GT(v.glideCounter, 0u);
    EXPECT_NE(v.keyFrequency, noteFrequency[64]);
    renderSamples(engine, 1);
    EXPECT_EQ(v.glideCounter, 0u);
    EXPECT_EQ(v.keyFrequency, noteFrequency[64]);
    EXPECT_EQ(v.keyVelocity, static_cast<float>(64 * 0.007874015718698502));
    EXPECT_EQ(v.keyFrequencyStep, 0.0f);

    noteOff(engine, 60);  // the glided-away key: nothing happens
    EXPECT_FALSE(v.env[0].released);
    noteOff(engine, 64);
    EXPECT_TRUE(v.env[0].released);
    EXPECT_EQ(engine.lastNote(), -1);
}

TEST(SynthEngineMidi, ControllersStoreScaledValues) {
    SynthEngine engine;
    send(engine, test::controllerEntry(7, 127));
    EXPECT_EQ(engine.channel().controllerValue[7], 1.0f);
    send(engine, test::controllerEntry(7, 64));
    EXPECT_FLOAT_EQ(engine.channel().controllerValue[7], 0.503937f);
    engine.setControllerValue(0, 1, 0.25f);
    EXPECT_EQ(engine.channel().controllerValue[1], 0.25f);
    engine.setControllerValue(0, 128, 0.5f);  // outside the table: nothing
    const MidiEntry ignored[] = {{0xE0, 0, 64, 0}, {0xC0, 5, 0, 0}, {0xD0, 100, 0, 0}, {0xF8, 0, 0, 0}};
    engine.processMidi(ignored, 4);
    EXPECT_EQ(engine.voiceCount(), 0);
    EXPECT_EQ(engine.currentProgram(0), 0);
}

TEST(SynthEngineMidi, EveryMidiChannelPlaysTheSameSound) {
    SynthEngine a, b;
    const MidiEntry onA = test::noteOnEntry(62, 90, 0), onB = test::noteOnEntry(62, 90, 9);
    a.processMidi(&onA, 1);
    b.processMidi(&onB, 1);
    std::vector<float> ra, rb;
    const std::vector<float> la = renderSamples(a, 1000, &ra), lb = renderSamples(b, 1000, &rb);
    EXPECT_EQ(a.noteVoice(62), b.noteVoice(62));
    EXPECT_EQ(a.voice(0).keyFrequency, b.voice(0).keyFrequency);
    EXPECT_EQ(a.voice(0).keyVelocity, b.voice(0).keyVelocity);
    EXPECT_EQ(la, lb);
    EXPECT_EQ(ra, rb);
    const MidiEntry offB = test::noteOffEntry(62, 9);
    b.processMidi(&offB, 1);
    EXPECT_TRUE(b.voice(0).env[0].released);
}

TEST(SynthEngineMidi, ProgramSelectionSilencesVoicesAndForgetsTheirNotes) {
    SynthEngine engine;
    int32_t reported = -1, calls = 0;
    struct Sink {
        int32_t* reported;
        int32_t* calls;
    } sink{&reported, &calls};
    engine.setProgramChangedCallback(
        [](int32_t, int32_t program, void* context) {
            auto* s = static_cast<Sink*>(context);
            *s->reported = program;
            ++*s->calls;
        },
        &sink);
    noteOn(engine, 60);
    noteOn(engine, 64);
    engine.selectProgram(0, 3, true);
    EXPECT_EQ(engine.currentProgram(0), 3);
    EXPECT_EQ(reported, 3);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(engine.activeVoiceCount(), 0);
    EXPECT_EQ(engine.assignedVoiceCount(), 0);
    EXPECT_EQ(engine.voiceCount(), 0);
    EXPECT_FALSE(engine.voice(0).active);
    EXPECT_EQ(engine.voice(0).keyVelocity, 0.0f);
    noteOff(engine, 60);  // too late: nothing to release
    EXPECT_FALSE(engine.voice(0).env[0].released);
    EXPECT_EQ(engine.activeVoiceCount(), 0);
    engine.selectProgram(0, 128, true);  // no such program: nothing
    engine.selectProgram(0, -1, false);
    EXPECT_EQ(engine.currentProgram(0), 3);
    EXPECT_EQ(calls, 1);
}

TEST(SynthEngineMidi, AThirtyThirdNoteIsDroppedUntilAVoiceEnds) {
    SynthEngine engine;
    engine.channel().env[0].curve.lengths[1] = 0.02f;  // a short release keeps the test quick
    for (int n = 0; n < kVoiceCount; ++n) noteOn(engine, 30 + n);
    ASSERT_EQ(engine.activeVoiceCount(), 32);
    noteOn(engine, 100);
    EXPECT_EQ(engine.noteVoice(100), -1);
    EXPECT_EQ(engine.activeVoiceCount(), 32);

    noteOff(engine, 30);
    for (int block = 0; block < 400 && engine.activeVoiceCount() == 32; ++block) renderSamples(engine, 256);
    ASSERT_EQ(engine.activeVoiceCount(), 31);
    EXPECT_EQ(engine.voiceCount(), 31);
    EXPECT_EQ(engine.voice(0).channel, -1);  // returned to the pool
    noteOn(engine, 100);
    EXPECT_EQ(engine.noteVoice(100), 0);
    EXPECT_EQ(engine.activeVoiceCount(), 32);
    EXPECT_EQ(engine.voiceListEntry(31), 0);  // appended at the end of the list
}

TEST(SynthEngineMidi, ProgramNamesAndMacroLabels) {
    SynthEngine engine;
    engine.setProgramName(5, "A name longer than sixteen");
    EXPECT_STREQ(engine.programName(5), "A name longer th");
    EXPECT_STREQ(engine.parameterLabel(kParamMacro1), "Macro1");
    EXPECT_STREQ(engine.parameterLabel(kParamMacro1 + 5), "Macro6");
    engine.setParameterLabel(kParamMacro1 + 1, "Brightness of the sound");
    EXPECT_STREQ(engine.parameterLabel(kParamMacro1 + 1), "Brightness of th");
    engine.selectProgram(0, 1, true);
    EXPECT_STREQ(engine.parameterLabel(kParamMacro1 + 1), "Macro2");  // names belong to the program
}

}  // namespace
}  // namespace quenvale
