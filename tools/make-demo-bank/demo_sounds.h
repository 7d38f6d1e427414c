// The sounds of the demo bank, each built from code on an engine.
#pragma once

#include "engine/synth_engine.h"

namespace quenvale::demo {

// Number of programs the demo bank fills (0 … count − 1); the rest keep the engine's defaults.
inline constexpr int32_t kDemoSoundCount = 10;

// [ui] Builds every demo sound into the engine's programs and selects program 0 again.
void buildDemoSounds(SynthEngine& engine);

}  // namespace quenvale::demo
