// The audio path allocates nothing: render, MIDI handling and plain parameter stores.
#include <gtest/gtest.h>

#include <vector>

#include "engine/synth_engine.h"
#include "engine_test_support.h"
#include "params/parameter_index.h"
#include "support/allocation_counter.h"

namespace quenvale {
namespace {

float fixedTempo(void*) {
    return 133.0f;
}

TEST(EngineAllocation, RenderMidiAndParameterStoresAllocateNothing) {
    SynthEngine engine;
    engine.setTempoReader(&fixedTempo, nullptr);
    engine.setParameterChangedCallback([](int32_t, int32_t, void*) {}, nullptr);
    std::vector<float> l(1024), r(1024);
    std::vector<MidiEntry> batch;
    for (int n = 0; n < 40; ++n) batch.push_back(test::noteOnEntry(30 + n, 100));  // 8 more than voices
    batch.push_back(test::controllerEntry(7, 90));
    std::vector<MidiEntry> offs;
    for (int n = 0; n < 40; n += 2) offs.push_back(test::noteOffEntry(30 + n));
    const ParameterValue glide = makeFloatValue(0.1f);

    test::AllocationCounter counter;
    engine.processMidi(batch.data(), static_cast<int32_t>(batch.size()));
    for (int block = 0; block < 6; ++block) engine.render(l.data(), r.data(), 1024 - block * 7);
    engine.render(l.data(), r.data(), 0);
    engine.processMidi(offs.data(), static_cast<int32_t>(offs.size()));
    for (int32_t i = 0; i < kParameterCount; ++i)
        engine.setParameterNormalized(0, i, engine.getParameterNormalized(0, i));
    engine.setParameterValue(0, kParamGlide, glide);
    engine.refreshVoices(0, kAllParameters);
    for (int block = 0; block < 10; ++block) engine.render(l.data(), r.data(), 512);
    float pl = 0, pr = 0;
    engine.readPeaks(pl, pr);
    EXPECT_EQ(counter.count(), 0u);
    EXPECT_GT(engine.tickCount(), 150u);
    EXPECT_GT(engine.activeVoiceCount(), 0);
}

}  // namespace
}  // namespace quenvale
