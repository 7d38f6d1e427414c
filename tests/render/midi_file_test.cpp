// The renderer's MIDI file reader and tempo map, on hand-built files.
#include "midi_file.h"

#include <gtest/gtest.h>

#include <string>

#include "render/smf_builder.h"
#include "tempo_map.h"

namespace quenvale::render {
namespace {

using test::Bytes;
using test::TrackBuilder;

bool parse(const Bytes& bytes, MidiSequence& sequence, std::string& error) {
    return parseMidiFile(bytes.data(), bytes.size(), sequence, error);
}

// Each event as "tick:byte,byte,…;".
std::string listing(const MidiSequence& sequence) {
    std::string out;
    for (const MidiFileEvent& e : sequence.events) {
        out += std::to_string(e.tick) + ":";
        for (size_t k = 0; k < e.size; ++k) out += std::to_string(e.bytes[k]) + (k + 1 < e.size ? "," : ";");
    }
    return out;
}

TEST(MidiFile, FormatZeroWithRunningStatusSkippedEventsAndAnUnknownChunk) {
    Bytes file = test::buildSmf(0, 96,
                                {TrackBuilder()
                                     .event(0, {0xFF, 0x03, 0x04, 'l', 'e', 'a', 'd'})  // track name
                                     .event(0, {0x90, 60, 100})
                                     .event(10, {64, 90})  // running status: another note-on
                                     .event(0, {0xF0, 0x03, 0x7E, 0x01, 0xF7})  // sysex, skipped
                                     .event(5, {0xC1, 7})  // program change: one data byte
                                     .event(0, {21})       // running status, one data byte
                                     .event(20, {0x80, 60, 0})
                                     .end(30)});
    const Bytes alien = {'X', 'y', 'z', 'w', 0, 0, 0, 3, 1, 2, 3};
    file.insert(file.begin() + 14, alien.begin(), alien.end());
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(parse(file, sequence, error)) << error;
    EXPECT_EQ(sequence.format, 0);
    EXPECT_EQ(sequence.division, 96);
    EXPECT_EQ(listing(sequence), "0:144,60,100;10:144,64,90;15:193,7;15:193,21;35:128,60,0;");
    EXPECT_EQ(sequence.endTick, 65u);
}

TEST(MidiFile, FormatOneTracksMergeByAbsoluteTimeKeepingTrackOrderOnEqualTicks) {
    const Bytes file = test::buildSmf(
        1, 480,
        {TrackBuilder().tempo(0, 600000).end(0),
         TrackBuilder().event(100, {0x90, 60, 1}).event(200, {0x80, 60, 0}).end(),
         TrackBuilder().event(50, {0x91, 70, 2}).event(50, {0x91, 71, 3}).event(250, {0x81, 70, 0}).end()});
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(parse(file, sequence, error)) << error;
    EXPECT_EQ(sequence.trackCount, 3);
    EXPECT_EQ(listing(sequence), "50:145,70,2;100:144,60,1;100:145,71,3;300:128,60,0;350:129,70,0;");
    ASSERT_EQ(sequence.tempoChanges.size(), 1u);
    EXPECT_EQ(sequence.tempoChanges[0].microsecondsPerQuarter, 600000u);
}

TEST(MidiFile, TempoChangesMoveLaterEvents) {
    // 480 ticks a quarter: 120 BPM for two quarters, then 60 BPM, then 240 BPM from tick 1920.
    const Bytes file = test::buildSmf(
        1, 480, {TrackBuilder().tempo(960, 1000000).tempo(960, 250000).end(), TrackBuilder().end(2400)});
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(parse(file, sequence, error)) << error;
    const TempoMap map(sequence);
    const std::pair<uint64_t, double> kSeconds[] = {{0, 0},    {480, 0.5}, {960, 1},
                                                    {1440, 2}, {1920, 3},  {2400, 3.25}};
    for (const auto& [tick, seconds] : kSeconds) EXPECT_DOUBLE_EQ(map.secondsAt(tick), seconds) << tick;
    EXPECT_EQ(map.frameAt(1440, 44100.0), 88200);
    EXPECT_EQ(map.frameAt(2400, 48000.0), 156000);
    // With no tempo event the file plays at 120 BPM; a time-code division (25 frames of 40 ticks) ignores
    // tempo.
    ASSERT_TRUE(parse(test::buildSmf(0, 100, {TrackBuilder().end(300)}), sequence, error));
    EXPECT_DOUBLE_EQ(TempoMap(sequence).secondsAt(300), 1.5);
    const uint16_t timeCode = static_cast<uint16_t>((static_cast<uint8_t>(-25) << 8) | 40);
    ASSERT_TRUE(
        parse(test::buildSmf(0, timeCode, {TrackBuilder().tempo(0, 1000000).end(2500)}), sequence, error));
    EXPECT_DOUBLE_EQ(TempoMap(sequence).secondsAt(2500), 2.5);
}

TEST(MidiFile, TruncatedAndMalformedFilesAreRefusedWithAReason) {
    const Bytes file =
        test::buildSmf(1, 96,
                       {TrackBuilder().tempo(0, 500000).end(),
                        TrackBuilder().event(0, {0x90, 60, 100}).event(0x3FFF, {0x80, 60, 0}).end()});
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(parse(file, sequence, error)) << error;
    for (size_t length = 0; length < file.size(); ++length) {
        EXPECT_FALSE(parse(Bytes(file.begin(), file.begin() + static_cast<long>(length)), sequence, error))
            << length;
        EXPECT_FALSE(error.empty());
    }
    auto track = [](std::initializer_list<uint8_t> bytes) {
        return test::buildSmf(0, 96, {TrackBuilder().event(0, bytes)});
    };
    const std::pair<Bytes, const char*> kMalformed[] = {
        {{'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, "MThd"},
        {test::buildSmf(2, 96, {TrackBuilder().end()}), "format 2"},
        {test::buildSmf(0, 96, {TrackBuilder().end(), TrackBuilder().end()}), ""},  // format 0, two tracks
        {test::buildSmf(0, 0, {TrackBuilder().end()}), ""},                         // zero division
        {track({60, 100}), "status"},                                               // data without status
        {track({0x90, 60, 0x90}), ""},                                              // status as a data byte
        {track({0xF8}), ""},                                       // real-time byte in a file
        {track({0xFF, 0x01, 0x7F}), ""},                           // meta longer than the track
        {track({0x80, 0x80, 0x80, 0x80, 0x00, 0x90, 1, 1}), ""}};  // five-byte delta time
    for (const auto& [bytes, reason] : kMalformed) {
        EXPECT_FALSE(parse(bytes, sequence, error)) << reason;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace quenvale::render
