// The engine builds and renders silence.
#include <gtest/gtest.h>

#include "engine/synth_engine.h"

TEST(Smoke, EngineRendersSilence) {
    quenvale::SynthEngine engine;
    float l[8] = {1, 1, 1, 1, 1, 1, 1, 1}, r[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    engine.render(l, r, 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(l[i] + r[i], 0.0f);
    char name[quenvale::kNameFieldSize];
    EXPECT_STREQ(engine.programName(0, name), "Program 001");
}
