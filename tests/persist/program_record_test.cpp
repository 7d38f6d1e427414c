// Program records: the current layout, every readable older version, source checks, component upgrades.
#include "persist/program_record.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>

#include "engine/env/default_envelope.h"
#include "engine/program.h"
#include "engine/spectrum/generator.h"
#include "params/parameter_catalogue.h"
#include "persist/envelope_record.h"
#include "persist/generator_record.h"
#include "persist/record_builder.h"
#include "persist/step_seq_record.h"

namespace quenvale {
namespace {

using test::Record;

std::unique_ptr<Program> newProgram(const char* name = "x") {
    auto p = std::make_unique<Program>();
    initProgram(*p, name);
    return p;
}

std::vector<uint8_t> recordOf(const Program& p) {
    ByteStream s;
    writeProgram(p, s);
    return s.bytes;
}

bool read(Program& p, const Record& r) {
    ByteReader reader = r.reader();
    return readProgram(p, reader) && reader.remaining() == 0;
}

int32_t index(const char* name) {
    const int32_t i = parameterIndex(name);
    EXPECT_GE(i, 0) << name;
    return i;
}

constexpr uint32_t kMarked = 0x40000000u;  // value e of a hand-built list is kMarked + e unless set

// A record of an older version with empty component entries except those given.
struct OldProgram {
    uint32_t version;
    int32_t valueCount;
    std::vector<std::pair<int32_t, uint32_t>> set = {};  // entries holding other values
    ByteStream envelope = {}, stepSeq = {}, generator = {};
};

Record build(const OldProgram& o) {
    Record r;
    r.u32(o.version).name17("Old");
    for (int32_t e = 0; e < o.valueCount; ++e) {
        uint32_t v = kMarked + static_cast<uint32_t>(e);
        for (const auto& [entry, value] : o.set)
            if (entry == e) v = value;
        r.u32(v);
    }
    if (o.version >= 0x10015)
        for (const char* n : {"Cutoff", "Width", "Drive", "Air", "Spread", "Motion"}) r.name17(n);
    r.sized(o.envelope);
    for (int k = 1; k < 6; ++k) r.u32(0);
    if (o.version >= 0x10019) {
        r.sized(o.stepSeq);
        for (int k = 1; k < 4; ++k) r.u32(0);
    }
    r.sized(o.generator);
    if (o.version <= 0x10009) r.u32(4).u32(0x11223344);  // a second generator entry, skipped
    return r;
}

TEST(ProgramRecord, EmptyComponentsTake1699BytesAndRoundTrip) {
    auto p = newProgram("Glass Pad");
    EXPECT_EQ(recordOf(*p).size(), 1699u);
    // Modulated values are stored by their base; slots travel as their own parameters.
    ModParam gain;
    gain.base = 0.5f;
    gain.slots[0].source = 3;
    p->values[39] = makeModulatedValue(gain);
    std::strcpy(p->macroNames[5], "Brightness");
    writeEnvelopeRecord(defaultEnvelopeCurve(), p->envelopeData[2]);
    writeGenerator(Generator(), p->generatorData);
    const std::vector<uint8_t> bytes = recordOf(*p);
    EXPECT_EQ(bytes.size(), 1699u + p->envelopeData[2].size() + p->generatorData.size());
    auto loaded = newProgram();
    ByteReader reader(bytes.data(), bytes.size());
    ASSERT_TRUE(readProgram(*loaded, reader));
    EXPECT_EQ(recordOf(*loaded), bytes);
    EXPECT_STREQ(loaded->name, "Glass Pad");
    EXPECT_STREQ(loaded->macroNames[5], "Brightness");
    EXPECT_EQ(loaded->values[39].numberAsFloat(), 0.5f);
}

// One record per readable version; where the values of the older, shorter lists land: parameters
// first … last take entries from `entry` on, or keep their defaults where `entry` is -1.
TEST(ProgramRecord, EveryReadableVersionReadsItsListAndOthersAreRefused) {
    struct Span {
        int32_t first, last, entry;
    };
    const int32_t lfo1Sync = index("Lfo1 Sync"), chLfo4Sync = index("ChLfo4 Sync"), lfo1Out = index("Lfo1 Out");
    const std::vector<Span> v10017 = {{78, 78, 73},   {79, 79, -1}, {107, 107, 74}, {lfo1Sync, lfo1Sync, -1},
                                      {109, 109, 75}, {chLfo4Sync, chLfo4Sync, -1}, {382, 382, 337}};
    const std::map<uint32_t, std::vector<Span>> spans = {
        {0x10020, {{0, 382, 0}}},
        {0x10019, {{0, 22, 0}, {23, 27, -1}, {28, 28, 23}, {382, 382, 377}}},
        {0x10018, v10017},
        {0x10017, v10017},
        {0x10016, {{48, 48, 43}, {49, 49, -1}, {107, 107, 44}, {382, 382, 307}}},
        // LFO members of the short list: Lfo1 Type, Ratio, Offset, Phase, then Lfo2 Type.
        {0x10014, {{107, 107, 44}, {119, 119, 47}, {129, 129, 48}, {lfo1Out, lfo1Out, -1}, {283, 283, 76},
                   {285, 285, 77}, {331, 331, 84}}},
        {0x10011, {{0, 0, -1}, {1, 1, 0}, {2, 2, -1}, {8, 8, 1}, {48, 48, 36}, {382, 382, 128}}},
        // Five values after entry 26 are discarded.
        {0x10010, {{38, 38, 26}, {39, 43, 32}, {44, 48, -1}, {107, 107, 37}, {382, 382, 128}}},
        {0x10005, {{1, 1, 0}, {33, 33, 21}, {34, 38, -1}, {39, 39, 48}, {331, 331, 93}, {382, 382, 144}}},
    };
    const auto valueCount = [](uint32_t v) {
        if (v <= 0x10009) return 145;
        if (v <= 0x10011) return 129;
        if (v <= 0x10015) return 136;
        if (v == 0x10016) return 308;
        if (v <= 0x10018) return 338;
        return v == 0x10019 ? 378 : 383;
    };
    for (uint32_t v = 0x10005; v <= 0x10020; ++v) {
        if ((v & 0xF) >= 0xA) continue;  // digits read as decimal: no 0x1000A … 0x1000F, 0x1001A … 0x1001F
        SCOPED_TRACE(testing::Message() << std::hex << v);
        auto p = newProgram();
        ASSERT_TRUE(read(*p, build(OldProgram{v, valueCount(v)})));
        EXPECT_EQ(p->version, 0x10020u);
        EXPECT_STREQ(p->name, "Old");
        if (spans.count(v) == 0) continue;
        for (const Span& s : spans.at(v))
            for (int32_t i = s.first; i <= s.last; ++i) {
                if (std::strstr(descriptor(i).name, "ModSrc") != nullptr) continue;  // checked below
                const uint32_t expected = s.entry < 0 ? descriptor(i).defaultValue.number
                                                      : kMarked + static_cast<uint32_t>(s.entry + i - s.first);
                EXPECT_EQ(p->values[i].number, expected) << i;
            }
    }
    for (uint32_t v : {0u, 0x10004u, 0x1000Au, 0x1000Fu, 0x1001Au, 0x10021u, 0x20000u}) {
        auto p = newProgram("Kept");
        const std::vector<uint8_t> before = recordOf(*p);
        EXPECT_FALSE(read(*p, build(OldProgram{v, 383}))) << std::hex << v;
        EXPECT_EQ(recordOf(*p), before);
    }
}

// A stored source is kept only if the version could name it; 0x10014 also brings default macro names.
TEST(ProgramRecord, SourcesAreCheckedAgainstWhatTheVersionCouldName) {
    const int32_t voiceSrc = index("Gen1 Ratio ModSrc1"), voiceSrc2 = index("Gain ModSrc2");
    const int32_t chSrc = index("ChFx1 Param1 ModSrc1");
    ASSERT_EQ(voiceSrc, 9);
    ASSERT_EQ(voiceSrc2, 42);  // entry 23 + (42 − 28) in the short lists
    const int32_t chEntry = 84 + (chSrc - 331);
    struct Case {
        uint32_t version;
        int32_t valueCount;
        uint32_t voice, voice2, channel;  // stored
        int32_t voiceKept, voice2Kept, channelKept;
    };
    for (const Case& c : {Case{0x10020, 383, 157, 0, 139, 157, 0, 0},  // the channel numbering ends at 138
                          Case{0x10014, 136, 150, 150, 138, 150, 150, 138},
                          Case{0x10014, 136, 154, 154, 138, 0, 0, 138},
                          Case{0x10014, 136, 0xFFFFFFFFu, 0xFFFFFFFFu, 138, 0, 0, 138},
                          Case{0x10013, 136, 148, 147, 0, 0, 147, 0}}) {  // no macro sources yet
        SCOPED_TRACE(testing::Message() << std::hex << c.version << std::dec << " " << c.voice);
        const bool shortList = c.version < 0x10016;
        OldProgram o{c.version, c.valueCount};
        o.set = {{voiceSrc, c.voice}, {shortList ? 37 : voiceSrc2, c.voice2}, {shortList ? chEntry : chSrc, c.channel}};
        auto p = newProgram();
        ASSERT_TRUE(read(*p, build(o)));
        EXPECT_EQ(p->values[voiceSrc].numberAsInt(), c.voiceKept);
        EXPECT_EQ(p->values[voiceSrc2].numberAsInt(), c.voice2Kept);
        EXPECT_EQ(p->values[chSrc].numberAsInt(), c.channelKept);
        EXPECT_STREQ(p->macroNames[0], c.version < 0x10015 ? "Macro1" : "Cutoff");
        EXPECT_STREQ(p->macroNames[5], c.version < 0x10015 ? "Macro6" : "Motion");
    }
}

TEST(ProgramRecord, ComponentRecordsAreCheckedAndUpgradedAndNamesTerminated) {
    // 0x10005: the envelope is kept; the generator is rewritten in the current layout.
    test::OldModulator amp;
    amp.layers = {{1, 1}};
    Record gen, env, seq, odd;
    test::oldGenerator(gen, 0x10005, 0, amp);
    env.i32(1).i32(0).i32(0).f32(0.5f).f32(1.0f).f32(0.5f);
    auto p = newProgram();
    ASSERT_TRUE(read(*p, build(OldProgram{0x10005, 145, {}, env.stream, {}, gen.stream})));
    EXPECT_EQ(p->envelopeData[0].bytes, env.bytes());
    Generator expected;
    ByteReader old = gen.reader();
    ASSERT_TRUE(readGenerator(expected, old, 0x10005));
    EXPECT_EQ(p->generatorData.bytes, test::recordOf(expected));

    // 0x10019 stored step sequencers: a valid record is kept; a selector outside 0 … 8 reads as 3 (four
    // steps) and is rewritten so, odd shapes kept.
    seq.i32(1).i32(4).f32(-1.0f).i32(1).f32(1.0f);  // two steps
    ASSERT_TRUE(read(*p, build(OldProgram{0x10019, 378, {}, {}, seq.stream})));
    EXPECT_EQ(p->stepSeqData[0].bytes, seq.bytes());
    odd.i32(9);
    for (int s = 0; s < 4; ++s) odd.i32(s == 1 ? 12 : 1).f32(static_cast<float>(s));
    ASSERT_TRUE(read(*p, build(OldProgram{0x10019, 378, {}, {}, odd.stream})));
    StepSeqBlock block;
    ByteReader seqReader(p->stepSeqData[0].bytes.data(), p->stepSeqData[0].size());
    ASSERT_TRUE(readStepSeqRecord(seqReader, block));
    EXPECT_EQ(p->stepSeqData[0].bytes[0], 3);
    EXPECT_EQ(block.stepCount, 4);
    EXPECT_EQ(block.steps[1].shape, 12);

    // A name without its terminator is cut at 16 characters.
    Record unterminated = build(OldProgram{0x10020, 383});
    std::memset(unterminated.stream.bytes.data() + 4, 'A', 17);
    ASSERT_TRUE(read(*p, unterminated));
    EXPECT_EQ(std::string(p->name), std::string(16, 'A'));

    // An envelope of 33 segments cannot be held: the whole program is refused.
    Record tooLong;
    tooLong.i32(33).i32(0).i32(0);
    for (int s = 0; s < 33; ++s) tooLong.f32(0.1f).f32(1.0f).f32(0.5f);
    const std::vector<uint8_t> before = recordOf(*p);
    EXPECT_FALSE(read(*p, build(OldProgram{0x10020, 383, {}, tooLong.stream})));
    EXPECT_EQ(recordOf(*p), before);
}

TEST(ProgramRecord, TruncatedRecordsAreRefusedAtEveryLength) {
    auto source = newProgram("Full");
    writeEnvelopeRecord(defaultEnvelopeCurve(), source->envelopeData[5]);
    writeGenerator(Generator(), source->generatorData);
    const std::vector<uint8_t> bytes = recordOf(*source);
    auto p = newProgram("Kept");
    const std::vector<uint8_t> before = recordOf(*p);
    for (size_t n = 0; n < bytes.size(); ++n) {
        ByteReader reader(bytes.data(), n);
        ASSERT_FALSE(readProgram(*p, reader)) << n;
    }
    Record huge;  // a component byte count far beyond the record
    huge.u32(0x10020).name17("x");
    for (int e = 0; e < 383; ++e) huge.u32(0);
    for (int m = 0; m < 6; ++m) huge.name17("m");
    EXPECT_FALSE(read(*p, huge.u32(0xFFFFFFFFu)));
    EXPECT_EQ(recordOf(*p), before);
}

}  // namespace
}  // namespace quenvale
