// Parameter stores reach the sounding voices at once, or, during a structural edit or from another
// thread, at the next block.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "engine/lfo/lfo_tick.h"
#include "engine/synth_engine.h"
#include "engine_test_support.h"

namespace quenvale {
namespace {

using test::noteOn;
using test::renderSamples;

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
    engine.setParameterValue(0, kLfo3Ratio, makeFloatValue(0.1f));
    EXPECT_EQ(lfo3Increment(a), expectedLfo3Increment(engine, a));
    EXPECT_EQ(lfo3Increment(b), expectedLfo3Increment(engine, b));
    EXPECT_NE(lfo3Increment(a), lfo3Increment(b));  // key tracking: 440 Hz against 220 Hz
    EXPECT_EQ(a.lfo[0].increment[3], lfo4Before);
}

TEST(VoiceRefresh, AStoreDuringAnEditOrFromAnotherThreadWaitsForTheNextBlock) {
    const std::function<void(SynthEngine&)> stores[] = {
        [](SynthEngine& engine) {
            EditGuard::EditScope scope(engine.editGuard());
            engine.setParameterValue(0, kLfo3Offset, makeFloatValue(12.5f));
        },
        [](SynthEngine& engine) {
            std::thread editor([&] { engine.setParameterValue(0, kLfo3Ratio, makeFloatValue(0.2f)); });
            editor.join();
        },
    };
    for (const auto& store : stores) {
        SynthEngine engine;
        noteOn(engine, 69);
        renderSamples(engine, 10);  // this thread is now the audio thread, off the tick grid
        const Voice& a = engine.voice(0);
        const float before = lfo3Increment(a);
        store(engine);
        EXPECT_EQ(lfo3Increment(a), before);
        renderSamples(engine, 1);
        EXPECT_EQ(lfo3Increment(a), expectedLfo3Increment(engine, a));
        EXPECT_NE(lfo3Increment(a), before);
    }
}

}  // namespace
}  // namespace quenvale
