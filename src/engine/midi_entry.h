// One short MIDI message as the plug-in hands it to the engine.
#pragma once

#include <cstdint>

namespace quenvale {

struct MidiEntry {
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
    int32_t deltaFrames = 0;
};

}  // namespace quenvale
