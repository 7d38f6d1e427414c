// Converts MIDI file ticks to seconds and sample frames, following the file's tempo changes.
#pragma once

#include <cstdint>
#include <vector>

#include "midi_file.h"

namespace quenvale::render {

class TempoMap {
public:
    explicit TempoMap(const MidiSequence& sequence);

    // Seconds from the start of the file to tick.
    double secondsAt(uint64_t tick) const noexcept;
    // The sample frame of tick at sampleRate, rounded to the nearest frame.
    int64_t frameAt(uint64_t tick, double sampleRate) const noexcept;

private:
    struct Segment {
        uint64_t tick;
        double seconds;         // time at tick
        double secondsPerTick;  // from tick on
    };
    std::vector<Segment> segments_;  // first at tick 0, ordered by tick
};

}  // namespace quenvale::render
