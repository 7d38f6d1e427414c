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

TEST(MidiFile, FormatZeroWithRunningStatusAndSkippedEvents) {
    const Bytes file = test::buildSmf(0, 96,
                                      {TrackBuilder()
                                           .event(0, {0xFF, 0x03, 0x04, 'l', 'e', 'a', 'd'})  // track name
                                           .event(0, {0x90, 60, 100})
                                           .event(10, {64, 90})  // running status: another note-on
                                           .event(0, {0xF0, 0x03, 0x7E, 0x01, 0xF7})  // sysex, skipped
                                           .event(5, {0xC1, 7})  // program change: one data byte
                                           .event(0, {21})       // running status, one data byte
                                           .event(20, {0x80, 60, 0})
                                           .end(30)});
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(parse(file, sequence, error)) << error;
    EXPECT_EQ(sequence.format, 0);
    EXPECT_EQ(sequence.division, 96);
    ASSERT_EQ(sequence.events.size(), 5u);
    const auto expect = [&](size_t i, uint64_t tick, std::initializer_list<uint8_t> bytes) {
        const MidiFileEvent& e = sequence.events[i];
        EXPECT_EQ(e.tick, tick) << i;
        ASSERT_EQ(e.size, bytes.size()) << i;
        size_t k = 0;
        for (uint8_t b : bytes) EXPECT_EQ(e.bytes[k++], b) << i;
    };
    expect(0, 0, {0x90, 60, 100});
    expect(1, 10, {0x90, 64, 90});
    expect(2, 15, {0xC1, 7});
    expect(3, 15, {0xC1, 21});
    expect(4, 35, {0x80, 60, 0});
    EXPECT_EQ(sequence.endTick, 65u);
}

TEST(MidiFile, FormatOneTracksMergeByAbsoluteTime) {
    const Bytes file = test::buildSmf(
        1, 480,
        {TrackBuilder().tempo(0, 600000).end(0),
         TrackBuilder().event(100, {0x90, 60, 1}).event(200, {0x80, 60, 0}).end(),
         TrackBuilder().event(50, {0x91, 70, 2}).event(50, {0x91, 71, 3}).event(250, {0x81, 70, 0}).end()});
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(parse(file, sequence, error)) << error;
    EXPECT_EQ(sequence.trackCount, 3);
    ASSERT_EQ(sequence.events.size(), 5u);
    const uint64_t ticks[] = {50, 100, 100, 300, 350};
    const uint8_t notes[] = {70, 60, 71, 60, 70};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(sequence.events[i].tick, ticks[i]);
        EXPECT_EQ(sequence.events[i].bytes[1], notes[i]);
    }
    // Equal ticks keep the order of the tracks.
    EXPECT_EQ(sequence.events[1].bytes[0], 0x90);
    EXPECT_EQ(sequence.events[2].bytes[0], 0x91);
    ASSERT_EQ(sequence.tempoChanges.size(), 1u);
    EXPECT_EQ(sequence.tempoChanges[0].microsecondsPerQuarter, 600000u);
}

TEST(MidiFile, TempoChangesMoveLaterEvents) {
    // 480 ticks a quarter: 120 BPM for two quarters, then 60 BPM, then 240 BPM from tick 1920.
    const Bytes file = test::buildSmf(
        1, 480,
        {TrackBuilder().tempo(960, 1000000).tempo(960, 250000).end(), TrackBuilder()
                                                                          .event(480, {0x90, 60, 100})
                                                                          .event(960, {0x80, 60, 0})
                                                                          .event(960, {0x90, 62, 100})
                                                                          .end()});
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(parse(file, sequence, error)) << error;
    const TempoMap map(sequence);
    EXPECT_DOUBLE_EQ(map.secondsAt(0), 0.0);
    EXPECT_DOUBLE_EQ(map.secondsAt(480), 0.5);
    EXPECT_DOUBLE_EQ(map.secondsAt(960), 1.0);
    EXPECT_DOUBLE_EQ(map.secondsAt(1440), 2.0);
    EXPECT_DOUBLE_EQ(map.secondsAt(1920), 3.0);
    EXPECT_DOUBLE_EQ(map.secondsAt(2400), 3.25);
    EXPECT_EQ(map.frameAt(1440, 44100.0), 88200);
    EXPECT_EQ(map.frameAt(2400, 48000.0), 156000);
    // With no tempo event the file plays at 120 BPM.
    const Bytes plain = test::buildSmf(0, 100, {TrackBuilder().event(300, {0x90, 1, 1}).end()});
    ASSERT_TRUE(parse(plain, sequence, error));
    EXPECT_DOUBLE_EQ(TempoMap(sequence).secondsAt(300), 1.5);
}

