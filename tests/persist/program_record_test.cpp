// Program records: the current layout, every readable older version, source checks, component upgrades.
#include "persist/program_record.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <functional>
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

std::unique_ptr<Program> newProgram(const char* name) {
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

uint32_t defaultBits(int32_t i) {
    return descriptor(i).defaultValue.number;
}

// A record of an older version: value e of the list is valueAt(e); empty component entries.
struct OldProgram {
    OldProgram(uint32_t v, int32_t n) : version(v), valueCount(n) {}
    uint32_t version;
    int32_t valueCount;
    std::function<uint32_t(int32_t)> valueAt = [](int32_t e) {
        return 0x40000000u + static_cast<uint32_t>(e);
    };
    ByteStream envelope;   // given to envelope 1
    ByteStream stepSeq;    // given to step sequencer 1 (versions that store them)
    ByteStream generator;  // the first generator entry
};

Record build(const OldProgram& o) {
    Record r;
    r.u32(o.version).name17("Old");
    for (int32_t e = 0; e < o.valueCount; ++e) r.u32(o.valueAt(e));
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
    EXPECT_EQ(recordOf(*p).size(), kEmptyProgramRecordSize);

    // Modulated values are stored by their base; slots travel as their own parameters.
    ModParam gain;
    gain.base = 0.5f;
    gain.slots[0].source = 3;
    p->values[39] = makeModulatedValue(gain);
    p->values[44] = makeIntValue(1);
    std::strcpy(p->macroNames[5], "Brightness");
    writeEnvelopeRecord(defaultEnvelopeCurve(), p->envelopeData[2]);
    writeGenerator(Generator(), p->generatorData);
    const std::vector<uint8_t> bytes = recordOf(*p);
    EXPECT_EQ(bytes.size(), kEmptyProgramRecordSize + p->envelopeData[2].size() + p->generatorData.size());

    auto loaded = newProgram("x");
    ByteReader reader(bytes.data(), bytes.size());
    ASSERT_TRUE(readProgram(*loaded, reader));
    EXPECT_EQ(recordOf(*loaded), bytes);
    EXPECT_STREQ(loaded->name, "Glass Pad");
    EXPECT_STREQ(loaded->macroNames[5], "Brightness");
    EXPECT_EQ(loaded->values[39].numberAsFloat(), 0.5f);
}

TEST(ProgramRecord, CurrentVersionReadsEveryValueWithTheSourceChecks) {
    const int32_t voiceSrc = index("Gen1 Ratio ModSrc1");
    const int32_t chSrc = index("ChFx1 Param1 ModSrc1");
    OldProgram o(0x10020, 383);
    o.valueAt = [&](int32_t e) -> uint32_t {
        if (e == voiceSrc) return 157;
        if (e == chSrc) return 139;
        return std::bit_cast<uint32_t>(static_cast<float>(e));
    };
    auto p = newProgram("x");
    ASSERT_TRUE(read(*p, build(o)));
    EXPECT_EQ(p->values[382].number, std::bit_cast<uint32_t>(382.0f));
    EXPECT_EQ(p->values[voiceSrc].numberAsInt(), 157);
    EXPECT_EQ(p->values[chSrc].numberAsInt(), 0);  // the channel numbering ends at 138
    EXPECT_STREQ(p->macroNames[0], "Cutoff");
    EXPECT_STREQ(p->name, "Old");
}

TEST(ProgramRecord, Version10019HasNoGenPhaseAndKeepsItsStepSequencers) {
    OldProgram o(0x10019, 378);
    Record seq;
    seq.i32(1).i32(4).f32(-1.0f).i32(1).f32(1.0f);  // two steps
    o.stepSeq = seq.stream;
    auto p = newProgram("x");
    ASSERT_TRUE(read(*p, build(o)));
    EXPECT_EQ(p->version, 0x10020u);
    EXPECT_EQ(p->values[22].number, 0x40000000u + 22);
    for (int32_t i = 23; i <= 27; ++i) EXPECT_EQ(p->values[i].number, defaultBits(i)) << i;
    EXPECT_EQ(p->values[28].number, 0x40000000u + 23);
    EXPECT_EQ(p->values[382].number, 0x40000000u + 377);
    EXPECT_EQ(p->stepSeqData[0].bytes, seq.bytes());
}

TEST(ProgramRecord, Versions10016To10018LackStepSequencersSyncsAndEnvelopes) {
    const int32_t lfo1Sync = index("Lfo1 Sync");
    const int32_t chLfo4Sync = index("ChLfo4 Sync");
    for (uint32_t v : {0x10017u, 0x10018u}) {
        auto p = newProgram("x");
        ASSERT_TRUE(read(*p, build(OldProgram{v, 338})));
        EXPECT_EQ(p->values[78].number, 0x40000000u + 73);  // last envelope entry
        EXPECT_EQ(p->values[79].number, defaultBits(79));
        EXPECT_EQ(p->values[107].number, 0x40000000u + 74);
        EXPECT_EQ(p->values[lfo1Sync].number, defaultBits(lfo1Sync));
        EXPECT_EQ(p->values[109].number, 0x40000000u + 75);
        EXPECT_EQ(p->values[chLfo4Sync].number, defaultBits(chLfo4Sync));
        EXPECT_EQ(p->values[382].number, 0x40000000u + 337);
    }
    auto p = newProgram("x");
    ASSERT_TRUE(read(*p, build(OldProgram{0x10016, 308})));
    EXPECT_EQ(p->values[48].number, 0x40000000u + 43);
    EXPECT_EQ(p->values[49].number, defaultBits(49));
    EXPECT_EQ(p->values[107].number, 0x40000000u + 44);
    EXPECT_EQ(p->values[382].number, 0x40000000u + 307);
}

TEST(ProgramRecord, Version10014KeepsOnlySourcesItCouldNameAndGetsDefaultMacroNames) {
    const int32_t voiceSrc = index("Gen1 Ratio ModSrc1");  // entry 9 in this version
    const int32_t voiceSrc2 = index("Gain ModSrc2");       // entry 23 + (42 − 28)
    const int32_t chSrc = index("ChFx1 Param1 ModSrc1");
    ASSERT_EQ(voiceSrc, 9);
    ASSERT_EQ(voiceSrc2, 42);
    for (uint32_t stored : {150u, 154u, 0xFFFFFFFFu}) {
        OldProgram o(0x10014, 136);
        o.valueAt = [&](int32_t e) -> uint32_t {
            if (e == 9 || e == 23 + 14) return stored;
            if (e == 84 + (chSrc - 331)) return 138;
            return 0x40000000u + static_cast<uint32_t>(e);
        };
        auto p = newProgram("x");
        ASSERT_TRUE(read(*p, build(o)));
        const int32_t expected = stored == 150u ? 150 : 0;
        EXPECT_EQ(p->values[voiceSrc].numberAsInt(), expected) << stored;
        EXPECT_EQ(p->values[voiceSrc2].numberAsInt(), expected) << stored;
        EXPECT_EQ(p->values[chSrc].numberAsInt(), 138);
        for (int m = 0; m < 6; ++m) EXPECT_EQ(std::string(p->macroNames[m]), "Macro" + std::to_string(m + 1));
        // LFO members of the short list: Lfo1 Type, Ratio, Offset, Phase, then Lfo2 Type.
        EXPECT_EQ(p->values[107].number, 0x40000000u + 44);
        EXPECT_EQ(p->values[119].number, 0x40000000u + 47);
        EXPECT_EQ(p->values[129].number, 0x40000000u + 48);
        EXPECT_EQ(p->values[index("Lfo1 Out")].number, defaultBits(index("Lfo1 Out")));
        EXPECT_EQ(p->values[283].number, 0x40000000u + 76);
        EXPECT_EQ(p->values[285].number, 0x40000000u + 77);
        EXPECT_EQ(p->values[331].number, 0x40000000u + 84);
    }
    // Before 0x10014 the macros did not exist as sources.
    OldProgram o(0x10013, 136);
    o.valueAt = [](int32_t e) -> uint32_t { return e == 9 ? 148u : (e == 23 + 14 ? 147u : 0u); };
    auto p = newProgram("x");
    ASSERT_TRUE(read(*p, build(o)));
    EXPECT_EQ(p->values[voiceSrc].numberAsInt(), 0);
    EXPECT_EQ(p->values[voiceSrc2].numberAsInt(), 147);
}

TEST(ProgramRecord, Versions10010And10011LackMasterAndMacros) {
    auto p = newProgram("x");
    ASSERT_TRUE(read(*p, build(OldProgram{0x10011, 129})));
    EXPECT_EQ(p->values[0].number, defaultBits(0));
    EXPECT_EQ(p->values[1].number, 0x40000000u);
    EXPECT_EQ(p->values[2].number, defaultBits(2));
    EXPECT_EQ(p->values[8].number, 0x40000000u + 1);
    EXPECT_EQ(p->values[48].number, 0x40000000u + 36);
    EXPECT_EQ(p->values[382].number, 0x40000000u + 128);

    p = newProgram("x");
    ASSERT_TRUE(read(*p, build(OldProgram{0x10010, 129})));
    EXPECT_EQ(p->values[38].number, 0x40000000u + 26);
    EXPECT_EQ(p->values[39].number, 0x40000000u + 32);  // after five discarded values
    EXPECT_EQ(p->values[43].number, 0x40000000u + 36);
    for (int32_t i = 44; i <= 48; ++i) EXPECT_EQ(p->values[i].number, defaultBits(i)) << i;
    EXPECT_EQ(p->values[107].number, 0x40000000u + 37);
    EXPECT_EQ(p->values[382].number, 0x40000000u + 128);
    for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(p->stepSeqData[i % 4].size(), 0u);
}

TEST(ProgramRecord, Version10005ReadsItsShortListAndUpgradesItsGenerator) {
    OldProgram o(0x10005, 145);
    test::OldModulator amp;
    amp.layers = {{1, 1}};
    Record gen;
    test::oldGenerator(gen, 0x10005, 0, amp);
    o.generator = gen.stream;
    Record env;
    env.i32(1).i32(0).i32(0).f32(0.5f).f32(1.0f).f32(0.5f);
    o.envelope = env.stream;
    auto p = newProgram("x");
    ASSERT_TRUE(read(*p, build(o)));
    EXPECT_EQ(p->values[1].number, 0x40000000u);
    EXPECT_EQ(p->values[33].number, 0x40000000u + 21);
    for (int32_t i = 34; i <= 38; ++i) EXPECT_EQ(p->values[i].number, defaultBits(i)) << i;
    EXPECT_EQ(p->values[39].number, 0x40000000u + 48);
    EXPECT_EQ(p->values[331].number, 0x40000000u + 93);
    EXPECT_EQ(p->values[382].number, 0x40000000u + 144);
    EXPECT_EQ(p->envelopeData[0].bytes, env.bytes());

    // The generator now holds the current layout: it reads with the current version as it was read.
    Generator expected;
    ByteReader old(gen.bytes().data(), gen.bytes().size());
    ASSERT_TRUE(readGenerator(expected, old, 0x10005));
    ByteStream current;
    writeGenerator(expected, current);
    EXPECT_EQ(p->generatorData.bytes, current.bytes);
    Generator again;
    ByteReader upgraded(p->generatorData.bytes.data(), p->generatorData.bytes.size());
    ASSERT_TRUE(readGenerator(again, upgraded, 0x10020));
    EXPECT_EQ(again.partialCount, 128);
    ASSERT_EQ(again.modulator(kSpectrumAmp).childCount(), 1);
    EXPECT_TRUE(again.modulator(kSpectrumAmp).children[0].enabled);
}

TEST(ProgramRecord, EveryReadableVersionReadsAndOthersAreRefused) {
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
        auto p = newProgram("x");
        EXPECT_TRUE(read(*p, build(OldProgram{v, valueCount(v)}))) << std::hex << v;
        EXPECT_EQ(p->version, 0x10020u);
    }
    for (uint32_t v : {0u, 0x10004u, 0x1000Au, 0x1000Fu, 0x1001Au, 0x10021u, 0x20000u}) {
        auto p = newProgram("Kept");
        const std::vector<uint8_t> before = recordOf(*p);
        EXPECT_FALSE(read(*p, build(OldProgram{v, 383}))) << std::hex << v;
        EXPECT_EQ(recordOf(*p), before);
    }
}

