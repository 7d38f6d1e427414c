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
    bool hasSlots;
};

// Every member by index; a member with slots is followed by its four slot entries.
constexpr MemberRow kMembers[] = {{0, "MasterGain", false},
                                  {1, "Glide", false},
                                  {2, "MacroParam1", false},
                                  {3, "MacroParam2", false},
                                  {4, "MacroParam3", false},
                                  {5, "MacroParam4", false},
                                  {6, "MacroParam5", false},
                                  {7, "MacroParam6", false},
                                  {8, "Gen1 Ratio", true},
                                  {13, "Gen1 Offset", true},
                                  {18, "Gen1 Out", true},
                                  {23, "Gen1 Phase", true},
                                  {28, "Gen1 PWM Mode", false},
                                  {29, "Gen1 PWM Width", true},
                                  {34, "Gen1 PWM Feedback", true},
                                  {39, "Gain", true},
                                  {44, "Compressor Mode", false},
                                  {45, "Compressor Thresh", false},
                                  {46, "Compressor Slope", false},
                                  {47, "Compressor Attack", false},
                                  {48, "Compressor Release", false},
                                  {49, "Env1 Out", true},
                                  {54, "Env2 Out", true},
                                  {59, "Env3 Out", true},
                                  {64, "Env4 Out", true},
                                  {69, "Env5 Out", true},
                                  {74, "Env6 Out", true},
                                  {79, "StepSeq1 Sync", false},
                                  {80, "StepSeq1 Length", false},
                                  {81, "StepSeq1 Out", true},
                                  {86, "StepSeq2 Sync", false},
                                  {87, "StepSeq2 Length", false},
                                  {88, "StepSeq2 Out", true},
                                  {93, "StepSeq3 Sync", false},
                                  {94, "StepSeq3 Length", false},
                                  {95, "StepSeq3 Out", true},
                                  {100, "StepSeq4 Sync", false},
                                  {101, "StepSeq4 Length", false},
                                  {102, "StepSeq4 Out", true},
                                  {107, "Lfo1 Type", false},
                                  {108, "Lfo1 Sync", false},
                                  {109, "Lfo1 Ratio", true},
                                  {114, "Lfo1 Offset", true},
                                  {119, "Lfo1 Phase", true},
                                  {124, "Lfo1 Out", true},
                                  {129, "Lfo2 Type", false},
                                  {130, "Lfo2 Sync", false},
                                  {131, "Lfo2 Ratio", true},
                                  {136, "Lfo2 Offset", true},
                                  {141, "Lfo2 Phase", true},
                                  {146, "Lfo2 Out", true},
                                  {151, "Lfo3 Type", false},
                                  {152, "Lfo3 Sync", false},
                                  {153, "Lfo3 Ratio", true},
                                  {158, "Lfo3 Offset", true},
                                  {163, "Lfo3 Phase", true},
                                  {168, "Lfo3 Out", true},
                                  {173, "Lfo4 Type", false},
                                  {174, "Lfo4 Sync", false},
                                  {175, "Lfo4 Ratio", true},
                                  {180, "Lfo4 Offset", true},
                                  {185, "Lfo4 Phase", true},
                                  {190, "Lfo4 Out", true},
                                  {195, "Lfo5 Type", false},
                                  {196, "Lfo5 Sync", false},
                                  {197, "Lfo5 Ratio", true},
                                  {202, "Lfo5 Offset", true},
                                  {207, "Lfo5 Phase", true},
                                  {212, "Lfo5 Out", true},
                                  {217, "Lfo6 Type", false},
                                  {218, "Lfo6 Sync", false},
                                  {219, "Lfo6 Ratio", true},
                                  {224, "Lfo6 Offset", true},
                                  {229, "Lfo6 Phase", true},
                                  {234, "Lfo6 Out", true},
                                  {239, "Lfo7 Type", false},
                                  {240, "Lfo7 Sync", false},
                                  {241, "Lfo7 Ratio", true},
                                  {246, "Lfo7 Offset", true},
                                  {251, "Lfo7 Phase", true},
                                  {256, "Lfo7 Out", true},
                                  {261, "Lfo8 Type", false},
                                  {262, "Lfo8 Sync", false},
                                  {263, "Lfo8 Ratio", true},
                                  {268, "Lfo8 Offset", true},
                                  {273, "Lfo8 Phase", true},
                                  {278, "Lfo8 Out", true},
                                  {283, "ChLfo1 Type", false},
                                  {284, "ChLfo1 Sync", false},
                                  {285, "ChLfo1 Offset", true},
                                  {290, "ChLfo1 Out", true},
                                  {295, "ChLfo2 Type", false},
                                  {296, "ChLfo2 Sync", false},
                                  {297, "ChLfo2 Offset", true},
                                  {302, "ChLfo2 Out", true},
                                  {307, "ChLfo3 Type", false},
                                  {308, "ChLfo3 Sync", false},
                                  {309, "ChLfo3 Offset", true},
                                  {314, "ChLfo3 Out", true},
                                  {319, "ChLfo4 Type", false},
                                  {320, "ChLfo4 Sync", false},
                                  {321, "ChLfo4 Offset", true},
                                  {326, "ChLfo4 Out", true},
                                  {331, "ChFx1 Type", false},
                                  {332, "ChFx1 Param1", true},
                                  {337, "ChFx1 Param2", true},
                                  {342, "ChFx1 Param3", true},
                                  {347, "ChFx1 Param4", true},
                                  {352, "ChFx1 Dry/Wet", true},
                                  {357, "ChFx2 Type", false},
                                  {358, "ChFx2 Param1", true},
                                  {363, "ChFx2 Param2", true},
                                  {368, "ChFx2 Param3", true},
                                  {373, "ChFx2 Param4", true},
                                  {378, "ChFx2 Dry/Wet", true}};

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

TEST(ParameterCatalogue, DefaultsOfANewProgram) {
    for (int32_t i = 0; i < parameterCount(); ++i) {
        const ParameterDescriptor& d = descriptor(i);
        const std::string name = d.name;
        SCOPED_TRACE(name);
        if (name.find("ModSrc") != std::string::npos) {
            EXPECT_EQ(d.defaultValue.numberAsInt(), 0);
        }
        if (name.find("ModAmt") != std::string::npos) {
            EXPECT_EQ(d.defaultValue.numberAsFloat(), 0.0f);
        }
        const bool isOut =
            name.size() > 4 && name.compare(name.size() - 4, 4, " Out") == 0 && name != "Gen1 Out";
        if (isOut) {
            EXPECT_EQ(d.defaultValue.numberAsFloat(), 1.0f);
        }
        if (name.find("Lfo") != std::string::npos && name.ends_with(" Offset")) {
            EXPECT_EQ(d.defaultValue.numberAsFloat(), 5.0f);
        }
        if (name.ends_with(" Length")) {
            EXPECT_EQ(d.defaultValue.numberAsInt(), 3);
            EXPECT_STREQ(valueName(d, 3), " 4");
            EXPECT_STREQ(valueName(d, 8), " 32");
        }
    }
    EXPECT_EQ(descriptor(0).defaultValue.numberAsFloat(), 1.0f);   // MasterGain
    EXPECT_EQ(descriptor(39).defaultValue.numberAsFloat(), 1.0f);  // Gain
    EXPECT_EQ(descriptor(8).defaultValue.numberAsFloat(), 1.0f);   // Gen1 Ratio
    EXPECT_EQ(descriptor(18).defaultValue.numberAsFloat(), 0.5f);  // Gen1 Out
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
