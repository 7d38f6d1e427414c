// What the fuzz entries share: the largest input each accepts, and the generator versions a first
// byte selects.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quenvale::fuzz {

// Inputs longer than this are skipped at once (scripts/test.sh passes the same bound as -max_len):
// small inputs keep the executions per second high, and every reader refuses a record that ends early,
// so length past a record's end explores nothing new.
inline constexpr size_t kMaxRecordInput = 16384;
inline constexpr size_t kMaxBankInput = 65536;
inline constexpr size_t kMaxMidiInput = 4096;

// Versions that change the generator record, and the current one; the generator entry's first byte
// picks one.
inline constexpr uint32_t kGeneratorVersions[] = {0x10005, 0x10006, 0x10007, 0x10008, 0x10009,
                                                  0x10013, 0x10017, 0x10018, 0x10020};
inline constexpr uint8_t kGeneratorVersionCount = sizeof kGeneratorVersions / sizeof kGeneratorVersions[0];

}  // namespace quenvale::fuzz
