// Generator records and generator data files: round trips, every stored version, refusals that change
// nothing.
#include "persist/generator_record.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/spectrum/generator.h"
#include "persist/byte_writer.h"
#include "persist/generator_file.h"
#include "persist/record_builder.h"

namespace quenvale {
namespace {

using test::OldModulator;
using test::Record;

std::vector<uint8_t> recordOf(const Generator& g) {
    ByteStream s;
    writeGenerator(g, s);
    return s.bytes;
}

std::string tempPath(const char* name) {
    return (std::filesystem::temp_directory_path() / (std::string("quenvale_") + name)).string();
}

// A generator with something in every kind of field.
void edit(Generator& g) {
    ASSERT_TRUE(g.setPartialCount(256));
    Modulator& amp = g.modulator(kSpectrumAmp);
    amp.name = "Amp tree";
    amp.gain.base = 0.8f;
    amp.gain.slots[0].source = 7;
    amp.gain.slots[0].amount = 0.25f;
    amp.cutoff.slots[1].source = 150;
    amp.cutoff.slots[1].amount = -1.0f;
    amp.filterMode = kFilterBandPass12;
    amp.dynamicMode = kDynamicRandom;
    amp.additive = true;
    amp.dynamicAmount = 0.5f;
    amp.loopStart = 0;
    amp.loopEnd = 1;
    amp.keyMapping.segmentCount = 2;
    amp.keyMapping.startValue = 0.25f;
    amp.keyMapping.lengths[0] = 0.5f;
    amp.keyMapping.lengths[1] = 0.5f;
    amp.keyMapping.endValues[0] = 1.0f;
    amp.keyMapping.endValues[1] = 0.5f;
    amp.keyMapping.shapes[1] = 0.5f;
    ASSERT_TRUE(amp.insertBreakpoint(1, 0.75f, 0.5f, false));
    for (int k = 0; k < 256; ++k) amp.breakpoints[0].values[k] = 1.0f / static_cast<float>(k + 1);
    amp.breakpoints[1].values[3] = 2.0f;
    Modulator& child = amp.addChild("Wobble", kCombineAdd, false);
    child.addChild("Deep", kCombineMultiply, true).offset.base = 0.125f;
    g.modulator(kSpectrumPan).shiftRepeatBorder = false;
}

TEST(GeneratorRecord, FreshAndEditedGeneratorsRoundTripByteForByte) {
    for (bool edited : {false, true}) {
        Generator original;
        if (edited) edit(original);
        const std::vector<uint8_t> first = recordOf(original);
        Generator loaded;
        ByteReader reader(first.data(), first.size());
        ASSERT_TRUE(readGenerator(loaded, reader, 0x10020));
        EXPECT_EQ(reader.remaining(), 0u);
        EXPECT_EQ(recordOf(loaded), first);
    }
    Generator original;
    edit(original);
    Generator loaded;
    const std::vector<uint8_t> bytes = recordOf(original);
    ByteReader reader(bytes.data(), bytes.size());
    ASSERT_TRUE(readGenerator(loaded, reader, 0x10020));
    const Modulator& amp = loaded.modulator(kSpectrumAmp);
    EXPECT_EQ(loaded.partialCount, 256);
    EXPECT_EQ(amp.name, "Amp tree");
    EXPECT_EQ(amp.filterMode, kFilterBandPass12);
    EXPECT_TRUE(amp.additive);
    ASSERT_EQ(amp.childCount(), 1);
    EXPECT_FALSE(amp.children[0].enabled);
    EXPECT_EQ(amp.children[0].mode, kCombineAdd);
    EXPECT_EQ(amp.children[0].child->name, "Wobble");
    ASSERT_EQ(amp.children[0].child->childCount(), 1);
    EXPECT_EQ(amp.children[0].child->children[0].child->offset.base, 0.125f);
    // Slopes are rebuilt from the values: (2 × 0.5 − 0.25 × 1) / 0.75 for partial 3 of breakpoint 0.
    EXPECT_FLOAT_EQ(amp.breakpoints[0].slopes[3], (2.0f * 0.5f - 0.25f) / 0.75f);
    // Loaded slots carry their source and amount, unbound and stale, to be bound by the engine.
    const ModSlot& slot = amp.gain.slots[0];
    EXPECT_EQ(slot.source, 7);
    EXPECT_EQ(slot.amount, 0.25f);
    EXPECT_TRUE(slot.stale);
    EXPECT_EQ(slot.channelValue, nullptr);
    EXPECT_EQ(slot.voiceOutput, -1);
}

TEST(GeneratorFile, SavedFileStartsWithTheTagAndLoadsBackIdentically) {
    const std::string path = tempPath("roundtrip.qgd");
    Generator original;
    edit(original);
    ASSERT_TRUE(saveGeneratorData(original, path.c_str()));
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    unsigned char tag[4] = {};
    ASSERT_EQ(std::fread(tag, 1, 4, f), 4u);
    std::fclose(f);
    EXPECT_EQ(std::vector<unsigned char>(tag, tag + 4), (std::vector<unsigned char>{1, 0, 1, 0}));
    EXPECT_EQ(std::filesystem::file_size(path), 4 + recordOf(original).size());

    Generator loaded;
    ASSERT_TRUE(loadGeneratorData(loaded, path.c_str()));
    EXPECT_EQ(recordOf(loaded), recordOf(original));

    // A file with any other tag, or no file at all, is refused and changes nothing.
    Generator untouched;
    const std::vector<uint8_t> before = recordOf(untouched);
    const std::string wrong = tempPath("wrongtag.qgd");
    FILE* w = std::fopen(wrong.c_str(), "wb");
    ASSERT_NE(w, nullptr);
    const unsigned char badTag[4] = {1, 0, 2, 0};
    std::fwrite(badTag, 1, 4, w);
    const std::vector<uint8_t> body = recordOf(original);
    std::fwrite(body.data(), 1, body.size(), w);
    std::fclose(w);
    EXPECT_FALSE(loadGeneratorData(untouched, wrong.c_str()));
    EXPECT_FALSE(loadGeneratorData(untouched, tempPath("missing/none.qgd").c_str()));
    EXPECT_FALSE(saveGeneratorData(untouched, tempPath("missing/none.qgd").c_str()));
    EXPECT_EQ(recordOf(untouched), before);
    std::filesystem::remove(path);
    std::filesystem::remove(wrong);
}

TEST(GeneratorRecord, SixtyFourPartialsStoreSixtyFourValuesAndLoadZerosAbove) {
    Generator g;
    ASSERT_TRUE(g.setPartialCount(512));
    g.modulator(kSpectrumAmp).breakpoints[0].values[63] = 0.5f;
    g.modulator(kSpectrumAmp).breakpoints[0].values[100] = 0.5f;  // hidden once the count is 64
    ASSERT_TRUE(g.setPartialCount(64));
    const std::vector<uint8_t> bytes = recordOf(g);
    Generator g512;
    ASSERT_TRUE(g512.setPartialCount(512));
    // Each of the 4 modulators holds one breakpoint: 448 fewer values each than at 512 partials.
    EXPECT_EQ(recordOf(g512).size() - bytes.size(), 4u * 448u * 4u);

    Generator loaded;
    ASSERT_TRUE(loaded.setPartialCount(512));
    loaded.modulator(kSpectrumAmp).breakpoints[0].values[100] = 9.0f;
    ByteReader reader(bytes.data(), bytes.size());
    ASSERT_TRUE(readGenerator(loaded, reader, 0x10020));
    EXPECT_EQ(loaded.partialCount, 64);
    EXPECT_EQ(loaded.modulator(kSpectrumAmp).breakpoints[0].values[63], 0.5f);
    for (int k = 64; k < 512; ++k) ASSERT_EQ(loaded.modulator(kSpectrumAmp).breakpoints[0].values[k], 0.0f);
}

TEST(GeneratorRecord, StoredValuesAreTakenByTheReadingRules) {
    OldModulator amp;
    amp.keyX = {0.0f, 0.25f, 1.5f};
    amp.keyLevel = {0.5f, 1.0f, 0.25f};
    amp.filterMode = 25;
    amp.breakpointDistances = {3.0f, 0.5f};
    amp.layers = {{0, 7}, {0x100, 1}};  // a flag is its lowest byte
    Record r;
    test::oldGenerator(r, 0x10020, 2, amp);
    Generator g;
    ByteReader reader = r.reader();
    ASSERT_TRUE(readGenerator(g, reader, 0x10020));
    const Modulator& m = g.modulator(kSpectrumAmp);
    EXPECT_EQ(g.partialCount, 256);
    ASSERT_EQ(m.keyMapping.segmentCount, 2);
    EXPECT_EQ(m.keyMapping.startValue, 0.5f);
    EXPECT_EQ(m.keyMapping.lengths[0], 0.25f);
    EXPECT_EQ(m.keyMapping.lengths[1], 0.75f);  // 1.5 is clamped to 1
    EXPECT_EQ(m.keyMapping.endValues[1], 0.25f);
    EXPECT_EQ(m.filterMode, kFilterNone);
    ASSERT_EQ(m.breakpointCount(), 2);
    EXPECT_EQ(m.breakpoints[0].distance, 0.0f);  // the first breakpoint starts at note start
    EXPECT_EQ(m.breakpoints[1].distance, 0.5f);
    ASSERT_EQ(m.childCount(), 2);
    EXPECT_FALSE(m.children[0].enabled);
    EXPECT_EQ(m.children[0].mode, 7);  // kept as stored; the evaluation leaves such layers out
    EXPECT_EQ(m.children[0].child->name, "Child");
    EXPECT_FALSE(m.children[1].enabled);
}

// What each version stores: a version without a field leaves it at the modulator's default.
TEST(GeneratorRecord, EveryStoredVersionReads) {
    struct Case {
        uint32_t version;
        bool hasEnabled, hasFilter, hasKeyMap, hasSelector;
    };
    const Case cases[] = {
        {0x10005, false, false, false, false}, {0x10006, true, false, false, false},
        {0x10007, true, true, false, false},   {0x10008, true, true, true, false},
        {0x10009, true, true, true, false},    {0x10012, true, true, true, false},
        {0x10013, true, true, true, true},     {0x10017, true, true, true, true},
        {0x10018, true, true, true, true},     {0x10020, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.version);
        OldModulator amp;
        amp.gain = 0.5f;
        amp.gainSource = 19;
        amp.gainAmount = 0.75f;
        amp.filterMode = 5;
        amp.keyX = {0.0f, 0.5f};
        amp.keyLevel = {0.0f, 1.0f};
        amp.layers = {{0, 1}};
        Record r;
        test::oldGenerator(r, c.version, 0, amp);
        Generator g;
        ByteReader reader = r.reader();
        ASSERT_TRUE(readGenerator(g, reader, c.version));
        EXPECT_EQ(reader.remaining(), 0u);
        const Modulator& m = g.modulator(kSpectrumAmp);
        EXPECT_EQ(g.partialCount, c.hasSelector ? 64 : 128);
        EXPECT_EQ(m.name, "Amp");
        EXPECT_EQ(m.gain.base, 0.5f);
        EXPECT_EQ(m.gain.slots[0].source, 19);  // the reserved word of older slots is skipped
        EXPECT_EQ(m.gain.slots[0].amount, 0.75f);
        EXPECT_EQ(m.breakpoints[0].values[0], 0.75f);
        EXPECT_EQ(m.filterMode, c.hasFilter ? 5 : kFilterNone);
        EXPECT_EQ(m.keyMapping.startValue, c.hasKeyMap ? 0.0f : 1.0f);
        EXPECT_EQ(m.keyMapping.lengths[0], c.hasKeyMap ? 0.5f : 1.0f);
        ASSERT_EQ(m.childCount(), 1);
        EXPECT_EQ(m.children[0].enabled, !c.hasEnabled);  // stored 0; set where no flag is stored
        EXPECT_EQ(g.modulator(kSpectrumPan).name, "Pan");
    }
}

TEST(GeneratorRecord, RefusedRecordsLeaveTheGeneratorAsItWas) {
    Generator target;
    edit(target);
    const std::vector<uint8_t> before = recordOf(target);
    const auto refused = [&](const std::vector<uint8_t>& bytes, uint32_t version) {
        ByteReader reader(bytes.data(), bytes.size());
        const bool read = readGenerator(target, reader, version);
        return !read && recordOf(target) == before;
    };
    // Every truncation of a valid record.
    Generator source;
    edit(source);
    const std::vector<uint8_t> valid = recordOf(source);
    for (size_t n = 0; n < valid.size(); n += (n < 2000 ? 1 : 97))
        ASSERT_TRUE(
            refused(std::vector<uint8_t>(valid.begin(), valid.begin() + static_cast<long>(n)), 0x10020))
            << n;
    const auto build = [](auto&& change, int32_t selector = 0) {
        OldModulator amp;
        change(amp);
        Record r;
        test::oldGenerator(r, 0x10020, selector, amp);
        return r.bytes();
    };
    EXPECT_TRUE(refused(build([](OldModulator& m) { m.gainSlotCount = 3; }), 0x10020));
    EXPECT_TRUE(refused(build([](OldModulator& m) {
                            m.keyX.assign(34, 0.5f);
                            m.keyLevel.assign(34, 1.0f);
                        }),
                        0x10020));
    // The selector sizes the breakpoints that follow, so its partial count is used as well.
    std::vector<uint8_t> badSelector = build([](OldModulator&) {}, 0);
    badSelector[0] = 4;
    EXPECT_TRUE(refused(badSelector, 0x10020));
    // Huge or negative counts fail before anything is made for them.
    Record huge;
    huge.i32(0).text("Amp").u32(1);
    for (int v = 0; v < 3; ++v) test::oldModulatedValue(huge, 0x10020, 1.0f);
    huge.i32(-1).i32(-1).u32(0).u32(0);
    for (int v = 0; v < 6; ++v) huge.f32(0.0f);
    huge.i32(0);
    for (int v = 0; v < 3; ++v) test::oldModulatedValue(huge, 0x10020, 1.0f);
    const size_t prefix = huge.bytes().size();
    for (int32_t count : {-1, 0x7FFFFFFF}) {
        Record points = huge;
        points.i32(count);
        EXPECT_TRUE(refused(points.bytes(), 0x10020));
        Record breakpoints = huge;
        breakpoints.i32(1).f32(0.0f).f32(1.0f).f32(0.5f).i32(count);
        EXPECT_TRUE(refused(breakpoints.bytes(), 0x10020));
    }
    EXPECT_GT(prefix, 0u);
    // A name length beyond the record.
    Record longName;
    longName.i32(0).u32(0xFFFFFFF0u);
    EXPECT_TRUE(refused(longName.bytes(), 0x10020));
    EXPECT_TRUE(refused({}, 0x10020));
}

TEST(GeneratorRecord, LayersNestedBeyondTheLimitAreRefused) {
    const auto nested = [](int32_t depth) {
        Generator g;
        Modulator* m = &g.modulator(kSpectrumAmp);
        for (int32_t d = 0; d < depth; ++d) m = &m->addChild("Modulator", kCombineMultiply, true);
        return recordOf(g);
    };
    Generator target;
    const std::vector<uint8_t> deepest = nested(kMaxLayerDepth);
    ByteReader ok(deepest.data(), deepest.size());
    EXPECT_TRUE(readGenerator(target, ok, 0x10020));
    const std::vector<uint8_t> tooDeep = nested(kMaxLayerDepth + 1);
    ByteReader refused(tooDeep.data(), tooDeep.size());
    EXPECT_FALSE(readGenerator(target, refused, 0x10020));
}

}  // namespace
}  // namespace quenvale
