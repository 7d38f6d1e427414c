// The catalogue, generated from a compact description of the parameter families.
#include "params/parameter_catalogue.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "params/value_name_lists.h"

namespace quenvale {
namespace {

// Range and value names of a member's slot-source entries.
enum class SlotRange {
    None,
    Voice,    // 0 … 157, list VoiceSources
    Channel,  // 0 … 138, list ChannelSources (the step sequencers' "Out" slots use it too)
};

struct MemberSpec {
    const char* word;
    const char* label;
    const char* valueNames;  // enumerated member when set
    float minValue;          // enumerated members: integral, minimum 0
    float maxValue;
    float defaultValue;
    bool bipolar;
    SlotRange slots;
    float amountBound;  // slot amounts range over −amountBound … amountBound
};

constexpr MemberSpec floatMember(const char* word, const char* label, float lo, float hi, float def) {
    return {word, label, nullptr, lo, hi, def, false, SlotRange::None, 0.0f};
}
constexpr MemberSpec modMember(const char* word, const char* label, float lo, float hi, float def,
                               SlotRange slots, float amountBound, bool bipolar = false) {
    return {word, label, nullptr, lo, hi, def, bipolar, slots, amountBound};
}
constexpr MemberSpec enumMember(const char* word, const char* label, const char* names, int32_t hi,
                                int32_t def) {
    return {word,  label,           names, 0.0f, static_cast<float>(hi), static_cast<float>(def),
            false, SlotRange::None, 0.0f};
}

// A family of instances named prefix1, prefix2, …; an empty prefix means one instance whose member
// words are the full names.
struct FamilySpec {
    const char* prefix;
    int32_t instances;
    std::span<const MemberSpec> members;
};

constexpr SlotRange kVoice = SlotRange::Voice;
constexpr SlotRange kChannel = SlotRange::Channel;

constexpr MemberSpec kMaster[] = {
    floatMember("MasterGain", "Master", 0, 2, 1),  floatMember("Glide", "Glide", 0, 1, 0),
    floatMember("MacroParam1", "Macro1", 0, 1, 0), floatMember("MacroParam2", "Macro2", 0, 1, 0),
    floatMember("MacroParam3", "Macro3", 0, 1, 0), floatMember("MacroParam4", "Macro4", 0, 1, 0),
    floatMember("MacroParam5", "Macro5", 0, 1, 0), floatMember("MacroParam6", "Macro6", 0, 1, 0),
};
constexpr MemberSpec kGen[] = {
    modMember("Ratio", "Ratio", 0, 2, 1, kVoice, 2),
    modMember("Offset", "Offset", -100, 100, 0, kVoice, 200, true),
    modMember("Out", "Out", 0, 1, 0.5f, kVoice, 1),
    modMember("Phase", "Phase", 0, 1, 0, kVoice, 1),
    enumMember("PWM Mode", "Mode", kPwmModeNames, 3, 0),
    modMember("PWM Width", "Width", 0, 1, 0.5f, kVoice, 1),
    modMember("PWM Feedback", "Feedback", 0, 1, 0, kVoice, 1),
};
constexpr MemberSpec kGainAndCompressor[] = {
    modMember("Gain", "Gain", 0, 2, 1, kVoice, 2),
    enumMember("Compressor Mode", "Compressor", kCompressorModeNames, 1, 0),
    floatMember("Compressor Thresh", "Thresh", 0, 1, 0.5f),
    floatMember("Compressor Slope", "Slope", 0, 1, 0.5f),
    floatMember("Compressor Attack", "Att", 0.1f, 50, 1),
    floatMember("Compressor Release", "Rel", 100, 600, 300),
};
constexpr MemberSpec kEnv[] = {
    modMember("Out", "Out", 0, 1, 1, kVoice, 1),
};
constexpr MemberSpec kStepSeq[] = {
    enumMember("Sync", "Sync", kSyncNames, 12, 0),
    enumMember("Length", "Length", kLengthNames, 8, 3),
    modMember("Out", "Out", 0, 1, 1, kChannel, 1),
};
constexpr MemberSpec kLfo[] = {
    enumMember("Type", "Type", kLfoTypeNames, 5, 0),
    enumMember("Sync", "Sync", kSyncNames, 12, 0),
    modMember("Ratio", "Ratio", 0, 0.25f, 0, kVoice, 0.25f),
    modMember("Offset", "Offset", -50, 50, 5, kVoice, 100, true),
    modMember("Phase", "Phase", 0, 1, 0, kVoice, 1),
    modMember("Out", "Out", 0, 1, 1, kVoice, 1),
};
constexpr MemberSpec kChLfo[] = {
    enumMember("Type", "Type", kLfoTypeNames, 5, 0),
    enumMember("Sync", "Sync", kSyncNames, 12, 0),
    modMember("Offset", "Offset", -50, 50, 5, kChannel, 100, true),
    modMember("Out", "Out", 0, 1, 1, kChannel, 1),
};
constexpr MemberSpec kChFx[] = {
    enumMember("Type", "Type", kEffectTypeNames, 2, 0),
    modMember("Param1", "Param1", 0, 1, 0.5f, kChannel, 1),
    modMember("Param2", "Param2", 0, 1, 0.5f, kChannel, 1),
    modMember("Param3", "Param3", 0, 1, 0.5f, kChannel, 1),
    modMember("Param4", "Param4", 0, 1, 0.5f, kChannel, 1),
    modMember("Dry/Wet", "Dry/Wet", 0, 1, 1, kChannel, 1),
};

// In index order.
constexpr FamilySpec kFamilies[] = {
    {"", 1, kMaster},         {"Gen", 1, kGen}, {"", 1, kGainAndCompressor}, {"Env", 6, kEnv},
    {"StepSeq", 4, kStepSeq}, {"Lfo", 8, kLfo}, {"ChLfo", 4, kChLfo},        {"ChFx", 2, kChFx},
};

constexpr int32_t countEntries() {
    int32_t count = 0;
    for (const FamilySpec& family : kFamilies) {
        int32_t perInstance = 0;
        for (const MemberSpec& m : family.members) perInstance += m.slots == SlotRange::None ? 1 : 5;
        count += family.instances * perInstance;
    }
    return count;
}
static_assert(countEntries() == kParameterCount, "the families must describe every parameter");

constexpr int32_t kNameSize = 32;  // longest name: "Gen1 PWM Feedback ModSrc1", 25 characters

// Built in place (it is some 100 KB, too large to pass through a stack).
struct Catalogue {
    std::array<ParameterDescriptor, kParameterCount> descriptors;
    char names[kParameterCount][kNameSize] = {};
    std::array<int16_t, kParameterCount> byName{};  // indices sorted by name
    int32_t count = 0;

