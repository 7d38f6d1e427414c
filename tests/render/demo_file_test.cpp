// The checked-in demo piece: a valid file of the promised length with a legato line that can glide.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "midi_file.h"
#include "tempo_map.h"

namespace quenvale::render {
namespace {

TEST(DemoPiece, IsAShortPieceWithChordsMelodyAndOverlappingNotes) {
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(loadMidiFile(std::string(QUENVALE_SOURCE_DIR) + "/examples/demo.mid", sequence, error))
        << error;
    EXPECT_EQ(sequence.format, 1);
    const double seconds = TempoMap(sequence).secondsAt(sequence.endTick);
    EXPECT_GE(seconds, 20.0);
    EXPECT_LE(seconds, 30.0);

    // Per channel: most notes sounding at once, and note-ons arriving while another note still sounds.
    std::map<int, int> sounding, mostSounding, overlaps;
    for (const MidiFileEvent& e : sequence.events) {
        const int channel = e.bytes[0] & 0x0F;
        const int kind = e.bytes[0] & 0xF0;
        if (kind == 0x90 && e.bytes[2] > 0) {
            if (sounding[channel] > 0) ++overlaps[channel];
            mostSounding[channel] = std::max(mostSounding[channel], ++sounding[channel]);
        } else if (kind == 0x80 || kind == 0x90) {
            --sounding[channel];
        }
    }
    EXPECT_GE(mostSounding[0], 3);  // chords
    EXPECT_EQ(mostSounding[1], 1);  // a melody, one note at a time
    EXPECT_EQ(mostSounding[2], 2);  // legato: each note overlaps the next
    EXPECT_GE(overlaps[2], 10);
    for (const auto& [channel, count] : sounding)
        EXPECT_EQ(count, 0) << "notes left hanging on channel " << channel;
}

}  // namespace
}  // namespace quenvale::render
