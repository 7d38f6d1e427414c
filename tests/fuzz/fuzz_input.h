// How a fuzz input chooses its reader: the first byte picks the record kind, the second a version.
#pragma once

#include <cstdint>

namespace quenvale::fuzz {

enum RecordKind : uint8_t {
    kBankRecord = 0,
    kProgramRecord = 1,
    kGeneratorRecord = 2,   // second byte: index into kGeneratorVersions
    kComponentRecords = 3,  // an envelope record, then a step-sequencer record
    kRecordKindCount = 4,
};

// Versions that change the generator record, and the current one.
inline constexpr uint32_t kGeneratorVersions[] = {0x10005, 0x10006, 0x10007, 0x10008, 0x10009,
                                                  0x10013, 0x10017, 0x10018, 0x10020};
inline constexpr uint8_t kGeneratorVersionCount = sizeof kGeneratorVersions / sizeof kGeneratorVersions[0];

}  // namespace quenvale::fuzz
