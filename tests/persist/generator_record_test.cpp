// Generator records: round trips, every stored version, reading rules, refusals that change nothing.
// The generator data file around the record is checked on a whole engine.
#include "persist/generator_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/spectrum/generator.h"
#include "persist/record_builder.h"

namespace quenvale {
namespace {

using test::OldModulator;
using test::Record;
using test::recordOf;

bool readBytes(Generator& g, const std::vector<uint8_t>& bytes, uint32_t version = 0x10020) {
    ByteReader reader(bytes.data(), bytes.size());
    return readGenerator(g, reader, version) && reader.remaining() == 0;
}

// A generator with something in every kind of field.
void edit(Generator& g) {
    ASSERT_TRUE(g.setPartialCount(256));
    Modulator& amp = g.modulator(kSpectrumAmp);
    amp.name = "Amp tree";
    amp.gain.slots[0].source = 7;
    amp.gain.slots[0].amount = 0.25f;
    amp.cutoff.slots[1].source = 150;
    amp.filterMode = kFilterBandPass12;
    amp.dynamicMode = kDynamicRandom;
    amp.additive = true;
    amp.loopEnd = 1;
    amp.keyMapping.segmentCount = 2;
    amp.keyMapping.startValue = 0.25f;
    amp.keyMapping.lengths[0] = amp.keyMapping.lengths[1] = 0.5f;
    amp.keyMapping.shapes[1] = 0.5f;
    ASSERT_TRUE(amp.insertBreakpoint(1, 0.75f, 0.5f, false));
    for (int k = 0; k < 256; ++k) amp.breakpoints[0].values[k] = 1.0f / static_cast<float>(k + 1);
    amp.breakpoints[1].values[3] = 2.0f;
    amp.addChild("Wobble", kCombineAdd, false).addChild("Deep", kCombineMultiply, true).offset.base = 0.125f;
    g.modulator(kSpectrumPan).shiftRepeatBorder = false;
}

TEST(GeneratorRecord, FreshAndEditedGeneratorsRoundTripByteForByte) {
    for (bool edited : {false, true}) {
        Generator original;
        if (edited) edit(original);
        Generator loaded;
        ASSERT_TRUE(readBytes(loaded, recordOf(original)));
        EXPECT_EQ(recordOf(loaded), recordOf(original));
        if (!edited) continue;
        // The same bytes would also come from a writer and reader that both skip a field: spot checks.
        const Modulator& amp = loaded.modulator(kSpectrumAmp);
        EXPECT_EQ(loaded.partialCount, 256);
        EXPECT_EQ(amp.name, "Amp tree");
        EXPECT_EQ(amp.filterMode, kFilterBandPass12);
        EXPECT_EQ(amp.gain.slots[0].source, 7);
        ASSERT_EQ(amp.childCount(), 1);
        EXPECT_FALSE(amp.children[0].enabled);
        EXPECT_EQ(amp.children[0].child->children[0].child->offset.base, 0.125f);
        // Slopes are rebuilt from the values: (2 × 0.5 − 0.25 × 1) / 0.75 for partial 3 of breakpoint 0.
        EXPECT_FLOAT_EQ(amp.breakpoints[0].slopes[3], (2.0f * 0.5f - 0.25f) / 0.75f);
    }
}

// What each version stores, and the rules its values are read by; a version without a field leaves it
// at the modulator's default.
TEST(GeneratorRecord, EveryStoredVersionReadsByTheReadingRules) {
    struct Case {
        uint32_t version;
        bool hasEnabled, hasFilter, hasKeyMap, hasSelector;
        int32_t storedFilter = 5, readFilter = 5;
    };
    const Case cases[] = {
        {0x10005, false, false, false, false}, {0x10006, true, false, false, false},
        {0x10007, true, true, false, false},   {0x10008, true, true, true, false},
        {0x10009, true, true, true, false},    {0x10012, true, true, true, false},
        {0x10013, true, true, true, true},     {0x10017, true, true, true, true},
        {0x10018, true, true, true, true},     {0x10020, true, true, true, true},
        {0x10020, true, true, true, true, 25, kFilterNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.version << std::dec << " filter " << c.storedFilter);
        OldModulator amp;
        amp.gain = 0.5f;
        amp.gainSource = 19;
        amp.gainAmount = 0.75f;
        amp.filterMode = c.storedFilter;
        amp.keyX = {0.0f, 0.25f, 1.5f};
        amp.keyLevel = {0.5f, 1.0f, 0.25f};
        amp.breakpointDistances = {3.0f, 0.5f};
        amp.layers = {{0, 7}, {0x100, 1}};  // a flag is its lowest byte
        Record r;
        test::oldGenerator(r, c.version, 2, amp);
        Generator g;
        ASSERT_TRUE(readBytes(g, r.bytes(), c.version));
        const Modulator& m = g.modulator(kSpectrumAmp);
        EXPECT_EQ(g.partialCount, c.hasSelector ? 256 : 128);
        EXPECT_EQ(m.gain.base, 0.5f);
        EXPECT_EQ(m.gain.slots[0].source, 19);  // the reserved word of older slots is skipped
        EXPECT_EQ(m.gain.slots[0].amount, 0.75f);
        EXPECT_EQ(m.filterMode, c.hasFilter ? c.readFilter : kFilterNone);
        EXPECT_EQ(m.keyMapping.startValue, c.hasKeyMap ? 0.5f : 1.0f);
        EXPECT_EQ(m.keyMapping.lengths[0], c.hasKeyMap ? 0.25f : 1.0f);
        if (c.hasKeyMap) {
            ASSERT_EQ(m.keyMapping.segmentCount, 2);
            EXPECT_EQ(m.keyMapping.lengths[1], 0.75f);  // 1.5 is clamped to 1
            EXPECT_EQ(m.keyMapping.endValues[1], 0.25f);
        }
        ASSERT_EQ(m.breakpointCount(), 2);
        EXPECT_EQ(m.breakpoints[0].distance, 0.0f);  // the first breakpoint starts at note start
        EXPECT_EQ(m.breakpoints[1].distance, 0.5f);
        EXPECT_EQ(m.breakpoints[1].values[0], 0.75f);
        ASSERT_EQ(m.childCount(), 2);
        EXPECT_EQ(m.children[0].mode, 7);  // kept as stored; the evaluation leaves such layers out
        for (const ModulatorLink& layer : m.children) EXPECT_EQ(layer.enabled, !c.hasEnabled);
        EXPECT_EQ(g.modulator(kSpectrumPan).name, "Pan");
    }
}

TEST(GeneratorRecord, RefusedRecordsLeaveTheGeneratorAsItWas) {
    Generator target;
    edit(target);
    const std::vector<uint8_t> before = recordOf(target);
    const auto refused = [&](const std::vector<uint8_t>& bytes) {
        return !readBytes(target, bytes) && recordOf(target) == before;
    };
    for (size_t n = 0; n < before.size(); n += (n < 2000 ? 1 : 97))
        ASSERT_TRUE(refused(std::vector<uint8_t>(before.begin(), before.begin() + static_cast<long>(n)))) << n;
    using Sized = void (*)(OldModulator&, size_t);
    const auto build = [](Sized sized, size_t n) {
        OldModulator amp;
        sized(amp, n);
        Record r;
        test::oldGenerator(r, 0x10020, 0, amp);
        return r.bytes();
    };
    const Sized keyPoints = [](OldModulator& m, size_t n) { m.keyX.assign(n, 0.5f), m.keyLevel.assign(n, 1.0f); };
    const Sized breakpoints = [](OldModulator& m, size_t n) { m.breakpointDistances.assign(n, 0.5f); };
    const Sized nameLength = [](OldModulator& m, size_t n) { m.name.assign(n, 'A'); };
    const Sized slots = [](OldModulator& m, size_t n) { m.gainSlotCount = static_cast<uint32_t>(n); };
    EXPECT_TRUE(refused(build(slots, 3)));
    EXPECT_TRUE(refused(build(keyPoints, 34)));
    std::vector<uint8_t> badSelector = build(slots, 2);  // the selector sizes the breakpoints that follow
    badSelector[0] = 4;
    EXPECT_TRUE(refused(badSelector));
    // Huge or negative counts fail before anything is made for them. A count field is found as the
    // first byte where the records of 2 and 3 entries differ.
    for (Sized sized : {keyPoints, breakpoints, nameLength})
        for (int32_t count : {-1, 0x7FFFFFF0}) {
            std::vector<uint8_t> bytes = build(sized, 2), three = build(sized, 3);
            std::memcpy(&bytes[std::mismatch(bytes.begin(), bytes.end(), three.begin()).first - bytes.begin()],
                        &count, 4);
            EXPECT_TRUE(refused(bytes)) << count;
        }
    // Layers nested one deeper than the limit.
    const auto nested = [](int32_t depth) {
        Generator g;
        Modulator* m = &g.modulator(kSpectrumAmp);
        for (int32_t d = 0; d < depth; ++d) m = &m->addChild("Modulator", kCombineMultiply, true);
        return recordOf(g);
    };
    EXPECT_TRUE(refused(nested(kMaxLayerDepth + 1)));
    Generator deepest;
    EXPECT_TRUE(readBytes(deepest, nested(kMaxLayerDepth)));
}

}  // namespace
}  // namespace quenvale