TEST(ProgramRecord, ComponentRecordsAreCheckedAndNamesTerminated) {
    // An envelope of 33 segments cannot be held: the whole program is refused.
    OldProgram tooLong(0x10020, 383);
    Record env;
    env.i32(33).i32(0).i32(0);
    for (int s = 0; s < 33; ++s) env.f32(0.1f).f32(1.0f).f32(0.5f);
    tooLong.envelope = env.stream;
    auto p = newProgram("Kept");
    const std::vector<uint8_t> before = recordOf(*p);
    EXPECT_FALSE(read(*p, build(tooLong)));
    EXPECT_EQ(recordOf(*p), before);

    // A step-sequencer selector outside 0 … 8 reads as 3 (four steps); odd shapes are kept.
    Record seq;
    seq.i32(9);
    for (int s = 0; s < 4; ++s) seq.i32(s == 1 ? 12 : 1).f32(static_cast<float>(s));
    StepSeqBlock block;
    ByteReader seqReader = seq.reader();
    ASSERT_TRUE(readStepSeqRecord(seqReader, block));
    EXPECT_EQ(block.lengthIndex, 3);
    EXPECT_EQ(block.stepCount, 4);
    EXPECT_EQ(block.steps[1].shape, 12);
    EXPECT_EQ(block.steps[3].range, -3.0f);
    // An older program's record is rewritten in the current layout, which stores a valid selector.
    OldProgram old(0x10019, 378);
    old.stepSeq = seq.stream;
    ASSERT_TRUE(read(*p, build(old)));
    ByteStream rewritten;
    writeStepSeqRecord(block, rewritten);
    EXPECT_EQ(p->stepSeqData[0].bytes, rewritten.bytes);
    EXPECT_EQ(p->stepSeqData[0].bytes[0], 3);

    // A name without its terminator is cut at 16 characters.
    Record unterminated = build(OldProgram{0x10020, 383});
    std::memset(unterminated.stream.bytes.data() + 4, 'A', 17);
    ASSERT_TRUE(read(*p, unterminated));
    EXPECT_EQ(std::string(p->name), std::string(16, 'A'));
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
    EXPECT_EQ(recordOf(*p), before);
    // A component count far beyond the record.
    Record huge;
    huge.u32(0x10020).name17("x");
    for (int e = 0; e < 383; ++e) huge.u32(0);
    for (int m = 0; m < 6; ++m) huge.name17("m");
    huge.u32(0xFFFFFFFFu);
    EXPECT_FALSE(read(*p, huge));
    EXPECT_EQ(recordOf(*p), before);
}

}  // namespace
}  // namespace quenvale
