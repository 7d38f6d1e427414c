// Plays a MIDI sequence through an LV2 instance block by block, as a host's transport would.
#pragma once

#include <vector>

#include "lv2_host.h"
#include "midi_file.h"

namespace quenvale::lv2host {

struct RenderSettings {
    double sampleRate = 44100.0;
    uint32_t blockSize = 512;
    double tempo = 120.0;  // sent as time:Position before the first block
    double tailSeconds = 2.0;
    // Every event at frame 0 of the block it falls in (the timing of a VST 2 host's event list),
    // instead of at its own frame.
    bool eventsAtBlockStart = false;
};

// Renders from frame 0 to the sequence's end plus the tail into left and right.
void renderSequence(Lv2Instance& instance, const render::MidiSequence& sequence,
                    const RenderSettings& settings, std::vector<float>& left, std::vector<float>& right);

}  // namespace quenvale::lv2host