TEST(MidiFile, TimeCodeDivisionIgnoresTempo) {
    // 25 frames a second, 40 ticks a frame: 1000 ticks a second.
    const uint16_t division = static_cast<uint16_t>((static_cast<uint8_t>(-25) << 8) | 40);
    const Bytes file =
        test::buildSmf(0, division, {TrackBuilder().tempo(0, 1000000).event(2500, {0x90, 1, 1}).end()});
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(parse(file, sequence, error)) << error;
    EXPECT_DOUBLE_EQ(TempoMap(sequence).secondsAt(2500), 2.5);
}

TEST(MidiFile, TruncatedFilesAreRefusedAtEveryLength) {
    const Bytes file =
        test::buildSmf(1, 96,
                       {TrackBuilder().tempo(0, 500000).end(),
                        TrackBuilder().event(0, {0x90, 60, 100}).event(0x3FFF, {0x80, 60, 0}).end()});
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(parse(file, sequence, error)) << error;
    for (size_t length = 0; length < file.size(); ++length) {
        const Bytes cut(file.begin(), file.begin() + static_cast<long>(length));
        EXPECT_FALSE(parse(cut, sequence, error)) << "accepted the first " << length << " bytes";
        EXPECT_FALSE(error.empty());
    }
}

TEST(MidiFile, MalformedFilesAreRefusedWithAReason) {
    MidiSequence sequence;
    std::string error;
    const auto refused = [&](const Bytes& bytes, const char* why) {
        EXPECT_FALSE(parse(bytes, sequence, error)) << why;
        return error;
    };
    EXPECT_NE(refused({'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96}, "not a MIDI file").find("MThd"),
              std::string::npos);
    EXPECT_NE(refused(test::buildSmf(2, 96, {TrackBuilder().end()}), "format 2").find("format 2"),
              std::string::npos);
    refused(test::buildSmf(0, 96, {TrackBuilder().end(), TrackBuilder().end()}), "format 0 with two tracks");
    refused(test::buildSmf(0, 0, {TrackBuilder().end()}), "zero division");
    EXPECT_NE(refused(test::buildSmf(0, 96, {TrackBuilder().event(0, {60, 100})}), "data without status")
                  .find("status"),
              std::string::npos);
    refused(test::buildSmf(0, 96, {TrackBuilder().event(0, {0x90, 60, 0x90})}), "status as data byte");
    refused(test::buildSmf(0, 96, {TrackBuilder().event(0, {0xF8})}), "real-time byte in a file");
    refused(test::buildSmf(0, 96, {TrackBuilder().event(0, {0xFF, 0x01, 0x7F})}),
            "meta longer than the track");
    // A five-byte delta time does not exist.
    refused(test::buildSmf(0, 96, {TrackBuilder().event(0, {0x80, 0x80, 0x80, 0x80, 0x00, 0x90, 1, 1})}),
            "overlong delta");
}

TEST(MidiFile, UnknownChunksAreSkipped) {
    Bytes file = test::buildSmf(0, 96, {TrackBuilder().event(7, {0x90, 60, 100}).end()});
    const Bytes alien = {'X', 'y', 'z', 'w', 0, 0, 0, 3, 1, 2, 3};
    file.insert(file.begin() + 14, alien.begin(), alien.end());
    MidiSequence sequence;
    std::string error;
    ASSERT_TRUE(parse(file, sequence, error)) << error;
    ASSERT_EQ(sequence.events.size(), 1u);
    EXPECT_EQ(sequence.events[0].tick, 7u);
}

}  // namespace
}  // namespace quenvale::render