    Catalogue() {
        for (const FamilySpec& family : kFamilies)
            for (int32_t n = 0; n < family.instances; ++n)
                for (const MemberSpec& m : family.members) addMember(family, n, m);
        for (int32_t i = 0; i < kParameterCount; ++i) byName[i] = static_cast<int16_t>(i);
        std::sort(byName.begin(), byName.end(),
                  [this](int16_t a, int16_t b) { return std::strcmp(names[a], names[b]) < 0; });
    }

    void add(const ParameterDescriptor& d, const char* stem, const char* suffix) {
        char* name = names[count];
        // kNameSize bounds every name of the families above; a longer one is a defect of this table.
        if (std::snprintf(name, kNameSize, "%s%s", stem, suffix) >= kNameSize) std::abort();
        descriptors[count] = d;
        descriptors[count].name = name;
        ++count;
    }

    void addMember(const FamilySpec& family, int32_t instance, const MemberSpec& m) {
        // "PrefixN word" for the instanced families, the bare word for the others.
        char stem[kNameSize];
        if (family.prefix[0] != '\0') {
            if (std::snprintf(stem, sizeof stem, "%s%d %s", family.prefix, instance + 1, m.word) >= kNameSize)
                std::abort();
        } else {
            if (std::snprintf(stem, sizeof stem, "%s", m.word) >= kNameSize) std::abort();
        }
        if (m.valueNames != nullptr) {
            add(makeEnumDescriptor("", m.label, 0, static_cast<int32_t>(m.maxValue),
                                   static_cast<int32_t>(m.defaultValue), m.valueNames),
                stem, "");
            return;
        }
        add(makeFloatDescriptor("", m.label, m.minValue, m.maxValue, m.defaultValue, m.bipolar), stem, "");
        if (m.slots == SlotRange::None) return;
        const bool voice = m.slots == SlotRange::Voice;
        const char* sourceNames = voice ? kVoiceSourceNames : kChannelSourceNames;
        const int32_t lastSource = voice ? kVoiceSourceCount - 1 : kChannelSourceCount - 1;
        const float a = m.amountBound;
        add(makeEnumDescriptor("", "MS1", 0, lastSource, 0, sourceNames), stem, " ModSrc1");
        add(makeFloatDescriptor("", "MA1", -a, a, 0, false), stem, " ModAmt1");
        add(makeEnumDescriptor("", "MS2", 0, lastSource, 0, sourceNames), stem, " ModSrc2");
        add(makeFloatDescriptor("", "MA2", -a, a, 0, false), stem, " ModAmt2");
    }
};

const Catalogue& catalogue() noexcept {
    static const Catalogue table;
    return table;
}

// Built while the library loads, before any instance exists, so no caller pays for it later.
[[maybe_unused]] const Catalogue& kBuiltAtLoad = catalogue();

}  // namespace

const ParameterDescriptor& descriptor(int32_t index) noexcept {
    return catalogue().descriptors[index];
}

int32_t parameterIndex(const char* name) noexcept {
    if (name == nullptr) return -1;
    const Catalogue& c = catalogue();
    const auto it = std::lower_bound(c.byName.begin(), c.byName.end(), name, [&c](int16_t i, const char* n) {
        return std::strcmp(c.names[i], n) < 0;
    });
    if (it == c.byName.end() || std::strcmp(c.names[*it], name) != 0) return -1;
    return *it;
}

}  // namespace quenvale
