// libFuzzer entry: the Standard MIDI File reader of quenvale-render on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_input.h"
#include "midi_file.h"

using namespace quenvale;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > fuzz::kMaxMidiInput) return 0;
    render::MidiSequence sequence;
    std::string error;
    if (parseMidiFile(data, size, sequence, error)) {
        for (size_t i = 1; i < sequence.events.size(); ++i)
            if (sequence.events[i].tick < sequence.events[i - 1].tick) __builtin_trap();
        if (!sequence.events.empty() && sequence.events.back().tick > sequence.endTick) __builtin_trap();
    } else if (error.empty()) {
        __builtin_trap();
    }
    return 0;
}
