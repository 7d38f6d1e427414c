// The parameter index space: fixed indices and where each instanced group begins.
#pragma once

#include <cstdint>

namespace quenvale {

// Fixed entries outside the instanced groups.
inline constexpr int32_t kParamMasterGain = 0;
inline constexpr int32_t kParamGlide = 1;
inline constexpr int32_t kParamMacro1 = 2;  // … 7: MacroParam1 … MacroParam6
inline constexpr int32_t kParamGain = 39;   // followed by its four slot entries 40 … 43
inline constexpr int32_t kParamCompressorMode = 44;
inline constexpr int32_t kParamCompressorThresh = 45;
inline constexpr int32_t kParamCompressorSlope = 46;
inline constexpr int32_t kParamCompressorAttack = 47;
inline constexpr int32_t kParamCompressorRelease = 48;

// An instanced group: member m of instance n has index first + entries · n + m.
struct ParameterGroup {
    int32_t first;
    int32_t instances;
    int32_t entries;

    constexpr int32_t last() const noexcept { return first + instances * entries - 1; }
    constexpr bool contains(int32_t index) const noexcept { return index >= first && index <= last(); }
    // Whether member (written as an index of instance 1) is one of the group's members.
    constexpr bool hasMember(int32_t member) const noexcept {
        return member >= first && member < first + entries;
    }
    constexpr int32_t instanceOf(int32_t index) const noexcept { return (index - first) / entries; }
    // The member, written as the index of the same member of instance 1.
    constexpr int32_t memberOf(int32_t index) const noexcept { return (index - first) % entries + first; }
};

inline constexpr ParameterGroup kGenGroup{8, 1, 31};
inline constexpr ParameterGroup kEnvGroup{49, 6, 5};
inline constexpr ParameterGroup kStepSeqGroup{79, 4, 7};
inline constexpr ParameterGroup kLfoGroup{107, 8, 22};
inline constexpr ParameterGroup kChLfoGroup{283, 4, 12};
inline constexpr ParameterGroup kChFxGroup{331, 2, 26};

// A modulated member is followed at once by its slot entries, in this order.
enum SlotEntry : int32_t {
    kSlotBase = 0,
    kSlotSource1 = 1,
    kSlotAmount1 = 2,
    kSlotSource2 = 3,
    kSlotAmount2 = 4,
    kSlotEntryCount = 5,
};

}  // namespace quenvale
