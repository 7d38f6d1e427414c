// Version numbers of the stored formats and what each program version changed.
//
// Program versions read like decimal numbers in hexadecimal digits: 0x10009 is followed by 0x10010,
// and 0x1000A … 0x1000F never existed.
#pragma once

#include <cstdint>

#include "engine/program.h"

namespace quenvale {

inline constexpr uint32_t kBankMagic = 0x13051982u;
inline constexpr int32_t kBankVersion = 0x10002;  // written
inline constexpr int32_t kFirstUnreadableBankVersion = 0x10003;
inline constexpr int32_t kFirstBankVersionWithChannel = 0x10002;
inline constexpr uint32_t kGeneratorFileTag = 0x10001u;  // 01 00 01 00

// Program versions whose records changed.
inline constexpr uint32_t kVersionLayerEnabled = 0x10006;       // child records start with the enabled flag
inline constexpr uint32_t kVersionFilter = 0x10007;             // filter mode, cutoff, resonance, dry/wet
inline constexpr uint32_t kVersionKeyMapping = 0x10008;         // key-mapping points
inline constexpr uint32_t kVersionKeyMappingShape = 0x10009;    // key-mapping points carry a shape
inline constexpr uint32_t kVersionOneGeneratorEntry = 0x10010;  // before: two generator entries
inline constexpr uint32_t kVersionPartialSelector = 0x10013;    // generator record starts with the selector
inline constexpr uint32_t kVersionMoreSources = 0x10014;        // macros added to both source numberings
inline constexpr uint32_t kVersionMacroNames = 0x10015;
inline constexpr uint32_t kVersionPlainSlots = 0x10018;  // slots lose their reserved middle word
inline constexpr uint32_t kVersionStepSeqs = 0x10019;    // step sequencers and their records

// [any] 0x10005 … 0x10009 and 0x10010 … 0x10020, in numbers whose digits read as decimal.
constexpr bool isReadableProgramVersion(uint32_t version) noexcept {
    return version >= 0x10005u && version <= kProgramVersion && (version & 0xFu) <= 9u;
}

// [any] How many modulation sources a program of this version could name: numbers from 0 to the
// count minus 1 keep their meaning (both numberings only ever grew at their end).
constexpr int32_t voiceSourceCount(uint32_t version) noexcept {
    if (version < kVersionMoreSources) return 148;
    if (version < kVersionStepSeqs) return 154;
    return 158;
}
constexpr int32_t channelSourceCount(uint32_t version) noexcept {
    return version < kVersionMoreSources ? 133 : 139;
}

}  // namespace quenvale
