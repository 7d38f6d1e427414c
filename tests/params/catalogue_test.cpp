// The catalogue: order, names, labels, ranges, defaults and value-name lists of all 383 parameters.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "params/mod_sources.h"
#include "params/parameter_catalogue.h"
#include "params/parameter_conversion.h"

namespace quenvale {
namespace {

struct MemberRow {
    int32_t index;
    const char* name;
    int hasSlots;  // followed by four slot entries
};

// Every member by index; a member with slots is followed by its four slot entries.
// clang-format off
constexpr MemberRow kMembers[] = {
    {0, "MasterGain", 0}, {1, "Glide", 0}, {2, "MacroParam1", 0}, {3, "MacroParam2", 0}, {4, "MacroParam3", 0},
    {5, "MacroParam4", 0}, {6, "MacroParam5", 0}, {7, "MacroParam6", 0}, {8, "Gen1 Ratio", 1},
    {13, "Gen1 Offset", 1}, {18, "Gen1 Out", 1}, {23, "Gen1 Phase", 1}, {28, "Gen1 PWM Mode", 0},
    {29, "Gen1 PWM Width", 1}, {34, "Gen1 PWM Feedback", 1}, {39, "Gain", 1}, {44, "Compressor Mode", 0},
    {45, "Compressor Thresh", 0}, {46, "Compressor Slope", 0}, {47, "Compressor Attack", 0},
    {48, "Compressor Release", 0}, {49, "Env1 Out", 1}, {54, "Env2 Out", 1}, {59, "Env3 Out", 1},
    {64, "Env4 Out", 1}, {69, "Env5 Out", 1}, {74, "Env6 Out", 1}, {79, "StepSeq1 Sync", 0},
    {80, "StepSeq1 Length", 0}, {81, "StepSeq1 Out", 1}, {86, "StepSeq2 Sync", 0}, {87, "StepSeq2 Length", 0},
    {88, "StepSeq2 Out", 1}, {93, "StepSeq3 Sync", 0}, {94, "StepSeq3 Length", 0}, {95, "StepSeq3 Out", 1},
    {100, "StepSeq4 Sync", 0}, {101, "StepSeq4 Length", 0}, {102, "StepSeq4 Out", 1}, {107, "Lfo1 Type", 0},
    {108, "Lfo1 Sync", 0}, {109, "Lfo1 Ratio", 1}, {114, "Lfo1 Offset", 1}, {119, "Lfo1 Phase", 1},
    {124, "Lfo1 Out", 1}, {129, "Lfo2 Type", 0}, {130, "Lfo2 Sync", 0}, {131, "Lfo2 Ratio", 1},
    {136, "Lfo2 Offset", 1}, {141, "Lfo2 Phase", 1}, {146, "Lfo2 Out", 1}, {151, "Lfo3 Type", 0},
    {152, "Lfo3 Sync", 0}, {153, "Lfo3 Ratio", 1}, {158, "Lfo3 Offset", 1}, {163, "Lfo3 Phase", 1},
    {168, "Lfo3 Out", 1}, {173, "Lfo4 Type", 0}, {174, "Lfo4 Sync", 0}, {175, "Lfo4 Ratio", 1},
    {180, "Lfo4 Offset", 1}, {185, "Lfo4 Phase", 1}, {190, "Lfo4 Out", 1}, {195, "Lfo5 Type", 0},
    {196, "Lfo5 Sync", 0}, {197, "Lfo5 Ratio", 1}, {202, "Lfo5 Offset", 1}, {207, "Lfo5 Phase", 1},
    {212, "Lfo5 Out", 1}, {217, "Lfo6 Type", 0}, {218, "Lfo6 Sync", 0}, {219, "Lfo6 Ratio", 1},
    {224, "Lfo6 Offset", 1}, {229, "Lfo6 Phase", 1}, {234, "Lfo6 Out", 1}, {239, "Lfo7 Type", 0},
    {240, "Lfo7 Sync", 0}, {241, "Lfo7 Ratio", 1}, {246, "Lfo7 Offset", 1}, {251, "Lfo7 Phase", 1},
    {256, "Lfo7 Out", 1}, {261, "Lfo8 Type", 0}, {262, "Lfo8 Sync", 0}, {263, "Lfo8 Ratio", 1},
    {268, "Lfo8 Offset", 1}, {273, "Lfo8 Phase", 1}, {278, "Lfo8 Out", 1}, {283, "ChLfo1 Type", 0},
    {284, "ChLfo1 Sync", 0}, {285, "ChLfo1 Offset", 1}, {290, "ChLfo1 Out", 1}, {295, "ChLfo2 Type", 0},
    {296, "ChLfo2 Sync", 0}, {297, "ChLfo2 Offset", 1}, {302, "ChLfo2 Out", 1}, {307, "ChLfo3 Type", 0},
    {308, "ChLfo3 Sync", 0}, {309, "ChLfo3 Offset", 1}, {314, "ChLfo3 Out", 1}, {319, "ChLfo4 Type", 0},
    {320, "ChLfo4 Sync", 0}, {321, "ChLfo4 Offset", 1}, {326, "ChLfo4 Out", 1}, {331, "ChFx1 Type", 0},
    {332, "ChFx1 Param1", 1}, {337, "ChFx1 Param2", 1}, {342, "ChFx1 Param3", 1}, {347, "ChFx1 Param4", 1},
    {352, "ChFx1 Dry/Wet", 1}, {357, "ChFx2 Type", 0}, {358, "ChFx2 Param1", 1}, {363, "ChFx2 Param2", 1},
    {368, "ChFx2 Param3", 1}, {373, "ChFx2 Param4", 1}, {378, "ChFx2 Dry/Wet", 1},
};
// clang-format on

std::vector<std::string> names(const char* list) {
    std::vector<std::string> out;
    for (const char* p = list; *p != '\0'; p += std::strlen(p) + 1) out.emplace_back(p);
    return out;
}

bool isFloat(const ParameterDescriptor& d) {
    return d.minValue.kind == ParameterKind::Float && d.maxValue.kind == ParameterKind::Float &&
           d.defaultValue.kind == ParameterKind::Float && d.valueNames == nullptr;
}

TEST(ParameterCatalogue, HasEveryMemberAndSlotEntryInIndexOrder) {
    int32_t expectedIndex = 0;
    for (const MemberRow& row : kMembers) {
        ASSERT_EQ(row.index, expectedIndex) << row.name;
        EXPECT_STREQ(descriptor(row.index).name, row.name);
        expectedIndex = row.index + 1;
        if (!row.hasSlots) continue;
        const std::string stem = row.name;
        EXPECT_EQ(descriptor(row.index + 1).name, stem + " ModSrc1");
        EXPECT_EQ(descriptor(row.index + 2).name, stem + " ModAmt1");
        EXPECT_EQ(descriptor(row.index + 3).name, stem + " ModSrc2");
        EXPECT_EQ(descriptor(row.index + 4).name, stem + " ModAmt2");
        expectedIndex += 4;
    }
    EXPECT_EQ(expectedIndex, 383);
    EXPECT_EQ(parameterCount(), 383);
}

TEST(ParameterCatalogue, CountsKindsAndBipolarEntries) {
    int floats = 0, enums = 0;
    std::vector<std::string> bipolar;
    for (int32_t i = 0; i < parameterCount(); ++i) {
        const ParameterDescriptor& d = descriptor(i);
        if (d.isEnumerated()) {
            ++enums;
            EXPECT_EQ(d.minValue.kind, ParameterKind::Int) << d.name;
            EXPECT_EQ(d.maxValue.kind, ParameterKind::Int) << d.name;
            EXPECT_EQ(d.defaultValue.kind, ParameterKind::Int) << d.name;
            EXPECT_EQ(d.minValue.numberAsInt(), 0) << d.name;
            EXPECT_NE(d.valueNames, nullptr) << d.name;
            EXPECT_FALSE(d.bipolar) << d.name;
        } else {
            ++floats;
            EXPECT_TRUE(isFloat(d)) << d.name;
        }
        if (d.bipolar) bipolar.emplace_back(d.name);
    }
    EXPECT_EQ(floats, 213);
    EXPECT_EQ(enums, 170);
    const std::vector<std::string> expected = {
        "Gen1 Offset",   "Lfo1 Offset",   "Lfo2 Offset",  "Lfo3 Offset", "Lfo4 Offset",
        "Lfo5 Offset",   "Lfo6 Offset",   "Lfo7 Offset",  "Lfo8 Offset", "ChLfo1 Offset",
        "ChLfo2 Offset", "ChLfo3 Offset", "ChLfo4 Offset"};
    EXPECT_EQ(bipolar, expected);
}

TEST(ParameterCatalogue, NamesAreUniqueAndLookedUpByName) {
    std::set<std::string> seen;
    for (int32_t i = 0; i < parameterCount(); ++i) {
        EXPECT_TRUE(seen.insert(descriptor(i).name).second) << descriptor(i).name;
        EXPECT_EQ(parameterIndex(descriptor(i).name), i);
    }
    EXPECT_EQ(parameterIndex("Lfo3 Ratio"), 153);
    EXPECT_EQ(parameterIndex("Lfo3 Ratio ModAmt2"), 157);
    EXPECT_EQ(parameterIndex("Lfo3 Offset"), 158);
    EXPECT_EQ(parameterIndex("Env2 Out"), 54);
    EXPECT_EQ(parameterIndex("StepSeq4 Out ModAmt2"), 106);
    EXPECT_EQ(parameterIndex("ChLfo1 Type"), 283);
    EXPECT_EQ(parameterIndex("ChFx2 Dry/Wet ModAmt2"), 382);
    EXPECT_EQ(parameterIndex("lfo3 ratio"), -1);
    EXPECT_EQ(parameterIndex("Lfo3 Ratio "), -1);
    EXPECT_EQ(parameterIndex(""), -1);
    EXPECT_EQ(parameterIndex(nullptr), -1);
}

// Label, range, default and list of the members of instance 1; every instance shares them.
struct MemberSpecRow {
    const char* name;
    const char* label;
    float lo, hi, def;   // enumerated: integers
    const char* list;    // enumerated only
    float amountBound;   // 0: no slots
    int32_t lastSource;  // slot source range 0 … lastSource
};

constexpr MemberSpecRow kMemberSpecs[] = {
    {"MasterGain", "Master", 0, 2, 1, nullptr, 0, 0},
    {"Glide", "Glide", 0, 1, 0, nullptr, 0, 0},
    {"MacroParam1", "Macro1", 0, 1, 0, nullptr, 0, 0},
    {"MacroParam6", "Macro6", 0, 1, 0, nullptr, 0, 0},
    {"Gen1 Ratio", "Ratio", 0, 2, 1, nullptr, 2, 157},
    {"Gen1 Offset", "Offset", -100, 100, 0, nullptr, 200, 157},
    {"Gen1 Out", "Out", 0, 1, 0.5f, nullptr, 1, 157},
    {"Gen1 Phase", "Phase", 0, 1, 0, nullptr, 1, 157},
    {"Gen1 PWM Mode", "Mode", 0, 3, 0, "PWM", 0, 0},
    {"Gen1 PWM Width", "Width", 0, 1, 0.5f, nullptr, 1, 157},
    {"Gen1 PWM Feedback", "Feedback", 0, 1, 0, nullptr, 1, 157},
    {"Gain", "Gain", 0, 2, 1, nullptr, 2, 157},
    {"Compressor Mode", "Compressor", 0, 1, 0, "Compressor", 0, 0},
    {"Compressor Thresh", "Thresh", 0, 1, 0.5f, nullptr, 0, 0},
    {"Compressor Slope", "Slope", 0, 1, 0.5f, nullptr, 0, 0},
    {"Compressor Attack", "Att", 0.1f, 50, 1, nullptr, 0, 0},
    {"Compressor Release", "Rel", 100, 600, 300, nullptr, 0, 0},
    {"Env1 Out", "Out", 0, 1, 1, nullptr, 1, 157},
    {"StepSeq1 Sync", "Sync", 0, 12, 0, "Sync", 0, 0},
    {"StepSeq1 Length", "Length", 0, 8, 3, "Length", 0, 0},
    {"StepSeq1 Out", "Out", 0, 1, 1, nullptr, 1, 138},
    {"Lfo1 Type", "Type", 0, 5, 0, "LfoType", 0, 0},
    {"Lfo1 Sync", "Sync", 0, 12, 0, "Sync", 0, 0},
    {"Lfo1 Ratio", "Ratio", 0, 0.25f, 0, nullptr, 0.25f, 157},
    {"Lfo1 Offset", "Offset", -50, 50, 5, nullptr, 100, 157},
    {"Lfo1 Phase", "Phase", 0, 1, 0, nullptr, 1, 157},
    {"Lfo1 Out", "Out", 0, 1, 1, nullptr, 1, 157},
    {"ChLfo1 Type", "Type", 0, 5, 0, "LfoType", 0, 0},
    {"ChLfo1 Sync", "Sync", 0, 12, 0, "Sync", 0, 0},
    {"ChLfo1 Offset", "Offset", -50, 50, 5, nullptr, 100, 138},
    {"ChLfo1 Out", "Out", 0, 1, 1, nullptr, 1, 138},
    {"ChFx1 Type", "Type", 0, 2, 0, "ChFx", 0, 0},
    {"ChFx1 Param1", "Param1", 0, 1, 0.5f, nullptr, 1, 138},
    {"ChFx1 Param4", "Param4", 0, 1, 0.5f, nullptr, 1, 138},
    {"ChFx1 Dry/Wet", "Dry/Wet", 0, 1, 1, nullptr, 1, 138},
};

std::vector<std::string> listNamed(const std::string& list) {
    if (list == "PWM") return {"None", "Add", "Sub", "Mul"};
    if (list == "Compressor") return {"Off", "Peak HardKnee"};
    if (list == "Sync")
        return {"Off",  " 4/4",  " 3/4", " 2/3",  " 1/2",  " 3/8", " 1/3",
                " 1/4", " 3/16", " 1/8", " 1/12", " 1/16", " 1/32"};
    if (list == "Length") return {" 1", " 2", " 3", " 4", " 8", " 12", " 16", " 24", " 32"};
    if (list == "LfoType") return {"Off", "Sine", "Saw", "InvSaw", "Pulse", "Tri", "Parabol"};
    if (list == "ChFx") return {"None", "Delay", "Comb"};
    if (list == "VoiceSources") return {"NA", "E1", "E2", "E3", "L1", "L2", "G1", "G2", "V"};
    return {"NA", "G1", "G2"};  // ChannelSources
}

void expectMember(int32_t index, const MemberSpecRow& spec) {
    const ParameterDescriptor& d = descriptor(index);
    SCOPED_TRACE(d.name);
    EXPECT_STREQ(d.label, spec.label);
    if (spec.list != nullptr) {
        EXPECT_EQ(d.maxValue.numberAsInt(), static_cast<int32_t>(spec.hi));
        EXPECT_EQ(d.defaultValue.numberAsInt(), static_cast<int32_t>(spec.def));
        EXPECT_EQ(names(d.valueNames), listNamed(spec.list));
        return;
    }
    EXPECT_EQ(d.minValue.numberAsFloat(), spec.lo);
    EXPECT_EQ(d.maxValue.numberAsFloat(), spec.hi);
    EXPECT_EQ(d.defaultValue.numberAsFloat(), spec.def);
    if (spec.amountBound == 0) {
        if (index + 1 < parameterCount()) {
            EXPECT_EQ(std::strstr(descriptor(index + 1).name, "Mod"), nullptr);
        }
        return;
    }
    const char* const kLabels[] = {"MS1", "MA1", "MS2", "MA2"};
    for (int32_t k = 0; k < 4; ++k) {
        const ParameterDescriptor& slot = descriptor(index + 1 + k);
        SCOPED_TRACE(slot.name);
        EXPECT_STREQ(slot.label, kLabels[k]);
        EXPECT_FALSE(slot.bipolar);
        if (k % 2 == 0) {
            EXPECT_EQ(slot.maxValue.numberAsInt(), spec.lastSource);
            EXPECT_EQ(slot.defaultValue.numberAsInt(), 0);
            EXPECT_EQ(names(slot.valueNames),
                      listNamed(spec.lastSource == 157 ? "VoiceSources" : "ChannelSources"));
        } else {
            EXPECT_EQ(slot.minValue.numberAsFloat(), -spec.amountBound);
            EXPECT_EQ(slot.maxValue.numberAsFloat(), spec.amountBound);
            EXPECT_EQ(slot.defaultValue.numberAsFloat(), 0.0f);
        }
    }
}

TEST(ParameterCatalogue, MembersCarryTheirLabelsRangesDefaultsAndLists) {
    for (const MemberSpecRow& spec : kMemberSpecs) {
        const int32_t first = parameterIndex(spec.name);
        ASSERT_GE(first, 0) << spec.name;
        expectMember(first, spec);
        // The same member of every further instance ("Lfo1 Out" → "Lfo2 Out" …).
        const std::string name = spec.name;
        const size_t digit = name.find('1');
        if (digit == std::string::npos || name.compare(0, 10, "MacroParam") == 0) continue;
        for (char n = '2'; n <= '8'; ++n) {
            std::string other = name;
            other[digit] = n;
            const int32_t index = parameterIndex(other.c_str());
            if (index >= 0) expectMember(index, spec);
        }
    }
}

TEST(ParameterCatalogue, SlotSourceRangesFollowTheFamiliesNotTheirNumbering) {
    // "Ch" families list the channel numbering; so do the step sequencers' "Out" slots, although the
    // routing binds them in the voice numbering.
    int sources = 0;
    for (int32_t i = 0; i < parameterCount(); ++i) {
        const ParameterDescriptor& d = descriptor(i);
        if (!isSlotSourceName(d.name)) continue;
        ++sources;
        const bool channelRange = usesChannelNumbering(d.name) || std::strncmp(d.name, "StepSeq", 7) == 0;
        EXPECT_EQ(d.maxValue.numberAsInt(), channelRange ? 138 : 157) << d.name;
    }
    EXPECT_EQ(sources, 134);
}

}  // namespace
}  // namespace quenvale
