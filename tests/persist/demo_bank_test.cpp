// The checked-in demo bank: it is what the demo sounds build today, and every sound plays at a sane level.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "demo_sounds.h"
#include "engine/channel.h"
#include "engine/edit_guard.h"
#include "engine/engine_test_support.h"
#include "engine/spectrum/generator.h"
#include "engine/synth_engine.h"
#include "persist/bank_io.h"
#include "persist/engine_files.h"
#include "persist/whole_file.h"

namespace quenvale {
namespace {

const std::string kDemoBank = std::string(QUENVALE_SOURCE_DIR) + "/examples/demo.qpb";

TEST(DemoBank, CheckedInFileIsWhatTheDemoSoundsBuild) {
    std::vector<uint8_t> checkedIn;
    ASSERT_TRUE(readWholeFile(kDemoBank.c_str(), checkedIn)) << kDemoBank;
    auto engine = std::make_unique<SynthEngine>();
    demo::buildDemoSounds(*engine);
    ByteStream built;
    writeBank(*engine, built, false);
    EXPECT_EQ(built.bytes, checkedIn) << "run build/tools/quenvale-make-demo-bank examples/demo.qpb";
}

struct Level {
    float peak = 0.0f;
    double rms = 0.0;
    bool finite = true;
};

Level measure(const std::vector<float>& left, const std::vector<float>& right) {
    Level level;
    double sum = 0.0;
    for (size_t i = 0; i < left.size(); ++i) {
        for (float s : {left[i], right[i]}) {
            level.finite = level.finite && std::isfinite(s);
            level.peak = std::max(level.peak, std::fabs(s));
            sum += static_cast<double>(s) * s;
        }
    }
    level.rms = std::sqrt(sum / static_cast<double>(2 * left.size()));
    return level;
}

// Whether this build's voices sound at all: a single full-level partial must be heard.
bool voicesSound() {
    auto engine = std::make_unique<SynthEngine>();
    engine->setSampleRate(44100.0f);
    {
        EditGuard::EditScope scope(engine->editGuard());
        engine->channel().generator->modulator(kSpectrumAmp).breakpoints[0].values[0] = 1.0f;
        engine->generatorChanged();
    }
    test::noteOn(*engine, 69);
    std::vector<float> right;
    const std::vector<float> left = test::renderSamples(*engine, 4096, &right);
    return measure(left, right).peak > 0.0f;
}

// Each sound, as the demo piece uses it: a three-note chord with a melody note above, held, released.
TEST(DemoBank, EverySoundPlaysAudiblyWithoutClipping) {
    if (!voicesSound()) GTEST_SKIP() << "this build's voices render no partials yet";
    auto engine = std::make_unique<SynthEngine>();
    engine->setSampleRate(44100.0f);
    ASSERT_TRUE(loadBankFile(*engine, kDemoBank.c_str()));
    for (int32_t p = 0; p < demo::kDemoSoundCount; ++p) {
        SCOPED_TRACE(engine->programName(p));
        engine->selectProgram(0, p, true);
        const int notes[] = {57, 60, 64, 76};
        for (int n : notes) test::noteOn(*engine, n, n == 76 ? 110 : 90);
        std::vector<float> right;
        const std::vector<float> held = test::renderSamples(*engine, 44100 * 2, &right);
        const Level level = measure(held, right);
        for (int n : notes) test::noteOff(*engine, n);
        std::vector<float> tailRight;
        const std::vector<float> tail = test::renderSamples(*engine, 44100, &tailRight);
        const Level after = measure(tail, tailRight);
        EXPECT_TRUE(level.finite && after.finite);
        EXPECT_LT(level.peak, 0.98f);
        EXPECT_LT(after.peak, 0.98f);
        EXPECT_GT(20.0 * std::log10(level.rms + 1e-12), -30.0) << "rms " << level.rms;
    }
}

}  // namespace
}  // namespace quenvale
