// Standard MIDI File reader (formats 0 and 1): channel messages of all tracks merged by time, and the tempo
// map.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quenvale::render {

// One channel message at an absolute tick.
struct MidiFileEvent {
    uint64_t tick = 0;
    uint8_t bytes[3] = {0, 0, 0};
    uint8_t size = 0;  // 2 or 3
};

// A tempo meta event: microseconds per quarter note from tick on.
struct TempoChange {
    uint64_t tick = 0;
    uint32_t microsecondsPerQuarter = 500000;
};

struct MidiSequence {
    int format = 0;
    int trackCount = 0;
    uint16_t division = 0;                  // the header's time division word, as stored
    std::vector<MidiFileEvent> events;      // ordered by tick; equal ticks keep track, then file order
    std::vector<TempoChange> tempoChanges;  // ordered by tick
    uint64_t endTick = 0;                   // tick of the last event of any kind (end-of-track included)
};

// Parses a whole file held in memory. Running status is honoured; system-exclusive and meta events other
// than tempo are skipped. Returns false, with a message in error, for anything that is not a complete
// format 0 or 1 file.
bool parseMidiFile(const uint8_t* data, size_t size, MidiSequence& out, std::string& error);

// Reads and parses the file at path.
bool loadMidiFile(const std::string& path, MidiSequence& out, std::string& error);

}  // namespace quenvale::render
