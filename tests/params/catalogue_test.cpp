// The catalogue: pinned indices, counts, slot groups, shared instance descriptions and spot values.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "params/mod_sources.h"
#include "params/parameter_catalogue.h"

namespace quenvale {
namespace {

// A value-name list as "first|second|…|".
std::string names(const char* list) {
    std::string out;
    for (const char* p = list; p != nullptr && *p != '\0'; p += std::strlen(p) + 1)
        out += std::string(p) + "|";
    return out;
}
// A descriptor's label, range, default and value names in one text.
std::string describe(int32_t index) {
    const ParameterDescriptor& d = descriptor(index);
    auto text = [&d](const ParameterValue& v) {
        return d.isEnumerated() ? std::to_string(v.numberAsInt()) : std::to_string(v.numberAsFloat());
    };
    return std::string(d.label) + " " + text(d.minValue) + " " + text(d.maxValue) + " " +
           text(d.defaultValue) + " " + names(d.valueNames);
}

TEST(ParameterCatalogue, PinnedIndicesCountsAndUniqueNames) {
    EXPECT_EQ(parameterCount(), 383);
    const char* const kPinned[] = {
        "Env2 Out",           "StepSeq4 Out ModAmt2", "Lfo3 Ratio",         "Lfo3 Ratio ModSrc1",
        "Lfo3 Ratio ModAmt1", "Lfo3 Ratio ModSrc2",   "Lfo3 Ratio ModAmt2", "Lfo3 Offset",
        "ChLfo1 Type",        "ChFx2 Dry/Wet ModAmt2"};
    const int32_t kIndex[] = {54, 106, 153, 154, 155, 156, 157, 158, 283, 382};
    for (size_t k = 0; k < std::size(kIndex); ++k) {
        EXPECT_STREQ(descriptor(kIndex[k]).name, kPinned[k]);
        EXPECT_EQ(parameterIndex(kPinned[k]), kIndex[k]);
    }
    for (const char* absent : {"lfo3 ratio", "Lfo3 Ratio ", ""}) EXPECT_EQ(parameterIndex(absent), -1);
    EXPECT_EQ(parameterIndex(nullptr), -1);

    std::set<std::string> seen;
    int floats = 0, enums = 0, bipolar = 0;
    for (int32_t i = 0; i < parameterCount(); ++i) {
        const ParameterDescriptor& d = descriptor(i);
        SCOPED_TRACE(d.name);
        EXPECT_TRUE(seen.insert(d.name).second);
        EXPECT_EQ(parameterIndex(d.name), i);
        EXPECT_EQ(d.isEnumerated() ? ParameterKind::Int : ParameterKind::Float, d.defaultValue.kind);
        EXPECT_EQ(d.isEnumerated(), names(d.valueNames) != "");
        EXPECT_TRUE(!d.bipolar || std::string(d.name).ends_with("Offset"));
        (d.isEnumerated() ? enums : floats) += 1;
        bipolar += d.bipolar;
    }
    EXPECT_EQ(std::vector<int>({floats, enums, bipolar}), std::vector<int>({213, 170, 13}));
}

TEST(ParameterCatalogue, SlotGroupsFollowTheirMemberWithSourceRangesByFamily) {
    int groups = 0;
    for (int32_t i = 0; i + 1 < parameterCount(); ++i) {
        const std::string stem = descriptor(i).name;
        if (descriptor(i + 1).name != stem + " ModSrc1") continue;
        SCOPED_TRACE(stem);
        ++groups;
        // "Ch" families list the channel numbering; so do the step sequencers' "Out" slots, although
        // the routing binds them in the voice numbering.
        const bool channelRange = stem.starts_with("Ch") || stem.starts_with("StepSeq");
        const char* const kSuffix[] = {" ModSrc1", " ModAmt1", " ModSrc2", " ModAmt2"};
        const char* const kLabel[] = {"MS1", "MA1", "MS2", "MA2"};
        for (int32_t k = 0; k < 4; ++k) {
            const ParameterDescriptor& slot = descriptor(i + 1 + k);
            EXPECT_EQ(slot.name, stem + kSuffix[k]);
            EXPECT_STREQ(slot.label, kLabel[k]);
            EXPECT_EQ(isSlotSourceName(slot.name), k % 2 == 0);
            EXPECT_TRUE(k % 2 == 0 ? slot.maxValue.numberAsInt() == (channelRange ? 138 : 157)
                                   : slot.minValue.numberAsFloat() == -slot.maxValue.numberAsFloat());
        }
    }
    EXPECT_EQ(groups, 67);
}

TEST(ParameterCatalogue, EveryInstanceSharesTheFirstInstancesDescription) {
    int compared = 0;
    for (int32_t i = 0; i < parameterCount(); ++i) {
        std::string first = descriptor(i).name;
        const size_t digit = first.find_first_of("23456789");
        if (first.starts_with("MacroParam") || digit == std::string::npos || digit > 7) continue;
        first[digit] = '1';
        const int32_t f = parameterIndex(first.c_str());
        if (f < 0) continue;
        ++compared;
        EXPECT_EQ(describe(i), describe(f)) << descriptor(i).name;
    }
    EXPECT_GT(compared, 250);
}

TEST(ParameterCatalogue, SpotValues) {
    auto of = [](const char* name) { return describe(parameterIndex(name)); };
    EXPECT_EQ(of("Gen1 Offset ModAmt1"), "MA1 -200.000000 200.000000 0.000000 ");
    EXPECT_EQ(of("Compressor Attack"), "Att 0.100000 50.000000 1.000000 ");
    EXPECT_EQ(of("ChLfo1 Offset"), "Offset -50.000000 50.000000 5.000000 ");
    EXPECT_EQ(of("StepSeq1 Length"), "Length 0 8 3  1| 2| 3| 4| 8| 12| 16| 24| 32|");
    EXPECT_EQ(of("Lfo2 Sync"),
              "Sync 0 12 0 Off| 4/4| 3/4| 2/3| 1/2| 3/8| 1/3| 1/4| 3/16| 1/8| 1/12| 1/16| 1/32|");
    EXPECT_EQ(of("Gain ModSrc1"), "MS1 0 157 0 NA|E1|E2|E3|L1|L2|G1|G2|V|");
    EXPECT_EQ(of("ChFx1 Param1 ModSrc2"), "MS2 0 138 0 NA|G1|G2|");
}

}  // namespace
}  // namespace quenvale
